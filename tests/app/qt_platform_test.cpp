// The Qt platform: filters, clipboard pictures, the busy cursor, message boxes and file dialogs
// as the user meets them.

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "app_test.h"
#include "buffers/dib_true.h"
#include "help_viewer.h"
#include "qt_platform.h"

namespace mirasketch::test {

class QtPlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void filtersBecomeQtNameFilters();
  void picturesCrossTheClipboardUnchanged();
  void clipboardTransparencyAndMarginsAreWhite();
  void busyCursorNests();
  void screenPointerAndClock();
  void messageBoxesAndQuestions();
  void saveDialogUsesTheRequest();
  void missingHelpFileIsReported();
};

void QtPlatformTest::filtersBecomeQtNameFilters() {
  QCOMPARE(QtNameFilters(kProjectFileFilter),
           QStringList({"kvlファイル (*.kvl)", "使用可能な画像 (*.bmp *.jpg)",
                        "ビットマップファイル (*.bmp)", "ジェイペグファイル (*.jpg)",
                        "すべてのﾌｧｲﾙ (*)", "PNGファイル (*.png)"}));
  QCOMPARE(QtNameFilters("Pictures|*.jpg;*.bmp|"), QStringList({"Pictures (*.jpg *.bmp)"}));
  QCOMPARE(QtNameFilters("Lonely"), QStringList({"Lonely (*)"}));
  QCOMPARE(QtNameFilters(""), QStringList());
}

