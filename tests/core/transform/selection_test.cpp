#include "transform/selection.h"

#include <gtest/gtest.h>

#include "buffers/dib_tm.h"
#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = 0x0000FF;

int PatternAt(int x, int y) {
  return MakeColour(x & 255, y & 255, (x * 7 + y * 13) & 255);
}

// The selection tool current on the 256 × 256 start layer painted with a pattern in which every
// pixel differs from its neighbours.
class SelectionTest : public PaintTest {
 protected:
  SelectionTest() {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) Layer().SetPixel(x, y, PatternAt(x, y));
    studio.frmC.SelectTool(tkSelect);
  }
  // How many pixels of the rectangle differ from the pattern shifted by (dx, dy).
  int Mismatches(int x, int y, int w, int h, int dx = 0, int dy = 0) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx)
        n += Layer().GetPixel(xx, yy) != PatternAt(xx - dx, yy - dy);
    return n;
  }
  void ExpectPiece(int x, int y, int w, int h) {
    EXPECT_TRUE(sel.pieceFloating);
    EXPECT_EQ(sel.pieceX, x);
    EXPECT_EQ(sel.pieceY, y);
    EXPECT_EQ(sel.pieceWidth, w);
    EXPECT_EQ(sel.pieceHeight, h);
  }

  Selection& sel = studio.selection;
  CanvasViewState& view = studio.frmM.view;
};

TEST_F(SelectionTest, ADragSelectsItsRectangleAndLeavesTheLayerAsItWas) {
  // Snapped to 4 × 4: (5, 5) and (2, 9) become (4, 4) and (0, 8), the drag ends on the grid line
  // after the last pixel.
  Tools().snapEnabled = true;
  Tools().snapWidth = Tools().snapHeight = 4;
  Drag({{5, 5}, {2, 9}});
  ExpectPiece(0, 4, 4, 4);
  Tools().snapEnabled = false;

  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 5, 5);  // outside the piece: a new rectangle
  studio.frmM.pbxAMouseMove(2, 9);
  EXPECT_EQ(Layer().GetPixel(2, 7), 4255808);  // the rubber band, only while dragging
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 2, 9);
  ExpectPiece(2, 5, 4, 5);
  EXPECT_TRUE(view.selectionVisible);
  EXPECT_EQ(view.selectionRect.right, 5);
  EXPECT_EQ(view.selectionRect.bottom, 9);
  EXPECT_EQ(Mismatches(0, 0, 256, 256), 0);
  EXPECT_EQ(Tools().workLayer.GetPixel(3, 4), PatternAt(5, 9));

  // Reaching past the edges it is clipped; wholly outside it is refused.
  Drag({{250, 252}, {300, 400}});
  ExpectPiece(250, 252, 6, 4);
  sel.SelectRect(-50, -40, -10, -1);
  ExpectPiece(250, 252, 6, 4);
}

TEST_F(SelectionTest, MovingThePieceLeavesNoCopies) {
  Drag({{20, 20}, {29, 29}});
  Drag({{25, 25}, {30, 25}, {35, 25}});
  ExpectPiece(30, 20, 10, 10);
  EXPECT_EQ(Mismatches(30, 20, 10, 10, 10, 0), 0);
  EXPECT_EQ(Mismatches(20, 20, 10, 10), 0);  // the selected place keeps its pixels
  // A second drag starts again from the layer before the selection.
  Drag({{35, 25}, {45, 25}});
  EXPECT_EQ(Mismatches(30, 20, 10, 10), 0);
  EXPECT_EQ(Mismatches(40, 20, 10, 10, 20, 0), 0);
  // Wholly off the layer and back: nothing is written outside, and the piece comes back whole.
  Drag({{45, 25}, {-2000, 25}});
  EXPECT_EQ(Mismatches(0, 0, 256, 256), 0);
  Drag({{-2000, 25}, {30, 25}});
  ExpectPiece(25, 20, 10, 10);
  EXPECT_EQ(Mismatches(25, 20, 10, 10, 5, 0), 0);
  // One undo returns to the layer before the selection.
  studio.frmM.Undo();
  EXPECT_FALSE(sel.pieceFloating);
  EXPECT_EQ(Mismatches(0, 0, 256, 256), 0);
}

