#include "painting/polyline.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = MakeColour(255, 0, 0);

class PolylineTest : public PaintTest {
 protected:
  PolylineTest() {
    studio.frmCol.SetDrawColour(kRed);
    studio.frmC.SelectTool(tkOresen);
  }
  void Click(int x, int y, MouseButton button = MouseButton::kLeft) { Drag({{x, y}}, button); }
  int UndoCount() const { return studio.frmM.undoCount; }
};

TEST_F(PolylineTest, StraightSegmentsJoinPressByPressUntilARightPress) {
  Drag({{10, 10}, {25, 10}, {40, 10}});
  EXPECT_TRUE(studio.frmM.rubberBandOn);  // the guide line from the last point
  Drag({{40, 30}});
  Drag({{40, 30}, {70, 30}});
  // One copy of the figure (10,10)–(40,10)–(40,30)–(70,30), its last point not stamped.
  for (int x = 10; x < 40; ++x) EXPECT_EQ(Layer().GetPixel(x, 10), kRed) << x;
  for (int y = 10; y < 30; ++y) EXPECT_EQ(Layer().GetPixel(40, y), kRed) << y;
  for (int x = 40; x < 70; ++x) EXPECT_EQ(Layer().GetPixel(x, 30), kRed) << x;
  EXPECT_EQ(Layer().GetPixel(70, 30), kWhite);
  EXPECT_EQ(Painted(0, 0, 256, 256), 80);
  EXPECT_EQ(UndoCount(), 1);  // one snapshot for the whole figure

  // The right press ends it as drawn; the next left press starts a new figure.
  Click(200, 200, MouseButton::kRight);
  EXPECT_FALSE(studio.frmM.rubberBandOn);
  EXPECT_EQ(Painted(0, 0, 256, 256), 80);
  Drag({{100, 100}, {100, 120}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 100);
  EXPECT_EQ(UndoCount(), 2);
  studio.frmM.Undo();
  EXPECT_EQ(Painted(0, 0, 256, 256), 80);
}

TEST_F(PolylineTest, AFullListEndsTheStraightFigure) {
  Drag({{0, 0}, {3, 0}});
  for (int i = 2; i < 64; ++i) Click(3 * i, (i % 2) * 3);
  ASSERT_EQ(Tools().spline.count, 64);
  const int painted = Painted(0, 0, 256, 256);
  Click(250, 250);  // no room for a 65th point: the figure ends as drawn
  EXPECT_EQ(Tools().spline.count, 0);
  EXPECT_EQ(Painted(0, 0, 256, 256), painted);
  Drag({{10, 100}, {20, 100}});  // and a new one begins with its own snapshot
  EXPECT_EQ(UndoCount(), 2);
  EXPECT_EQ(Painted(0, 0, 256, 256), painted + 10);
}

TEST_F(PolylineTest, CurveModeDrawsAStraightFirstDragThenACurveThroughThePoints) {
  studio.frmC.Click("rdiCountSpline");
  ASSERT_EQ(Settings().contMode, 1);
  // A click without a drag leaves no figure; the next press starts afresh with a new snapshot.
  Click(50, 50);
  EXPECT_EQ(Tools().spline.count, 0);
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
  EXPECT_EQ(UndoCount(), 1);

  Drag({{20, 100}, {70, 100}, {120, 100}});
  for (int x = 20; x < 120; ++x) EXPECT_EQ(Layer().GetPixel(x, 100), kRed) << x;
  EXPECT_EQ(Painted(0, 0, 256, 256), 100);
  EXPECT_EQ(UndoCount(), 2);

  Click(140, 200);
  EXPECT_EQ(UndoCount(), 2);  // the same figure
  ASSERT_EQ(Tools().spline.count, 5);
  // Every painted pixel lies on the curve through the three points, and the curve reaches near
  // each of them: the straight preview is gone, bent toward the new point.
  SplinePoints curve = Tools().spline;
  ASSERT_TRUE(curve.FitSpline());
  auto nearCurve = [&curve](int x, int y) {
    for (int i = 0; i <= 2000; ++i) {
      const SplinePoint s = curve.EvalSpline(i / 2000.0);
      if (std::fabs(s.x - x) <= 2.0 && std::fabs(s.y - y) <= 2.0) return true;
    }
    return false;
  };
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      if (Layer().GetPixel(x, y) != kWhite) {
        EXPECT_TRUE(nearCurve(x, y)) << x << "," << y;
      }
  EXPECT_GT(Painted(18, 98, 5, 5), 0);
  EXPECT_GT(Painted(118, 98, 5, 5), 0);
  EXPECT_GT(Painted(136, 194, 7, 7), 0);
  EXPECT_LT(Painted(60, 98, 40, 1), 40);  // the curve left the straight line between the points
}

TEST_F(PolylineTest, AColourChangeTakesThePendingFigureAway) {
  Drag({{10, 10}, {60, 10}});
  Drag({{60, 60}});
  ASSERT_GT(Painted(0, 0, 256, 256), 0);
  studio.frmCol.SetDrawColour(MakeColour(0, 0, 255));
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
  EXPECT_FALSE(studio.frmM.rubberBandOn);
  // The next press starts a new figure in the new colour.
  Drag({{10, 20}, {30, 20}});
  EXPECT_EQ(Layer().GetPixel(10, 20), MakeColour(0, 0, 255));
  EXPECT_EQ(Painted(0, 0, 256, 256), 20);
}

}  // namespace
}  // namespace mirasketch::test
