// The colour window: the sliders and the transparency, the palette switch that sizes the
// window, colour drags onto the palette and its double click, and its show and hide.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app_test.h"
#include "colour_window_view.h"

namespace mirasketch::test {

class ColourWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void slidersSetTheDrawingColour();
  void paletteSwitchSizesTheWindow();
  void dragsFromTheSwatchAndThePalette();
  void dropsStoreColoursInThePalette();
  void paletteClicksAndDoubleClicks();
  void showingAndHidingReachTheCore();
};

void ColourWindowViewTest::slidersSetTheDrawingColour() {
  RunningProgram program;
  program.Action("mnuWinColor")->trigger();
  ColourWindowView& window = program.windows.colour;
  QVERIFY(window.isVisible());
  QCOMPARE(window.size(), QSize(128, 134));
  const ToolSettings& settings = program.studio.toolEngine.settings;
  auto* label = qobject_cast<QLabel*>(window.Control("lblCol"));
  QCOMPARE(label->text(), QString("R0 G0 B0"));

  qobject_cast<QScrollBar*>(window.Control("sbColRed"))->setValue(255);
  QCOMPARE(settings.drawColor, 0x0000FFu);
  QCOMPARE(label->text(), QString("R255 G0 B0"));
  // The swatch shows the colour, all of its 82 × 20 pixels.
  QImage swatch = window.Control("pbxCol")->grab().toImage();
  QCOMPARE(swatch.size(), QSize(82, 20));
  QCOMPARE(Colour(swatch, 0, 0), 0x0000FF);
  QCOMPARE(Colour(swatch, 81, 19), 0x0000FF);

  auto* blue = qobject_cast<QScrollBar*>(window.Control("sbColBlue"));
  blue->triggerAction(QAbstractSlider::SliderPageStepAdd);
  QCOMPARE(settings.drawColor, 0x0A00FFu);
  QCOMPARE(label->text(), QString("R255 G0 B10"));

  // A colour set by the core moves the sliders.
  program.studio.frmCol.SetDrawColour(MakeColour(1, 2, 3));
  QCOMPARE(qobject_cast<QScrollBar*>(window.Control("sbColGreen"))->value(), 2);
  QCOMPARE(blue->value(), 3);
  QCOMPARE(label->text(), QString("R1 G2 B3"));

  // The transparency bar names its value on the check box, which switches it off and on.
  auto* transparency = qobject_cast<QCheckBox*>(window.Control("chkTranspearPow"));
  QVERIFY(transparency->isChecked());
  qobject_cast<QScrollBar*>(window.Control("sbTranspearPow"))->setValue(100);
  QCOMPARE(transparency->text(), QString("透明度100"));
  QCOMPARE(program.studio.frmCol.TransparencyPosition(), 100);
  QTest::mouseClick(transparency, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
  QVERIFY(!transparency->isChecked());
  QVERIFY(settings.transparencyOff);
  QTest::mouseClick(transparency, Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
  QVERIFY(transparency->isChecked());
  QVERIFY(!settings.transparencyOff);
}

void ColourWindowViewTest::paletteSwitchSizesTheWindow() {
  RunningProgram program;
  program.Action("mnuWinColor")->trigger();
  ColourWindowView& window = program.windows.colour;
  auto* toggle = qobject_cast<QToolButton*>(window.Control("spbPalShow"));
  QVERIFY(toggle != nullptr && toggle->isCheckable());
  QVERIFY(!toggle->icon().isNull());
  QWidget* palette = window.Control("pbxPalette");
  QCOMPARE(palette->geometry(), QRect(0, 134, 128, 64));

  QTest::mouseClick(toggle, Qt::LeftButton);
  QVERIFY(toggle->isChecked());
  QCOMPARE(window.size(), QSize(128, 198));
  // The palette's first page: the tab row, then the grey ramp's entries 0 … 31.
  const QImage shown = palette->grab().toImage();
  QCOMPARE(Colour(shown, 2, 2), 0xFFFFFF);
  QCOMPARE(Colour(shown, 14, 2), 0xFFFFFF);
  QCOMPARE(Colour(shown, 30, 2), 0x808080);
  QCOMPARE(Colour(shown, 8, 13), 0x000000);
  QCOMPARE(Colour(shown, 24, 13), 0x010101);
  QCOMPARE(Colour(shown, 120, 63), 0x1F1F1F);

  QTest::mouseClick(toggle, Qt::LeftButton);
  QVERIFY(!toggle->isChecked());
  QCOMPARE(window.size(), QSize(128, 134));
}

void ColourWindowViewTest::dragsFromTheSwatchAndThePalette() {
  RunningProgram program;
  program.Action("mnuWinColor")->trigger();
  ColourWindowView& window = program.windows.colour;
  std::vector<std::string> drags;
  window.startDrag = [&drags](const std::string& paintBox) { drags.push_back(paintBox); };
  QWidget* swatch = window.Control("pbxCol");
  QWidget* palette = window.Control("pbxPalette");

  // From the swatch a drag starts once the pointer has travelled the drag distance.
  SendMouse(swatch, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
  SendMouse(swatch, QEvent::MouseMove, {11, 10}, Qt::LeftButton);
  QVERIFY(drags.empty());
  SendMouse(swatch, QEvent::MouseMove, {10 + QApplication::startDragDistance(), 10},
            Qt::LeftButton);
  QCOMPARE(drags, std::vector<std::string>{"pbxCol"});
  SendMouse(swatch, QEvent::MouseMove, {40, 10}, Qt::LeftButton);
  QCOMPARE(drags.size(), std::size_t{1});
  // A move without the button held is no drag.
  SendMouse(swatch, QEvent::MouseButtonRelease, {40, 10}, Qt::NoButton);
  SendMouse(swatch, QEvent::MouseMove, {10, 10}, Qt::NoButton);
  QCOMPARE(drags.size(), std::size_t{1});

  // A plain palette press picks the colour but arms no drag.
  program.studio.frmCol.paletteColours[9] = 0x123456;
  SendMouse(palette, QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton);
  QCOMPARE(program.studio.toolEngine.settings.drawColor, 0x123456u);
  SendMouse(palette, QEvent::MouseMove, {30, 30}, Qt::LeftButton);
  SendMouse(palette, QEvent::MouseButtonRelease, {30, 30}, Qt::NoButton);
  QCOMPARE(drags.size(), std::size_t{1});
  // With Ctrl the entry is dragged after a one-pixel move.
  SendMouse(palette, QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton, Qt::ControlModifier);
  QCOMPARE(program.studio.frmCol.paletteDragIndex, 9);
  SendMouse(palette, QEvent::MouseMove, {20, 30}, Qt::LeftButton, Qt::ControlModifier);
  QCOMPARE(drags.size(), std::size_t{1});
  SendMouse(palette, QEvent::MouseMove, {21, 30}, Qt::LeftButton, Qt::ControlModifier);
  QCOMPARE(drags, (std::vector<std::string>{"pbxCol", "pbxPalette"}));
}

void ColourWindowViewTest::dropsStoreColoursInThePalette() {
  RunningProgram program;
  program.Action("mnuWinColor")->trigger();
  ColourWindowView& window = program.windows.colour;
  TfrmCol& frmCol = program.studio.frmCol;
  QWidget* palette = window.Control("pbxPalette");
  QTest::mouseClick(window.Control("spbPalShow"), Qt::LeftButton);
  QVERIFY(palette->acceptDrops());

  // The swatch's colour dropped on entry 9 (second row, second column).
  frmCol.SetDrawColour(0x00FF00);
  QVERIFY(DragAndDrop(palette, {20, 30}, ColourWindowView::DragData("TfrmCol", "pbxCol")));
  QCOMPARE(frmCol.paletteColours[9], 0x00FF00u);
  QCOMPARE(Colour(palette->grab().toImage(), 20, 30), 0x00FF00);

  // A palette entry dragged with Ctrl from entry 3 and dropped on entry 17.
  frmCol.paletteColours[3] = 0xABCDEF;
  SendMouse(palette, QEvent::MouseButtonPress, {50, 14}, Qt::LeftButton, Qt::ControlModifier);
  QVERIFY(DragAndDrop(palette, {20, 45}, ColourWindowView::DragData("TfrmCol", "pbxPalette")));
  QCOMPARE(frmCol.paletteColours[17], 0xABCDEFu);
  QCOMPARE(frmCol.paletteDragIndex, -1);

  // Other data, and a colour drag of another running copy of the program, are refused.
  auto* text = new QMimeData;
  text->setText("1");
  QVERIFY(!DragAndDrop(palette, {20, 30}, text));
  auto* foreign = new QMimeData;
  foreign->setData("application/x-mirasketch-paint-box-drag", "TfrmCol.pbxCol 0");
  QVERIFY(!ColourWindowView::DragSource(foreign));
  QVERIFY(!DragAndDrop(palette, {20, 30}, foreign));
  QCOMPARE(frmCol.paletteColours[9], 0x00FF00u);
  // Only the swatch's and the palette's drags are taken, and only by the palette.
  QVERIFY(!DragAndDrop(palette, {20, 30}, ColourWindowView::DragData("TfrmC", "pbxBrush")));
  QVERIFY(!DragAndDrop(window.Control("pbxCol"), {5, 5},
                       ColourWindowView::DragData("TfrmCol", "pbxPalette")));
}

void ColourWindowViewTest::paletteClicksAndDoubleClicks() {
  RunningProgram program;
  program.Action("mnuWinColor")->trigger();
  ColourWindowView& window = program.windows.colour;
  TfrmCol& frmCol = program.studio.frmCol;
  QWidget* palette = window.Control("pbxPalette");
  QTest::mouseClick(window.Control("spbPalShow"), Qt::LeftButton);

  // The tab of page 3 turns the page; an entry there becomes the drawing colour.
  QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, QPoint(36, 5));
  QCOMPARE(frmCol.palettePage, 64);
  QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, QPoint(2, 14));
  QCOMPARE(program.studio.toolEngine.settings.drawColor, 0x404040u);
  QCOMPARE(qobject_cast<QLabel*>(window.Control("lblCol"))->text(), QString("R64 G64 B64"));

  // A double click edits the entry in the colour dialog.
  program.platform.colours.push_back(0x0000C0);
  QTest::mouseDClick(palette, Qt::LeftButton, Qt::NoModifier, QPoint(18, 14));
  QCOMPARE(program.platform.colourDialogsOpened, std::vector<int>{0x414141});
  QCOMPARE(frmCol.paletteColours[65], 0x0000C0u);
  QCOMPARE(program.studio.toolEngine.settings.drawColor, 0x0000C0u);
  QCOMPARE(Colour(palette->grab().toImage(), 18, 14), 0x0000C0);
}

void ColourWindowViewTest::showingAndHidingReachTheCore() {
  RunningProgram program;
  ColourWindowView& window = program.windows.colour;
  TfrmCol& frmCol = program.studio.frmCol;
  QVERIFY(!window.isVisible());
  frmCol.paletteDragIndex = 5;
  QTest::mouseClick(program.Button("tlbWinColor"), Qt::LeftButton);
  QVERIFY(window.isVisible());
  QCOMPARE(frmCol.paletteDragIndex, -1);
  QCOMPARE(window.windowTitle(), QString("色"));

  // Its own close button switches it off on the main window too.
  QVERIFY(window.close());
  QVERIFY(!window.isVisible());
  QVERIFY(!program.studio.frmMain.WindowChecked(1));
  QVERIFY(!program.Button("tlbWinColor")->isChecked());
  QVERIFY(!program.Action("mnuWinColor")->isChecked());
}

MIRASKETCH_APP_TEST_SUITE(ColourWindowViewTest);

}  // namespace mirasketch::test

#include "colour_window_view_test.moc"