TEST_F(SelectionTest, FlipsSwapColumnsOrRowsAndTwiceRestore) {
  Layer().mask.SetPixel(10, 10, 200);
  for (const int width : {5, 4}) {
    sel.SelectRect(10, 10, 10 + width - 1, 12);
    studio.frmC.Click("btnSelectFlipLeftRight");
    for (int c = 0; c < width; ++c)
      EXPECT_EQ(Layer().GetPixel(10 + c, 11), PatternAt(9 + width - c, 11));
    EXPECT_EQ(Tools().workLayer.mask.GetPixel(width - 1, 0), 200);
    studio.frmC.Click("btnSelectFlipLeftRight");
    EXPECT_EQ(Mismatches(0, 0, 256, 256), 0) << width;
  }
  studio.frmC.Click("btnSelectFlipUpDown");
  for (int r = 0; r < 3; ++r) EXPECT_EQ(Layer().GetPixel(11, 10 + r), PatternAt(11, 12 - r));
  // Without a piece the flips do nothing.
  studio.frmC.SelectTool(tkPen);
  studio.frmC.SelectTool(tkSelect);
  studio.frmC.Click("btnSelectFlipUpDown");
  EXPECT_EQ(Layer().GetPixel(11, 10), PatternAt(11, 12));
}

TEST_F(SelectionTest, APasteFloatsAtTheVisibleTopLeftAfterAnUndoLevel) {
  CDibTrue picture;
  ASSERT_TRUE(picture.Alloc(30, 20));
  picture.FillRect(0, 0, 30, 20, kRed);
  platform.PutClipboardBitmap(picture, 30, 20);
  studio.frmC.SelectTool(tkPen);
  studio.frmM.SetZoom(2);
  view.scrollX = 41;
  view.scrollY = 22;
  const int undoBefore = studio.frmM.undoCount;
  studio.frmM.FormKeyDown('P', kCtrlKey);
  EXPECT_EQ(Settings().currentTool, tkSelect);
  ExpectPiece(20, 11, 30, 20);
  EXPECT_EQ(studio.frmM.undoCount, undoBefore + 1);
  EXPECT_EQ(Layer().GetPixel(20, 11), kRed);
  EXPECT_EQ(Layer().GetPixel(49, 30), kRed);
  EXPECT_EQ(Mismatches(50, 11, 1, 20) + Mismatches(20, 31, 30, 1), 0);
  EXPECT_EQ(Tools().workLayer.mask.GetPixel(29, 19), 0);
  studio.frmM.Undo();
  EXPECT_FALSE(sel.pieceFloating);
  EXPECT_EQ(Mismatches(0, 0, 256, 256), 0);
}

TEST_F(SelectionTest, ClipboardPicturesTheBuffersRefuseLeaveThePieceAlone) {
  const int undoBefore = studio.frmM.undoCount;
  studio.frmMain.Click("mnuPaste");  // nothing on the clipboard
  EXPECT_EQ(studio.frmM.undoCount, undoBefore);
  EXPECT_TRUE(messages.empty());

  Drag({{20, 20}, {29, 29}});
  CDibTrue wide;
  ASSERT_TRUE(wide.Alloc(30000, 4));
  platform.PutClipboardBitmap(wide, 30000, 4);  // one column more than a buffer takes
  studio.frmMain.Click("mnuPaste");
  EXPECT_EQ(messages, std::vector<std::string>{kBitsAllocError});
  ExpectPiece(20, 20, 10, 10);
  Drag({{25, 25}, {35, 25}});
  EXPECT_EQ(Mismatches(30, 20, 10, 10, 10, 0), 0);
}

