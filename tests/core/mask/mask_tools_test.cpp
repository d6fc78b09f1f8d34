#include "mask/mask_tools.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "mask/mask_window.h"
#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

// The mask tool current on the white 256 × 256 start layer, its mask clear.
class MaskToolsTest : public PaintTest {
 protected:
  MaskToolsTest() {
    studio.frmC.SelectTool(tkMask);
    mask.FillRect(0, 0, 256, 256, 0);
  }
  void Press(int x, int y, MouseButton button = MouseButton::kLeft) {
    studio.frmM.pbxAMouseDown(button, x, y);
    studio.frmM.pbxAMouseUp(button, x, y);
  }
  // The number of mask bytes in the rectangle equal to `value`.
  int Count(int x, int y, int w, int h, int value) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) n += mask.GetPixel(xx, yy) == value;
    return n;
  }

  MaskTools& tools = studio.maskTools;
  TfrmMaskSet& window = studio.frmMaskSet;
  CDib256& mask = project.Active().mask;
};

TEST_F(MaskToolsTest, PenBoxAndFillWriteTheStrength) {
  EXPECT_EQ(studio.frmM.view.displayMode, 2);
  EXPECT_TRUE(window.visible);
  // A pen click stamps the brush cell's painting pixels (test stamp 3: a 6 × 6 square) and leaves
  // one undo level.
  tools.maskBrush = 3;
  Press(50, 50);
  EXPECT_EQ(Count(0, 0, 256, 256, 255), 36);
  EXPECT_EQ(Count(47, 47, 6, 6, 255), 36);
  EXPECT_EQ(tools.undoCount, 1);
  // The box dragged from (10, 10) to (3, 20), through larger rectangles, leaves exactly x 3 … 10,
  // y 10 … 20.
  mask.FillRect(0, 0, 256, 256, 0);
  window.Change("sbDwPow", 77);
  EXPECT_EQ(tools.maskStrength, 77);
  EXPECT_EQ(window.controls.State("lblDwPow").caption, "描画強度 77");
  window.Click("spbBox");
  studio.frmM.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  studio.frmM.pbxAMouseMove(40, 60);
  studio.frmM.pbxAMouseMove(3, 20);
  studio.frmM.pbxAMouseUp(MouseButton::kLeft, 3, 20);
  EXPECT_EQ(Count(3, 10, 8, 11, 77), 8 * 11);
  EXPECT_EQ(Count(0, 0, 256, 256, 77), 8 * 11);
  // The region fill at a value 100 with strength 0 clears the 4-connected values 92 … 108.
  mask.FillRect(0, 0, 256, 256, 200);
  mask.FillRect(100, 100, 20, 20, 100);
  mask.FillRect(110, 100, 5, 5, 92);
  mask.FillRect(100, 110, 5, 5, 91);
  mask.FillRect(0, 0, 5, 5, 100);  // the same value, not connected
  window.Change("sbDwPow", 0);
  window.Click("spbMaskPaint");
  Press(105, 105);
  EXPECT_EQ(Count(100, 100, 20, 20, 0), 400 - 25);
  EXPECT_EQ(Count(100, 110, 5, 5, 91), 25);
  EXPECT_EQ(Count(0, 0, 5, 5, 100), 25);
  // Another button picks the strength under the pointer.
  Press(2, 2, MouseButton::kRight);
  EXPECT_EQ(tools.maskStrength, 100);
  Press(300, 2, MouseButton::kRight);  // outside the layer: 0
  EXPECT_EQ(tools.maskStrength, 0);
}

TEST_F(MaskToolsTest, DropperAndExtractionByColourRange) {
  window.Click("spbSpoite");
  EXPECT_EQ(studio.frmM.view.displayMode, 1);  // the dropper shows the picture
  project.Active().SetPixel(5, 5, MakeColour(255, 0, 0));
  Press(5, 5);
  const auto& range = window.colourRange;
  for (int v : {252, 253, 254, 255}) EXPECT_EQ(range[v] & 1, 1) << v;
  EXPECT_EQ(range[251] & 1, 0);
  for (int v : {0, 1, 2, 3}) EXPECT_EQ(range[v] & 6, 6) << v;
  EXPECT_EQ(range[4], 0);
  Press(5, 5, MouseButton::kMiddle);  // any other button clears
  for (int v = 0; v < 256; ++v) EXPECT_EQ(range[v], 0) << v;
  Press(-1, 5);  // outside the layer: nothing
  // Extraction with an empty table changes nothing but costs an undo level; with red marked it
  // masks the red pixel.
  const int levels = tools.undoCount;
  window.Click("btnMaskExtract");
  EXPECT_EQ(Count(0, 0, 256, 256, 0), 256 * 256);
  EXPECT_EQ(tools.undoCount, levels + 1);
  Press(5, 5);
  window.Click("btnMaskExtract");
  EXPECT_EQ(mask.GetPixel(5, 5), 255);
  EXPECT_EQ(Count(0, 0, 256, 256, 255), 1);
}

