#include "project/bmp_import.h"

#include <gtest/gtest.h>

#include "support/decode_target.h"

#include <cstdint>
#include <string>
#include <vector>

#include "buffers/dib_format.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/system_memory.h"
#include "support/bmp_bytes.h"

namespace mirasketch {
namespace {

using Bytes = std::vector<std::uint8_t>;
// Pixel values by row from the top: palette indices, raw 16- or 32-bit pixels, or 0xRRGGBB.
using Grid = std::vector<std::vector<std::uint32_t>>;
using test::BmpSpec;
using test::MakeBmp;

constexpr int kWhite = 0xFFFFFF;

// The colour of entry i of MakeBmp's colour table.
int TableColour(int i) {
  return MakeColour(i / 2, 255 - i, i);
}

int Rgb(std::uint32_t rgb) {
  return MakeColour(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8 & 0xFF),
                    static_cast<int>(rgb & 0xFF));
}

// Stores the grid as BMP rows of `bits` per pixel, each padded to 4 bytes.
Bytes StoreRows(const Grid& grid, int bits, bool topDown) {
  const std::size_t h = grid.size();
  const std::size_t w = grid[0].size();
  const std::size_t rowBytes = (w * bits + 31) / 32 * 4;
  Bytes out(rowBytes * h, 0);
  for (std::size_t i = 0; i < h; ++i) {
    const std::vector<std::uint32_t>& row = grid[topDown ? i : h - 1 - i];
    std::uint8_t* r = &out[i * rowBytes];
    for (std::size_t x = 0; x < w; ++x) {
      const std::uint32_t v = row[x];
      switch (bits) {
        case 1:
          r[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
          break;
        case 4:
          r[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4));
          break;
        case 8:
          r[x] = static_cast<std::uint8_t>(v);
          break;
        case 16:
          WriteLe16(r + 2 * x, v);
          break;
        case 24:
          r[3 * x] = static_cast<std::uint8_t>(v);
          r[3 * x + 1] = static_cast<std::uint8_t>(v >> 8);
          r[3 * x + 2] = static_cast<std::uint8_t>(v >> 16);
          break;
        default:
          WriteLe32(r + 4 * x, v);
      }
    }
  }
  return out;
}

BmpSpec SpecFor(const Grid& grid, int bits, bool topDown = false) {
  BmpSpec spec;
  spec.width = static_cast<int>(grid[0].size());
  spec.height = static_cast<int>(grid.size()) * (topDown ? -1 : 1);
  spec.bitCount = bits;
  spec.paletteEntries = bits <= 8 ? 1 << bits : 0;
  spec.rows = StoreRows(grid, bits, topDown);
  return spec;
}

// A w × h grid of palette indices that differ from their neighbours.
Grid IndexGrid(int w, int h, int bits) {
  Grid g(h, std::vector<std::uint32_t>(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      g[y][x] = static_cast<std::uint32_t>(x * 3 + y * 5 + 1) % (1u << bits);
  return g;
}

class BmpImportTest : public test::DecodeTargetTest {
 protected:
  ImportResult Decode(const Bytes& bytes) {
    InFile file(bytes.data(), bytes.size(), "pic.bmp");
    return DecodeBmp(file, target, width, height, memory);
  }
  std::int64_t memory = kUnreportedMemory;
  // Decodes and checks the size and every pixel against the expected colours by row from the top,
  // and that the columns beyond the picture are white.
  void ExpectPicture(const Bytes& bytes, const std::vector<std::vector<int>>& colours) {
    ASSERT_EQ(Decode(bytes), ImportResult::kOk);
    const int h = static_cast<int>(colours.size());
    const int w = static_cast<int>(colours[0].size());
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    ASSERT_EQ(target.Width(), static_cast<int>(RoundDibWidth(w)));
    ASSERT_EQ(target.Height(), std::max(h, kMinDibSide));
    for (int y = 0; y < target.Height(); ++y)
      for (int x = 0; x < target.Width(); ++x) {
        const int expected = x < w && y < h ? colours[y][x] : kWhite;
        EXPECT_EQ(target.GetPixel(x, y), expected) << "at " << x << ", " << y;
      }
  }
};

TEST_F(BmpImportTest, PalettedDepthsLookUpTheirTableInBothRowOrders) {
  for (int bits : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      SCOPED_TRACE(testing::Message() << bits << " bits, top-down " << topDown);
      const Grid g = IndexGrid(13, 5, bits);
      std::vector<std::vector<int>> colours(5, std::vector<int>(13));
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) colours[y][x] = TableColour(static_cast<int>(g[y][x]));
      ExpectPicture(MakeBmp(SpecFor(g, bits, topDown)), colours);
    }
  }
}

TEST_F(BmpImportTest, CoreHeaderHasSixteenBitSizesAndThreeByteEntries) {
  for (int bits : {1, 4, 8}) {
    SCOPED_TRACE(bits);
    const Grid g = IndexGrid(6, 4, bits);
    BmpSpec spec = SpecFor(g, bits);
    spec.headerBytes = 12;
    std::vector<std::vector<int>> colours(4, std::vector<int>(6));
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) colours[y][x] = TableColour(static_cast<int>(g[y][x]));
    ExpectPicture(MakeBmp(spec), colours);
  }
}

