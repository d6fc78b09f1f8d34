#include "painting/pen_tools.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = MakeColour(255, 0, 0);

class PenToolsTest : public PaintTest {
 protected:
  PenToolsTest() { studio.frmCol.SetDrawColour(kRed); }
  void Use(int tool) { studio.frmC.SelectTool(tool); }
};

TEST_F(PenToolsTest, SnapReachesTheToolAndStrokesNeedAnAcceptedPress) {
  ToolEngine& tools = Tools();
  tools.snapEnabled = true;
  tools.snapWidth = 32;
  tools.snapHeight = 32;
  EXPECT_TRUE(tools.BeginStroke(70, -5, 1));
  EXPECT_EQ(tools.curX, 64);
  EXPECT_EQ(tools.curY, 0);
  EXPECT_EQ(tools.prevX, 64);
  EXPECT_EQ(tools.prevY, 0);
  EXPECT_TRUE(tools.EndStroke(70, -5, 1));
  EXPECT_EQ(Layer().GetPixel(64, 0), kRed);
  tools.snapEnabled = false;

  // A move or release without an accepted press is refused and repaints nothing.
  EXPECT_FALSE(tools.MoveStroke(5, 5));
  EXPECT_FALSE(tools.EndStroke(5, 5, 1));
  // A failed preparation (stamp outside the sheet) starts no stroke.
  studio.frmC.selectedBrush = 200;
  EXPECT_TRUE(tools.BeginStroke(30, 30, 1));
  EXPECT_FALSE(tools.strokeActive);
  EXPECT_FALSE(tools.MoveStroke(40, 30));
  EXPECT_EQ(Painted(0, 0, 256, 256), 1);
  // Pointer points however far away draw safely: clipped, and lines stay short enough to walk.
  studio.frmC.selectedBrush = 0;
  EXPECT_TRUE(tools.BeginStroke(INT_MIN, INT_MAX, 1));
  EXPECT_TRUE(tools.MoveStroke(INT_MAX, INT_MIN));
  EXPECT_TRUE(tools.EndStroke(10, 10, 1));
  studio.frmM.Undo();
  // A code without a module (one a settings file might hold) takes no strokes at all.
  Settings().currentTool = 100;
  EXPECT_FALSE(tools.BeginStroke(30, 30, 1));
}

TEST_F(PenToolsTest, PenStampsAlongTheStrokeAndShowsTheDotAtRelease) {
  studio.frmM.visible = true;
  studio.frmM.redrawSuspended = false;
  const int paintedBefore = views.painted;
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  EXPECT_EQ(views.painted, paintedBefore);  // the pen repaints nothing at the press
  EXPECT_EQ(Layer().GetPixel(10, 10), kRed);
  EXPECT_EQ(Tools().dirtyRect.x, -6);  // the two-point rule over (cur − 8, cur + 7)
  EXPECT_EQ(Tools().dirtyRect.width, 31);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 10, 10);
  EXPECT_GT(views.painted, paintedBefore);
  EXPECT_EQ(Painted(0, 0, 256, 256), 1);

  Drag({{20, 40}, {30, 40}, {30, 50}});
  for (int x = 20; x <= 30; ++x) EXPECT_EQ(Layer().GetPixel(x, 40), kRed) << x;
  for (int y = 40; y <= 50; ++y) EXPECT_EQ(Layer().GetPixel(30, y), kRed) << y;
  EXPECT_EQ(Painted(0, 0, 256, 256), 1 + 11 + 10);
  EXPECT_TRUE(studio.frmM.modified);
  // One undo per stroke.
  studio.frmM.Undo();
  EXPECT_EQ(Painted(0, 0, 256, 256), 1);
}

