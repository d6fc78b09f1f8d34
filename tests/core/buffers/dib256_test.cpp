#include "buffers/dib256.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "support/bmp_bytes.h"

namespace mirasketch {
namespace {

TEST(CDib256, SizingLayoutAndPixelAccess) {
  CDib256 plane;
  EXPECT_EQ(plane.GetPixel(0, 0), -1);
  EXPECT_EQ(plane.Bits(), nullptr);
  plane.SetPaletteEntry(7, 1, 2, 3);
  ASSERT_TRUE(plane.Alloc(5, 6));
  EXPECT_EQ(plane.Width(), 8);
  EXPECT_EQ(plane.header.bitCount, 8);
  EXPECT_EQ(plane.header.sizeImage, 48u);
  EXPECT_EQ(plane.palette[7].red, 1);  // sizing leaves the palette alone
  EXPECT_EQ(plane.palette[7].green, 2);
  EXPECT_EQ(plane.palette[7].blue, 3);

  plane.SetPixel(0, 0, 200);
  EXPECT_EQ(plane.PixelOffset(0, 0), 40);
  EXPECT_EQ(plane.Bits()[40], 200);
  plane.SetPixel(7, 5, 0x1FF);  // only the low byte is kept
  EXPECT_EQ(plane.Bits()[7], 0xFF);
  EXPECT_EQ(plane.GetPixel(7, 5), 255);
  plane.SetPixel(8, 0, 1);
  EXPECT_EQ(plane.GetPixel(8, 0), -1);

  plane.FillRect(-1, 4, 3, 9, 9);
  int nines = 0;
  for (int i = 0; i < 48; ++i) nines += plane.Bits()[i] == 9;
  EXPECT_EQ(nines, 4);
  EXPECT_EQ(plane.GetPixel(1, 5), 9);

  plane.FillRect(0, 0, 8, 6, 0);
  plane.Line(0, 1, 4, 1, 3);
  EXPECT_EQ(plane.GetPixel(3, 1), 3);
  EXPECT_EQ(plane.GetPixel(4, 1), 0);

  EXPECT_FALSE(plane.SetSize(30004, 4));
  EXPECT_EQ(plane.GetPixel(0, 0), -1);
}

TEST(CDib256, StretchDrawHandsThePaletteToTheSurface) {
  CDib256 plane;
  ASSERT_TRUE(plane.Alloc(4, 4));
  plane.SetPaletteEntry(1, 10, 20, 30);
  plane.SetPixel(0, 0, 1);
  class : public Surface {
   public:
    void StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) override {
      seen = dib;
      d = dst;
      s = src;
    }
    void FrameRect(const PixelRect&) override {}
    void Line(int, int, int, int) override {}
    DibView seen;
    PixelRect d, s;
  } probe;
  plane.StretchDraw(probe, 0, 0, 8, 8, 0, 1, 4, 3);
  EXPECT_EQ(probe.seen.bitCount, 8);
  EXPECT_EQ(probe.seen.palette, plane.palette);
  EXPECT_EQ(probe.s.y, 0);  // rows 1 … 3 from the top are rows 0 … 2 from the bottom
  EXPECT_EQ(probe.s.height, 3);
}

class LoadFromStreamTest : public ::testing::Test {
 protected:
  bool Load(const std::vector<std::uint8_t>& bytes) {
    file = std::make_unique<InFile>(bytes.data(), bytes.size(), "block");
    return plane.LoadFromStream(*file);
  }
  CDib256 plane;
  std::unique_ptr<InFile> file;
};

TEST_F(LoadFromStreamTest, RawAndRunLengthBlocks) {
  std::vector<std::uint8_t> raw(16);
  for (int i = 0; i < 16; ++i) raw[i] = static_cast<std::uint8_t>(i);
  ASSERT_TRUE(Load(test::MakeBlock8(4, 4, 0, raw)));
  EXPECT_EQ(plane.Width(), 4);
  EXPECT_EQ(plane.GetPixel(0, 3), 0);  // data rows are bottom-up as in memory
  EXPECT_EQ(plane.GetPixel(3, 0), 15);
  EXPECT_EQ(file->Position(), 48u);

  // Runs of 2 … 257: 5 × 4 = 20 pixels from "5 5 2, 6, 7 7 9, 8 8 2, 9 9 0".
  ASSERT_TRUE(Load(test::MakeBlock8(4, 5, 1, {5, 5, 2, 6, 7, 7, 9, 8, 8, 2, 9, 9, 0})));
  const std::uint8_t* b = plane.Bits();
  const std::vector<std::uint8_t> want = {5, 5, 5, 5, 6, 7, 7, 7, 7, 7,
                                          7, 7, 7, 7, 7, 7, 8, 8, 8, 8};
  EXPECT_EQ(std::vector<std::uint8_t>(b, b + 20), want);
}

TEST_F(LoadFromStreamTest, RefusesBadHeadersWithoutReadingFurther) {
  std::vector<std::uint8_t> data(16, 1);
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 0, data, 0x5D06)));
  EXPECT_EQ(file->Position(), 32u);
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 0, data, 0x5D05, 100)));
  EXPECT_EQ(file->Position(), 32u);
  EXPECT_FALSE(Load(test::MakeBlock8(4, 3, 0, data)));   // a size the plane refuses
  EXPECT_FALSE(Load(std::vector<std::uint8_t>(20, 0)));  // shorter than a header
}

TEST_F(LoadFromStreamTest, NeverWritesPastThePlane) {
  // Raw data longer than the plane, run-length data expanding past it, a run cut before its
  // count, and a length beyond the end of the file are all refused.
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 0, std::vector<std::uint8_t>(17, 1))));
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 1, {1, 1, 255})));
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 1, {1, 2, 3, 3})));
  std::vector<std::uint8_t> cut = test::MakeBlock8(4, 4, 0, std::vector<std::uint8_t>(16, 1));
  cut.resize(40);
  EXPECT_FALSE(Load(cut));
  EXPECT_FALSE(Load(test::MakeBlock8(4, 4, 1, {})));  // nothing consumed
  // A run that exactly fills the plane is fine.
  ASSERT_TRUE(Load(test::MakeBlock8(4, 4, 1, {4, 4, 14})));
  EXPECT_EQ(plane.GetPixel(3, 0), 4);
}

}  // namespace
}  // namespace mirasketch