TEST_F(BmpImportTest, TableSizeFollowsClrUsedClampedToDepthAndPixelOffset) {
  // Three entries given: indices 3 and beyond are black, and the pixels start after 12 bytes.
  BmpSpec few = SpecFor({{0, 1, 2, 3, 200}}, 8);
  few.paletteEntries = 3;
  few.clrUsed = 3;
  ExpectPicture(MakeBmp(few), {{TableColour(0), TableColour(1), TableColour(2), 0, 0}});
  // More entries claimed than the depth has, with room for them before the pixels: 256 are read.
  BmpSpec many = SpecFor({{255, 1}}, 8);
  many.clrUsed = 300;
  many.gapBytes = 400;
  ExpectPicture(MakeBmp(many), {{TableColour(255), TableColour(1)}});
  // A full table implied but only 16 entries before the pixel offset: the rest are black.
  BmpSpec cut = SpecFor({{15, 16, 255}}, 8);
  cut.paletteEntries = 16;
  ExpectPicture(MakeBmp(cut), {{TableColour(15), 0, 0}});
}

TEST_F(BmpImportTest, SixteenBitPixelsDefaultToFiveFiveFiveOrFollowTheirMasks) {
  // 5-5-5: the top bit is unused; 5 bits stretch to 8 with rounding (16 → 132, 1 → 8).
  const Grid g555 = {{0x7FFF, 0x0000, 0x8000, (31u << 10) | (16u << 5) | 1u}};
  ExpectPicture(MakeBmp(SpecFor(g555, 16)), {{kWhite, 0, 0, MakeColour(255, 132, 8)}});
  // 5-6-5 masks, placed after a 40-byte header or inside each longer one.
  const Grid g565 = {{0xFFFF, (31u << 11), (32u << 5) | 10u, 0x001F}};
  const std::vector<std::vector<int>> c565 = {
      {kWhite, MakeColour(255, 0, 0), MakeColour(0, 130, 82), MakeColour(0, 0, 255)}};
  for (int header : {40, 52, 56, 108, 124}) {
    SCOPED_TRACE(header);
    BmpSpec spec = SpecFor(g565, 16);
    spec.headerBytes = header;
    spec.compression = 3;
    spec.masks = {0xF800, 0x07E0, 0x001F};
    ExpectPicture(MakeBmp(spec), c565);
  }
  // 4-4-4 in the low bits, the top nibble holding alpha.
  BmpSpec s444 = SpecFor({{0xF0F8, 0x1F00}}, 16);
  s444.compression = 3;
  s444.masks = {0x0F00, 0x00F0, 0x000F};
  ExpectPicture(MakeBmp(s444), {{MakeColour(0, 255, 136), MakeColour(255, 0, 0)}});
}

