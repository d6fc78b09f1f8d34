#include "painting/draw_context.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "support/paint_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

class DrawContextTest : public PaintTest {
 protected:
  DrawContext& Draw() { return studio.toolEngine.draw; }
  // Plots one pixel of a fresh direct-mode preparation over a layer pixel of colour `under`.
  int PlotOver(int under, std::uint32_t paint, int t) {
    Layer().SetPixel(5, 5, under);
    EXPECT_TRUE(Draw().PrepareDraw(paint, t));
    Draw().PlotPixel(5, 5);
    return Layer().GetPixel(5, 5);
  }
};

TEST_F(DrawContextTest, BlendPaintsExactlyNudgesAndRespectsTheMask) {
  // Transparency 0 without mask: exactly the paint colour.
  EXPECT_EQ(PlotOver(0x102030, 0x0A0B0C, 0), 0x0A0B0C);
  // t = 128, red over black: (0·128 + 255·127) div 255 = 127, nudged to 128.
  EXPECT_EQ(PlotOver(0x000000, MakeColour(255, 0, 0), 128), MakeColour(128, 0, 0));
  // t ≥ 255 paints nothing; a component equal to the paint is not nudged away.
  EXPECT_EQ(PlotOver(0x445566, 0x000000, 255), 0x445566);
  EXPECT_EQ(PlotOver(MakeColour(255, 0, 7), MakeColour(255, 0, 0), 200), MakeColour(255, 0, 4));
  // Repeated painting reaches the paint colour exactly.
  Layer().SetPixel(5, 5, 0);
  Draw().PrepareDraw(MakeColour(200, 100, 50), 250);
  for (int i = 0; i < 300; ++i) Draw().PlotPixel(5, 5);
  EXPECT_EQ(Layer().GetPixel(5, 5), MakeColour(200, 100, 50));

  // Mask 255 protects even at t = 0; a half mask keeps about half; the switch off ignores it.
  Layer().mask.SetPixel(5, 5, 255);
  Settings().maskEnabled = true;
  EXPECT_EQ(PlotOver(0x000000, 0xFFFFFF, 0), 0x000000);
  Layer().mask.SetPixel(5, 5, 128);
  // value = 0·128·1 + 255·127 = 32385, D = 255 → 127, nudged to 128.
  EXPECT_EQ(PlotOver(0x000000, 0xFFFFFF, 0), 0x808080);
  Settings().maskEnabled = false;
  EXPECT_EQ(PlotOver(0x000000, 0xFFFFFF, 0), 0xFFFFFF);

  // The transparency switch off paints opaque whatever the value.
  Settings().transparencyOff = true;
  EXPECT_EQ(PlotOver(0x000000, 0xFFFFFF, 200), 0xFFFFFF);
  // Plots outside the layer are dropped.
  Draw().PlotPixel(-1, 0);
  Draw().PlotPixel(256, 3);
}

TEST_F(DrawContextTest, CoverageModePaintsEachPixelOnceFromTheSnapshot) {
  studio.frmM.PushUndo();  // the layer as the stroke began: white
  ASSERT_TRUE(Draw().PrepareStampCoverage(0, 0x000000, 100));
  Draw().StampAt(20, 20);
  const int first = Layer().GetPixel(20, 20);
  // (255·100 + 0) div 255 = 100, nudged to 99.
  EXPECT_EQ(first, 0x636363);
  // A second stamp with the same or a larger t over the same pixel changes nothing.
  Draw().StampAt(20, 20);
  EXPECT_EQ(Layer().GetPixel(20, 20), first);
  Draw().t = 150;
  Draw().PlotPixel(20, 20);
  EXPECT_EQ(Layer().GetPixel(20, 20), first);
  // A smaller t blends again from the pre-stroke white, not from the painted pixel.
  Draw().t = 50;
  Draw().PlotPixel(20, 20);
  EXPECT_EQ(Layer().GetPixel(20, 20), 0x313131);  // 255·50 div 255 = 50, nudged to 49
  EXPECT_EQ(studio.toolEngine.workPlane.GetPixel(20, 20), 50);

  // Direct mode accumulates instead.
  ASSERT_TRUE(Draw().PrepareStamp(0, 0x000000, 100));
  Draw().StampAt(40, 40);
  Draw().StampAt(40, 40);
  EXPECT_LT(Layer().GetPixel(40, 40) & 0xFF, 0x63);
}

