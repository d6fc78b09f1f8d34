#pragma once

#include <gtest/gtest.h>

#include "buffers/dib_true.h"

namespace mirasketch::test {

// The target of a picture decoder and the size it reports, with a way to show what a refused
// decode leaves alone.
class DecodeTargetTest : public ::testing::Test {
 protected:
  // A target that already holds a picture, to show what a decode writes and what it leaves.
  void Prefill() {
    ASSERT_TRUE(target.Alloc(8, 8));
    target.FillRect(0, 0, 8, 8, 0x123456);
  }
  void ExpectUntouched() {
    EXPECT_EQ(target.Width(), 8);
    EXPECT_EQ(target.Height(), 8);
    EXPECT_EQ(target.GetPixel(3, 3), 0x123456);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(height, -1);
  }

  CDibTrue target;
  int width = -1;
  int height = -1;
};

}  // namespace mirasketch::test
