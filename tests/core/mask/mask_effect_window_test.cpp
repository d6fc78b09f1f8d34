#include "mask/mask_effect_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "mask/mask_effects.h"
#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

// The mask effect window shown over the white 256 × 256 start layer, its mask clear.
class MaskEffectWindowTest : public PaintTest {
 protected:
  MaskEffectWindowTest() {
    studio.ShowWindow(WindowId::frmMaskEff, true);
    mask.FillRect(0, 0, 256, 256, 0);
  }
  // The mask's bytes, top row first.
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) bytes.push_back(static_cast<std::uint8_t>(mask.GetPixel(x, y)));
    return bytes;
  }
  // `count` passes of `pass` over a copy of the bytes, one plane into another as the effects go.
  template <typename Pass>
  static std::vector<std::uint8_t> Passes(std::vector<std::uint8_t> bytes, int count, Pass pass) {
    std::vector<std::uint8_t> other(bytes.size());
    for (int i = 0; i < count; ++i) {
      pass(MaskPlane{bytes.data(), 256, 256, 256}, MaskPlane{other.data(), 256, 256, 256});
      bytes.swap(other);
    }
    return bytes;
  }
  std::vector<std::string> VisiblePanels() const {
    std::vector<std::string> shown;
    for (const char* panel :
         {"pnlGoEff", "pnlFowPos", "pnlMelt", "pnlAura", "pnlEffAll", "pnlEffOther", "pnlLight"})
      if (window.controls.State(panel).visible) shown.emplace_back(panel);
    return shown;
  }

  TfrmMaskEff& window = studio.frmMaskEff;
  MaskTools& tools = studio.maskTools;
  CDib256& mask = project.Active().mask;
};

using Panels = std::vector<std::string>;

TEST_F(MaskEffectWindowTest, EachEffectShowsItsPanelsAndBarsTheirPositions) {
  EXPECT_EQ(VisiblePanels(), (Panels{"pnlGoEff", "pnlMelt"}));
  EXPECT_EQ(window.effectKind, ekMelt);
  const std::pair<int, Panels> expected[] = {
      {1, {"pnlGoEff", "pnlAura"}},     {2, {"pnlGoEff", "pnlEffAll"}},
      {3, {"pnlGoEff", "pnlEffOther"}}, {4, {"pnlFowPos"}},
      {5, {"pnlFowPos", "pnlLight"}},   {0, {"pnlGoEff", "pnlMelt"}},
  };
  for (const auto& [item, panels] : expected) {
    window.Change("cboEffKind", item);
    EXPECT_EQ(window.effectKind, item + 1);
    EXPECT_EQ(VisiblePanels(), panels) << item;
  }
  window.Change("sbGoCount", 30);
  EXPECT_EQ(window.controls.State("lblGoCount").caption, "回数25");
  window.Change("sbDistanceIncline", 250);
  EXPECT_EQ(window.controls.State("lblDistanceIncline").caption, "距離勾配250");
  window.Change("sbArcDivision", 0);
  EXPECT_EQ(window.controls.State("lblArcDivision").caption, "分割数1");
}

TEST_F(MaskEffectWindowTest, RunsCarryTheControlsAndCostOneUndoLevel) {
  // Uneven values so that every effect changes something.
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) mask.SetPixel(x, y, (x * 37 + y * 91 + x * y) % 256);
  const std::vector<std::uint8_t> before = Bytes();
  // Three melt passes without keeping 255: the result lands in the mask, not in the scratch
  // plane the passes alternate with.
  window.Click("chkMeltSave255");
  window.Change("sbGoCount", 3);
  window.Click("btnEffGo");
  EXPECT_EQ(Bytes(), Passes(before, 3,
                            [](const MaskPlane& f, const MaskPlane& t) { MeltPass(f, t, false); }));
  EXPECT_EQ(tools.undoCount, 1);
  EXPECT_EQ(platform.busyDepth, 0);
  window.Click("btnEffGo");
  EXPECT_EQ(tools.undoCount, 2);
  studio.frmMaskSet.Click("btnMaskUndo");
  studio.frmMaskSet.Click("btnMaskUndo");
  EXPECT_EQ(Bytes(), before);
  // The old halo: ten passes a count, growing next to values more than 129 − position higher.
  window.Change("cboEffKind", 1);
  window.Click("chkAuraOld");
  window.Change("sbAuraDifference", 120);
  window.Change("sbGoCount", 2);
  window.Click("btnEffGo");
  EXPECT_EQ(Bytes(), Passes(before, 20,
                            [](const MaskPlane& f, const MaskPlane& t) { HaloOldPass(f, t, 9); }));
  // Rug shows each of its passes on the canvas.
  studio.frmMaskSet.Click("btnMaskUndo");
  window.Change("cboEffKind", 3);
  window.Click("rdiEffRug");
  studio.frmM.visible = true;
  studio.frmM.redrawSuspended = false;
  const int painted = views.painted;
  window.Click("btnEffGo");
  EXPECT_EQ(Bytes(),
            Passes(before, 2, [](const MaskPlane& f, const MaskPlane& t) { RugPass(f, t); }));
  EXPECT_GE(views.painted - painted, 3);
}

