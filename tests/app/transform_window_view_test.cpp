// The transform window driven as a user does, by object name: "変形" on the tool panel with a
// piece selected, a rotation chosen from the menu and computed, the result pasted onto the layer.

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app_test.h"
#include "transform/transform_window.h"
#include "transform_window_view.h"

namespace mirasketch::test {

class TransformWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void aSelectedPieceIsRotatedAndPastedBack();
};

void TransformWindowViewTest::aSelectedPieceIsRotatedAndPastedBack() {
  RunningProgram program;
  Studio& studio = program.studio;
  CDibTM& layer = studio.project.Active();
  layer.FillRect(0, 0, 10, 4, 0x0000FF);  // a red bar 10 wide, 4 high
  studio.frmC.SelectTool(tkSelect);
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 0, 0);
  studio.frmM.pbxAMouseMove(9, 3);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 9, 3);
  QTest::mouseClick(qobject_cast<QPushButton*>(program.windows.toolPanel.Control("btnSelectTrans")),
                    Qt::LeftButton);
  TransformWindowView& window = program.windows.transform;
  QVERIFY(window.isVisible());
  QCOMPARE(window.windowTitle(), QString("拡大縮小回転変形"));
  QCOMPARE(studio.frmT.r.srcWidth, 10);
  // The client area under the menu bar is the core's canvas.
  QCOMPARE(studio.frmT.clientWidth, window.Canvas()->width());
  QCOMPARE(studio.frmT.clientHeight, window.Canvas()->height());

  auto trigger = [&window](const char* name) {
    auto* action = window.findChild<QAction*>(name);
    QVERIFY2(action != nullptr, name);
    action->trigger();
  };
  trigger("mnuSpin90");
  QCOMPARE(studio.frmT.editMode, int{emRotate});
  trigger("mnuDoCal");
  trigger("mnuPaste");
  // Turned a quarter: 4 wide and 10 high at the window's top-left, floating on the layer.
  QVERIFY(studio.selection.pieceFloating);
  QVERIFY(studio.frmT.r.resultHeight >= 10);
  QCOMPARE(layer.GetPixel(1, 8), 0x0000FF);
  QCOMPARE(layer.GetPixel(12, 1), 0xFFFFFF);
  trigger("mnuClose");
  QVERIFY(!window.isVisible());
}

MIRASKETCH_APP_TEST_SUITE(TransformWindowViewTest);

}  // namespace mirasketch::test

#include "transform_window_view_test.moc"