TEST_F(PenToolsTest, PenRightButtonPicksSwitchesOrErases) {
  Layer().FillRect(0, 0, 256, 256, MakeColour(0, 0, 255));
  // Mode 0: colour pick.
  Drag({{5, 5}}, MouseButton::kRight);
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(0, 0, 255)));
  EXPECT_EQ(studio.frmCol.controls.Position("sbColBlue"), 255);
  EXPECT_FALSE(Tools().strokeActive);

  // Mode 1: the right button switches to the eraser and starts no stroke; the release does
  // nothing.
  studio.frmC.Change("cboPenErase", 1);
  studio.frmM.pbxAMouseDown(MouseButton::kRight, 5, 5);
  EXPECT_EQ(Settings().currentTool, tkErase);
  EXPECT_TRUE(studio.frmC.controls.Checked("spbErase"));
  EXPECT_FALSE(Tools().strokeActive);
  EXPECT_FALSE(Tools().EndStroke(5, 5, 2));
  // ... and with the eraser back to the pen.
  studio.frmM.pbxAMouseDown(MouseButton::kRight, 5, 5);
  EXPECT_EQ(Settings().currentTool, tkPen);

  // Mode 2: a right drag paints the eraser colour with the eraser stamp, the left drag the
  // drawing colour with the pen's stamp.
  studio.frmC.Change("cboPenErase", 2);
  studio.frmCol.SetDrawColour(kRed);
  Drag({{50, 50}, {60, 50}}, MouseButton::kRight);
  EXPECT_EQ(Layer().GetPixel(48, 48), kWhite);  // stamp 2: a 4 × 4 square
  EXPECT_EQ(Layer().GetPixel(61, 51), kWhite);
  EXPECT_EQ(Layer().GetPixel(62, 50), MakeColour(0, 0, 255));
  EXPECT_EQ(Layer().GetPixel(47, 50), MakeColour(0, 0, 255));
  Drag({{50, 80}, {60, 80}});
  EXPECT_EQ(Layer().GetPixel(55, 80), kRed);
  EXPECT_EQ(Layer().GetPixel(55, 81), MakeColour(0, 0, 255));
  EXPECT_EQ(Settings().penBrush, 0);
}

TEST_F(PenToolsTest, EraserPaintsItsColourWithItsSizeStamp) {
  Layer().FillRect(0, 0, 256, 256, 0);
  Use(tkErase);
  EXPECT_FALSE(Tools().wideRefresh);
  Settings().eraseSize = 3;  // a 6 × 6 square, covering x − 3 … x + 2
  Settings().eraseColor = 0x00FF00;
  studio.frmCol.SetTransparencySlider(200);  // the eraser is always opaque
  Drag({{20, 20}, {30, 20}});
  EXPECT_EQ(Layer().GetPixel(17, 17), 0x00FF00);
  EXPECT_EQ(Layer().GetPixel(16, 20), 0);
  EXPECT_EQ(Layer().GetPixel(23, 22), 0x00FF00);
  // The segment runs from the old point to the new one, leaving the new one to the next
  // segment, so the release point itself is not stamped.
  EXPECT_EQ(Layer().GetPixel(32, 20), 0);
  EXPECT_EQ(Layer().GetPixel(31, 20), 0x00FF00);
  EXPECT_EQ(Layer().GetPixel(20, 23), 0);
  Use(tkBrush);
  EXPECT_TRUE(Tools().wideRefresh);
}

TEST_F(PenToolsTest, WorkLayerGrowsButNeverShrinksAndGetsAClearMask) {
  ToolEngine& tools = Tools();
  tools.EnsureWorkLayer(40, 20, platform);
  EXPECT_EQ(tools.workLayer.Width(), 40);
  EXPECT_EQ(tools.workLayer.Height(), 20);
  tools.workLayer.mask.SetPixel(3, 3, 9);
  tools.workLayer.SetPixel(3, 3, 0x123456);
  tools.EnsureWorkLayer(8, 60, platform);
  EXPECT_EQ(tools.workLayer.Width(), 40);
  EXPECT_EQ(tools.workLayer.Height(), 60);
  EXPECT_EQ(tools.workLayer.mask.Width(), 40);
  EXPECT_EQ(tools.workLayer.mask.Height(), 60);
  EXPECT_EQ(tools.workLayer.mask.GetPixel(3, 3), 0);
  tools.EnsureWorkLayer(4, 4, platform);
  EXPECT_EQ(tools.workLayer.Height(), 60);
  EXPECT_TRUE(messages.empty());
}

class ShapeTest : public PenToolsTest {
 protected:
  // Pixels in red inside the layer's region.
  int Red(int x, int y, int w, int h) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) n += Layer().GetPixel(xx, yy) == kRed;
    return n;
  }
  bool IsRed(int x, int y) { return Layer().GetPixel(x, y) == kRed; }
};

