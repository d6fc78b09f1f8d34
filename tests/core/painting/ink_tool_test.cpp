#include "painting/ink_tool.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0;
constexpr int kRed = MakeColour(255, 0, 0);

class InkToolTest : public PaintTest {
 protected:
  InkToolTest() { studio.frmCol.SetDrawColour(kRed); }
  // A horizontal pencil line of `colour` on row y, drawn straight into the layer.
  void Sketch(int y, int colour) {
    for (int x = 0; x < 256; ++x) Layer().SetPixel(x, y, colour);
  }
  // An inking stroke along row y from x0 to x1 in steps of `step` pixels.
  void Ink(int y, int x0, int x1, int step = 2) {
    studio.frmC.SelectTool(tkPenLine);
    studio.frmM.pbxAMouseDown(MouseButton::kLeft, x0, y);
    for (int x = x0 + step; x <= x1; x += step) studio.frmM.pbxAMouseMove(x, y);
    studio.frmM.pbxAMouseUp(MouseButton::kLeft, x1, y);
  }
  std::vector<int> Pixels() {
    std::vector<int> out;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) out.push_back(Layer().GetPixel(x, y));
    return out;
  }
  // The picture the same stroke gives without the darkness correction.
  std::vector<int> Uncorrected(int y, int x0, int x1) {
    studio.frmM.Undo();
    Settings().penLineNoLook = true;
    Ink(y, x0, x1);
    Settings().penLineNoLook = false;
    return Pixels();
  }
};

TEST_F(InkToolTest, PointsSnapToDarkLinesButNotToWhiteOrToTheInkItself) {
  // Over white every weight is 0: the stroke is drawn where the pointer went.
  Ink(50, 10, 200);
  EXPECT_EQ(Layer().GetPixel(100, 50), kRed);
  const std::vector<int> plain = Pixels();
  EXPECT_EQ(Uncorrected(50, 10, 200), plain);

  // A line of the ink's own colour two rows away does not pull the stroke.
  studio.frmM.Undo();
  Sketch(52, kRed);
  Ink(50, 10, 200);
  const std::vector<int> own = Pixels();
  EXPECT_EQ(Uncorrected(50, 10, 200), own);

  // A dark pencil line does: the ink lands on row 52.
  studio.frmM.Undo();
  Sketch(52, kBlack);
  Ink(50, 10, 200);
  for (int x = 40; x < 180; ++x) EXPECT_EQ(Layer().GetPixel(x, 52), kRed) << x;
  EXPECT_EQ(Layer().GetPixel(100, 50), kWhite);
}

TEST_F(InkToolTest, PointsAreFixedBeyondTheIntervalAndStopAtSixtyThree) {
  studio.frmC.SelectTool(tkPenLine);
  studio.frmC.Change("sbPenLineHook", 32);
  ASSERT_EQ(Settings().penLineInterval, 32);
  Settings().penLineNoLook = true;
  // 60 pixels at interval 32: a point fixed at 33 pixels, three in all, drawn straight.
  Ink(100, 10, 70, 1);
  const InkTool& ink = studio.inkTool;
  EXPECT_EQ(ink.inkCount, 3);
  for (int x = 10; x < 70; ++x) EXPECT_EQ(Layer().GetPixel(x, 100), kRed) << x;
  EXPECT_EQ(Painted(0, 0, 256, 256), 60);

  // At interval 3 a point is fixed every 4 pixels; the 63rd, at x = 244 beside the 62nd, is the
  // last, and the stroke no longer follows the pointer to 255.
  studio.frmM.Undo();
  studio.frmC.Change("sbPenLineHook", 3);
  Settings().penLineSpline = false;
  Ink(150, 0, 255, 1);
  EXPECT_EQ(ink.inkCount, InkTool::kMaxPoints);
  EXPECT_EQ(Layer().GetPixel(244, 150), kRed);
  EXPECT_EQ(Painted(245, 0, 11, 256), 0);
}

}  // namespace
}  // namespace mirasketch::test
