#include "project/layer_project.h"

#include <gtest/gtest.h>

#include <set>

#include "project/compose_mode.h"
#include "support/studio_fixture.h"

namespace mirasketch {
namespace {

using LayerProjectTest = test::StudioTest;

std::array<const CDibTM*, LAYER_SLOTS> Slots(const LayerProject& project) {
  std::array<const CDibTM*, LAYER_SLOTS> slots{};
  for (int i = 0; i < LAYER_SLOTS; ++i) slots[i] = &project.Layer(i);
  return slots;
}

TEST_F(LayerProjectTest, StartsWithOneWhiteLayer) {
  EXPECT_EQ(project.layerCount, 1);
  EXPECT_EQ(project.activeLayer, 0);
  EXPECT_TRUE(project.composeEnabled);
  EXPECT_FALSE(project.backgroundRefresh);
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_EQ(project.CanvasHeight(), 256);
  EXPECT_EQ(studio.toolEngine.workPlane.Width(), 256);
  EXPECT_EQ(project.Layer(0).Width(), 256);
  EXPECT_EQ(project.Layer(0).GetPixel(255, 255), 0xFFFFFF);
  EXPECT_EQ(&studio.frmM.DrawTarget(), &project.Layer(0));
  // Every slot holds its own object.
  std::set<const CDibTM*> distinct;
  for (const CDibTM* slot : Slots(project)) distinct.insert(slot);
  EXPECT_EQ(distinct.size(), 32u);
  EXPECT_TRUE(messages.empty());
}

TEST_F(LayerProjectTest, InsertAndDeleteRotateThroughSlot31) {
  ASSERT_TRUE(project.InsertLayer(1, true, 256, 256));
  ASSERT_TRUE(project.InsertLayer(2, true, 256, 256));
  ASSERT_EQ(project.layerCount, 3);
  const auto before = Slots(project);

  ASSERT_TRUE(project.InsertLayer(1, true, 16, 8));
  EXPECT_EQ(project.layerCount, 4);
  const auto inserted = Slots(project);
  EXPECT_EQ(inserted[0], before[0]);
  EXPECT_EQ(inserted[1], before[31]);  // the spare arrives at the opened slot
  EXPECT_EQ(inserted[2], before[1]);
  EXPECT_EQ(inserted[3], before[2]);
  EXPECT_EQ(inserted[31], before[30]);
  EXPECT_EQ(project.Layer(1).Width(), 16);
  EXPECT_EQ(project.Layer(1).GetPixel(3, 3), 0xFFFFFF);
  EXPECT_EQ(project.activeLayer, 0);

  ASSERT_TRUE(project.DeleteLayer(1, false));
  EXPECT_EQ(project.layerCount, 3);
  EXPECT_EQ(Slots(project), before);  // same order, the object back in slot 31
  EXPECT_EQ(project.Layer(31).Width(), 16);
  ASSERT_TRUE(project.InsertLayer(1, false, 0, 0));
  EXPECT_EQ(project.Layer(1).Width(), 16);  // without allocation the object comes as it was
  ASSERT_TRUE(project.DeleteLayer(1, true));
  EXPECT_EQ(project.Layer(31).Width(), 4);  // released
}

TEST_F(LayerProjectTest, LayerCountLimits) {
  EXPECT_FALSE(project.DeleteLayer(0, true));  // the last layer stays
  EXPECT_FALSE(project.InsertLayer(2, true, 8, 8));
  EXPECT_FALSE(project.InsertLayer(-1, true, 8, 8));
  while (project.layerCount < 29) ASSERT_TRUE(project.InsertLayer(project.layerCount, true, 8, 8));
  EXPECT_TRUE(project.InsertLayer(0, true, 8, 8));
  EXPECT_EQ(project.layerCount, 30);
  EXPECT_FALSE(project.InsertLayer(0, true, 8, 8));
  EXPECT_FALSE(project.DeleteLayer(30, true));
  EXPECT_FALSE(project.DeleteLayer(-1, true));
  EXPECT_TRUE(project.DeleteLayer(29, true));
  EXPECT_EQ(project.layerCount, 29);
  EXPECT_TRUE(messages.empty());
}

TEST_F(LayerProjectTest, NewProjectRefusalsAndBadSizes) {
  project.Layer(0).SetPixel(0, 0, 0);
  project.NewProject(0, 64, 64);
  project.NewProject(33, 64, 64);
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_EQ(project.Layer(0).GetPixel(0, 0), 0);

  project.projectFileName = "/tmp/x.kvl";
  project.Layer(0).offsetX = 9;
  project.NewProject(1, 100, 50);
  EXPECT_EQ(project.CanvasWidth(), 100);
  EXPECT_EQ(project.Layer(0).GetPixel(0, 0), 0xFFFFFF);
  EXPECT_EQ(project.Layer(0).offsetX, 0);
  EXPECT_EQ(studio.toolEngine.workPlane.Height(), 50);
  EXPECT_TRUE(project.projectFileName.empty());

  // A size the buffers refuse is refused before anything changes.
  project.Layer(0).SetPixel(1, 1, 0x123456);
  EXPECT_FALSE(project.NewProject(1, 50, 2));
  EXPECT_EQ(project.CanvasWidth(), 100);
  EXPECT_EQ(project.Layer(0).GetPixel(1, 1), 0x123456);
  EXPECT_EQ(messages, std::vector<std::string>{"ClsDibTrue- Bits Alloc Error"});
}

TEST_F(LayerProjectTest, SizesBeyondTheAvailableMemoryAreRefusedWithoutAChange) {
  project.Layer(0).SetPixel(1, 1, 0x123456);
  studio.frmM.caption = "/home/a/pic.kvl";
  const auto before = Slots(project);
  // A 254-wide layer is stored 256 wide: 256 × 256 × (3 + 1) bytes for picture and mask.
  platform.availableMemory = 256 * 256 * 4 - 1;
  EXPECT_FALSE(project.InsertLayer(1, true, 254, 256));
  views.sizeEntries = {{"600", "600"}};
  studio.frmMain.mnuNewBmpClick();
  EXPECT_FALSE(studio.toolEngine.EnsureWorkLayer(300, 300, platform));
  EXPECT_EQ(messages, std::vector<std::string>(3, "ClsDibTrue- Bits Alloc Error"));
  EXPECT_EQ(Slots(project), before);
  EXPECT_EQ(project.layerCount, 1);
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_EQ(project.Layer(0).GetPixel(1, 1), 0x123456);
  EXPECT_EQ(studio.frmM.caption, "/home/a/pic.kvl");
  EXPECT_EQ(studio.toolEngine.workLayer.Width(), 0);

  platform.availableMemory += 1;
  EXPECT_TRUE(project.InsertLayer(1, true, 254, 256));
  // Buffers are resized in place: a new canvas of the same size needs no new memory at all.
  platform.availableMemory = 0;
  EXPECT_TRUE(project.NewProject(1, 256, 256));
  EXPECT_EQ(project.Layer(0).GetPixel(1, 1), 0xFFFFFF);
}

TEST_F(LayerProjectTest, ResetLayerPropsKeepsTheThresholdAndSpareSlot31) {
  for (int index : {5, 31}) {
    CDibTM& layer = project.Layer(index);
    layer.visible = false;
    layer.composeMode = cmBrightAbove;
    layer.offsetX = 3;
    layer.offsetY = -4;
    layer.threshold = 77;
    project.ResetLayerProps(index);
  }
  const CDibTM& reset = project.Layer(5);
  EXPECT_TRUE(reset.visible);
  EXPECT_EQ(reset.composeMode, cmSimple);
  EXPECT_EQ(reset.offsetX, 0);
  EXPECT_EQ(reset.offsetY, 0);
  EXPECT_EQ(reset.threshold, 77);
  EXPECT_FALSE(project.Layer(31).visible);
  EXPECT_EQ(project.Layer(31).offsetX, 3);
}

TEST_F(LayerProjectTest, BadIndicesShowTheDebugMessages) {
  const auto before = Slots(project);
  project.SwapLayers(0, 32);
  project.SwapLayers(-1, 0);
  project.SetActiveLayer(1);
  project.SetActiveLayer(-1);
  EXPECT_EQ(Slots(project), before);
  EXPECT_EQ(project.activeLayer, 0);
  EXPECT_EQ(messages,
            (std::vector<std::string>{"Dbg- Swap Index Limit Out", "Dbg- Swap Index Limit Out",
                                      "Dbg -ChangeActiveLayer Index Limit Out",
                                      "Dbg -ChangeActiveLayer Index Limit Out"}));
  project.SwapLayers(0, 31);
  EXPECT_EQ(&project.Layer(0), before[31]);
}

TEST_F(LayerProjectTest, ChangingTheActiveLayerRestartsUndo) {
  ASSERT_TRUE(project.InsertLayer(1, true, 64, 32));
  project.Layer(1).SetPixel(2, 2, 0x123456);
  studio.frmM.undoCount = 2;
  studio.frmM.undoIndex = 1;
  project.ChangeActiveLayer(1);
  EXPECT_EQ(project.activeLayer, 1);
  EXPECT_EQ(&studio.frmM.DrawTarget(), &project.Layer(1));
  EXPECT_EQ(studio.frmM.undoCount, 0);
  EXPECT_EQ(studio.frmM.undoIndex, 0);
  EXPECT_EQ(studio.frmM.SlotPixel(0, 2, 2), 0x123456);
  EXPECT_TRUE(project.backgroundRefresh);  // the resumed tool repaints over the checkerboard
}

TEST_F(LayerProjectTest, AfterNewProjectAndAfterProjectFile) {
  ASSERT_TRUE(project.InsertLayer(1, true, 64, 64));
  project.Layer(20).SetSize(32, 32, platform);
  project.Layer(31).SetSize(32, 32, platform);
  project.SetActiveLayer(1);
  studio.frmM.modified = true;
  studio.frmM.caption = "x";
  project.AfterNewProject();
  EXPECT_EQ(project.activeLayer, 0);
  EXPECT_EQ(project.Layer(20).Width(), 4);
  EXPECT_EQ(project.Layer(31).Width(), 32);  // slot 31 keeps its size
  EXPECT_EQ(project.Layer(1).Width(), 64);
  EXPECT_FALSE(studio.frmM.modified);
  EXPECT_EQ(studio.frmM.caption, "(New Layer Project)");
  EXPECT_EQ(studio.frmL.controls.State("grpActiveLay").caption, "Layer No.0");

  project.SetActiveLayer(1);
  project.projectFileName = "/home/a/pic.kvl";
  project.AfterProjectFile();
  EXPECT_EQ(project.activeLayer, 1);
  EXPECT_EQ(studio.frmM.caption, "/home/a/pic.kvl");
  EXPECT_EQ(studio.frmL.controls.State("grpActiveLay").caption, "Layer No.1");
  project.projectFileName.clear();
  project.AfterProjectFile();
  EXPECT_EQ(studio.frmM.caption, "(New Layer Project)");
}

TEST_F(LayerProjectTest, SplitByMaskCopiesOneSideOfTheThreshold) {
  const int masks[] = {0, 127, 128, 129, 255};
  for (bool maskedPart : {true, false}) {
    project.NewProject(1, 8, 4);
    project.AfterNewProject();
    CDibTM& source = project.Layer(0);
    source.offsetX = -20;
    source.offsetY = 7;
    for (int x = 0; x < 5; ++x) {
      source.SetPixel(x, 1, MakeColour(x, 1, 2));
      source.mask.SetPixel(x, 1, masks[x]);
    }
    ASSERT_TRUE(project.InsertLayer(1, true, 8, 4));
    project.SplitByMask(0, maskedPart);
    const CDibTM& part = project.Layer(1);
    for (int x = 0; x < 5; ++x) {
      const bool copied = maskedPart ? masks[x] > 128 : masks[x] < 127;
      EXPECT_EQ(part.GetPixel(x, 1), copied ? MakeColour(x, 1, 2) : 0xFFFFFF)
          << "mask " << masks[x] << (maskedPart ? " masked" : " unmasked");
      EXPECT_EQ(part.mask.GetPixel(x, 1), masks[x]);
    }
    EXPECT_EQ(part.offsetX, -20);
    EXPECT_EQ(part.offsetY, 7);
  }
}

}  // namespace
}  // namespace mirasketch