TEST_F(BmpImportTest, ThirtyTwoBitPixelsIgnoreAlphaAndFollowTheirMasks) {
  // Plain 32-bit pixels are blue, green, red and an unused byte.
  ExpectPicture(MakeBmp(SpecFor({{0xFF102030, 0x00FFFFFF, 0x80000000}}, 32)),
                {{Rgb(0x102030), kWhite, 0}});
  // Masks in red-green-blue-alpha order, with alpha in the low byte.
  BmpSpec rgba = SpecFor({{0x112233FF, 0xFF000000}}, 32);
  rgba.headerBytes = 124;
  rgba.compression = 3;
  rgba.masks = {0xFF000000, 0x00FF0000, 0x0000FF00};
  ExpectPicture(MakeBmp(rgba), {{Rgb(0x112233), Rgb(0xFF0000)}});
  // 10-bit channels keep their top 8 bits.
  BmpSpec deep = SpecFor({{(1023u << 20) | (512u << 10) | 3u}}, 32);
  deep.compression = 3;
  deep.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  ExpectPicture(MakeBmp(deep), {{MakeColour(255, 128, 0)}});
  // A long header holds masks even for plain pixels; only BI_BITFIELDS uses them.
  BmpSpec plain = SpecFor({{0x00102030}}, 32);
  plain.headerBytes = 108;
  plain.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  ExpectPicture(MakeBmp(plain), {{Rgb(0x102030)}});
}

TEST_F(BmpImportTest, TwentyFourBitRowsInEveryHeaderSizeAndOrder) {
  const Grid g = {{0x010203, 0xFFFFFF, 0x000000, 0x808080, 0x0000FF},
                  {0x00FF00, 0xFF0000, 0x123456, 0x654321, 0xABCDEF},
                  {0x111111, 0x222222, 0x333333, 0x444444, 0x555555}};
  std::vector<std::vector<int>> colours(3, std::vector<int>(5));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) colours[y][x] = Rgb(g[y][x]);
  for (int header : {12, 40, 52, 56, 108, 124}) {
    for (bool topDown : {false, true}) {
      if (header == 12 && topDown) continue;  // core sizes are unsigned
      SCOPED_TRACE(testing::Message() << header << " top-down " << topDown);
      BmpSpec spec = SpecFor(g, 24, topDown);
      spec.headerBytes = header;
      ExpectPicture(MakeBmp(spec), colours);
    }
  }
}

TEST_F(BmpImportTest, EverythingOutsideThePictureBecomesWhite) {
  // A target that held another picture: the padding columns and the rows a picture under four
  // rows high leaves are all rewritten.
  Prefill();
  const Grid black(5, std::vector<std::uint32_t>(5, 0));
  ExpectPicture(MakeBmp(SpecFor(black, 24)), std::vector<std::vector<int>>(5, std::vector<int>(5)));
  Prefill();
  ExpectPicture(MakeBmp(SpecFor({{0, 0}, {0, 0}}, 24)), {{0, 0}, {0, 0}});
  EXPECT_EQ(target.Width(), 4);
  EXPECT_EQ(target.Height(), 4);
}

TEST_F(BmpImportTest, PixelOffsetFromTheFileHeaderIsUsedAndChecked) {
  BmpSpec spec = SpecFor({{0x0A0B0C, 0x0D0E0F}}, 24);
  spec.gapBytes = 10;
  Bytes bytes = MakeBmp(spec);
  ExpectPicture(bytes, {{Rgb(0x0A0B0C), Rgb(0x0D0E0F)}});
  // An offset beyond the file, or inside the headers, is refused.
  WriteLe32(&bytes[10], static_cast<std::uint32_t>(bytes.size() + 1));
  EXPECT_EQ(Decode(bytes), ImportResult::kNotPicture);
  WriteLe32(&bytes[10], 40);
  EXPECT_EQ(Decode(bytes), ImportResult::kNotPicture);
}

// A run-length file of 8- or 4-bit codes; the rows hold the codes.
Bytes RunFile(int w, int h, int bits, const Bytes& codes) {
  BmpSpec spec;
  spec.width = w;
  spec.height = h;
  spec.bitCount = bits;
  spec.compression = bits == 8 ? 1 : 2;
  spec.rows = codes;
  return MakeBmp(spec);
}

