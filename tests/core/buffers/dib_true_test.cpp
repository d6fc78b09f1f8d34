#include "buffers/dib_true.h"

#include <gtest/gtest.h>

#include "buffers/dib_surface.h"
#include "platform/io_error.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using test::RecordingMessages;

TEST(CDibTrue, AllocRoundsTheWidthAndEnforcesTheLimits) {
  struct Case {
    int w, h;
    bool ok;
    int gotW, gotH;
  };
  const Case cases[] = {
      {5, 5, true, 8, 5},           {3, 10, true, 4, 10}, {30001, 10, false, 0, 0},
      {29999, 10, true, 30000, 10}, {4, 3, false, 0, 0},  {4, 30000, true, 4, 30000},
      {4, 30001, false, 0, 0},      {0, 8, false, 0, 0},  {-8, 8, false, 0, 0},
  };
  for (const Case& c : cases) {
    CDibTrue dib;
    EXPECT_EQ(dib.Alloc(c.w, c.h), c.ok) << c.w << "x" << c.h;
    EXPECT_EQ(dib.Width(), c.gotW) << c.w << "x" << c.h;
    EXPECT_EQ(dib.Height(), c.gotH) << c.w << "x" << c.h;
  }
}

TEST(CDibTrue, AllocWritesTheWholeHeader) {
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(6, 5));
  const BitmapInfoHeader& h = dib.header;
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.width, 8);
  EXPECT_EQ(h.height, 5);
  EXPECT_EQ(h.planes, 1);
  EXPECT_EQ(h.bitCount, 24);
  EXPECT_EQ(h.compression, 0u);
  EXPECT_EQ(h.sizeImage, 3u * 8 * 5);
  // A first allocation is black.
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(dib.GetPixel(x, y), 0);
}

TEST(CDibTrue, RefusedSizeReadsEmptyButKeepsTheStorage) {
  CDibTrue dib;
  RecordingMessages messages;
  ASSERT_TRUE(dib.Alloc(8, 8));
  dib.SetPixel(1, 1, 0x123456);
  std::uint8_t* storage = dib.Bits();
  EXPECT_FALSE(dib.SetSize(4, 3, messages));
  EXPECT_EQ(messages.shown, std::vector<std::string>{"ClsDibTrue- Bits Alloc Error"});
  std::uint8_t* bits = nullptr;
  int w = -1, h = -1;
  dib.GetBits(bits, w, h);
  EXPECT_EQ(bits, storage);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(dib.GetPixel(0, 0), -1);
  EXPECT_EQ(dib.PixelOffset(0, 0), -1);
  std::uint8_t r = 7, g = 7, b = 7;
  EXPECT_FALSE(dib.GetRGB(0, 0, r, g, b));
  EXPECT_EQ(r + g + b, 21);
  // The next good size reuses the same bytes where they lie.
  ASSERT_TRUE(dib.SetSize(8, 8, messages));
  EXPECT_EQ(dib.GetPixel(1, 1), 0x123456);
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST(CDibTrue, PixelsAreStoredBottomUpInBlueGreenRedOrder) {
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(4, 4));
  dib.SetPixel(0, 0, 0x0000FF);
  EXPECT_EQ(dib.PixelOffset(0, 0), 36);
  const std::uint8_t* p = dib.Bits();
  EXPECT_EQ(p[36], 0x00);
  EXPECT_EQ(p[37], 0x00);
  EXPECT_EQ(p[38], 0xFF);
  EXPECT_EQ(dib.GetPixel(0, 0), 0x0000FF);

  dib.SetRGB(3, 3, 1, 2, 3);  // the last pixel of the top row in memory order is (3, 3)'s row 0
  EXPECT_EQ(dib.PixelOffset(3, 3), 9);
  EXPECT_EQ(p[9], 3);
  EXPECT_EQ(p[10], 2);
  EXPECT_EQ(p[11], 1);
  std::uint8_t r = 0, g = 0, b = 0;
  ASSERT_TRUE(dib.GetRGB(3, 3, r, g, b));
  EXPECT_EQ(r, 1);
  EXPECT_EQ(g, 2);
  EXPECT_EQ(b, 3);
  EXPECT_EQ(dib.GetPixel(3, 3), MakeColour(1, 2, 3));

  // Outside: writes ignored, reads -1.
  dib.SetPixel(4, 0, 0xFFFFFF);
  dib.SetPixel(-1, 0, 0xFFFFFF);
  dib.SetPixel(0, 4, 0xFFFFFF);
  EXPECT_EQ(dib.GetPixel(4, 0), -1);
  EXPECT_EQ(dib.GetPixel(0, -1), -1);
  int set = 0;
  for (int i = 0; i < 48; ++i) set += p[i] != 0;
  EXPECT_EQ(set, 4);
}