TEST_F(ShapeTest, BoxCornerShiftCentreAndPreview) {
  Use(tkBox);
  EXPECT_FALSE(project.backgroundRefresh);
  // Corner mode with Shift, dragged from (10, 10) to (30, 16): the box is (10, 10)–(16, 16).
  Settings().shiftConstrain = true;
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);  // nothing drawn at the press
  studio.frmM.pbxAMouseMove(30, 16);
  Settings().shiftConstrain = true;
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 30, 16);
  EXPECT_TRUE(IsRed(10, 10) && IsRed(16, 10) && IsRed(16, 16) && IsRed(10, 16));
  EXPECT_EQ(Red(0, 0, 256, 256), 4 * 6);
  EXPECT_EQ(Tools().curX, 16);
  Settings().shiftConstrain = false;
  studio.frmM.Undo();

  // Centre mode, dragged from (50, 50) to (60, 45): the box is (40, 45)–(60, 55).
  studio.frmC.Click("chkShapeCenter");
  EXPECT_TRUE(Settings().shapeCenter);
  Drag({{50, 50}, {60, 45}});
  EXPECT_TRUE(IsRed(40, 45) && IsRed(60, 45) && IsRed(60, 55) && IsRed(40, 55));
  EXPECT_EQ(Red(0, 0, 256, 256), 2 * 21 + 2 * 9);
  studio.frmM.Undo();
  studio.frmC.Click("chkShapeCenter");

  // Two moves: the first preview goes away, the layer shows only the second.
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 100, 100);
  studio.frmM.pbxAMouseMove(140, 140);
  EXPECT_TRUE(IsRed(140, 140));
  studio.frmM.pbxAMouseMove(120, 110);
  EXPECT_FALSE(IsRed(140, 140));
  EXPECT_TRUE(IsRed(120, 110));
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 120, 110);
  EXPECT_EQ(Red(0, 0, 256, 256), 2 * 21 + 2 * 9);
}

TEST_F(ShapeTest, ManyPreviewsLeaveExactlyTheLastFigure) {
  // Each move puts back only the parts of the layer the previous preview drew on; after previews
  // all over the layer, grown and shrunk, filled and outlined with a soft stamp, the layer must be
  // byte for byte what one move to the last point draws.
  project.NewProject(1, 1024, 768);
  project.AfterNewProject();
  SetStamp(Tools().brushImage, 13, [](int c, int r) {
    const int d = (c - 8) * (c - 8) + (r - 8) * (r - 8);
    return d > 36 ? 255 : d * 6;  // a soft disc of radius 6
  });
  const auto bytes = [this] {
    return std::vector<std::uint8_t>(Layer().Bits(), Layer().Bits() + 1024 * 768 * 3);
  };
  for (int tool : {tkBox, tkCircle, tkLine}) {
    Use(tool);
    Settings().shapeFill = tool != tkLine;
    studio.frmC.SetBrushIndex(13);
    studio.frmCol.SetTransparencySlider(90);
    Layer().FillRect(300, 200, 240, 240, MakeColour(0, 90, 200));  // something to put back
    studio.frmM.PushUndo();
    const std::vector<std::uint8_t> before = bytes();
    Drag({{512, 384}, {1000, 760}, {8, 700}, {900, 12}, {516, 388}, {-160, 1200}, {130, 90}});
    const std::vector<std::uint8_t> dragged = bytes();
    studio.frmM.Undo();
    ASSERT_EQ(bytes(), before);
    Drag({{512, 384}, {130, 90}});
    EXPECT_TRUE(dragged == bytes()) << tool;
    studio.frmM.Undo();
  }
}

TEST_F(ShapeTest, FilledBoxesAndTheRightButton) {
  Use(tkBox);
  studio.frmC.Click("chkShapeFill");
  Drag({{10, 10}, {20, 15}});
  EXPECT_EQ(Red(10, 10, 11, 6), 66);
  EXPECT_EQ(Red(0, 0, 256, 256), 66);
  studio.frmM.Undo();
  // x0 = x1: no spans, only the outline, a vertical line of stamps.
  Drag({{30, 10}, {30, 20}});
  EXPECT_EQ(Red(0, 0, 256, 256), 11);
  // The right button picks a colour, and still counts as a change.
  studio.frmM.modified = false;
  Layer().SetPixel(200, 200, 0x010203);
  Drag({{200, 200}}, MouseButton::kRight);
  EXPECT_EQ(Settings().drawColor, 0x010203u);
  EXPECT_TRUE(studio.frmM.modified);
}

