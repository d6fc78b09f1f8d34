// The mask effect window driven as a user does, by object name: opened from the mask window, an
// effect chosen from its list, its bars and buttons reaching the mask, closed again.

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "activated_window_view.h"
#include "app_test.h"
#include "mask/mask_effect_window.h"

namespace mirasketch::test {

class MaskEffectWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void openedFromTheMaskWindowItRunsTheChosenEffect();
};

void MaskEffectWindowViewTest::openedFromTheMaskWindowItRunsTheChosenEffect() {
  RunningProgram program;
  auto* window = qobject_cast<ActivatedWindowView*>(program.Window("frmMaskEff"));
  QVERIFY(window != nullptr);
  QVERIFY(!window->isVisible());
  program.studio.ShowWindow(WindowId::frmMaskSet, true);
  QTest::mouseClick(qobject_cast<QPushButton*>(program.windows.mask.Control("btnMaskEffShow")),
                    Qt::LeftButton);
  QVERIFY(window->isVisible());
  QCOMPARE(window->windowTitle(), QString("マスク効果"));
  QCOMPARE(window->size(), QSize(166, 146));
  QVERIFY(window->Control("pnlMelt")->isVisible());
  QVERIFY(!window->Control("pnlFowPos")->isVisible());

  // "グラデーション" chosen: the direction panel replaces the count panel.
  qobject_cast<QComboBox*>(window->Control("cboEffKind"))->setCurrentIndex(4);
  QCOMPARE(program.studio.frmMaskEff.effectKind, int{ekGradation});
  QVERIFY(!window->Control("pnlGoEff")->isVisible());
  QVERIFY(window->Control("pnlFowPos")->isVisible());
  qobject_cast<QScrollBar*>(window->Control("sbDistanceIncline"))->setValue(200);
  QCOMPARE(qobject_cast<QLabel*>(window->Control("lblDistanceIncline"))->text(),
           QString("距離勾配200"));
  QTest::mouseClick(qobject_cast<QPushButton*>(window->Control("btnGoGrad")), Qt::LeftButton);
  const CDib256& mask = program.studio.project.Active().mask;
  QCOMPARE(mask.GetPixel(3, 100), 56);  // twice the distance from the centre's row 128
  QCOMPARE(program.studio.maskTools.undoCount, 1);

  // Opened over the mask window, it leaves the mask tool current when closed.
  QVERIFY(window->close());
  QVERIFY(!program.studio.frmMaskEff.visible);
  QCOMPARE(program.studio.toolEngine.settings.currentTool, std::int16_t{tkMask});
}

MIRASKETCH_APP_TEST_SUITE(MaskEffectWindowViewTest);

}  // namespace mirasketch::test

#include "mask_effect_window_view_test.moc"