constexpr int W = kWhite;
int T(int i) {
  return TableColour(i);
}

// Rows from the bottom: runs, a literal run with its pad byte, end of row, a delta, end of picture.
const Bytes kRle8Codes = {3, 10, 0,  3,  20, 21, 22, 0, 0, 0,  // row 0
                          2, 30, 0,  2,  2,  1,                // row 1, then 2 right and 1 up
                          2, 40, 0,  0,                        // row 2 from x = 4
                          0, 5,  50, 51, 52, 53, 54, 0,        // row 3, 5 literals and a pad
                          0, 1};

TEST_F(BmpImportTest, RunLengthEightFollowsEveryCodeAndLeavesSkippedPixelsWhite) {
  ExpectPicture(RunFile(6, 4, 8, kRle8Codes), {{T(50), T(51), T(52), T(53), T(54), W},
                                               {W, W, W, W, T(40), T(40)},
                                               {T(30), T(30), W, W, W, W},
                                               {T(10), T(10), T(10), T(20), T(21), T(22)}});
}

TEST_F(BmpImportTest, RunLengthFourAlternatesNibblesAndPadsLiteralRuns) {
  const Bytes codes = {5, 0x12, 0,    3,    0x34, 0x50, 0, 0,            // row 0
                       0, 5,    0x67, 0x89, 0xA0, 0,    2, 0xBC, 0, 1};  // row 1: 5 nibbles, 2 pad
  ExpectPicture(RunFile(8, 2, 4, codes), {{T(6), T(7), T(8), T(9), T(10), T(11), T(12), W},
                                          {T(1), T(2), T(1), T(2), T(1), T(3), T(4), T(5)}});
}

TEST_F(BmpImportTest, RunsPastARowAreCutAndMovesPastThePictureEndIt) {
  const Bytes codes = {10, 5, 0,   6,  60, 61, 62, 63, 64, 65, 0, 0,  // row 0: both runs too long
                       0,  6, 70,  71, 72, 73, 74, 75, 2,  9,  0, 0,  // row 1
                       0,  2, 200, 0,  1,  8,                         // row 2: far right, then 1 px
                       0,  2, 0,   5,  7,  7};                        // up past the top: done
  ExpectPicture(
      RunFile(4, 4, 8, codes),
      {{W, W, W, W}, {W, W, W, W}, {T(70), T(71), T(72), T(73)}, {T(5), T(5), T(5), T(5)}});
  // Rows used up by end-of-row codes end the picture without its final code.
  ExpectPicture(RunFile(4, 2, 4, {4, 0x11, 0, 0, 4, 0x22, 0, 0}),
                {{T(2), T(2), T(2), T(2)}, {T(1), T(1), T(1), T(1)}});
}

TEST_F(BmpImportTest, RunLengthCodesMustFitTheirDepthAndRowOrder) {
  EXPECT_EQ(Decode(RunFile(4, 4, 4, {0, 1}) /* RLE4 codes */), ImportResult::kOk);
  Bytes wrongDepth = RunFile(4, 4, 8, {0, 1});
  WriteLe32(&wrongDepth[30], 2);  // 4-bit codes in an 8-bit file
  EXPECT_EQ(Decode(wrongDepth), ImportResult::kNotPicture);
  BmpSpec topDown;
  topDown.height = -4;
  topDown.compression = 1;
  topDown.rows = {0, 1};
  EXPECT_EQ(Decode(MakeBmp(topDown)), ImportResult::kNotPicture);
}