TEST_F(ShapeTest, EllipseCornerAndCentreModes) {
  Use(tkCircle);
  // Corner mode from (0, 0) to (11, 5): centre (5, 2), radii 5 and 2.
  Drag({{100, 100}, {111, 105}});
  EXPECT_TRUE(IsRed(110, 102) && IsRed(100, 102) && IsRed(105, 100) && IsRed(105, 104));
  EXPECT_FALSE(IsRed(111, 102) || IsRed(105, 105) || IsRed(105, 102));
  studio.frmM.Undo();
  // Shift in corner mode: a circle around the middle with the shorter side as radius.
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 100, 100);
  Settings().shiftConstrain = true;
  studio.frmM.pbxAMouseMove(110, 104);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 110, 104);
  Settings().shiftConstrain = false;
  EXPECT_TRUE(IsRed(109, 102) && IsRed(101, 102) && IsRed(105, 98) && IsRed(105, 106));
  studio.frmM.Undo();
  // Centre mode: the press is the centre, the distance the radii; filled.
  studio.frmC.Click("chkShapeCenter");
  studio.frmC.Click("chkShapeFill");
  Drag({{50, 50}, {56, 47}});
  EXPECT_TRUE(IsRed(44, 50) && IsRed(56, 50) && IsRed(50, 47) && IsRed(50, 53) && IsRed(50, 50));
  EXPECT_FALSE(IsRed(57, 50) || IsRed(50, 54));
}

TEST_F(ShapeTest, LinesWithShiftAndFromTheCentre) {
  Use(tkLine);
  // Shift from (0, 0) to (10, 3): direction 0°, length √109 ≈ 10.44, end (10, 0).
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 20, 20);
  Settings().shiftConstrain = true;
  studio.frmM.pbxAMouseMove(30, 23);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 30, 23);
  EXPECT_EQ(Red(20, 20, 11, 1), 11);
  EXPECT_EQ(Red(0, 0, 256, 256), 11);
  studio.frmM.Undo();
  // Straight down with Shift stays in its column.
  Drag({{60, 20}, {62, 30}});
  EXPECT_EQ(Red(60, 20, 1, 11), 11);
  EXPECT_EQ(Red(0, 0, 256, 256), 11);
  Settings().shiftConstrain = false;
  studio.frmM.Undo();
  // From the centre: the line runs from prev − d to prev + d, end point included.
  studio.frmC.Click("chkShapeCenter");
  Drag({{100, 100}, {104, 102}});
  EXPECT_TRUE(IsRed(96, 98) && IsRed(104, 102) && IsRed(100, 100));
  EXPECT_EQ(Red(0, 0, 256, 256), 9);
}

TEST_F(ShapeTest, ReadoutsFollowTheDragBeforeShift) {
  studio.frmOpt.visible = true;
  studio.frmOpt.optionPage = 1;
  Use(tkBox);
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  Settings().shiftConstrain = true;
  studio.frmM.pbxAMouseMove(30, 16);
  EXPECT_EQ(studio.frmOpt.lblA, "(10,10)-(30,16)");
  EXPECT_EQ(studio.frmOpt.lblPosX, "X: 30");
  Settings().shiftConstrain = false;
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 30, 16);
  studio.frmC.Click("chkShapeCenter");
  EXPECT_EQ(studio.frmOpt.lblA, "(10,10)-(30,16)");  // the check boxes do not refresh the tool
  Use(tkBox);
  EXPECT_EQ(studio.frmOpt.lblA, "");  // activating a tool clears the readouts
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 50, 50);
  studio.frmM.pbxAMouseMove(40, 55);
  EXPECT_EQ(studio.frmOpt.lblA, "XY(50,50)-WH(20,10)");
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 40, 55);
  Use(tkLine);
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 50, 50);
  studio.frmM.pbxAMouseMove(40, 55);
  EXPECT_EQ(studio.frmOpt.lblA, "XY(50,50)-WH(-20,10)");
}

}  // namespace
}  // namespace mirasketch::test
