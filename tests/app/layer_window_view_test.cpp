// The layer window driven as a user does, by object name: an action chosen and run, cells
// clicked and dragged, the strip on screen against the core's painting, the strip following the
// window's size.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "app_test.h"
#include "layer_window_view.h"
#include "project/layer_window.h"
#include "qt_convert.h"

namespace mirasketch::test {

class LayerWindowViewTest : public QObject {
  Q_OBJECT

 private slots:
  void actionsCellsAndTheStripOnScreen();
  void cellDragsExchangeLayers();
};

void LayerWindowViewTest::actionsCellsAndTheStripOnScreen() {
  RunningProgram program;
  program.Action("mnuWinLayer")->trigger();
  LayerWindowView& window = program.windows.layer;
  QVERIFY(window.isVisible());
  LayerProject& project = program.studio.project;
  QWidget* strip = window.Control("pbxA");

  // "新規レイヤ" chosen in the list and run by the button.
  auto* actions = qobject_cast<QComboBox*>(window.Control("cboDoLayerAction"));
  QCOMPARE(actions->count(), 10);
  actions->setCurrentIndex(1);
  QTest::mouseClick(qobject_cast<QPushButton*>(window.Control("btnDoLayerAction")), Qt::LeftButton);
  QCOMPARE(project.layerCount, 2);
  QCOMPARE(project.activeLayer, 1);
  QCOMPARE(qobject_cast<QGroupBox*>(window.Control("grpActiveLay"))->title(),
           QString("Layer No.1"));

  // Clicks on a cell: its diamond hides it, and the canvas at once shows what lies below; beside
  // the diamond it becomes active.
  project.Layer(0).SetPixel(10, 10, 0x0000FF);
  QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(72 + 5, 5));
  QVERIFY(!project.Layer(1).visible);
  QApplication::processEvents();
  const QColor below = program.windows.canvas.viewport()->grab().toImage().pixelColor(10, 10);
  QCOMPARE(below, QColor(255, 0, 0));
  QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(!project.Layer(0).visible);
  QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, QPoint(40, 30));
  QCOMPARE(project.activeLayer, 0);
  // The compose-mode list sets the active layer's mode.
  qobject_cast<QComboBox*>(window.Control("cboGeneLay"))->setCurrentIndex(3);
  QCOMPARE(project.Active().composeMode, 3);

  // What the strip shows is what the core painted.
  const QImage shown = strip->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage painted =
      ImageFromDib(program.studio.frmL.PaintLayerList().image, strip->width(), strip->height())
          .convertToFormat(QImage::Format_RGB32);
  QCOMPARE(shown, painted);

  // The strip keeps the window's width and reaches its bottom.
  window.resize(300, 200);
  QApplication::processEvents();
  QCOMPARE(strip->geometry(), QRect(0, TfrmL::kStripTop, 300, 200 - TfrmL::kStripTop));
  QCOMPARE(program.studio.frmL.stripWidth, 300);
  QCOMPARE(program.studio.frmL.CellAt(220, 10), 3);

  // Hiding the window turns its switch off.
  QVERIFY(window.close());
  QVERIFY(!program.Action("mnuWinLayer")->isChecked());
  QVERIFY(!program.studio.frmL.visible);
}

void LayerWindowViewTest::cellDragsExchangeLayers() {
  RunningProgram program;
  program.Action("mnuWinLayer")->trigger();
  LayerWindowView& window = program.windows.layer;
  LayerProject& project = program.studio.project;
  for (int i = 1; i < 3; ++i) QVERIFY(project.InsertLayer(i, true, 256, 256));
  for (int i = 0; i < 3; ++i) project.Layer(i).SetPixel(0, 0, i + 1);
  window.resize(300, 117);
  QApplication::processEvents();
  std::vector<std::string> drags;
  window.startDrag = [&drags](const std::string& paintBox) { drags.push_back(paintBox); };
  QWidget* strip = window.Control("pbxA");

  // A Ctrl-press on cell 0 starts its drag; dropped on cell 2 the two exchange places.
  QTest::mousePress(strip, Qt::LeftButton, Qt::ControlModifier, QPoint(30, 30));
  QCOMPARE(drags, std::vector<std::string>{"pbxA"});
  QVERIFY(DragAndDrop(strip, QPoint(150, 30), LayerWindowView::DragData("TfrmL", "pbxA")));
  QCOMPARE(project.Layer(0).GetPixel(0, 0), 3);
  QCOMPARE(project.Layer(2).GetPixel(0, 0), 1);
  QCOMPARE(project.activeLayer, 2);
  // Without a drag in progress, and from elsewhere, nothing is taken.
  QVERIFY(!DragAndDrop(strip, QPoint(80, 30), LayerWindowView::DragData("TfrmL", "pbxA")));
  QVERIFY(!DragAndDrop(strip, QPoint(80, 30), LayerWindowView::DragData("TfrmCol", "pbxCol")));
  QCOMPARE(project.Layer(0).GetPixel(0, 0), 3);
}

MIRASKETCH_APP_TEST_SUITE(LayerWindowViewTest);

}  // namespace mirasketch::test

#include "layer_window_view_test.moc"
