// Every painting tool under a half-masked layer: with the mask switch on, pixels masked with 255
// keep their colour; with it off, the mask limits nothing.

#include <gtest/gtest.h>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kGrey = 0x808080;

class MaskedPaintingTest : public PaintTest {
 protected:
  // Paints a stroke across the mask's edge at x = 128 and counts the changed pixels left (masked)
  // and right of it.
  std::pair<int, int> Stroke(int tool, bool maskOn) {
    Layer().FillRect(0, 0, 256, 256, kGrey);
    Layer().mask.FillRect(0, 0, 256, 256, 0);
    Layer().mask.FillRect(0, 0, 128, 256, 255);
    studio.frmC.SelectTool(tool);
    if (Settings().maskEnabled != maskOn) studio.frmC.Click("chkMask");
    studio.frmC.SetBrushIndex(3);  // a 6 × 6 square that paints fully
    Settings().shapeBrush = Settings().brushBrush = Settings().airBrush = 3;
    Settings().averageBrush = 3;
    Settings().averageMode = 1;  // the blur takes the drawing colour in, so grey changes
    Drag({{100, 100}, {130, 110}, {156, 140}});
    int left = 0, right = 0;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) (x < 128 ? left : right) += Layer().GetPixel(x, y) != kGrey;
    studio.frmM.Undo();
    return {left, right};
  }
};

TEST_F(MaskedPaintingTest, EveryToolHonoursTheMaskSwitch) {
  studio.frmCol.SetDrawColour(MakeColour(255, 0, 0));
  Settings().eraseColor = 0xFFFFFF;
  for (int tool : {tkPen, tkErase, tkBox, tkCircle, tkLine, tkBrush, tkAirBrush, tkAverageBrush,
                   tkBrushBig, tkPenki}) {
    SCOPED_TRACE(tool);
    const auto [maskedLeft, maskedRight] = Stroke(tool, true);
    EXPECT_EQ(maskedLeft, 0);
    EXPECT_GT(maskedRight, 0);
    const auto [openLeft, openRight] = Stroke(tool, false);
    EXPECT_GT(openLeft, 0);
    EXPECT_GT(openRight, 0);
  }
}

}  // namespace
}  // namespace mirasketch::test
