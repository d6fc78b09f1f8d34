// The position window on screen: the whole canvas at 1:1 with scroll bars when it is larger than
// the window, a stroke on the canvas shown at once, a click scrolling the canvas window, and its
// close turning its switch off.

#include <QAction>
#include <QScrollBar>
#include <QTest>

#include "app_test.h"
#include "canvas_window_view.h"
#include "position_window_view.h"

namespace mirasketch::test {

class PositionWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheCanvasAndAClickCentresTheCanvasWindow();
};

void PositionWindowViewTest::showsTheCanvasAndAClickCentresTheCanvasWindow() {
  RunningProgram program;
  PositionWindowView& window = program.windows.position;
  program.Action("mnuWinPosition")->trigger();
  QVERIFY(window.isVisible());
  QCOMPARE(window.viewport()->objectName(), QString("pbxA"));
  // The 256 × 256 start canvas is larger than the 153 × 187 window.
  QCOMPARE(window.horizontalScrollBar()->maximum(), 256 - window.viewport()->width());
  QCOMPARE(window.verticalScrollBar()->maximum(), 256 - window.viewport()->height());

  // A pen dot on the canvas shows here at the same point.
  CanvasWindowView& canvas = program.windows.canvas;
  QTest::mouseClick(canvas.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 30));
  QImage shown = window.viewport()->grab().toImage();
  QCOMPARE(Colour(shown, 20, 30), 0);
  QCOMPARE(Colour(shown, 21, 30), 0xFFFFFF);
  // Scrolled, it shows the picture further on.
  window.horizontalScrollBar()->setValue(15);
  shown = window.viewport()->grab().toImage();
  QCOMPARE(Colour(shown, 5, 30), 0);

  // A left click at viewport (85, 60), canvas point (100, 60), centres the canvas window on it at
  // zoom 4; a right click does nothing.
  TfrmM& frmM = program.studio.frmM;
  frmM.SetZoom(4);
  QTest::mouseClick(window.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(85, 60));
  QCOMPARE(frmM.view.scrollX, 0);
  QTest::mouseClick(window.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(85, 60));
  QCOMPARE(frmM.view.scrollX, 100 * 4 - frmM.view.clientWidth / 2);
  QCOMPARE(frmM.view.scrollY, 60 * 4 - frmM.view.clientHeight / 2);
  QCOMPARE(canvas.horizontalScrollBar()->value(), frmM.view.scrollX);

  QVERIFY(window.close());
  QVERIFY(!program.studio.frmPos.visible);
  QVERIFY(!program.Action("mnuWinPosition")->isChecked());
}

MIRASKETCH_APP_TEST_SUITE(PositionWindowViewTest);

}  // namespace mirasketch::test

#include "position_window_view_test.moc"
