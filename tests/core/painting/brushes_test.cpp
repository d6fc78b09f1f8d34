#include "painting/brushes.h"

#include <gtest/gtest.h>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;

class BrushesTest : public PaintTest {
 protected:
  void Use(int tool) { studio.frmC.SelectTool(tool); }
  int Grey(int x, int y) { return Layer().GetPixel(x, y) & 0xFF; }
};

TEST_F(BrushesTest, BrushTintsEvenlyWhileTheAirBrushBuildsUp) {
  SetStamp(Tools().brushImage, 20,
           [](int c, int r) { return c >= 6 && c < 10 && r >= 6 && r < 10 ? 0 : 255; });
  studio.frmCol.SetDrawColour(0);
  // A stroke that crosses itself, with transparency 100.
  auto stroke = [&] { Drag({{40, 40}, {80, 40}, {60, 20}, {60, 60}}); };
  Use(tkBrush);
  Settings().brushBrush = 20;
  studio.frmC.SelectTool(tkBrush);
  EXPECT_EQ(studio.frmC.selectedBrush, 20);
  studio.frmCol.Change("sbTranspearPow", 100);
  stroke();
  EXPECT_EQ(Grey(50, 40), 99);
  EXPECT_EQ(Grey(60, 40), 99);  // the crossing has the same tint
  EXPECT_EQ(Grey(60, 30), 99);
  EXPECT_EQ(Grey(60, 70), 255);
  studio.frmM.Undo();
  EXPECT_EQ(Grey(60, 40), 255);

  Use(tkAirBrush);
  Settings().airBrush = 20;
  Use(tkAirBrush);
  EXPECT_EQ(studio.frmCol.TransparencyPosition(), 0);  // each brush keeps its own transparency
  studio.frmCol.Change("sbTranspearPow", 100);
  studio.frmC.Click("chkBrushSpace");  // the air brush starts without interpolation: switch it on
  stroke();
  EXPECT_LT(Grey(60, 40), Grey(50, 40));  // darker where the path crosses itself
  EXPECT_LT(Grey(50, 40), 99);            // neighbouring stamps overlap and build up too

  // Switching back gives the brush its own transparency and interpolation again.
  Use(tkBrush);
  EXPECT_EQ(studio.frmCol.TransparencyPosition(), 100);
  EXPECT_TRUE(studio.frmC.controls.Checked("chkBrushSpace"));
  EXPECT_EQ(studio.frmC.selectedBrush, 20);
  Use(tkAirBrush);
  EXPECT_TRUE(studio.frmC.controls.Checked("chkBrushSpace"));
}