TEST_F(BmpImportTest, EveryCutShortFileIsRefused) {
  BmpSpec v5 = SpecFor(IndexGrid(7, 5, 8), 16, true);
  v5.headerBytes = 124;
  v5.compression = 3;
  v5.masks = {0xF800, 0x07E0, 0x001F};
  BmpSpec core = SpecFor(IndexGrid(5, 5, 4), 4);
  core.headerBytes = 12;
  BmpSpec masked40 = SpecFor(IndexGrid(3, 4, 8), 32);
  masked40.compression = 3;
  masked40.masks = {0xFF0000, 0xFF00, 0xFF};
  const std::vector<Bytes> files = {
      MakeBmp(SpecFor(IndexGrid(9, 6, 1), 1)),
      MakeBmp(SpecFor(IndexGrid(9, 6, 8), 8)),
      MakeBmp(SpecFor(IndexGrid(5, 3, 8), 24, true)),
      MakeBmp(v5),
      MakeBmp(core),
      MakeBmp(masked40),
      RunFile(6, 4, 8, kRle8Codes),
      RunFile(8, 3, 4, {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 2, 1, 1, 0, 5, 1, 2, 3, 0, 0, 1})};
  for (std::size_t f = 0; f < files.size(); ++f) {
    ASSERT_EQ(Decode(files[f]), ImportResult::kOk) << f;
    for (std::size_t size = 0; size < files[f].size(); ++size) {
      const Bytes cut(files[f].begin(), files[f].begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_EQ(Decode(cut), ImportResult::kNotPicture) << "file " << f << " cut at " << size;
    }
  }
}

TEST_F(BmpImportTest, UnsupportedHeadersAreRefusedBeforeTheTargetIsSized) {
  Prefill();
  auto refuse = [&](BmpSpec spec, const char* what) {
    EXPECT_EQ(Decode(MakeBmp(spec)), ImportResult::kNotPicture) << what;
    ExpectUntouched();
  };
  BmpSpec spec;
  spec.bitCount = 24;
  Bytes badMagic = MakeBmp(spec);
  badMagic[1] = 'A';
  EXPECT_EQ(Decode(badMagic), ImportResult::kNotPicture);
  for (int header : {0, 16, 64, 200}) {
    BmpSpec s = spec;
    s.headerBytes = header == 0 ? 40 : header;
    Bytes bytes = MakeBmp(s);
    WriteLe32(&bytes[14], static_cast<std::uint32_t>(header));
    EXPECT_EQ(Decode(bytes), ImportResult::kNotPicture) << header;
  }
  ExpectUntouched();
  BmpSpec s = spec;
  s.bitCount = 2;
  refuse(s, "2 bits");
  s = spec;
  s.compression = 4;  // embedded JPEG
  refuse(s, "JPEG");
  s.compression = 3;
  s.masks = {0xFF0000, 0xFF00, 0xFF};
  refuse(s, "24-bit masks");
  s = spec;
  s.planes = 2;
  refuse(s, "planes");
  s = spec;
  s.width = 0;
  refuse(s, "width 0");
  s.width = -4;
  refuse(s, "negative width");
  s = spec;
  s.height = 0;
  refuse(s, "height 0");
  // All the rows must be in the file before anything is allocated, even for the largest size.
  s = spec;
  s.width = 30000;
  s.height = 30000;
  s.rows.assign(64, 0);
  refuse(s, "short");
}

TEST_F(BmpImportTest, SidesBeyondTheBufferLimitAreTooLargeFromTheHeaderAlone) {
  Prefill();
  auto tooLarge = [&](int w, int h, int header, std::uint32_t compression) {
    BmpSpec spec;
    spec.width = w;
    spec.height = h;
    spec.bitCount = compression == 0 ? 24 : 8;
    spec.compression = compression;
    spec.headerBytes = header;
    spec.rows.assign(16, 0);
    EXPECT_EQ(Decode(MakeBmp(spec)), ImportResult::kTooLarge) << w << " × " << h;
    ExpectUntouched();
  };
  tooLarge(30001, 4, 40, 0);
  tooLarge(4, 30001, 40, 0);
  tooLarge(4, -30001, 124, 0);
  tooLarge(30001, 1, 12, 0);
  tooLarge(4, 30001, 40, 1);
  // The largest width itself is fine.
  EXPECT_EQ(Decode(RunFile(30000, 1, 8, {0, 1})), ImportResult::kOk);
  EXPECT_EQ(width, 30000);
  EXPECT_EQ(target.GetPixel(29999, 0), kWhite);
}

}  // namespace
}  // namespace mirasketch
