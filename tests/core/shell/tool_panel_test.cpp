#include "shell/tool_panel.h"

#include <gtest/gtest.h>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

class ToolPanelTest : public PaintTest {
 protected:
  TfrmC& panel = studio.frmC;
  bool Shown(const char* name) { return panel.controls.State(name).visible; }
  int VisibleGroups() {
    int n = 0;
    for (const ControlSpec& spec : panel.controls.Specs())
      n += spec.kind == ControlKind::kGroup && panel.controls.State(spec.name).visible;
    return n;
  }
};

TEST_F(ToolPanelTest, ToolButtonsSwapTheOptionGroups) {
  EXPECT_TRUE(panel.controls.Checked("spbPen"));
  EXPECT_TRUE(Shown("grpPenEraser"));
  EXPECT_EQ(VisibleGroups(), 1);
  // Pen to eraser keeps the pen and eraser group.
  panel.Click("spbErase");
  EXPECT_EQ(Settings().currentTool, tkErase);
  EXPECT_TRUE(Shown("grpPenEraser"));
  EXPECT_FALSE(panel.controls.Checked("spbPen"));
  // To the brush: its group instead.
  panel.Click("spbBrush");
  EXPECT_FALSE(Shown("grpPenEraser"));
  EXPECT_TRUE(Shown("grpBrush"));
  EXPECT_EQ(VisibleGroups(), 1);
  // Every tool with a group shows exactly its own.
  const std::pair<const char*, const char*> groups[] = {
      {"spbBox", "grpShape"},         {"spbCircle", "grpShape"},
      {"spbLine", "grpShape"},        {"spbAverageBrush", "grpAveBrush"},
      {"spbBrushBig", "grpBrushBig"}, {"spbPenki", "grpPenki"},
      {"spbSelect", "grpSelect"},     {"spbOresen", "grpCountLine"},
      {"spbRuler", "grpRuler"},       {"spbPenLine", "grpPenLine"},
      {"spbAirBrush", "grpBrush"},    {"spbPen", "grpPenEraser"}};
  for (auto [button, group] : groups) {
    panel.Click(button);
    EXPECT_TRUE(Shown(group)) << button;
    EXPECT_EQ(VisibleGroups(), 1) << button;
  }
  // The mask tool hides the brush strip, shows the mask display; any other tool brings the strip
  // back.
  panel.Click("spbMask");
  EXPECT_FALSE(Shown("pnlABrush"));
  EXPECT_EQ(VisibleGroups(), 0);
  EXPECT_EQ(studio.frmM.view.displayMode, 2);
  panel.Click("spbBox");
  EXPECT_TRUE(Shown("pnlABrush"));
  EXPECT_EQ(studio.frmM.view.displayMode, 1);
  // The layer-move tool has no button: the last button stays down, no group shows.
  panel.SelectTool(tkLayerMove);
  EXPECT_EQ(Settings().currentTool, tkLayerMove);
  EXPECT_TRUE(panel.controls.Checked("spbBox"));
  EXPECT_EQ(VisibleGroups(), 0);
  EXPECT_FALSE(panel.FormCloseQuery());
}

TEST_F(ToolPanelTest, ToolsSaveAndRestoreTheirStampsAndTransparency) {
  // The pen takes the panel's stamp at its press and gives it back on activation.
  panel.SetBrushIndex(13);
  EXPECT_EQ(panel.controls.Position("trkABrush"), 1);
  studio.frmCol.Change("sbTranspearPow", 40);
  panel.Click("spbBox");  // the pen saves stamp 13 and transparency 40
  EXPECT_EQ(Settings().penBrush, 13);
  EXPECT_EQ(Settings().penTransparency, 40);
  EXPECT_EQ(panel.selectedBrush, 0);  // the shapes' own stamp
  EXPECT_EQ(studio.frmCol.TransparencyPosition(), 0);
  panel.SetBrushIndex(100);
  panel.Click("spbPen");
  EXPECT_EQ(Settings().shapeBrush, 100);
  EXPECT_EQ(panel.selectedBrush, 13);
  EXPECT_EQ(panel.controls.Position("trkABrush"), 1);
  EXPECT_EQ(studio.frmCol.TransparencyPosition(), 40);
  EXPECT_EQ(Settings().transparency, 40);

  // With the brush current a grid click on page 2 selects stamp 42 and stores it as the brush's;
  // the air brush then shows its own stamp and page.
  panel.Click("spbBrush");
  panel.MouseDown("pbxBrush", 1, 40, 5, 0);
  EXPECT_EQ(panel.brushPageStart, 32);
  panel.MouseDown("pbxBrush", 1, 40, 30, 0);
  EXPECT_EQ(panel.selectedBrush, 42);
  EXPECT_EQ(Settings().brushBrush, 42);
  Settings().airBrush = 99;
  panel.Click("spbAirBrush");
  EXPECT_EQ(panel.selectedBrush, 99);
  EXPECT_EQ(panel.brushPageStart, 96);
  panel.Click("spbBrush");
  EXPECT_EQ(panel.selectedBrush, 42);
  EXPECT_EQ(panel.brushPageStart, 32);
}

