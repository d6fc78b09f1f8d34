#include "buffers/copy_block.h"

#include <gtest/gtest.h>

#include "buffers/dib256.h"
#include "buffers/dib_true.h"

namespace mirasketch {
namespace {

int Tag(int x, int y) {
  return MakeColour(x, y, 100);
}

void Tagged(CDibTrue& dib, int w, int h) {
  ASSERT_TRUE(dib.Alloc(w, h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) dib.SetPixel(x, y, Tag(x, y));
}

TEST(ClipBlock, CutsTheDestinationAndRefusesSourceOverruns) {
  int dx = -3, dy = -4, sx = 0, sy = 0, w = 10, h = 10;
  ASSERT_TRUE(ClipBlock(dx, dy, sx, sy, w, h, 20, 20, 10, 10));
  EXPECT_EQ(std::vector<int>({dx, dy, sx, sy, w, h}), std::vector<int>({0, 0, 3, 4, 7, 6}));

  dx = 15, dy = 2, sx = 0, sy = 0, w = 10, h = 10;
  ASSERT_TRUE(ClipBlock(dx, dy, sx, sy, w, h, 20, 20, 10, 10));
  EXPECT_EQ(w, 5);

  struct Refused {
    int dx, dy, sx, sy, w, h;
  };
  for (const Refused& r :
       {Refused{20, 0, 0, 0, 4, 4}, Refused{0, 20, 0, 0, 4, 4}, Refused{0, 0, 7, 0, 4, 4},
        Refused{0, 0, 0, 7, 4, 4}, Refused{0, 0, -1, 0, 4, 4}, Refused{0, 0, 0, 0, 0, 4},
        Refused{-4, 0, 0, 0, 4, 4}, Refused{0, 0, 0x7FFFFFFF, 0, 4, 4},
        Refused{-0x7FFFFFFF, 0, 0, 0, 0x7FFFFFFF, 4}}) {
    int a = r.dx, b = r.dy, c = r.sx, d = r.sy, e = r.w, f = r.h;
    EXPECT_FALSE(ClipBlock(a, b, c, d, e, f, 20, 20, 10, 10))
        << r.dx << "," << r.dy << " from " << r.sx << "," << r.sy << " " << r.w << "x" << r.h;
  }
}

TEST(CopyBlock, CopiesTheClippedSubBlock) {
  CDibTrue src, dst;
  Tagged(src, 12, 10);
  ASSERT_TRUE(dst.Alloc(16, 16));
  ASSERT_TRUE(CopyBlock(dst, -3, -4, src, 0, 0, 10, 10));
  int copied = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (x < 7 && y < 6) {
        ASSERT_EQ(dst.GetPixel(x, y), Tag(x + 3, y + 4));
        ++copied;
      } else {
        ASSERT_EQ(dst.GetPixel(x, y), 0) << x << "," << y;
      }
    }
  EXPECT_EQ(copied, 42);

  // Past the destination's right edge: cut. Past the source's right edge: nothing at all.
  ASSERT_TRUE(CopyBlock(dst, 12, 10, src, 0, 0, 8, 2));
  EXPECT_EQ(dst.GetPixel(15, 11), Tag(3, 1));
  EXPECT_FALSE(CopyBlock(dst, 0, 12, src, 6, 0, 8, 2));
  EXPECT_EQ(dst.GetPixel(0, 12), 0);
  EXPECT_FALSE(CopyBlock(dst, 16, 0, src, 0, 0, 4, 4));
  CDibTrue empty;
  EXPECT_FALSE(CopyBlock(empty, 0, 0, src, 0, 0, 4, 4));
  EXPECT_FALSE(CopyBlock(dst, 0, 0, empty, 0, 0, 4, 4));
}

TEST(CopyBlock, WholeRowsOfEquallyWideBuffers) {
  CDibTrue src, dst;
  Tagged(src, 8, 8);
  ASSERT_TRUE(dst.Alloc(8, 8));
  ASSERT_TRUE(CopyBlock(dst, 0, 2, src, 0, 1, 8, 4));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(dst.GetPixel(x, y), y >= 2 && y < 6 ? Tag(x, y - 1) : 0) << x << "," << y;
  // Cut at the bottom edge: rows 6 and 7 only.
  ASSERT_TRUE(CopyBlock(dst, 0, 6, src, 0, 0, 8, 8));
  EXPECT_EQ(dst.GetPixel(3, 7), Tag(3, 1));
  EXPECT_EQ(dst.GetPixel(3, 5), Tag(3, 4));
}

TEST(CopyBlock, OverlappingCopiesInOneBufferFollowTheRowOrder) {
  CDibTrue dib;
  Tagged(dib, 8, 4);
  // One pixel to the right within the same rows: a left-to-right walk smears the first column.
  ASSERT_TRUE(CopyBlock(dib, 1, 0, dib, 0, 0, 5, 1));
  for (int x = 0; x <= 5; ++x) EXPECT_EQ(dib.GetPixel(x, 0), Tag(0, 0)) << x;
  EXPECT_EQ(dib.GetPixel(6, 0), Tag(6, 0));
  // One row down: each row is copied before the next one is read, so row 0 runs downwards.
  Tagged(dib, 8, 4);
  ASSERT_TRUE(CopyBlock(dib, 0, 1, dib, 0, 0, 8, 3));
  for (int y = 0; y < 4; ++y) EXPECT_EQ(dib.GetPixel(2, y), Tag(2, 0)) << y;
  // Leftwards and upwards simply move the block.
  Tagged(dib, 8, 4);
  ASSERT_TRUE(CopyBlock(dib, 0, 0, dib, 2, 1, 6, 3));
  EXPECT_EQ(dib.GetPixel(0, 0), Tag(2, 1));
  EXPECT_EQ(dib.GetPixel(5, 2), Tag(7, 3));
}

TEST(CopyBlock256, CopiesBytesWithTheSameRule) {
  CDib256 src, dst;
  ASSERT_TRUE(src.Alloc(8, 8));
  ASSERT_TRUE(dst.Alloc(8, 8));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) src.SetPixel(x, y, y * 8 + x);
  ASSERT_TRUE(CopyBlock256(dst, 5, -2, src, 1, 1, 6, 4));
  EXPECT_EQ(dst.GetPixel(5, 0), 3 * 8 + 1);
  EXPECT_EQ(dst.GetPixel(7, 1), 4 * 8 + 3);
  EXPECT_EQ(dst.GetPixel(4, 0), 0);
  EXPECT_EQ(dst.GetPixel(5, 2), 0);
  EXPECT_FALSE(CopyBlock256(dst, 0, 0, src, 4, 4, 5, 1));
}

TEST(CopyBlock256ToTrue, MapsBytesThroughTheSourcePalette) {
  CDib256 src;
  ASSERT_TRUE(src.Alloc(4, 4));
  src.SetPaletteEntry(3, 10, 20, 30);
  src.SetPaletteEntry(9, 1, 2, 3);
  src.FillRect(0, 0, 4, 4, 3);
  src.SetPixel(1, 2, 9);
  CDibTrue dst;
  ASSERT_TRUE(dst.Alloc(8, 8));
  ASSERT_TRUE(CopyBlock256ToTrue(dst, 2, 2, src, 0, 0, 4, 4));
  EXPECT_EQ(dst.GetPixel(2, 2), MakeColour(10, 20, 30));
  EXPECT_EQ(dst.GetPixel(3, 4), MakeColour(1, 2, 3));
  EXPECT_EQ(dst.GetPixel(6, 2), 0);
  EXPECT_EQ(dst.GetPixel(2, 6), 0);
  EXPECT_FALSE(CopyBlock256ToTrue(dst, 0, 0, src, 1, 0, 4, 4));
}

}  // namespace
}  // namespace mirasketch
