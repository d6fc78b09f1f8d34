// The option window: its controls and pages, the cursor chooser giving the canvas its cursor, and
// the snap fields taking effect when another window is activated.

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app_test.h"
#include "option_window_view.h"

namespace mirasketch::test {

class OptionWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsPagesAndTheCanvasCursor();
};

void OptionWindowViewTest::controlsPagesAndTheCanvasCursor() {
  RunningProgram program;
  program.Action("mnuWinOption")->trigger();
  OptionWindowView& window = program.windows.option;
  QVERIFY(window.isVisible());
  QCOMPARE(window.size(), QSize(200, 65));
  const QList<QRadioButton*> pages =
      window.Control("rgOption")
          ->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
  QCOMPARE(pages.size(), 3);
  QCOMPARE(pages[2]->text(), QString("ｽﾅｯﾌﾟ"));
  QVERIFY(pages[0]->isChecked());
  QVERIFY(window.Control("pbxCursor")->isVisible());
  QVERIFY(!window.Control("grpSnap")->isVisible());
  QCOMPARE(window.Control("pbxCursor")->geometry(), QRect(4, 4, 128, 48));

  // The chooser's second page, its third cursor: the canvas shows it with its hot spot.
  QTest::mouseClick(window.Control("pbxCursor"), Qt::LeftButton, {}, QPoint(20, 5));
  QTest::mouseClick(window.Control("pbxCursor"), Qt::LeftButton, {}, QPoint(70, 30));
  QCOMPARE(program.studio.frmOpt.cursorNumber, 6);
  const QCursor cursor = program.windows.canvas.viewport()->cursor();
  QCOMPARE(cursor.shape(), Qt::BitmapCursor);
  QCOMPARE(cursor.hotSpot(), QPoint(31, 11));

  // The snap page; typed steps count once another window becomes active.
  pages[2]->click();
  QVERIFY(window.Control("grpSnap")->isVisible());
  QVERIFY(!window.Control("pbxCursor")->isVisible());
  auto* width = qobject_cast<QLineEdit*>(window.Control("edtSnapW"));
  QCOMPARE(width->text(), QString("32"));
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
  width->selectAll();
  QTest::keyClicks(width, "24");
  QCOMPARE(program.studio.toolEngine.snapWidth, 32);
  QApplication::sendEvent(&program.windows.canvas, &activate);
  QCOMPARE(program.studio.toolEngine.snapWidth, 24);
  QVERIFY(!program.studio.toolEngine.snapEnabled);
}

MIRASKETCH_APP_TEST_SUITE(OptionWindowViewTest);

}  // namespace mirasketch::test

#include "option_window_view_test.moc"
