#include "buffers/dib_tm.h"

#include <gtest/gtest.h>

#include "buffers/copy_block.h"
#include "support/recording_messages.h"

namespace mirasketch {
namespace {

TEST(CDibTM, SetSizeGivesAWhitePictureAndAClearMask) {
  test::RecordingMessages messages;
  CDibTM layer;
  EXPECT_TRUE(layer.visible);
  EXPECT_EQ(layer.threshold, 128);
  EXPECT_EQ(layer.composeMode, 0);
  ASSERT_TRUE(layer.SetSize(5, 7, messages));
  EXPECT_EQ(layer.Width(), 8);
  EXPECT_EQ(layer.Height(), 7);
  EXPECT_EQ(layer.mask.Width(), 8);
  EXPECT_EQ(layer.mask.Height(), 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 8; ++x) {
      ASSERT_EQ(layer.GetPixel(x, y), 0xFFFFFF);
      ASSERT_EQ(layer.mask.GetPixel(x, y), 0);
    }
  // Resizing a painted layer leaves it white and clear again.
  layer.SetPixel(1, 1, 0);
  layer.mask.SetPixel(1, 1, 200);
  ASSERT_TRUE(layer.SetSize(12, 4, messages));
  EXPECT_EQ(layer.GetPixel(1, 1), 0xFFFFFF);
  EXPECT_EQ(layer.mask.GetPixel(1, 1), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CDibTM, RefusedSizeKeepsTheMaskSize) {
  test::RecordingMessages messages;
  CDibTM layer;
  ASSERT_TRUE(layer.SetSize(16, 16, messages));
  EXPECT_FALSE(layer.SetSize(16, 40000, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"ClsDibTrue- Bits Alloc Error"});
  EXPECT_EQ(layer.Width(), 0);
  EXPECT_EQ(layer.mask.Width(), 16);
}

TEST(CDibTM, AssignCopiesPixelsAndMaskButNotProperties) {
  test::RecordingMessages messages;
  CDibTM source;
  ASSERT_TRUE(source.SetSize(16, 16, messages));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      source.SetPixel(x, y, MakeColour(x * 16, y * 16, 7));
      source.mask.SetPixel(x, y, x + y);
    }
  source.offsetX = 5;
  source.composeMode = 3;
  source.threshold = 9;
  CDibTM target;
  ASSERT_TRUE(target.SetSize(4, 4, messages));
  target.offsetX = -20;
  target.composeMode = 1;
  target.threshold = 200;
  target.Assign(source, messages);
  ASSERT_EQ(target.Width(), 16);
  ASSERT_EQ(target.Height(), 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      ASSERT_EQ(target.GetPixel(x, y), source.GetPixel(x, y));
      ASSERT_EQ(target.mask.GetPixel(x, y), x + y);
    }
  EXPECT_EQ(target.offsetX, -20);
  EXPECT_EQ(target.composeMode, 1);
  EXPECT_EQ(target.threshold, 200);
}

TEST(CDibTM, TheMaskPaletteShowsZeroAsWhiteAndFullAsBlack) {
  test::RecordingMessages messages;
  CDibTM layer;
  ASSERT_TRUE(layer.SetSize(8, 8, messages));
  CDibTrue shown;
  ASSERT_TRUE(shown.Alloc(8, 8));
  ASSERT_TRUE(CopyBlock256ToTrue(shown, 0, 0, layer.mask, 0, 0, 8, 8));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(shown.GetPixel(x, y), 0xFFFFFF);
  layer.mask.SetPixel(2, 3, 255);
  layer.mask.SetPixel(3, 3, 100);
  ASSERT_TRUE(CopyBlock256ToTrue(shown, 0, 0, layer.mask, 0, 0, 8, 8));
  EXPECT_EQ(shown.GetPixel(2, 3), 0);
  EXPECT_EQ(shown.GetPixel(3, 3), MakeColour(155, 155, 155));
}

}  // namespace
}  // namespace mirasketch