TEST_F(SelectionTest, WithItsOwnMaskAsTransparencyOnlyTheUnmaskedHalfIsLaid) {
  Layer().FillRect(100, 10, 10, 4, kRed);
  Layer().mask.FillRect(100, 10, 5, 4, 255);
  Drag({{100, 10}, {109, 13}});
  studio.frmC.Click("chkSelectMask");
  EXPECT_TRUE(sel.pieceMaskTransparent);
  Drag({{105, 11}, {125, 11}});
  EXPECT_EQ(Mismatches(120, 10, 5, 4), 0);
  EXPECT_EQ(Layer().GetPixel(125, 10), kRed);
  EXPECT_EQ(Layer().GetPixel(129, 13), kRed);
  // Partly past the left edge: the piece's columns 3 … 9 land on 0 … 6.
  Drag({{125, 11}, {2, 11}});
  EXPECT_EQ(Mismatches(0, 10, 2, 4), 0);
  EXPECT_EQ(Layer().GetPixel(2, 10), kRed);
  EXPECT_EQ(Layer().GetPixel(6, 13), kRed);
  EXPECT_EQ(Mismatches(7, 10, 93, 4) + Mismatches(110, 10, 30, 4), 0);
}

TEST_F(SelectionTest, CutErasesAndTheFirstUndoKeepsTheCut) {
  Drag({{10, 10}, {19, 19}});
  studio.frmM.FormKeyDown('X', kCtrlKey);
  EXPECT_FALSE(sel.pieceFloating);
  EXPECT_FALSE(view.selectionVisible);
  EXPECT_EQ(Painted(10, 10, 10, 10), 0);
  CDibTrue back;
  int width = 0, height = 0;
  ASSERT_TRUE(platform.TakeClipboardBitmap(back, 0, 0, width, height));
  EXPECT_EQ(width, 10);
  EXPECT_EQ(back.GetPixel(9, 9), PatternAt(19, 19));
  studio.frmM.Undo();
  EXPECT_EQ(Painted(10, 10, 10, 10), 0);
  studio.frmM.Undo();
  EXPECT_EQ(Mismatches(0, 0, 256, 256), 0);
}

TEST_F(SelectionTest, AToolChangeOrAnUndoEndsThePiece) {
  Drag({{10, 10}, {19, 19}});
  Drag({{15, 15}, {45, 15}});
  studio.frmC.SelectTool(tkPen);
  EXPECT_FALSE(sel.pieceFloating);
  EXPECT_FALSE(view.selectionVisible);
  EXPECT_EQ(Mismatches(40, 10, 10, 10, 30, 0), 0);  // left painted where it was
  studio.frmM.FormKeyDown('C', kCtrlKey);
  EXPECT_FALSE(platform.ClipboardHasBitmap());

  studio.frmC.SelectTool(tkSelect);
  Drag({{10, 10}, {19, 19}});
  studio.frmM.Undo();
  EXPECT_FALSE(sel.pieceFloating);
}

TEST_F(SelectionTest, SelectAllTakesTheActiveLayerWhereverItLies) {
  Layer().offsetX = 30;
  Layer().offsetY = 10;
  const int undoBefore = studio.frmM.undoCount;
  studio.frmC.Click("btnSelectAll");
  ExpectPiece(0, 0, 256, 256);
  EXPECT_EQ(studio.frmM.undoCount, undoBefore + 1);
  EXPECT_EQ(view.selectionRect.right, 255);
  // Paint-box (40, 20) is layer point (10, 10), inside the piece: the press moves it.
  Drag({{40, 20}, {41, 20}});
  ExpectPiece(1, 0, 256, 256);
  EXPECT_EQ(Mismatches(1, 0, 255, 256, 1, 0), 0);
}

}  // namespace
}  // namespace mirasketch::test
