// The mask window driven as a user does, by object name: shown with the mask tool, its range
// editor dragged, its buttons and bars reaching the mask tools, its strip of ramps on screen as the
// core painted it.

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "app_test.h"
#include "mask/mask_tools.h"
#include "mask/mask_window.h"
#include "mask_window_view.h"
#include "qt_convert.h"

namespace mirasketch::test {

class MaskWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void theMaskToolBringsTheWindowAndItsControlsWork();
};

void MaskWindowViewTest::theMaskToolBringsTheWindowAndItsControlsWork() {
  RunningProgram program;
  MaskWindowView& window = program.windows.mask;
  QVERIFY(!window.isVisible());
  QTest::mouseClick(program.windows.toolPanel.Control("spbMask"), Qt::LeftButton);
  QVERIFY(window.isVisible());
  QCOMPARE(window.windowTitle(), QString("マスク"));
  QCOMPARE(window.size(), QSize(312, 162));  // widened for the redo button
  QCOMPARE(program.studio.frmM.view.displayMode, 2);

  // A drag in the red strip of the range editor selects the values it crosses.
  QWidget* ranges = window.Control("pbxA");
  SendMouse(ranges, QEvent::MouseButtonPress, {40, 5}, Qt::LeftButton);
  SendMouse(ranges, QEvent::MouseMove, {50, 5}, Qt::LeftButton);
  SendMouse(ranges, QEvent::MouseButtonRelease, {50, 5}, Qt::NoButton);
  const auto& range = program.studio.frmMaskSet.colourRange;
  QCOMPARE(range[40], std::uint8_t{1});
  QCOMPARE(range[50], std::uint8_t{1});
  QCOMPARE(range[51], std::uint8_t{0});
  const QImage shown = ranges->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage painted = ImageFromDib(program.studio.frmMaskSet.pbxAPaint().image, 256, 64)
                             .convertToFormat(QImage::Format_RGB32);
  QCOMPARE(shown, painted);

  // The strength bar, the invert button and the undo button reach the mask.
  qobject_cast<QScrollBar*>(window.Control("sbDwPow"))->setValue(90);
  QCOMPARE(program.studio.maskTools.maskStrength, 90);
  CDib256& mask = program.studio.project.Active().mask;
  QTest::mouseClick(qobject_cast<QPushButton*>(window.Control("btnMaskInvert")), Qt::LeftButton);
  QCOMPARE(mask.GetPixel(3, 3), 255);
  QTest::mouseClick(qobject_cast<QPushButton*>(window.Control("btnMaskUndo")), Qt::LeftButton);
  QCOMPARE(mask.GetPixel(3, 3), 0);
  // The dropper button shows the picture on the canvas, the others the mask.
  QTest::mouseClick(window.Control("spbSpoite"), Qt::LeftButton);
  QCOMPARE(program.studio.frmM.view.displayMode, 1);
  QCOMPARE(program.studio.maskTools.maskTool, int{mtSpoit});
  QTest::mouseClick(window.Control("spbBox"), Qt::LeftButton);
  QCOMPARE(program.studio.frmM.view.displayMode, 2);

  // Closed, it goes away; the pen chosen on the panel takes over.
  QVERIFY(window.close());
  QVERIFY(!program.studio.frmMaskSet.visible);
  QTest::mouseClick(program.windows.toolPanel.Control("spbPen"), Qt::LeftButton);
  QCOMPARE(program.studio.toolEngine.settings.currentTool, std::int16_t{tkPen});
}

MIRASKETCH_APP_TEST_SUITE(MaskWindowViewTest);

}  // namespace mirasketch::test

#include "mask_window_view_test.moc"