TEST_F(DrawContextTest, PreparationFailsForBadStampsAndSmallWorkPlanes) {
  EXPECT_FALSE(Draw().PrepareStamp(128, 0, 0));
  EXPECT_FALSE(Draw().PrepareStamp(-1, 0, 0));
  EXPECT_TRUE(Draw().PrepareStamp(127, 0, 0));
  studio.toolEngine.workPlane.Alloc(16, 16);
  EXPECT_FALSE(Draw().PrepareDraw(0, 0));
  // Transparency is folded into the stamp once and clamped.
  studio.toolEngine.workPlane.Alloc(256, 256);
  ASSERT_TRUE(Draw().PrepareStamp(0, 0, 300));
  EXPECT_EQ(Draw().t, 255);
  ASSERT_TRUE(Draw().PrepareStamp(0, 0, 40));
  EXPECT_EQ(Draw().stamp[136], 40);
  EXPECT_EQ(Draw().stamp[0], 255);
}

TEST_F(DrawContextTest, LineStepperVisitsTheStartButNotTheEnd) {
  std::vector<std::pair<int, int>> visited;
  Draw().WalkLine(0, 0, 4, 2, [&](int x, int y) { visited.emplace_back(x, y); });
  EXPECT_EQ(visited, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  visited.clear();
  Draw().WalkLine(3, 3, 3, 3, [&](int x, int y) { visited.emplace_back(x, y); });
  EXPECT_EQ(visited, (std::vector<std::pair<int, int>>{{3, 3}}));
  visited.clear();
  Draw().WalkLine(0, 0, -1, -3, [&](int x, int y) { visited.emplace_back(x, y); });
  EXPECT_EQ(visited, (std::vector<std::pair<int, int>>{{0, 0}, {0, -1}, {0, -2}}));

  // StampLine with the one-pixel stamp paints exactly those points.
  ASSERT_TRUE(Draw().PrepareStamp(0, 0, 0));
  Draw().StampLine(10, 10, 14, 12);
  for (auto [x, y] : {std::pair{10, 10}, {11, 10}, {12, 11}, {13, 11}})
    EXPECT_EQ(Layer().GetPixel(x, y), 0) << x << "," << y;
  EXPECT_EQ(Layer().GetPixel(14, 12), 0xFFFFFF);
  EXPECT_EQ(Painted(0, 0, 40, 40), 4);
}

TEST_F(DrawContextTest, EllipsesAreSymmetricAndEmptyWithoutRadius) {
  ASSERT_TRUE(Draw().PrepareStamp(0, 0, 0));
  Draw().StampEllipse(50, 50, 0, 5, false);
  Draw().StampEllipse(50, 50, 5, 0, true);
  EXPECT_EQ(Painted(0, 0, 100, 100), 0);

  Draw().StampEllipse(50, 50, 3, 1, false);
  std::set<std::pair<int, int>> points;
  for (int y = 40; y < 60; ++y)
    for (int x = 40; x < 60; ++x)
      if (Layer().GetPixel(x, y) == 0) points.emplace(x - 50, y - 50);
  EXPECT_FALSE(points.empty());
  for (auto [dx, dy] : points) {
    EXPECT_TRUE(points.count({-dx, dy})) << dx << "," << dy;
    EXPECT_TRUE(points.count({dx, -dy})) << dx << "," << dy;
  }
  EXPECT_TRUE(points.count({3, 0}));
  EXPECT_TRUE(points.count({0, 1}));
  EXPECT_FALSE(points.count({0, 0}));

  // Filled: the inside is painted by spans, also on a large flat ellipse.
  Draw().StampEllipse(150, 150, 20, 6, true);
  EXPECT_EQ(Layer().GetPixel(150, 150), 0);
  EXPECT_EQ(Layer().GetPixel(169, 150), 0);
  EXPECT_EQ(Layer().GetPixel(150, 156), 0);
  EXPECT_EQ(Layer().GetPixel(150, 157), 0xFFFFFF);
}

TEST_F(DrawContextTest, DirectionAngleSnapsToEighths) {
  EXPECT_FLOAT_EQ(DrawContext::DirectionAngle(0, 0, 10, 1, true), 0.0f);
  EXPECT_FLOAT_EQ(DrawContext::DirectionAngle(0, 0, 10, 10, true), 45.0f);
  EXPECT_FLOAT_EQ(DrawContext::DirectionAngle(0, 0, -10, 0, true), 180.0f);
  EXPECT_FLOAT_EQ(DrawContext::DirectionAngle(0, 0, 0, -10, true), 270.0f);
  EXPECT_FLOAT_EQ(DrawContext::DirectionAngle(0, 0, 10, -1, true), 0.0f);
  EXPECT_NEAR(DrawContext::DirectionAngle(0, 0, 0, 10, false), 90.0f, 1e-4);
  EXPECT_NEAR(DrawContext::DirectionAngle(0, 0, 0, -10, false), -90.0f, 1e-4);
}

TEST_F(DrawContextTest, FillSpanOrdersClampsAndMarksCoverage) {
  ASSERT_TRUE(Draw().PrepareStampCoverage(0, 0, 0));
  Draw().FillSpan(7, 5, -3);
  for (int y = 0; y <= 5; ++y) EXPECT_EQ(Layer().GetPixel(7, y), 0) << y;
  EXPECT_EQ(Layer().GetPixel(7, 6), 0xFFFFFF);
  EXPECT_EQ(studio.toolEngine.workPlane.GetPixel(7, 3), 0);
  EXPECT_EQ(studio.toolEngine.workPlane.GetPixel(7, 6), 255);
  Draw().FillSpan(9, 250, 400);
  EXPECT_EQ(Layer().GetPixel(9, 255), 0);
  EXPECT_EQ(Layer().GetPixel(9, 249), 0xFFFFFF);
  // Columns outside and spans wholly above or below the layer paint nothing.
  Draw().FillSpan(-1, 0, 10);
  Draw().FillSpan(256, 0, 10);
  Draw().FillSpan(20, -9, -2);
  Draw().FillSpan(21, 300, 260);
  EXPECT_EQ(Painted(0, 0, 256, 256), 6 + 6);
}

TEST_F(DrawContextTest, WithoutTheSheetStampsPaintNothing) {
  TempDir dir;
  Tools().LoadBrushImage(dir.File("brush.bmp"), platform);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "ファイルがありません。-" + dir.File("brush.bmp"));
  ASSERT_TRUE(Draw().PrepareStamp(5, 0, 0));
  Draw().StampAt(30, 30);
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
  // The panel shows the empty sheet as white.
  EXPECT_EQ(studio.frmC.pbxABrushPaint().image.GetPixel(8, 8), 0xFFFFFF);
  // The real sheet beside the program is read without a message.
  messages.clear();
  EXPECT_TRUE(Tools().LoadBrushImage(MIRASKETCH_DATA_DIR "/brush.bmp", platform));
  EXPECT_TRUE(messages.empty());
  ASSERT_TRUE(Draw().PrepareStamp(0, 0, 0));
  Draw().StampAt(30, 30);
  EXPECT_EQ(Painted(0, 0, 256, 256), 1);
}

}  // namespace
}  // namespace mirasketch::test