TEST(CDibTrue, FillRectIsClippedToTheBuffer) {
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(8, 6));
  auto count = [&](int colour) {
    int n = 0;
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) n += dib.GetPixel(x, y) == colour;
    return n;
  };
  dib.FillRect(-2, -2, 4, 4, 0x010203);
  EXPECT_EQ(count(0x010203), 4);
  EXPECT_EQ(dib.GetPixel(1, 1), 0x010203);
  EXPECT_EQ(dib.GetPixel(2, 0), 0);

  dib.FillRect(7, 0, 10, 1, 0x0A0B0C);
  EXPECT_EQ(count(0x0A0B0C), 1);
  EXPECT_EQ(dib.GetPixel(7, 0), 0x0A0B0C);

  dib.FillRect(2, 3, 3, 2, 0x111111);
  EXPECT_EQ(count(0x111111), 6);
  EXPECT_EQ(dib.GetPixel(4, 4), 0x111111);
  EXPECT_EQ(dib.GetPixel(5, 4), 0);

  // Nothing at all for rectangles that miss the buffer, however large their numbers.
  dib.FillRect(8, 0, 5, 5, 0xFFFFFF);
  dib.FillRect(0, 6, 5, 5, 0xFFFFFF);
  dib.FillRect(-10, 0, 10, 5, 0xFFFFFF);
  dib.FillRect(3, 3, 0, 5, 0xFFFFFF);
  dib.FillRect(1, 1, 0x7FFFFFFF, 0x7FFFFFFF, 0x222222);
  EXPECT_EQ(count(0xFFFFFF), 0);
  EXPECT_EQ(count(0x222222), 7 * 5);
}

TEST(CDibTrue, LineDrawsTheStartButNotTheEnd) {
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(8, 8));
  auto lit = [&] {
    std::vector<std::pair<int, int>> points;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if (dib.GetPixel(x, y) != 0) points.emplace_back(x, y);
    dib.FillRect(0, 0, 8, 8, 0);
    return points;
  };
  using P = std::vector<std::pair<int, int>>;
  dib.Line(0, 0, 3, 0, 0xFF);
  EXPECT_EQ(lit(), (P{{0, 0}, {1, 0}, {2, 0}}));
  dib.Line(0, 0, 2, 2, 0xFF);
  EXPECT_EQ(lit(), (P{{0, 0}, {1, 1}}));
  dib.Line(5, 5, 5, 5, 0xFF);
  EXPECT_EQ(lit(), P{});
  // y-major, drawn upwards: the error term steps x once it reaches 1.
  dib.Line(1, 6, 3, 2, 0xFF);
  EXPECT_EQ(lit(), (P{{2, 3}, {2, 4}, {1, 5}, {1, 6}}));
  // x-major leftwards, 3 across and 1 down: e = 1/3, 2/3, 1 → y steps after the third pixel.
  dib.Line(4, 1, 1, 2, 0xFF);
  EXPECT_EQ(lit(), (P{{2, 1}, {3, 1}, {4, 1}}));
  // Parts outside the buffer are skipped.
  dib.Line(-3, 0, 3, 0, 0xFF);
  EXPECT_EQ(lit(), (P{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(CDibTrue, SaveToBmpWritesTheExactFile) {
  test::TempDir dir;
  RecordingMessages messages;
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(4, 4));
  dib.SetPixel(0, 0, 0x0000FF);
  dib.SetPixel(3, 3, 0xFF0000);
  const std::string path = dir.File("four.bmp");
  ASSERT_TRUE(dib.SaveToBmp(path, messages));
  const std::vector<std::uint8_t> file = test::ReadAll(path);
  ASSERT_EQ(file.size(), 102u);
  const std::uint8_t head[54] = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0,  54, 0, 0, 0, 40, 0,  0, 0, 4,
                                 0,   0,   0,   4, 0, 0, 0, 1, 0, 24, 0,  0, 0, 0, 0,  48, 0, 0, 0};
  EXPECT_TRUE(std::equal(head, head + 54, file.begin()));
  EXPECT_TRUE(std::equal(dib.Bits(), dib.Bits() + 48, file.begin() + 54));
  EXPECT_EQ(file[54 + 36 + 2], 0xFF);  // (0, 0) red lies in the last stored row
  EXPECT_EQ(file[54 + 9], 0xFF);       // (3, 3) blue lies in the first
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"four.bmp"});  // no temporary left behind
}

