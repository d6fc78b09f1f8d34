// Whole sessions with the layer window through `mirasketch-cli replay`: a three-layer project
// built, sized, reordered, hidden, given compose modes and thresholds, the canvas resized and a
// layer moved, each checked in the saved project file with `mirasketch-cli info`.

#include <gtest/gtest.h>

#include "replay_runner.h"

namespace mirasketch {
namespace {

using test::Replay;
using test::RunCli;

TEST(CliReplayLayers, ALayeredProjectBuiltWithTheLayerWindow) {
  test::TempDir dir;
  // The strip is 196 pixels wide: cells 0 and 1 on the first row, cell 2 below cell 0.
  const auto run = Replay(
      "new 64 48\n"
      "show TfrmL\n"
      "set TfrmL.cboDoLayerAction 1            # new layer\n"
      "click TfrmL.btnDoLayerAction\n"
      "click TfrmL.btnDoLayerAction            # three layers, layer 2 active\n"
      "set TfrmL.cboDoLayerAction 7            # size of the active layer\n"
      "answer size 40 40\n"
      "click TfrmL.btnDoLayerAction\n"
      "mouse click TfrmL.pbxA 1 30 30          # layer 0 active\n"
      "answer size 48 32\n"
      "click TfrmL.btnDoLayerAction\n"
      "mouse down TfrmL.pbxA 1 30 30 ctrl      # cell 0 exchanged with cell 2\n"
      "drop TfrmL.pbxA TfrmL.pbxA 30 70\n"
      "mouse down TfrmL.pbxA 1 30 30 shift     # cell 0 moved onto cell 1\n"
      "drop TfrmL.pbxA TfrmL.pbxA 100 30\n"
      "mouse click TfrmL.pbxA 1 5 5            # layer 0 hidden by its diamond\n"
      "set TfrmL.cboGeneLay 2\n"
      "answer text 300\n"
      "click TfrmL.btnThreshold\n"
      "print TfrmL.grpActiveLay\n"
      "print TfrmL.cboGeneLay\n"
      "set TfrmL.cboDoLayerAction 8            # crop: no selection is shown, nothing happens\n"
      "click TfrmL.btnDoLayerAction\n"
      "paint TfrmL.pbxA OUT/strip.bmp\n"
      "save OUT/layers.kvl\n"
      "answer size 44 36\n"
      "click TfrmMain.mnuDibSizeChange         # the canvas shrinks, cutting the layers\n"
      "set TfrmL.cboDoLayerAction 9            # the layer-move tool\n"
      "click TfrmL.btnDoLayerAction\n"
      "mouse down 1 10 10\n"
      "mouse move 1 20 8\n"
      "mouse up 1 25 5\n"
      "save OUT/moved.kvl\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "TfrmL.grpActiveLay = Layer No.1\nTfrmL.cboGeneLay = 2\n");
  EXPECT_NE(run.err.find("マスク閾値: 有効な範囲 0～255 (\"300\")"), std::string::npos) << run.err;

  auto info = RunCli("info " + dir.File("layers.kvl"), dir);
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out,
            "canvas 64 48 layers 3\n"
            "layer 0 64 48 visible 0 mode 0 threshold 128 offset 0 0\n"
            "layer 1 40 40 visible 1 mode 2 threshold 255 offset 0 0\n"
            "layer 2 48 32 visible 1 mode 0 threshold 128 offset 0 0\n");
  info = RunCli("info " + dir.File("moved.kvl"), dir);
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out,
            "canvas 44 36 layers 3\n"
            "layer 0 44 36 visible 0 mode 0 threshold 128 offset 0 0\n"
            "layer 1 40 36 visible 1 mode 2 threshold 255 offset 15 -5\n"
            "layer 2 44 32 visible 1 mode 0 threshold 128 offset 0 0\n");

  // The strip as painted: layer 1 active (cyan strip, green frame), layer 0's diamond black.
  CDibTrue strip;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("strip.bmp"), strip, width, height));
  EXPECT_EQ(strip.GetPixel(72 + 3, 30), 0xFFFF00);
  EXPECT_EQ(strip.GetPixel(72 + 40, 0), 0x00FF00);
  EXPECT_EQ(strip.GetPixel(3, 30), 0x808080);
  EXPECT_EQ(strip.GetPixel(5, 5), 0x000000);
  EXPECT_EQ(strip.GetPixel(72 + 5, 5), 0xFF0000);
}

TEST(CliReplayLayers, RefusedSizesAndDropsLeaveTheProject) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "set TfrmL.cboDoLayerAction 7\n"
      "answer size 68 48                       # wider than the canvas\n"
      "click TfrmL.btnDoLayerAction\n"
      "mouse down TfrmL.pbxA 1 30 30           # no drag without Ctrl or Shift\n"
      "drop TfrmL.pbxA TfrmL.pbxA 100 30\n",
      dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("カンバスより大きくすることはできません。"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("replay: line 6: TfrmL.pbxA does not accept a drop from TfrmL.pbxA"),
            std::string::npos)
      << run.err;
}

}  // namespace
}  // namespace mirasketch
