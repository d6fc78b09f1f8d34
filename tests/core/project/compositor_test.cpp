#include "project/compositor.h"

#include <gtest/gtest.h>

#include "buffers/dib_surface.h"
#include "project/compose_mode.h"
#include "support/studio_fixture.h"

namespace mirasketch {
namespace {

class CompositorTest : public test::StudioTest {
 protected:
  // A 16 × 16 canvas whose bottom layer is black; `top` is a second layer of the same size.
  void TwoLayers(int mode, int threshold = 128) {
    project.NewProject(1, 16, 16);
    project.AfterNewProject();
    project.Layer(0).FillRect(0, 0, 16, 16, 0);
    ASSERT_TRUE(project.InsertLayer(1, true, 16, 16));
    top().composeMode = mode;
    top().threshold = threshold;
  }
  CDibTM& top() { return project.Layer(1); }
  int Shown(int x, int y) { return project.compositeDib.GetPixel(x, y); }
  void Compose() { ComposeRect(project, 0, 0, 16, 16); }
};

TEST_F(CompositorTest, AWhiteCanvasSizedLayerHidesTheCheckerboard) {
  RefreshComposite(project);
  for (int y = 0; y < 256; y += 5)
    for (int x = 0; x < 256; x += 5) ASSERT_EQ(Shown(x, y), 0xFFFFFF);
}

// Layers under one that copies over the whole rectangle are skipped; one pixel it leaves open
// (an offset, a rectangle reaching past it) must still show what lies below, and layers above it
// still compose.
TEST_F(CompositorTest, OnlyAWholeCoverHidesTheLayersBelowIt) {
  TwoLayers(cmSimple);
  top().FillRect(0, 0, 16, 16, 0x0000FF);
  EXPECT_EQ(CoveringLayer(project, 0, 0, 16, 16), 1);
  EXPECT_EQ(CoveringLayer(project, -5, -5, 40, 40), 1);  // clipped to the canvas first
  top().offsetX = 1;
  EXPECT_EQ(CoveringLayer(project, 0, 0, 16, 16), 0);
  EXPECT_EQ(CoveringLayer(project, 1, 0, 15, 16), 1);
  RefreshComposite(project);
  EXPECT_EQ(Shown(0, 5), 0);  // the bottom layer's black column
  EXPECT_EQ(Shown(1, 5), 0x0000FF);
  top().offsetX = 0;
  top().offsetY = -1;
  RefreshComposite(project);
  EXPECT_EQ(Shown(5, 15), 0);
  top().offsetY = 0;
  top().visible = false;
  EXPECT_EQ(CoveringLayer(project, 0, 0, 16, 16), 0);
  top().visible = true;

  // A masked layer over the cover still composes; the black layer under the cover does not show.
  ASSERT_TRUE(project.InsertLayer(2, true, 16, 16));
  CDibTM& glass = project.Layer(2);
  glass.composeMode = cmMaskBlend;
  glass.FillRect(0, 0, 16, 16, 0x00FF00);
  glass.mask.FillRect(0, 0, 8, 16, 255);
  RefreshComposite(project);
  EXPECT_EQ(CoveringLayer(project, 0, 0, 16, 16), 1);
  EXPECT_NE(Shown(2, 2), Shown(12, 2));
  EXPECT_TRUE(Shown(2, 2) == 0x0000FF || Shown(12, 2) == 0x0000FF);
  EXPECT_NE(Shown(2, 2), 0);
  EXPECT_NE(Shown(12, 2), 0);
}

TEST_F(CompositorTest, CheckerboardColoursAnchorAndOffsetLayers) {
  project.Layer(0).offsetX = 100;
  project.Layer(0).offsetY = 100;
  RefreshComposite(project);
  EXPECT_EQ(Shown(0, 0), kCheckerEven);
  EXPECT_EQ(Shown(63, 63), kCheckerEven);
  EXPECT_EQ(Shown(64, 0), kCheckerOdd);
  EXPECT_EQ(Shown(127, 63), kCheckerOdd);
  EXPECT_EQ(Shown(0, 64), kCheckerOdd);
  EXPECT_EQ(Shown(64, 64), kCheckerEven);
  EXPECT_EQ(Shown(99, 99), kCheckerEven);
  EXPECT_EQ(Shown(99, 64), kCheckerEven);
  EXPECT_EQ(Shown(99, 63), kCheckerOdd);
  EXPECT_EQ(Shown(100, 100), 0xFFFFFF);
  EXPECT_EQ(Shown(255, 255), 0xFFFFFF);
  EXPECT_EQ(Shown(255, 99), kCheckerEven);
  EXPECT_EQ(0xF8F8F8, kCheckerEven);
  EXPECT_EQ(MakeColour(240, 240, 255), kCheckerOdd);

  // A partial checkerboard touches its rectangle only.
  project.compositeDib.FillRect(0, 0, 256, 256, 0);
  DrawChecker(project, 60, 2, 8, 3);
  EXPECT_EQ(Shown(59, 2), 0);
  EXPECT_EQ(Shown(60, 2), kCheckerEven);
  EXPECT_EQ(Shown(64, 4), kCheckerOdd);
  EXPECT_EQ(Shown(67, 4), kCheckerOdd);
  EXPECT_EQ(Shown(68, 4), 0);
  EXPECT_EQ(Shown(64, 5), 0);
}

TEST_F(CompositorTest, InvisibleAndUnknownModeLayersContributeNothing) {
  for (int mode : {cmSimple, cmMaskBlend, cmBrightAbove}) {
    TwoLayers(mode, 0);
    top().visible = false;
    Compose();
    EXPECT_EQ(Shown(3, 3), 0) << mode;
  }
  TwoLayers(6);
  Compose();
  EXPECT_EQ(Shown(3, 3), 0);
}

TEST_F(CompositorTest, MaskBlendWeightsBy256) {
  TwoLayers(cmMaskBlend);
  top().FillRect(0, 0, 16, 16, MakeColour(255, 100, 7));
  const int masks[] = {0, 255, 128, 127, 1};
  for (int x = 0; x < 5; ++x) top().mask.SetPixel(x, 0, masks[x]);
  Compose();
  EXPECT_EQ(Shown(0, 0), MakeColour(255, 100, 7));  // mask 0: the layer exactly
  EXPECT_EQ(Shown(1, 0), 0);                        // mask 255: the picture below
  EXPECT_EQ(Shown(2, 0), MakeColour(126, 49, 3));   // (255 × 127) >> 8 = 126
  EXPECT_EQ(Shown(3, 0), MakeColour(128, 50, 3));   // (255 × 129) >> 8
  EXPECT_EQ(Shown(4, 0), MakeColour(254, 99, 6));
}

TEST_F(CompositorTest, MaskThresholdModesUseTheLowEightBits) {
  for (int threshold : {128, 128 + 256}) {
    TwoLayers(cmMaskBelow, threshold);
    top().mask.SetPixel(0, 0, 128);
    top().mask.SetPixel(1, 0, 129);
    Compose();
    EXPECT_EQ(Shown(0, 0), 0xFFFFFF) << threshold;
    EXPECT_EQ(Shown(1, 0), 0) << threshold;

    TwoLayers(cmMaskAbove, threshold);
    top().mask.FillRect(0, 0, 16, 16, 127);
    top().mask.SetPixel(0, 0, 128);
    Compose();
    EXPECT_EQ(Shown(0, 0), 0xFFFFFF) << threshold;
    EXPECT_EQ(Shown(1, 0), 0) << threshold;
  }
  TwoLayers(cmMaskBelow, 300);  // acts as 44
  top().mask.SetPixel(0, 0, 44);
  top().mask.SetPixel(1, 0, 45);
  Compose();
  EXPECT_EQ(Shown(0, 0), 0xFFFFFF);
  EXPECT_EQ(Shown(1, 0), 0);
}

TEST_F(CompositorTest, BrightnessThresholdModesCompareTheChannelSum) {
  TwoLayers(cmBrightAbove, 765);
  top().FillRect(0, 0, 16, 16, MakeColour(255, 255, 254));
  top().SetPixel(0, 0, 0xFFFFFF);
  project.Layer(0).FillRect(0, 0, 16, 16, MakeColour(1, 2, 3));
  Compose();
  EXPECT_EQ(Shown(0, 0), 0xFFFFFF);
  EXPECT_EQ(Shown(1, 0), MakeColour(1, 2, 3));

  TwoLayers(cmBrightBelow, 0);
  project.Layer(0).FillRect(0, 0, 16, 16, MakeColour(9, 9, 9));
  top().FillRect(0, 0, 16, 16, MakeColour(0, 0, 1));
  top().SetPixel(0, 0, 0);
  Compose();
  EXPECT_EQ(Shown(0, 0), 0);
  EXPECT_EQ(Shown(1, 0), MakeColour(9, 9, 9));
}

TEST_F(CompositorTest, AMaskOfAnotherSizeSkipsEveryModeButSimple) {
  for (int mode = cmSimple; mode <= cmBrightAbove; ++mode) {
    TwoLayers(mode, 0);  // threshold 0: every pixel passes the threshold modes
    top().FillRect(0, 0, 16, 16, MakeColour(0, 0, 255));
    ASSERT_TRUE(top().mask.SetSize(16, 8));
    top().mask.FillRect(0, 0, 16, 8, 0);
    Compose();
    EXPECT_EQ(Shown(5, 5), mode == cmSimple ? MakeColour(0, 0, 255) : 0) << mode;
  }
}

TEST_F(CompositorTest, RecomposeRectWorksInLayerCoordinates) {
  TwoLayers(cmMaskBlend);
  top().offsetX = 4;
  top().offsetY = 2;
  project.SetActiveLayer(1);
  top().mask.FillRect(0, 0, 16, 16, 128);
  top().FillRect(0, 0, 16, 16, 0xFFFFFF);
  RefreshComposite(project);
  const int once = Shown(4, 2);
  EXPECT_EQ(once, MakeColour(126, 126, 126));
  EXPECT_EQ(Shown(3, 2), 0);

  // Without the background refresh a blend mode builds up over what the picture holds (the
  // black layer below is hidden, so nothing resets the pixel first).
  project.Layer(0).visible = false;
  project.backgroundRefresh = false;
  RecomposeRect(project, 0, 0, 1, 1);
  EXPECT_EQ(Shown(4, 2), MakeColour(189, 189, 189));  // (255 × 127 + 126 × 129) >> 8
  EXPECT_EQ(Shown(5, 2), once);
  project.Layer(0).visible = true;
  project.backgroundRefresh = true;
  RecomposeRect(project, 0, 0, 1, 1);
  EXPECT_EQ(Shown(4, 2), once);

  // With composing disabled nothing changes.
  project.composeEnabled = false;
  top().FillRect(0, 0, 16, 16, 0);
  top().mask.FillRect(0, 0, 16, 16, 0);
  RecomposeRect(project, 0, 0, 16, 16);
  EXPECT_EQ(Shown(4, 2), once);
  RefreshComposite(project);
  EXPECT_EQ(Shown(6, 6), once);
}

class CompositorDisplayTest : public CompositorTest {
 protected:
  CompositorDisplayTest() {
    screen.Alloc(64, 64);
    studio.frmM.paintBox = &surface;
  }
  CDibTrue screen;
  DibSurface surface{screen};
};

TEST_F(CompositorDisplayTest, ShowsTheVisibleAreaByPixelReplication) {
  TwoLayers(cmSimple);
  top().FillRect(0, 0, 16, 16, MakeColour(10, 20, 30));
  top().SetPixel(5, 3, MakeColour(1, 2, 3));
  CanvasViewState& view = studio.frmM.view;
  view.zoom = 3;
  view.scrollX = 7;  // canvas column 2
  view.scrollY = 3;  // canvas row 1
  view.clientWidth = 9;
  view.clientHeight = 6;
  PixelRect area = VisibleArea(project, view);
  EXPECT_EQ(area.x, 2);
  EXPECT_EQ(area.y, 1);
  EXPECT_EQ(area.width, 9 / 3 + 3);
  EXPECT_EQ(area.height, 6 / 3 + 3);
  RefreshComposite(project);
  // Canvas (5, 3) is paint-box (15 … 17, 9 … 11); the surface is the paint box.
  EXPECT_EQ(screen.GetPixel(15, 9), MakeColour(1, 2, 3));
  EXPECT_EQ(screen.GetPixel(17, 11), MakeColour(1, 2, 3));
  EXPECT_EQ(screen.GetPixel(18, 11), MakeColour(10, 20, 30));
  EXPECT_EQ(screen.GetPixel(6, 3), MakeColour(10, 20, 30));
  EXPECT_EQ(screen.GetPixel(5, 3), 0);   // left of the visible area: not drawn
  EXPECT_EQ(screen.GetPixel(24, 3), 0);  // right of it
  // The visible area never reaches past the canvas.
  view.scrollX = 14 * 3;
  EXPECT_EQ(VisibleArea(project, view).width, 2);
}

TEST_F(CompositorDisplayTest, MaskDisplayAndSelectionFrame) {
  TwoLayers(cmSimple);
  project.SetActiveLayer(1);
  top().offsetX = 2;
  top().mask.SetPixel(0, 0, 255);
  CanvasViewState& view = studio.frmM.view;
  view.clientWidth = 64;
  view.clientHeight = 64;
  view.displayMode = 2;
  view.selectionVisible = true;
  view.selectionRect = {1, 1, 3, 2};
  surface.brushColour = MakeColour(0, 255, 0);
  RefreshComposite(project);
  EXPECT_EQ(project.compositeDib.GetPixel(2, 0), 0);  // mask 255 shown black at the offset
  EXPECT_EQ(project.compositeDib.GetPixel(3, 0), 0xFFFFFF);
  EXPECT_EQ(project.Layer(1).GetPixel(0, 0), 0xFFFFFF);  // the layer itself is untouched
  // Frame from ((2 + 1), 1) to (2 + 3 + 1, 2 + 1) exclusive.
  EXPECT_EQ(screen.GetPixel(3, 1), MakeColour(0, 255, 0));
  EXPECT_EQ(screen.GetPixel(5, 2), MakeColour(0, 255, 0));
  EXPECT_EQ(screen.GetPixel(4, 1), MakeColour(0, 255, 0));
  EXPECT_EQ(screen.GetPixel(6, 1), 0xFFFFFF);
  EXPECT_EQ(screen.GetPixel(3, 3), 0xFFFFFF);

  view.displayMode = 0;  // nothing is drawn for an unknown mode
  screen.FillRect(0, 0, 64, 64, 0x123456);
  view.selectionVisible = false;
  ShowComposite(project);
  EXPECT_EQ(screen.GetPixel(8, 8), 0x123456);
}

TEST_F(CompositorDisplayTest, ShapeToolsShowTheWholeVisibleArea) {
  TwoLayers(cmSimple);
  CanvasViewState& view = studio.frmM.view;
  view.clientWidth = 16;
  view.clientHeight = 16;
  RefreshComposite(project);
  top().FillRect(0, 0, 16, 16, 0x0000FF);
  ComposeRect(project, 0, 0, 16, 16);
  ShowCompositeRect(project, 0, 0, 2, 2);
  EXPECT_EQ(screen.GetPixel(1, 1), 0x0000FF);
  EXPECT_EQ(screen.GetPixel(9, 9), 0xFFFFFF);
  studio.toolEngine.settings.currentTool = 16;  // the box tool
  ShowCompositeRect(project, 0, 0, 2, 2);
  EXPECT_EQ(screen.GetPixel(9, 9), 0x0000FF);
}

}  // namespace
}  // namespace mirasketch