TEST_F(MaskToolsTest, InvertClearAndTheThreeLevelUndo) {
  mask.SetPixel(1, 1, 10);
  window.Click("btnMaskInvert");
  EXPECT_EQ(mask.GetPixel(1, 1), 245);
  EXPECT_EQ(mask.GetPixel(2, 2), 255);
  window.Click("btnMaskInvert");
  EXPECT_EQ(mask.GetPixel(1, 1), 10);
  window.Click("btnMaskInvert");
  for (int i = 0; i < 4; ++i) window.Click("btnMaskUndo");
  EXPECT_EQ(mask.GetPixel(1, 1), 10);
  EXPECT_EQ(mask.GetPixel(2, 2), 0);
  EXPECT_EQ(tools.undoCount, 0);
  window.Click("btnMaskClear");
  EXPECT_EQ(mask.GetPixel(1, 1), 0);
  window.Click("btnMaskUndo");
  EXPECT_EQ(mask.GetPixel(1, 1), 10);
  // A work layer without room for three planes holds no undo, and nothing is written past it.
  studio.toolEngine.workLayer.CDibTrue::Alloc(16, 16);
  window.Click("btnMaskInvert");
  EXPECT_EQ(mask.GetPixel(1, 1), 245);
  EXPECT_EQ(tools.undoCount, 0);
  window.Click("btnMaskUndo");
  EXPECT_EQ(mask.GetPixel(1, 1), 245);
  // A mask that lost its layer's size is left alone by every operation.
  mask.Alloc(8, 8);
  window.Click("btnMaskInvert");
  Press(3, 3);
  window.Click("btnMaskUndo");
  EXPECT_EQ(mask.Width(), 8);
}

TEST_F(MaskToolsTest, RedoRetracesTheMaskUndosUntilTheMaskChanges) {
  const auto state = [this] { return std::vector<std::uint8_t>(mask.Bits(), mask.Bits() + 65536); };
  // Four operations on the ring of three.
  window.Click("btnMaskInvert");
  const auto inverted = state();
  tools.maskStrength = 40;
  Press(10, 10);
  window.Click("btnMaskClear");
  tools.maskStrength = 90;
  Press(30, 30);
  const auto latest = state();
  for (int i = 0; i < 4; ++i) window.Click("btnMaskUndo");
  EXPECT_EQ(state(), inverted);
  for (int i = 0; i < 4; ++i) window.Click("btnMaskRedo");
  EXPECT_EQ(state(), latest);
  window.Click("btnMaskUndo");  // all 0 after the clear
  window.Click("btnMaskRedo");
  window.Click("btnMaskUndo");
  window.Click("btnMaskInvert");
  window.Click("btnMaskRedo");
  EXPECT_EQ(Count(0, 0, 256, 256, 255), 65536);
  // A change of the mask without an undo level, or a new activation, ends it too.
  window.Click("btnMaskUndo");
  mask.SetPixel(0, 0, 7);
  window.Click("btnMaskRedo");
  EXPECT_EQ(Count(0, 0, 256, 256, 0), 65535);
  window.Click("btnMaskInvert");
  window.Click("btnMaskUndo");
  studio.frmC.SelectTool(tkPen);
  studio.frmC.SelectTool(tkMask);
  window.Click("btnMaskRedo");
  EXPECT_EQ(Count(0, 0, 256, 256, 0), 65535);
}

TEST_F(MaskToolsTest, TheRangeEditorSetsAndClearsRunsOfValues) {
  // Dragging in the green strip (rows 24 … 47) from 10 to 20, then back to 15.
  window.MouseDown("pbxA", 1, 10, 30, 0);
  window.MouseMove("pbxA", 20, 30, 0);
  window.MouseMove("pbxA", 15, 30, 0);
  window.MouseUp("pbxA", 1, 15, 30, 0);
  for (int v = 10; v <= 20; ++v) EXPECT_EQ(window.colourRange[v], 2) << v;
  EXPECT_EQ(window.colourRange[9], 0);
  EXPECT_EQ(window.colourRange[21], 0);
  // A right-button drag clears; a move without a press does nothing.
  window.MouseDown("pbxA", 2, 12, 30, 0);
  window.MouseMove("pbxA", 14, 30, 0);
  window.MouseUp("pbxA", 2, 14, 30, 0);
  window.MouseMove("pbxA", 30, 30, 0);
  EXPECT_EQ(window.colourRange[11], 2);
  for (int v = 12; v <= 14; ++v) EXPECT_EQ(window.colourRange[v], 0) << v;
  EXPECT_EQ(window.colourRange[30], 0);
  // The painted editor: a ramp and the band of the selected values.
  const CDibTrue& picture = window.pbxAPaint().image;
  EXPECT_EQ(picture.GetPixel(200, 2), MakeColour(200, 0, 0));
  EXPECT_EQ(picture.GetPixel(11, 24 + 10), 0x000000);
  EXPECT_EQ(picture.GetPixel(12, 24 + 10), 0xFFFFFF);
  window.Click("btnClear");
  EXPECT_EQ(window.colourRange[11], 0);
}

TEST_F(MaskToolsTest, TheWindowSwitchesToAndFromTheMaskTool) {
  // Hidden after the panel chose the mask tool, the tool stays.
  studio.ShowWindow(WindowId::frmMaskSet, false);
  EXPECT_EQ(Settings().currentTool, tkMask);
  // Activated while the pen is current, the mask tool becomes current; hidden, the pen returns.
  studio.frmC.SelectTool(tkPen);
  studio.ShowWindow(WindowId::frmMaskSet, true);
  EXPECT_EQ(Settings().currentTool, tkMask);
  EXPECT_TRUE(studio.frmC.controls.Checked("spbMask"));
  studio.ShowWindow(WindowId::frmMaskSet, false);
  EXPECT_EQ(Settings().currentTool, tkPen);
  EXPECT_TRUE(studio.frmC.controls.Checked("spbPen"));
  // The centre drag lasts until the window is next activated.
  window.EnterCentreDrag();
  EXPECT_EQ(tools.maskTool, mtCentreDrag);
  window.FormActivate();
  EXPECT_EQ(tools.maskTool, mtPen);
  // Captions of the bars.
  window.Change("sbSpoite", 9);
  EXPECT_EQ(window.controls.State("lblSpoite").caption, "ｽﾎﾟｲﾄ色幅: 10");
  window.Change("udMaskBrush", 12);
  EXPECT_EQ(tools.maskBrush, 12);
}

}  // namespace
}  // namespace mirasketch::test
