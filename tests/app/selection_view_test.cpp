// The selection as the program's users meet it: a piece copied to the desktop's clipboard and a
// picture another program put there pasted back, and the piece's frame on the canvas at each zoom.

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTest>

#include "app_test.h"
#include "canvas_window_view.h"
#include "platform/views.h"
#include "qt_platform.h"

namespace mirasketch::test {

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;

void Drag(TfrmM& canvas, int x0, int y0, int x1, int y1) {
  canvas.pbxAMouseDown(MouseButton::kLeft, x0, y0);
  canvas.pbxAMouseMove(x1, y1);
  canvas.pbxAMouseUp(MouseButton::kLeft, x1, y1);
}

}  // namespace

class SelectionViewTest : public QObject {
  Q_OBJECT

 private slots:
  void piecesGoToAndComeFromTheDesktopClipboard();
  void theFrameFollowsThePieceAtEveryZoom();
};

void SelectionViewTest::piecesGoToAndComeFromTheDesktopClipboard() {
  QtPlatform platform;
  NoViews views;
  Studio studio(platform, views);
  studio.project.InitLayers();
  studio.frmM.SetUndoLevels(2);
  CDibTM& layer = studio.project.Active();
  layer.FillRect(10, 10, 6, 4, kRed);
  layer.SetPixel(15, 13, kBlue);
  studio.frmC.SelectTool(tkSelect);
  Drag(studio.frmM, 10, 10, 15, 13);
  studio.frmM.FormKeyDown('C', kCtrlKey);
  const QImage copied = QGuiApplication::clipboard()->image();
  QCOMPARE(copied.size(), QSize(6, 4));
  QCOMPARE(copied.pixelColor(0, 0), QColor(255, 0, 0));
  QCOMPARE(copied.pixelColor(5, 3), QColor(0, 0, 255));

  // A picture with transparency from another program: transparent parts come in white.
  QImage other(7, 5, QImage::Format_ARGB32);
  other.fill(QColor(0, 0, 255));
  other.setPixelColor(0, 0, Qt::transparent);
  QGuiApplication::clipboard()->setImage(other);
  studio.frmM.FormKeyDown('P', kCtrlKey);
  QVERIFY(studio.selection.pieceFloating);
  QCOMPARE(studio.selection.pieceWidth, 7);
  QCOMPARE(studio.selection.pieceHeight, 5);
  QCOMPARE(layer.GetPixel(0, 0), kWhite);
  QCOMPARE(layer.GetPixel(1, 0), kBlue);
  QCOMPARE(layer.GetPixel(6, 4), kBlue);
  QCOMPARE(layer.GetPixel(7, 4), kWhite);
  // An 8-bit grey picture becomes a true-colour piece.
  QImage grey(5, 3, QImage::Format_Grayscale8);
  grey.fill(QColor(90, 90, 90));
  QGuiApplication::clipboard()->setImage(grey);
  studio.frmM.FormKeyDown('P', kCtrlKey);
  QCOMPARE(studio.selection.pieceWidth, 5);
  QCOMPARE(layer.GetPixel(2, 1), MakeColour(90, 90, 90));
  QGuiApplication::clipboard()->clear();
}

void SelectionViewTest::theFrameFollowsThePieceAtEveryZoom() {
  RunningProgram program;
  CanvasWindowView& canvas = program.windows.canvas;
  TfrmM& frmM = program.studio.frmM;
  program.studio.frmC.SelectTool(tkSelect);
  Drag(frmM, 4, 6, 9, 10);
  for (const int zoom : {1, 3, 16}) {
    frmM.SetZoom(zoom);
    frmM.Redraw();
    const QImage shown = canvas.ShownImage();
    // The frame runs around pixels 4 … 9 and 6 … 10, scaled by the zoom.
    QVERIFY2(Colour(shown, 4 * zoom, 6 * zoom) != kWhite, qPrintable(QString::number(zoom)));
    QVERIFY(Colour(shown, 10 * zoom - 1, 11 * zoom - 1) != kWhite);
    QCOMPARE(Colour(shown, 4 * zoom + 1, 6 * zoom + 1), kWhite);
    QCOMPARE(Colour(shown, 10 * zoom, 6 * zoom), kWhite);
  }
  // Moved, the frame goes with the piece once the button is released.
  frmM.SetZoom(2);
  Drag(frmM, 10, 14, 30, 14);
  frmM.Redraw();
  const QImage moved = canvas.ShownImage();
  QVERIFY(Colour(moved, 14 * 2, 6 * 2) != kWhite);
  QCOMPARE(Colour(moved, 4 * 2, 6 * 2), kWhite);
}

MIRASKETCH_APP_TEST_SUITE(SelectionViewTest);

}  // namespace mirasketch::test

#include "selection_view_test.moc"