TEST_F(ToolPanelTest, ControlsWriteTheirSettings) {
  panel.Change("sbZoom", 3);
  EXPECT_EQ(studio.frmM.view.zoom, 3);
  EXPECT_EQ(panel.controls.State("lblZoom").caption, "ｽﾞｰﾑ3");
  panel.Change("sbZoom", 99);
  EXPECT_EQ(studio.frmM.view.zoom, 10);
  panel.Click("chkMask");
  EXPECT_TRUE(Settings().maskEnabled);
  panel.Change("cboPenErase", 2);
  EXPECT_EQ(Settings().rightButtonMode, 2);
  panel.Change("sbPenkiRange", 30);
  EXPECT_EQ(Settings().fillRange, 30);
  EXPECT_EQ(panel.controls.State("lblPenkiRange").caption, "対象色幅30");
  panel.Change("sbRulerSize", 30);
  EXPECT_FLOAT_EQ(Settings().rulerScale, 0.3f);
  EXPECT_EQ(panel.controls.State("lblRulerSize").caption, "大きさ30%");
  panel.Click("rdiRulerCloud");
  EXPECT_EQ(Settings().rulerKind, 2);
  panel.Click("chkRulerInvert");
  EXPECT_TRUE(Settings().rulerInvert);
  panel.Change("sbPenLineHook", 12);
  EXPECT_EQ(Settings().penLineInterval, 12);
  EXPECT_EQ(panel.controls.State("lblPenLineHook").caption, "更新間隔12");
  panel.Click("rdiCountSpline");
  EXPECT_EQ(Settings().contMode, 1);
  EXPECT_FALSE(panel.Click("lblZoom"));
  EXPECT_FALSE(panel.Change("chkMask", 1));

  // Each big-brush mode keeps its own radius on the one slider.
  panel.Click("rdiBrushBig2");
  EXPECT_EQ(panel.controls.Position("sbBrushBigSize"), 4);
  panel.Change("sbBrushBigSize", 20);
  panel.Click("rdiBrushBig1");
  EXPECT_EQ(panel.controls.Position("sbBrushBigSize"), 10);
  EXPECT_EQ(panel.controls.State("lblBrushBigSize").caption, "半径10");
  panel.Click("rdiBrushBig2");
  EXPECT_EQ(panel.controls.Position("sbBrushBigSize"), 20);
  EXPECT_EQ(Settings().undoBrushRadius, 20);
  EXPECT_EQ(Settings().bigBrushRadius, 10);

  // The settings are the controls' only values: a change made elsewhere is what they show, and
  // the brush and the air brush each show their own interpolation switch in the one box.
  Settings().fillRange = 77;
  Settings().shapeCenter = true;
  Settings().averageMode = 1;
  EXPECT_EQ(panel.controls.Position("sbPenkiRange"), 77);
  EXPECT_TRUE(panel.controls.Checked("chkShapeCenter"));
  EXPECT_TRUE(panel.controls.Checked("rdiAveBrush1"));
  EXPECT_FALSE(panel.controls.Checked("rdiAveBrush0"));
  panel.Click("spbBrush");
  panel.Click("chkBrushSpace");
  EXPECT_FALSE(Settings().brushInterpolate);
  panel.Click("spbAirBrush");
  EXPECT_FALSE(panel.controls.Checked("chkBrushSpace"));  // the air brush's own, off at start
  panel.Click("chkBrushSpace");
  EXPECT_TRUE(Settings().airInterpolate);
  EXPECT_FALSE(Settings().brushInterpolate);
}

