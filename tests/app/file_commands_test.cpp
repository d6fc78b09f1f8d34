// The file commands driven through the windows: New with the size dialog, Save and Open round
// trips, the overwrite and discard questions, the recent lists and the dialog itself.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "app_test.h"
#include "dialog_views.h"
#include "project/size_dialog.h"

namespace mirasketch::test {

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;

void Fill(QDialog* dialog, const char* width, const char* height) {
  dialog->findChild<QLineEdit*>("edtWid")->setText(width);
  dialog->findChild<QLineEdit*>("edtHei")->setText(height);
}

void ClickOk(QDialog* dialog) {
  QTest::mouseClick(dialog->findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
}

// Channels within `tolerance` of each other (JPEG is lossy).
bool Near(int a, int b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

}  // namespace

class FileCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void newProjectThroughTheSizeDialog();
  void cancelledSizeDialogKeepsTheProject();
  void sizeDialogChecksWhatIsTyped();
  void saveAndOpenRoundTrip_data();
  void saveAndOpenRoundTrip();
  void overwriteQuestion();
  void discardQuestionOnClose();
  void recentFilesNewestFirstIgnoringCase();
  void failedOpenChangesNothing();
};

void FileCommandsTest::newProjectThroughTheSizeDialog() {
  RunningProgram program;
  std::vector<std::string> shownInDialog;
  bool stayedOpen = true;
  WhenModal([&](QDialog* dialog) {
    QCOMPARE(dialog->objectName(), QString("frmDlgSize"));
    QCOMPARE(dialog->windowTitle(), QString("大きさを入力してください"));
    QCOMPARE(dialog->size(), QSize(194, 80));
    QCOMPARE(dialog->findChild<QLabel*>("lblWid")->text(), QString("幅"));
    QCOMPARE(dialog->findChild<QLabel*>("lblHei")->text(), QString("高さ"));
    QCOMPARE(dialog->findChild<QLabel*>("lblComment")->text(), QString("幅は4の倍数にします。"));
    QCOMPARE(dialog->findChild<QLineEdit*>("edtWid")->text(), QString("320"));
    QCOMPARE(dialog->findChild<QLineEdit*>("edtHei")->text(), QString("320"));
    QCOMPARE(dialog->findChild<QPushButton*>("CancelBtn")->text(), QString("ESC"));
    QVERIFY(dialog->findChild<QPushButton*>("OKBtn")->isDefault());
    QCOMPARE(dialog->findChild<QPushButton*>("OKBtn")->geometry(), QRect(135, 4, 50, 22));

    Fill(dialog, "3", "200");
    ClickOk(dialog);
    stayedOpen = stayedOpen && dialog->isVisible();
    Fill(dialog, "30001", "200");
    ClickOk(dialog);
    stayedOpen = stayedOpen && dialog->isVisible();
    shownInDialog = program.platform.shown;
    Fill(dialog, "321", "200");
    ClickOk(dialog);
  });
  program.Action("mnuNewBmp")->trigger();
  QVERIFY(ModalStepRan());
  QVERIFY(stayedOpen);
  QCOMPARE(shownInDialog, std::vector<std::string>({"小さすぎます。", "大きすぎます。"}));
  QCOMPARE(program.platform.shown.size(), std::size_t{2});
  // Accepted: a one-layer project whose width is rounded up to a multiple of 4.
  QCOMPARE(program.studio.project.CanvasWidth(), 324);
  QCOMPARE(program.studio.project.CanvasHeight(), 200);
  QCOMPARE(program.studio.project.layerCount, 1);
  QCOMPARE(program.Window("frmM")->windowTitle(), QString("(New Layer Project)"));
  QCOMPARE(program.studio.frmM.paintBoxWidth, 324);
  QCOMPARE(program.ItemText("mnuPastFile0"), QString("(empty)"));

  // The tool button runs the same command.
  WhenModal([](QDialog* dialog) {
    Fill(dialog, "64", "48");
    QTest::keyClick(dialog->findChild<QLineEdit*>("edtHei"), Qt::Key_Return);
  });
  QTest::mouseClick(program.Button("tlbNewBmp"), Qt::LeftButton);
  QVERIFY(ModalStepRan());
  QCOMPARE(program.studio.project.CanvasWidth(), 64);
  QCOMPARE(program.studio.project.CanvasHeight(), 48);
}

void FileCommandsTest::cancelledSizeDialogKeepsTheProject() {
  RunningProgram program;
  program.studio.project.Active().SetPixel(2, 2, kRed);
  WhenModal([](QDialog* dialog) {
    Fill(dialog, "100", "100");
    QTest::mouseClick(dialog->findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
  });
  program.Action("mnuNewBmp")->trigger();
  QVERIFY(ModalStepRan());
  WhenModal([](QDialog* dialog) {
    Fill(dialog, "100", "100");
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  program.Action("mnuNewBmp")->trigger();
  QVERIFY(ModalStepRan());
  QCOMPARE(program.studio.project.CanvasWidth(), 256);
  QCOMPARE(program.studio.project.Active().GetPixel(2, 2), kRed);
  QVERIFY(program.platform.shown.empty());
}

void FileCommandsTest::sizeDialogChecksWhatIsTyped() {
  FakePlatform platform;
  TfrmDlgSize core;
  core.SetValues(100, 50);
  SizeDialogView dialog(core, platform);
  QCOMPARE(dialog.findChild<QLineEdit*>("edtWid")->text(), QString("100"));
  QCOMPARE(dialog.findChild<QLineEdit*>("edtHei")->text(), QString("50"));
  QSignalSpy accepted(&dialog, &QDialog::accepted);
  dialog.show();
  // Neither field a number: the dialog stays without a word.
  Fill(&dialog, "abc", "xyz");
  ClickOk(&dialog);
  QCOMPARE(accepted.count(), 0);
  QVERIFY(platform.shown.empty());
  // A width that reads as nothing is too small.
  Fill(&dialog, "abc", "200");
  ClickOk(&dialog);
  QCOMPARE(accepted.count(), 0);
  QCOMPARE(platform.shown, std::vector<std::string>({"小さすぎます。"}));
  Fill(&dialog, " 40px", "30");
  ClickOk(&dialog);
  QCOMPARE(accepted.count(), 1);
  QCOMPARE(core.resultWidth, 40);
  QCOMPARE(core.resultHeight, 30);
  QCOMPARE(core.edtWid, std::string(" 40px"));
}

void FileCommandsTest::saveAndOpenRoundTrip_data() {
  QTest::addColumn<QString>("extension");
  QTest::addColumn<int>("tolerance");
  QTest::newRow("kvl") << "kvl" << 0;
  QTest::newRow("bmp") << "bmp" << 0;
  QTest::newRow("jpg") << "jpg" << 40;
  QTest::newRow("png") << "png" << 0;
}

void FileCommandsTest::saveAndOpenRoundTrip() {
  QFETCH(QString, extension);
  QFETCH(int, tolerance);
  RunningProgram program;
  LayerProject& project = program.studio.project;
  // A block of colour big enough to survive JPEG's blocks.
  project.Active().FillRect(16, 16, 16, 16, kRed);
  project.Active().FillRect(64, 32, 16, 8, kBlue);
  const std::string path = program.folder.File("picture." + extension.toStdString());
  const QString qpath = QString::fromStdString(path);
  const QString folder = QString::fromStdString(program.folder.Path());

  program.platform.saveFiles.push_back(path);
  program.Action("mnuSaveFileAs")->trigger();
  QVERIFY(std::filesystem::exists(path));
  QVERIFY(program.platform.asked.empty());
  QCOMPARE(program.Window("frmM")->windowTitle(), qpath);
  QCOMPARE(program.ItemText("mnuPastFile0"), qpath);
  QCOMPARE(program.ItemText("mnuSavePF0"), folder);
  QCOMPARE(program.ItemText("mnuOpenPF0"), QString("(empty)"));
  QCOMPARE(program.platform.saveRequests.back().defaultExtension, std::string("kvl"));

  // Start over with a blank project, then open the file again.
  WhenModal([](QDialog* dialog) {
    Fill(dialog, "128", "96");
    ClickOk(dialog);
  });
  program.Action("mnuNewBmp")->trigger();
  QCOMPARE(project.CanvasWidth(), 128);
  QCOMPARE(program.Window("frmM")->windowTitle(), QString("(New Layer Project)"));

  program.platform.openFiles.push_back(path);
  program.Action("mnuOpenFile")->trigger();
  QVERIFY2(program.platform.shown.empty(),
           program.platform.shown.empty() ? "" : program.platform.shown[0].c_str());
  QCOMPARE(project.CanvasWidth(), 256);
  QCOMPARE(project.CanvasHeight(), 256);
  QVERIFY(Near(project.Active().GetPixel(20, 20), kRed, tolerance));
  QVERIFY(Near(project.Active().GetPixel(70, 35), kBlue, tolerance));
  QVERIFY(Near(project.Active().GetPixel(100, 100), kWhite, tolerance));
  QCOMPARE(program.Window("frmM")->windowTitle(), qpath);
  QCOMPARE(program.ItemText("mnuPastFile0"), qpath);
  QCOMPARE(program.ItemText("mnuPastFile1"), QString("(empty)"));
  QCOMPARE(program.ItemText("mnuOpenPF0"), folder);
  QCOMPARE(program.platform.openRequests.back().initialFolder, std::string());
  // The next open starts in the folder of this one.
  program.platform.openFiles.push_back(std::nullopt);
  QTest::mouseClick(program.Button("tlbOpen"), Qt::LeftButton);
  QCOMPARE(program.platform.openRequests.back().initialFolder, program.folder.Path());

  // Save writes to the project's own file without asking.
  project.Active().FillRect(0, 0, 8, 8, kBlue);
  const std::vector<std::uint8_t> bytesBefore = ReadAll(path);
  program.Action("mnuSaveFile")->trigger();
  QVERIFY(program.platform.asked.empty());
  QCOMPARE(program.platform.saveRequests.size(), std::size_t{1});
  QVERIFY(ReadAll(path) != bytesBefore);
}

void FileCommandsTest::overwriteQuestion() {
  RunningProgram program;
  const std::string path = program.folder.File("old.bmp");
  WriteAll(path, {'o', 'l', 'd'});

  program.platform.saveFiles.push_back(path);
  program.platform.answers.push_back(false);
  program.Action("mnuSaveFileAs")->trigger();
  QCOMPARE(program.platform.asked,
           std::vector<std::string>(
               {path + "すでに同名のファイルがあリます、上書きしてもよろしいですか?"}));
  QCOMPARE(ReadAll(path), std::vector<std::uint8_t>({'o', 'l', 'd'}));
  QCOMPARE(program.ItemText("mnuPastFile0"), QString("(empty)"));
  QCOMPARE(program.Window("frmM")->windowTitle(), QString("(New Layer Project)"));

  program.platform.saveFiles.push_back(path);
  program.platform.answers.push_back(true);
  program.Action("mnuSaveFileAs")->trigger();
  const std::vector<std::uint8_t> bytes = ReadAll(path);
  QVERIFY(bytes.size() > 54);
  QCOMPARE(bytes[0], std::uint8_t{'B'});
  QCOMPARE(bytes[1], std::uint8_t{'M'});
  QCOMPARE(program.ItemText("mnuPastFile0"), QString::fromStdString(path));
  // No temporary file is left beside it (the folder is the program's, with its data files).
  QCOMPARE(program.folder.Entries(),
           std::vector<std::string>({"Ruler.dat", "brush.bmp", "old.bmp"}));
}

void FileCommandsTest::discardQuestionOnClose() {
  RunningProgram program;
  program.studio.frmM.modified = true;
  const std::string question = "(New Layer Project)は変更されています、破棄してもよろしいですか?";

  program.platform.answers.push_back(false);
  QVERIFY(!program.windows.main.close());
  QVERIFY(program.windows.main.isVisible());
  QCOMPARE(program.quitRequests, 0);
  QCOMPARE(program.platform.asked, std::vector<std::string>({question}));

  program.platform.answers.push_back(false);
  program.Action("mnuExit")->trigger();
  QVERIFY(program.windows.main.isVisible());
  QCOMPARE(program.quitRequests, 0);
  QCOMPARE(program.platform.asked.size(), std::size_t{2});

  // No to the question before New keeps the project and opens no dialog.
  program.platform.answers.push_back(false);
  WhenModal([](QDialog*) {});
  program.Action("mnuNewBmp")->trigger();
  QApplication::processEvents();
  QVERIFY(!ModalStepRan());
  QVERIFY(program.studio.frmM.modified);

  program.platform.answers.push_back(true);
  QVERIFY(program.windows.main.close());
  QCOMPARE(program.quitRequests, 1);
}

void FileCommandsTest::recentFilesNewestFirstIgnoringCase() {
  RunningProgram program;
  const std::string a = program.folder.File("a.bmp");
  const std::string b = program.folder.File("b.bmp");
  const std::string upper = program.folder.File("A.BMP");
  WriteWhiteBmp(a, 8, 8);
  WriteWhiteBmp(b, 12, 8);
  WriteWhiteBmp(upper, 16, 8);
  for (const std::string& path : {a, b, upper}) {
    program.platform.openFiles.push_back(path);
    program.Action("mnuOpenFile")->trigger();
  }
  QVERIFY(program.platform.shown.empty());
  QCOMPARE(program.ItemText("mnuPastFile0"), QString::fromStdString(upper));
  QCOMPARE(program.ItemText("mnuPastFile1"), QString::fromStdString(b));
  QCOMPARE(program.ItemText("mnuPastFile2"), QString("(empty)"));
  QCOMPARE(program.ItemText("mnuOpenPF0"), QString::fromStdString(program.folder.Path()));
  QCOMPARE(program.ItemText("mnuOpenPF1"), QString("(empty)"));

  // Reopening from the list moves the entry up and opens it.
  program.Action("mnuPastFile1")->trigger();
  QCOMPARE(program.studio.project.CanvasWidth(), 12);
  QCOMPARE(program.ItemText("mnuPastFile0"), QString::fromStdString(b));
  QCOMPARE(program.ItemText("mnuPastFile1"), QString::fromStdString(upper));
  // An empty entry opens nothing.
  program.Action("mnuPastFile5")->trigger();
  QCOMPARE(program.studio.project.CanvasWidth(), 12);
  // Opening from a recent folder starts the dialog there.
  program.platform.openFiles.push_back(std::nullopt);
  program.Action("mnuOpenPF0")->trigger();
  QCOMPARE(program.platform.openRequests.back().initialFolder, program.folder.Path());
}

void FileCommandsTest::failedOpenChangesNothing() {
  RunningProgram program;
  program.studio.project.Active().SetPixel(1, 1, kBlue);
  program.platform.openFiles.push_back(program.folder.File("missing.bmp"));
  program.Action("mnuOpenFile")->trigger();
  QCOMPARE(program.platform.shown.size(), std::size_t{1});
  QVERIFY(QString::fromStdString(program.platform.shown[0]).contains("missing.bmp"));
  QCOMPARE(program.Window("frmM")->windowTitle(), QString("(New Layer Project)"));
  QCOMPARE(program.ItemText("mnuPastFile0"), QString("(empty)"));
  QCOMPARE(program.ItemText("mnuOpenPF0"), QString("(empty)"));
  QCOMPARE(program.studio.project.Active().GetPixel(1, 1), kBlue);
}

MIRASKETCH_APP_TEST_SUITE(FileCommandsTest);

}  // namespace mirasketch::test

#include "file_commands_test.moc"