TEST_F(MaskEffectWindowTest, TheCentreDragMovesTheGradationWithoutAnUndoLevel) {
  // "グラデーション": the direction panel's run computes the ramp away from the row of the centre.
  window.Change("cboEffKind", 4);
  window.Click("btnGoGrad");
  EXPECT_EQ(tools.undoCount, 1);
  EXPECT_EQ(mask.GetPixel(7, 100), 28);
  EXPECT_EQ(mask.GetPixel(200, 128), 0);
  // "位置指定", then a drag on the canvas from (50, 50) to (80, 40).
  window.Click("btnEffCenSet");
  Drag({{50, 50}, {70, 45}, {80, 40}});
  EXPECT_EQ(window.gradCentre.x, 158);
  EXPECT_EQ(window.gradCentre.y, 118);
  EXPECT_EQ(mask.GetPixel(7, 118), 0);
  EXPECT_EQ(mask.GetPixel(7, 100), 18);
  EXPECT_EQ(tools.undoCount, 1);
  // One undo goes back before the run.
  studio.frmMaskSet.Click("btnMaskUndo");
  EXPECT_EQ(mask.GetPixel(7, 100), 0);
  // With the melt chosen the same drag moves nothing.
  window.Change("cboEffKind", 0);
  window.Click("btnEffCenSet");
  Drag({{50, 50}, {80, 40}});
  EXPECT_EQ(window.gradCentre.y, 118);
  EXPECT_EQ(window.lightCentre.x, 128);
  EXPECT_EQ(mask.GetPixel(7, 100), 0);
  EXPECT_EQ(mask.GetPixel(60, 45), 0);  // the guide line is gone
}

TEST_F(MaskEffectWindowTest, TheSeedIsReproducibleAndTheWindowSwitchesTools) {
  EXPECT_EQ(Settings().currentTool, tkMask);
  mask.SetPixel(0, 0, 77);
  studio.random.Seed(7);
  window.Click("btnEffSeed");
  const std::vector<std::uint8_t> seeded = Bytes();
  int bright = 0;
  for (const std::uint8_t b : seeded) bright += b == 255;
  EXPECT_NEAR(bright, 256 * 256 / 2, 1000);
  EXPECT_TRUE(seeded[0] == 77 || seeded[0] == 255);
  EXPECT_EQ(tools.undoCount, 1);
  studio.frmMaskSet.Click("btnMaskUndo");
  studio.random.Seed(7);
  window.Click("btnEffSeed");
  EXPECT_EQ(Bytes(), seeded);
  // Shown while the pen is current, the window makes the mask tool current; hidden, the pen
  // comes back, though the mask window came up with the tool.
  studio.ShowWindow(WindowId::frmMaskEff, false);
  studio.frmC.SelectTool(tkPen);
  studio.ShowWindow(WindowId::frmMaskEff, true);
  EXPECT_EQ(Settings().currentTool, tkMask);
  EXPECT_TRUE(studio.frmMaskSet.visible);
  studio.ShowWindow(WindowId::frmMaskEff, false);
  EXPECT_EQ(Settings().currentTool, tkPen);
}

}  // namespace
}  // namespace mirasketch::test
