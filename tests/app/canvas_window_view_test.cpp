// The canvas window: what it shows of the composed picture at each zoom and scroll position,
// how its scroll bars follow the core, and how pointer and keys reach the canvas handlers.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "app_test.h"
#include "canvas_window_view.h"
#include "qt_convert.h"

namespace mirasketch::test {

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kGreen = 0x00FF00;
constexpr int kWhite = 0xFFFFFF;

// What the viewport puts on the screen, through its own paint event.
QImage OnScreen(CanvasWindowView& canvas) {
  return canvas.viewport()->grab().toImage();
}

}  // namespace

class CanvasWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheComposedPictureAsItIsOnScreen();
  void zoomAndScrollingShowTheRightPart();
  void scrollBarsFollowTheCore();
  void pointerPositionsArePaintBoxPixels();
  void keysReachTheCanvasHandlers();
  void closingTheWindowSwitchesItOff();
  void strokesFromThePanelsToolsReachTheScreen();
};

void CanvasWindowViewTest::showsTheComposedPictureAsItIsOnScreen() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  QCOMPARE(canvas.viewport()->objectName(), QString("pbxA"));
  CDibTM& layer = program.studio.project.Active();
  layer.SetPixel(0, 0, kRed);
  layer.SetPixel(10, 5, kBlue);
  layer.SetPixel(255, 255, kGreen);
  program.studio.frmM.Redraw();
  const QImage shown = OnScreen(canvas);
  QCOMPARE(shown.size(), canvas.viewport()->size());
  QCOMPARE(Colour(shown, 0, 0), kRed);
  QCOMPARE(Colour(shown, 1, 0), kWhite);
  QCOMPARE(Colour(shown, 10, 5), kBlue);
  QCOMPARE(Colour(shown, 10, 6), kWhite);
  QCOMPARE(Colour(shown, 5, 10), kWhite);
  // The buffer the core drew on and the screen agree.
  QCOMPARE(canvas.ShownImage().convertToFormat(QImage::Format_RGB32),
           shown.convertToFormat(QImage::Format_RGB32));
  // The client area tells the core how much it sees.
  QCOMPARE(program.studio.frmM.view.clientWidth, canvas.viewport()->width());
  QCOMPARE(program.studio.frmM.view.clientHeight, canvas.viewport()->height());
}

void CanvasWindowViewTest::zoomAndScrollingShowTheRightPart() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  TfrmM& frmM = program.studio.frmM;
  CDibTM& layer = program.studio.project.Active();
  layer.SetPixel(10, 5, kBlue);
  layer.SetPixel(100, 120, kRed);
  frmM.Redraw();
  // A new zoom and scrolling show the composed picture: they compose nothing.
  frmM.SetZoom(3);
  QCOMPARE(frmM.paintBoxWidth, 768);
  QImage shown = OnScreen(canvas);
  // Canvas pixel (10, 5) is the 3 × 3 block at (30, 15).
  QCOMPARE(Colour(shown, 30, 15), kBlue);
  QCOMPARE(Colour(shown, 32, 17), kBlue);
  QCOMPARE(Colour(shown, 29, 15), kWhite);
  QCOMPARE(Colour(shown, 33, 17), kWhite);

  canvas.horizontalScrollBar()->setValue(250);
  canvas.verticalScrollBar()->setValue(300);
  QCOMPARE(frmM.view.scrollX, 250);
  QCOMPARE(frmM.view.scrollY, 300);
  shown = OnScreen(canvas);
  // Canvas pixel (100, 120) is at paint box (300, 360), viewport (50, 60).
  QCOMPARE(Colour(shown, 50, 60), kRed);
  QCOMPARE(Colour(shown, 52, 62), kRed);
  QCOMPARE(Colour(shown, 49, 60), kWhite);
  QCOMPARE(Colour(shown, 53, 63), kWhite);

  // Back to zoom 1 the paint box fits; the part of the viewport past it is not the picture.
  frmM.SetZoom(1);
  QCOMPARE(frmM.view.scrollX, 0);
  canvas.resize(400, 400);
  QApplication::processEvents();
  QVERIFY(canvas.viewport()->width() > 256);
  shown = OnScreen(canvas);
  QCOMPARE(Colour(shown, 100, 120), kRed);
  QVERIFY(Colour(shown, 300, 10) != kWhite);
  QCOMPARE(Colour(shown, 300, 10), Colour(shown, 10, 300));
}

void CanvasWindowViewTest::scrollBarsFollowTheCore() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  TfrmM& frmM = program.studio.frmM;
  frmM.SetZoom(4);
  QApplication::processEvents();
  QScrollBar* h = canvas.horizontalScrollBar();
  QScrollBar* v = canvas.verticalScrollBar();
  QCOMPARE(h->maximum(), frmM.ScrollRangeX());
  QCOMPARE(v->maximum(), frmM.ScrollRangeY());
  QCOMPARE(h->maximum(), 1024 - canvas.viewport()->width());
  QCOMPARE(h->pageStep(), canvas.viewport()->width());
  frmM.CenterOn(128, 100);
  QCOMPARE(h->value(), 512 - canvas.viewport()->width() / 2);
  QCOMPARE(v->value(), 400 - canvas.viewport()->height() / 2);
  QCOMPARE(frmM.view.scrollX, h->value());
  // Centring near the end stops at the range.
  frmM.CenterOn(255, 255);
  QCOMPARE(h->value(), h->maximum());
  QCOMPARE(frmM.view.scrollY, v->maximum());
  // A smaller window has a longer range; the core learns the new client size.
  canvas.resize(200, 150);
  QApplication::processEvents();
  QCOMPARE(frmM.view.clientWidth, canvas.viewport()->width());
  QCOMPARE(h->maximum(), frmM.ScrollRangeX());
}

