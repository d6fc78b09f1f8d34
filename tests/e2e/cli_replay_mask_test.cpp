// Sessions with the paint bucket and the mask tools through `mirasketch-cli replay`: a fill on an
// opened picture, and a mask built with the mask pen, box, region fill and invert, checked in the
// saved files.

#include <gtest/gtest.h>

#include "platform/views.h"
#include "project/kvl_file.h"
#include "replay_runner.h"
#include "shell/studio.h"
#include "support/fake_platform.h"
#include "support/recording_messages.h"

namespace mirasketch {
namespace {

using test::Replay;

constexpr int kRed = 0x0000FF;

TEST(CliReplayMask, ABucketFillOnAnOpenedPicture) {
  test::TempDir dir;
  // A white picture with a black square outline.
  CDibTrue picture;
  ASSERT_TRUE(picture.Alloc(40, 30));
  picture.FillRect(0, 0, 40, 30, 0xFFFFFF);
  picture.FillRect(10, 5, 16, 1, 0);
  picture.FillRect(10, 20, 16, 1, 0);
  picture.FillRect(10, 5, 1, 16, 0);
  picture.FillRect(25, 5, 1, 16, 0);
  test::RecordingMessages messages;
  ASSERT_TRUE(picture.SaveToBmp(dir.File("outline.bmp"), messages));
  const auto run = Replay(
      "open OUT/outline.bmp\n"
      "set sbColRed 255\n"
      "click spbPenki\n"
      "mouse click 1 15 10          # inside the outline\n"
      "save OUT/filled.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  CDibTrue filled;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("filled.bmp"), filled, width, height));
  EXPECT_EQ(filled.GetPixel(11, 6), kRed);
  EXPECT_EQ(filled.GetPixel(24, 19), kRed);
  EXPECT_EQ(filled.GetPixel(10, 10), 0);
  EXPECT_EQ(filled.GetPixel(5, 10), 0xFFFFFF);
}

TEST(CliReplayMask, AMaskBuiltWithPenBoxFillAndInvert) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "click spbMask                       # the mask window comes with the tool\n"
      "click TfrmMaskSet.spbPen\n"
      "mouse down 1 10 10\n"
      "mouse move 1 20 10\n"
      "mouse up 1 20 10\n"
      "click TfrmMaskSet.spbBox\n"
      "set TfrmMaskSet.sbDwPow 100\n"
      "mouse down 1 30 5\n"
      "mouse move 1 50 30\n"
      "mouse move 1 40 15\n"
      "mouse up 1 40 15\n"
      "click TfrmMaskSet.spbMaskPaint\n"
      "set TfrmMaskSet.sbDwPow 50\n"
      "mouse click 1 60 40                 # the untouched area around the figures\n"
      "click TfrmMaskSet.btnMaskInvert\n"
      "print TfrmMaskSet.lblDwPow\n"
      "save OUT/mask.kvl\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "TfrmMaskSet.lblDwPow = 描画強度 50\n");

  test::FakePlatform platform;
  NoViews views;
  Studio studio(platform, views);
  studio.project.InitLayers();
  ASSERT_TRUE(ReadProjectFile(studio.project, dir.File("mask.kvl")));
  const CDib256& mask = studio.project.Layer(0).mask;
  EXPECT_EQ(mask.GetPixel(10, 10), 0);  // the pen's 255, inverted
  EXPECT_EQ(mask.GetPixel(19, 10), 0);
  EXPECT_EQ(mask.GetPixel(30, 5), 155);  // the box's 100, inverted
  EXPECT_EQ(mask.GetPixel(40, 15), 155);
  EXPECT_EQ(mask.GetPixel(41, 15), 205);  // the fill's 50, inverted
  EXPECT_EQ(mask.GetPixel(0, 47), 205);
}

}  // namespace
}  // namespace mirasketch