TEST_F(ToolPanelTest, InitShowsTheReadSettings) {
  Settings().bigBrushMode = 1;
  Settings().rightButtonMode = 2;
  Settings().shapeFill = true;
  panel.InitToolPanel();
  EXPECT_TRUE(panel.controls.Checked("rdiBrushBig2"));
  EXPECT_EQ(panel.controls.Position("sbBrushBigSize"), 4);
  EXPECT_EQ(panel.controls.Position("cboPenErase"), 2);
  EXPECT_TRUE(panel.controls.Checked("chkShapeFill"));
  EXPECT_FALSE(panel.controls.Checked("chkShapeCenter"));
  EXPECT_EQ(panel.clientHeight, 244);
}

TEST_F(ToolPanelTest, BrushStripGridAndEraserChooserPaintAndPick) {
  // The strip shows the row of the track bar; the frame only when the selection is in it.
  panel.SetBrushIndex(3);
  const PaintBox& strip = panel.pbxABrushPaint();
  EXPECT_EQ(strip.image.GetPixel(48, 0), MakeColour(64, 255, 64));
  EXPECT_EQ(strip.image.GetPixel(50, 8), 0xFFFFFF);  // outside stamp 3, a 6 × 6 square
  EXPECT_EQ(strip.image.GetPixel(16 + 8, 8), 0);     // stamp 1's centre is painted
  panel.Change("trkABrush", 5);
  const PaintBox& row5 = panel.pbxABrushPaint();
  EXPECT_NE(row5.image.GetPixel(48, 0), MakeColour(64, 255, 64));
  panel.MouseDown("pbxABrush", 1, 37, 4, 0);
  EXPECT_EQ(panel.selectedBrush, 42);
  EXPECT_EQ(panel.pbxABrushPaint().image.GetPixel(32, 15), MakeColour(64, 255, 64));

  // The grid: four tabs, the current one white, page numbers as text.
  panel.Click("spbBrush");
  const PaintBox& grid = panel.pbxBrushPaint();
  EXPECT_EQ(grid.image.GetPixel(5, 5), 0xFFFFFF);
  EXPECT_EQ(grid.image.GetPixel(40, 5), 0x808080);
  ASSERT_EQ(grid.texts.size(), 4u);
  EXPECT_EQ(grid.texts[1].text, "2");
  EXPECT_EQ(grid.texts[1].x, 44);
  EXPECT_EQ(grid.image.GetPixel(0, 12), MakeColour(64, 255, 64));  // stamp 0 framed

  // The eraser chooser: size boxes, the colour dialog.
  const PaintBox& chooser = panel.pbxEraserPaint();
  EXPECT_EQ(chooser.image.GetPixel(30, 20), MakeColour(0, 128, 0));  // size 2 is down
  EXPECT_EQ(chooser.image.GetPixel(10, 20), 0xE0E0E0);
  EXPECT_EQ(chooser.image.GetPixel(33, 25), 0xFFFFFF);  // the size-2 square in the erase colour
  EXPECT_EQ(chooser.texts[0].text, "消しゴム");
  panel.Click("spbPen");
  panel.Change("cboPenErase", 1);
  panel.MouseDown("pbxEraser", 1, 70, 20, 0);  // size 4 with right-button switching
  EXPECT_EQ(Settings().eraseSize, 4);
  EXPECT_EQ(Settings().currentTool, tkErase);
  EXPECT_TRUE(panel.controls.Checked("spbErase"));
  platform.colours = {0x123456};
  panel.MouseDown("pbxEraser", 1, 100, 5, 0);
  EXPECT_EQ(Settings().eraseColor, 0x123456u);
  panel.MouseDown("pbxEraser", 1, 100, 5, 0);  // cancelled: unchanged
  EXPECT_EQ(Settings().eraseColor, 0x123456u);
  EXPECT_EQ(platform.colourDialogsOpened.back(), 0x123456);
}

}  // namespace
}  // namespace mirasketch::test