TEST_F(BrushesTest, UninterpolatedBrushStampsOnlyAtEvents) {
  Use(tkBrush);
  studio.frmC.Click("chkBrushSpace");
  Drag({{10, 10}, {20, 10}, {30, 10}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 3);
  EXPECT_FALSE(Settings().brushInterpolate);
}

TEST_F(BrushesTest, BlurAveragesNeighboursUnderTheMask) {
  SetStamp(Tools().brushImage, 8,
           [](int c, int r) { return c >= 7 && c < 10 && r >= 7 && r < 10 ? 0 : 255; });
  const int colour = MakeColour(90, 120, 150);
  Layer().FillRect(0, 0, 256, 256, colour);
  studio.frmCol.SetDrawColour(colour);
  Use(tkAverageBrush);
  EXPECT_EQ(studio.frmC.selectedBrush, 8);  // the blur brush starts on stamp 8
  // Mode 1 over a uniform area of the drawing colour changes nothing.
  studio.frmC.Click("rdiAveBrush1");
  EXPECT_EQ(Settings().averageMode, 1);
  Drag({{50, 50}, {60, 52}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 256 * 256);
  for (int x = 40; x < 70; ++x) EXPECT_EQ(Layer().GetPixel(x, 51), colour);

  // Mode 0 on a black dot in white: the dot's neighbourhood greys.
  Layer().FillRect(0, 0, 256, 256, kWhite);
  studio.frmC.Click("rdiAveBrush0");
  Layer().SetPixel(100, 100, 0);
  Drag({{100, 100}});
  EXPECT_GT(Grey(100, 100), 0);
  EXPECT_LT(Grey(100, 100), 255);
  EXPECT_LT(Grey(101, 101), 255);
  EXPECT_EQ(Grey(103, 100), 255);

  // With the mask on, neighbours whose mask is 128 or more are ignored; a pixel whose
  // neighbours are all excluded keeps its colour.
  Layer().FillRect(0, 0, 256, 256, kWhite);
  Layer().SetPixel(150, 150, 0);
  Layer().mask.FillRect(140, 140, 20, 20, 200);
  Layer().mask.SetPixel(150, 150, 0);
  Layer().mask.SetPixel(151, 150, 0);
  studio.frmC.Click("chkMask");
  EXPECT_TRUE(Settings().maskEnabled);
  Drag({{150, 150}});
  // Pixel (150, 150) sees only itself and (151, 150): (0 + 255) div 2 = 127, painted opaque.
  EXPECT_EQ(Grey(150, 150), 127);
  // (149, 150), blurred just before it, sees only the black (150, 150); being masked at 200 it
  // keeps 200/255 of its white: 200, nudged to 199.
  EXPECT_EQ(Grey(149, 150), 199);
}

TEST_F(BrushesTest, BigBrushDiscsAndTheUndoBrush) {
  studio.frmCol.SetDrawColour(0);
  Use(tkBrushBig);
  studio.frmC.Change("sbBrushBigSize", 1);
  EXPECT_EQ(Settings().bigBrushRadius, 1);
  // Radius 1: a 1 × 3 vertical dash per point.
  Drag({{30, 30}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 3);
  EXPECT_EQ(Layer().GetPixel(30, 29), 0);
  EXPECT_EQ(Layer().GetPixel(30, 31), 0);
  // Radius 10 spans x − 9 … x + 9 and y − 10 … y + 10.
  studio.frmC.Change("sbBrushBigSize", 10);
  Drag({{100, 100}});
  EXPECT_EQ(Layer().GetPixel(91, 100), 0);
  EXPECT_EQ(Layer().GetPixel(90, 100), kWhite);
  EXPECT_EQ(Layer().GetPixel(100, 90), 0);
  EXPECT_EQ(Layer().GetPixel(100, 89), kWhite);
  EXPECT_EQ(Layer().GetPixel(109, 100), 0);
  // A drag's repaint covers the discs at both ends of the segment.
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 150, 150);
  studio.frmM.pbxAMouseMove(170, 150);
  const PixelRect r = Tools().dirtyRect;
  EXPECT_LE(r.x, 150 - 10 - 8);
  EXPECT_GE(r.x + r.width, 170 + 10 + 7);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 170, 150);

  // The undo brush (radius 4) paints back the layer as it was before the previous stroke,
  // ignoring the mask.
  Layer().mask.FillRect(0, 0, 256, 256, 255);
  Settings().maskEnabled = true;
  studio.frmC.Click("rdiBrushBig2");
  EXPECT_EQ(studio.frmC.controls.Position("sbBrushBigSize"), 4);
  EXPECT_EQ(studio.frmC.controls.State("lblBrushBigSize").caption, "半径4");
  Drag({{160, 150}});
  EXPECT_EQ(Layer().GetPixel(160, 150), kWhite);
  EXPECT_EQ(Layer().GetPixel(160, 146), kWhite);
  EXPECT_EQ(Layer().GetPixel(160, 145), 0);
  // It pushed no snapshot: one undo takes back the big-brush stroke too.
  studio.frmM.Undo();
  EXPECT_EQ(Layer().GetPixel(170, 150), kWhite);
  EXPECT_EQ(Layer().GetPixel(100, 100), 0);
}

}  // namespace
}  // namespace mirasketch::test