TEST(CDibTrue, SaveToBmpRefusesEmptyBuffersAndReportsFileErrors) {
  test::TempDir dir;
  RecordingMessages messages;
  CDibTrue empty;
  EXPECT_FALSE(empty.SaveToBmp(dir.File("a.bmp"), messages));
  CDibTrue refused;
  ASSERT_TRUE(refused.Alloc(8, 8));
  EXPECT_FALSE(refused.Alloc(2, 2));
  EXPECT_FALSE(refused.SaveToBmp(dir.File("b.bmp"), messages));
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"CDibTrue- Dib is empty.", "CDibTrue- Dib is empty."}));
  EXPECT_TRUE(dir.Entries().empty());

  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(4, 4));
  EXPECT_THROW(dib.SaveToBmp(dir.File("missing/folder.bmp"), messages), IoError);
}

TEST(CDibTrue, DrawAndStretchDrawMeasureTheSourceFromTheTop) {
  CDibTrue src;
  ASSERT_TRUE(src.Alloc(4, 4));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) src.SetPixel(x, y, MakeColour(x, y, 9));
  CDibTrue target;
  ASSERT_TRUE(target.Alloc(8, 8));
  DibSurface surface(target);

  src.Draw(surface);
  EXPECT_EQ(target.GetPixel(3, 2), MakeColour(3, 2, 9));
  EXPECT_EQ(target.GetPixel(4, 0), 0);

  target.FillRect(0, 0, 8, 8, 0);
  // Source (1, 2) 2 × 2 doubled to (2, 2) 4 × 4: replication, rows counted from the top.
  src.StretchDraw(surface, 2, 2, 4, 4, 1, 2, 2, 2);
  EXPECT_EQ(target.GetPixel(2, 2), MakeColour(1, 2, 9));
  EXPECT_EQ(target.GetPixel(3, 3), MakeColour(1, 2, 9));
  EXPECT_EQ(target.GetPixel(4, 3), MakeColour(2, 2, 9));
  EXPECT_EQ(target.GetPixel(5, 5), MakeColour(2, 3, 9));
  EXPECT_EQ(target.GetPixel(1, 2), 0);
  EXPECT_EQ(target.GetPixel(6, 6), 0);

  // A destination hanging off the surface is cut, an empty source draws nothing.
  target.FillRect(0, 0, 8, 8, 0);
  src.StretchDraw(surface, -4, 6, 8, 8, 0, 0, 4, 4);
  EXPECT_EQ(target.GetPixel(0, 6), MakeColour(2, 0, 9));
  EXPECT_EQ(target.GetPixel(3, 7), MakeColour(3, 0, 9));
  CDibTrue empty;
  target.FillRect(0, 0, 8, 8, 0);
  empty.Draw(surface);
  empty.StretchDraw(surface, 0, 0, 8, 8, 0, 0, 4, 4);
  EXPECT_EQ(target.GetPixel(0, 0), 0);
}

TEST(DibSurface, EveryScaleAndClipFollowsTheNearestPixelRule) {
  // The surface copies rows and repeats magnified ones; every pixel must still be the one the
  // plain rule picks: sx = src.x + (x − dst.x) · src.width div dst.width, and likewise for rows
  // counted from the top, with parts outside the bitmap or the surface left alone.
  CDibTrue src;
  ASSERT_TRUE(src.Alloc(12, 9));
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) src.SetPixel(x, y, MakeColour(x, y, 200));
  CDibTrue target;
  ASSERT_TRUE(target.Alloc(40, 30));
  DibSurface surface(target);
  const PixelRect dsts[] = {{0, 0, 12, 9},   {3, 2, 36, 27}, {-5, -4, 24, 18},
                            {30, 25, 12, 9}, {1, 1, 7, 5},   {0, 0, 40, 30}};
  const PixelRect srcs[] = {{0, 0, 12, 9}, {2, 1, 4, 3}, {-3, -2, 10, 8}, {5, 4, 12, 9}};
  for (const PixelRect& d : dsts) {
    for (const PixelRect& r : srcs) {
      target.FillRect(0, 0, 40, 30, 0x010203);
      surface.StretchBits(src.View(), d, r);
      for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
          int expected = 0x010203;
          if (x >= d.x && x < d.x + d.width && y >= d.y && y < d.y + d.height) {
            const int sx = r.x + (x - d.x) * r.width / d.width;
            const int sy = 9 - r.y - r.height + (y - d.y) * r.height / d.height;
            if (sx >= 0 && sx < 12 && sy >= 0 && sy < 9) expected = MakeColour(sx, sy, 200);
          }
          ASSERT_EQ(target.GetPixel(x, y), expected)
              << "dst " << d.x << "," << d.y << " " << d.width << "x" << d.height << " src " << r.x
              << "," << r.y << " " << r.width << "x" << r.height << " at " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace mirasketch