void CanvasWindowViewTest::pointerPositionsArePaintBoxPixels() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  TfrmM& frmM = program.studio.frmM;
  frmM.SetZoom(2);
  canvas.horizontalScrollBar()->setValue(30);
  canvas.verticalScrollBar()->setValue(11);
  QTest::mouseMove(canvas.viewport(), QPoint(5, 7));
  QCOMPARE(frmM.pointerX, 35);
  QCOMPARE(frmM.pointerY, 18);
  // Moves keep coming with the button held, even outside the window.
  QTest::mousePress(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  QTest::mouseMove(canvas.viewport(), QPoint(40, 9));
  QCOMPARE(frmM.pointerX, 70);
  QCOMPARE(frmM.pointerY, 20);
  QTest::mouseRelease(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(40, 9));
  QCOMPARE(CoreShiftState(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_A), 5);
  QCOMPARE(CoreShiftState(Qt::NoModifier, Qt::Key_Shift), 1);
  QCOMPARE(CoreShiftState(Qt::AltModifier, Qt::Key_Control), 6);
}

void CanvasWindowViewTest::keysReachTheCanvasHandlers() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  TfrmM& frmM = program.studio.frmM;
  ToolEngine& tools = program.studio.toolEngine;
  canvas.activateWindow();
  QApplication::setActiveWindow(&canvas);
  canvas.setFocus();

  QTest::keyPress(&canvas, Qt::Key_Shift, Qt::ShiftModifier);
  QVERIFY(tools.settings.shiftConstrain);
  QTest::keyRelease(&canvas, Qt::Key_Shift, Qt::NoModifier);
  QVERIFY(!tools.settings.shiftConstrain);

  // S picks the colour under the pointer.
  CDibTM& layer = program.studio.project.Active();
  layer.SetPixel(6, 4, kGreen);
  QTest::mouseMove(canvas.viewport(), QPoint(6, 4));
  QTest::keyClick(&canvas, Qt::Key_S);
  QCOMPARE(tools.settings.drawColor, kGreen);

  // Ctrl+Z steps the active layer back to the snapshot taken before the "stroke".
  frmM.PushUndo();
  QVERIFY(frmM.SaveBeforeWrite(6, 4, 1, 1));
  layer.SetPixel(6, 4, kRed);
  QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(layer.GetPixel(6, 4), kGreen);
  QCOMPARE(Colour(OnScreen(canvas), 6, 4), kGreen);
  // Nothing left to undo: nothing changes.
  layer.SetPixel(6, 4, kRed);
  QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(layer.GetPixel(6, 4), kRed);
}

void CanvasWindowViewTest::closingTheWindowSwitchesItOff() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  QTest::mouseClick(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  QCOMPARE(Colour(OnScreen(canvas), 3, 3), 0);  // a dot of the one-pixel pen
  QVERIFY(canvas.close());
  QVERIFY(!canvas.isVisible());
  QVERIFY(!program.studio.frmM.visible);
  QVERIFY(!program.studio.frmMain.WindowChecked(0));
  QVERIFY(!program.Action("mnuWinPaint")->isChecked());
  // A change while hidden (the panel's undo takes the dot away) shows once the window is back.
  program.studio.frmC.Click("btnUndo");
  program.Action("mnuWinPaint")->trigger();
  QVERIFY(canvas.isVisible());
  QCOMPARE(Colour(OnScreen(canvas), 3, 3), kWhite);
}

MIRASKETCH_APP_TEST_SUITE(CanvasWindowViewTest);

void CanvasWindowViewTest::strokesFromThePanelsToolsReachTheScreen() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  CDibTM& layer = program.studio.project.Active();
  // A pen line in the default colour (black) with the default one-pixel stamp.
  QTest::mousePress(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseMove(canvas.viewport(), QPoint(30, 10));
  QTest::mouseRelease(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 10));
  QCOMPARE(layer.GetPixel(20, 10), 0);
  QImage shown = OnScreen(canvas);
  QCOMPARE(Colour(shown, 10, 10), 0);
  QCOMPARE(Colour(shown, 30, 10), 0);
  QCOMPARE(Colour(shown, 20, 11), kWhite);
  QVERIFY(program.studio.frmM.modified);

  // The box tool chosen on the panel, filled, dragged at zoom 2.
  auto* box = program.windows.toolPanel.findChild<QToolButton*>("spbBox");
  QVERIFY(box != nullptr);
  QTest::mouseClick(box, Qt::LeftButton);
  QCOMPARE(program.studio.toolEngine.settings.currentTool, tkBox);
  program.studio.frmC.Change("sbZoom", 2);
  program.studio.frmC.Click("chkShapeFill");
  QTest::mousePress(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QTest::mouseMove(canvas.viewport(), QPoint(121, 111));
  QTest::mouseRelease(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(121, 111));
  QCOMPARE(layer.GetPixel(50, 50), 0);
  QCOMPARE(layer.GetPixel(55, 53), 0);
  QCOMPARE(layer.GetPixel(60, 55), 0);
  QCOMPARE(layer.GetPixel(61, 55), kWhite);
  shown = OnScreen(canvas);
  QCOMPARE(Colour(shown, 111, 107), 0);
  QCOMPARE(Colour(shown, 123, 107), kWhite);
}

}  // namespace mirasketch::test

#include "canvas_window_view_test.moc"