void QtPlatformTest::picturesCrossTheClipboardUnchanged() {
  // A 5 × 4 picture (stored 8 wide) with a different colour in every pixel; the top three rows
  // go to the clipboard.
  CDibTrue picture;
  QVERIFY(picture.Alloc(5, 4));
  QCOMPARE(picture.Width(), 8);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) picture.SetRGB(x, y, 10 + x * 20, 100 + y * 50, 7 * x + y);

  const QImage image = ImageFromDib(picture, 5, 3);
  QCOMPARE(image.size(), QSize(5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      QCOMPARE(image.pixelColor(x, y), QColor(10 + x * 20, 100 + y * 50, 7 * x + y));
  // Asking for more than the picture has gives the picture.
  QCOMPARE(ImageFromDib(picture, 50, 50).size(), QSize(8, 4));
  QVERIFY(ImageFromDib(CDibTrue(), 5, 5).isNull());

  QtPlatform platform;
  platform.PutClipboardBitmap(picture, 5, 3);
  QVERIFY(platform.ClipboardHasBitmap());
  CDibTrue back;
  int width = 0;
  int height = 0;
  QVERIFY(platform.TakeClipboardBitmap(back, 1, 1, width, height));
  QCOMPARE(width, 5);
  QCOMPARE(height, 3);
  QCOMPARE(back.Width(), 8);
  QCOMPARE(back.Height(), 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) QCOMPARE(back.GetPixel(x, y), picture.GetPixel(x, y));
  for (int x = 0; x < 8; ++x) QCOMPARE(back.GetPixel(x, 3), 0xFFFFFF);
  for (int y = 0; y < 4; ++y) QCOMPARE(back.GetPixel(5, y), 0xFFFFFF);

  QGuiApplication::clipboard()->clear();
  QVERIFY(!platform.ClipboardHasBitmap());
  QVERIFY(!platform.TakeClipboardBitmap(back, 1, 1, width, height));
}

void QtPlatformTest::clipboardTransparencyAndMarginsAreWhite() {
  QImage image(3, 2, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  image.setPixelColor(0, 0, QColor(0, 0, 255));
  image.setPixelColor(2, 1, QColor(255, 0, 0, 255));
  CDibTrue target;
  QVERIFY(DibFromImage(image, target, 0, 2));
  QCOMPARE(target.Width(), 4);
  QCOMPARE(target.Height(), 4);
  QCOMPARE(target.GetPixel(0, 0), MakeColour(0, 0, 255));
  QCOMPARE(target.GetPixel(2, 1), MakeColour(255, 0, 0));
  QCOMPARE(target.GetPixel(1, 0), 0xFFFFFF);
  QCOMPARE(target.GetPixel(3, 0), 0xFFFFFF);
  QCOMPARE(target.GetPixel(0, 3), 0xFFFFFF);
  // A size the buffers refuse is refused.
  QImage huge(30001, 1, QImage::Format_RGB32);
  QVERIFY(!DibFromImage(huge, target, 0, 0));
  QVERIFY(!DibFromImage(QImage(), target, 0, 0));
}

void QtPlatformTest::busyCursorNests() {
  QtPlatform platform;
  QVERIFY(QApplication::overrideCursor() == nullptr);
  {
    BusyCursor outer(platform);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    {
      BusyCursor inner(platform);
      QCOMPARE(platform.BusyDepth(), 2);
    }
    QVERIFY(QApplication::overrideCursor() != nullptr);
  }
  QVERIFY(QApplication::overrideCursor() == nullptr);
  // An unmatched end leaves somebody else's cursor alone.
  QApplication::setOverrideCursor(Qt::CrossCursor);
  platform.EndBusy();
  QCOMPARE(QApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QApplication::restoreOverrideCursor();
}

void QtPlatformTest::screenPointerAndClock() {
  QtPlatform platform;
  int width = 0;
  int height = 0;
  platform.ScreenSize(width, height);
  QCOMPARE(QSize(width, height), QGuiApplication::primaryScreen()->geometry().size());
  QVERIFY(width > 0 && height > 0);
  QCursor::setPos(40, 30);
  int x = -1;
  int y = -1;
  platform.PointerPosition(x, y);
  QCOMPARE(QPoint(x, y), QCursor::pos());
  const std::int64_t first = platform.ClockMilliseconds();
  QTest::qWait(20);
  QVERIFY(platform.ClockMilliseconds() >= first + 15);
}

void QtPlatformTest::messageBoxesAndQuestions() {
  QtPlatform platform;
  QString caption;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  WhenModal([&](QDialog* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    QVERIFY(box != nullptr);
    caption = box->windowTitle();
    text = box->text();
    format = box->textFormat();
    box->button(QMessageBox::Ok)->click();
  });
  platform.ShowMessage("/tmp/<b>x</b>.bmp が見つかりません");
  QVERIFY(ModalStepRan());
  QCOMPARE(caption, QString("Mirasketch"));
  QCOMPARE(text, QString("/tmp/<b>x</b>.bmp が見つかりません"));
  QCOMPARE(format, Qt::PlainText);

  for (const bool yes : {true, false}) {
    WhenModal([&](QDialog* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      QVERIFY(box != nullptr);
      text = box->text();
      QVERIFY(box->button(QMessageBox::Yes) != nullptr);
      QVERIFY(box->button(QMessageBox::No) != nullptr);
      QCOMPARE(box->textFormat(), Qt::PlainText);
      box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    QCOMPARE(platform.AskYesNo("上書きしますか?"), yes);
    QCOMPARE(text, QString("上書きしますか?"));
  }
  // Esc is No.
  WhenModal([](QDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  QVERIFY(!platform.AskYesNo("破棄しますか?"));
  QVERIFY(ModalStepRan());

  WhenModal([](QDialog* dialog) {
    auto* input = qobject_cast<QInputDialog*>(dialog);
    QVERIFY(input != nullptr);
    QCOMPARE(input->labelText(), QString("1-100"));
    QCOMPARE(input->textValue(), QString("7"));
    input->setTextValue("12");
    input->accept();
  });
  QCOMPARE(platform.InputBox("置く数", "1-100", "7"), std::optional<std::string>("12"));
  WhenModal([](QDialog* dialog) { dialog->reject(); });
  QCOMPARE(platform.InputBox("置く数", "1-100", "7"), std::optional<std::string>());
}

void QtPlatformTest::saveDialogUsesTheRequest() {
  TempDir folder;
  QtPlatform platform;
  FileDialogRequest request;
  request.initialFolder = folder.Path();
  QStringList filters;
  QString selectedFilter;
  QString suffix;
  bool asksOverwrite = true;
  QString directory;
  WhenModal([&](QDialog* dialog) {
    auto* files = qobject_cast<QFileDialog*>(dialog);
    QVERIFY(files != nullptr);
    filters = files->nameFilters();
    selectedFilter = files->selectedNameFilter();
    suffix = files->defaultSuffix();
    asksOverwrite = !files->testOption(QFileDialog::DontConfirmOverwrite);
    directory = files->directory().absolutePath();
    // Typed into the name field: selectFile leaves the field alone once it has the focus, which
    // the offscreen platform gives it at a varying moment.
    auto* name = files->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(name != nullptr);
    name->setText("drawing");
    static_cast<QDialog*>(files)->accept();
  });
  const std::optional<std::string> chosen = platform.ChooseSaveFile(request);
  QVERIFY(ModalStepRan());
  QCOMPARE(filters.size(), 6);
  QCOMPARE(filters.back(), QString("PNGファイル (*.png)"));
  QCOMPARE(selectedFilter, QString("kvlファイル (*.kvl)"));
  QCOMPARE(suffix, QString("kvl"));
  QVERIFY(!asksOverwrite);
  QCOMPARE(directory, QString::fromStdString(folder.Path()));
  QCOMPARE(chosen, std::optional<std::string>(folder.File("drawing.kvl")));

  WhenModal([](QDialog* dialog) { dialog->reject(); });
  QCOMPARE(platform.ChooseOpenFile(request), std::optional<std::string>());
}

void QtPlatformTest::missingHelpFileIsReported() {
  TempDir folder;
  QtPlatform platform;
  QString text;
  WhenModal([&](QDialog* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) text = box->text();
    dialog->accept();
  });
  platform.ShowHelp(folder.File("korvel.html"));
  QVERIFY(ModalStepRan());
  QVERIFY(text.startsWith(QString::fromStdString(folder.File("korvel.html"))));
  QVERIFY(platform.Help() == nullptr);

  // A help file opens in the program's help window, its links followed inside it.
  const std::string page =
      "<html><body><h1>目次</h1><a href=\"#pen\">ペン</a><h2 id=\"pen\">ペン</h2></body></html>";
  WriteAll(folder.File("korvel.html"), std::vector<std::uint8_t>(page.begin(), page.end()));
  platform.ShowHelp(folder.File("korvel.html"));
  QVERIFY(platform.Help() != nullptr && platform.Help()->isVisible());
  QVERIFY(platform.Help()->browser()->toPlainText().startsWith("目次"));
}

MIRASKETCH_APP_TEST_SUITE(QtPlatformTest);

}  // namespace mirasketch::test

#include "qt_platform_test.moc"
