#include "project/png_codec.h"

#include <gtest/gtest.h>

#include "support/decode_target.h"

#include <cstdint>
#include <string>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/system_memory.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A picture to store: its PNG layout and its samples, top row first, as libpng takes them
// (16-bit samples big-endian).
struct PngSpec {
  int width = 5;
  int height = 3;
  int colorType = PNG_COLOR_TYPE_RGB;
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  Bytes transparency;  // tRNS for a palette: one alpha per entry
  Bytes samples;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t count) {
  Bytes& out = *static_cast<Bytes*>(png_get_io_ptr(png));
  out.insert(out.end(), data, data + count);
}

// The file libpng itself writes for `spec`.
Bytes LibpngWrite(const PngSpec& spec) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, AppendBytes, nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(spec.width),
               static_cast<png_uint_32>(spec.height), spec.bitDepth, spec.colorType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!spec.palette.empty())
    png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
  if (!spec.transparency.empty())
    png_set_tRNS(png, info, spec.transparency.data(), static_cast<int>(spec.transparency.size()),
                 nullptr);
  png_write_info(png, info);
  const std::size_t rowBytes = spec.samples.size() / static_cast<std::size_t>(spec.height);
  std::vector<png_bytep> rows;
  for (int y = 0; y < spec.height; ++y)
    rows.push_back(const_cast<png_bytep>(spec.samples.data()) + y * rowBytes);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Pixel (x, y) of the 5 × 3 test picture: red, green, blue and alpha all differ by place.
int Red(int x, int y) {
  return 40 * x + 7 * y;
}
int Green(int x, int y) {
  return 200 - 30 * y - x;
}
int Blue(int x, int y) {
  return 11 * (x + y) + 3;
}
int Alpha(int x, int y) {
  return (x * 3 + y) * 255 / 14;
}
int OverWhite(int c, int a) {
  return (c * a + 255 * (255 - a) + 127) / 255;
}

class PngCodecTest : public test::DecodeTargetTest {
 protected:
  ImportResult Decode(const Bytes& bytes, std::int64_t memory = kUnreportedMemory) {
    return DecodeInto(target, bytes, memory);
  }
  ImportResult DecodeInto(CDibTrue& into, const Bytes& bytes, std::int64_t memory) {
    InFile file(bytes.data(), bytes.size(), "pic.png");
    return DecodePng(file, into, width, height, memory);
  }
};

// Every colour type and depth comes out as the same blue-green-red picture, transparency laid
// over white, the columns added by the width rounding white.
TEST_F(PngCodecTest, EveryColourTypeDecodesOverWhite) {
  struct Case {
    const char* name;
    int colorType;
    int bitDepth;
    bool interlaced;
  };
  const Case cases[] = {
      {"grey", PNG_COLOR_TYPE_GRAY, 8, false},
      {"grey 16", PNG_COLOR_TYPE_GRAY, 16, false},
      {"grey alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
      {"grey alpha 16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, true},
      {"palette", PNG_COLOR_TYPE_PALETTE, 8, false},
      {"palette interlaced", PNG_COLOR_TYPE_PALETTE, 8, true},
      {"rgb", PNG_COLOR_TYPE_RGB, 8, false},
      {"rgb 16 interlaced", PNG_COLOR_TYPE_RGB, 16, true},
      {"rgba", PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
      {"rgba 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
      {"rgba interlaced", PNG_COLOR_TYPE_RGB_ALPHA, 8, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PngSpec spec;
    spec.colorType = c.colorType;
    spec.bitDepth = c.bitDepth;
    spec.interlaced = c.interlaced;
    const bool grey = (c.colorType & PNG_COLOR_MASK_COLOR) == 0;
    const bool alpha =
        (c.colorType & PNG_COLOR_MASK_ALPHA) != 0 || c.colorType == PNG_COLOR_TYPE_PALETTE;
    std::vector<int> expected;
    for (int y = 0; y < spec.height; ++y)
      for (int x = 0; x < spec.width; ++x) {
        const int r = Red(x, y), g = grey ? r : Green(x, y), b = grey ? r : Blue(x, y);
        const int a = alpha ? Alpha(x, y) : 255;
        std::vector<int> channels = grey ? std::vector<int>{r} : std::vector<int>{r, g, b};
        if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
          // One palette entry per pixel, its transparency in tRNS.
          spec.palette.push_back(
              {static_cast<png_byte>(r), static_cast<png_byte>(g), static_cast<png_byte>(b)});
          spec.transparency.push_back(static_cast<std::uint8_t>(a));
          channels = {static_cast<int>(spec.palette.size() - 1)};
        } else if (alpha) {
          channels.push_back(a);
        }
        for (int v : channels) {
          // A 16-bit sample v·257 holds exactly the 8-bit v.
          if (c.bitDepth == 16) spec.samples.push_back(static_cast<std::uint8_t>(v));
          spec.samples.push_back(static_cast<std::uint8_t>(v));
        }
        expected.push_back(MakeColour(OverWhite(r, a), OverWhite(g, a), OverWhite(b, a)));
      }
    width = height = -1;
    ASSERT_EQ(Decode(LibpngWrite(spec)), ImportResult::kOk);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 3);
    ASSERT_EQ(target.Width(), 8);
    ASSERT_EQ(target.Height(), 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_EQ(target.GetPixel(x, y), x < 5 && y < 3 ? expected[y * 5 + x] : 0xFFFFFF)
            << x << "," << y;
  }
}

TEST_F(PngCodecTest, BadFilesAreRefusedBeforeTheTargetGrows) {
  PngSpec spec;
  spec.samples.assign(5 * 3 * 3, 90);
  const Bytes good = LibpngWrite(spec);
  // Cut inside the signature, the header, and the picture data.
  for (std::size_t size : {std::size_t{0}, std::size_t{5}, std::size_t{20}, good.size() - 30}) {
    EXPECT_EQ(Decode(Bytes(good.begin(), good.begin() + static_cast<long>(size))),
              ImportResult::kNotPicture)
        << size;
  }
  // A changed byte in the picture data fails its checksum.
  Bytes damaged = good;
  damaged[good.size() - 20] ^= 0x55;
  EXPECT_EQ(Decode(damaged), ImportResult::kNotPicture);
  EXPECT_EQ(Decode(Bytes{'n', 'o', 't', ' ', 'p', 'n', 'g', 0, 0, 0}), ImportResult::kNotPicture);
  // A text chunk after the header claiming 2 GB that the file does not hold: refused without
  // the library taking that much memory for it.
  Bytes claim(good.begin(), good.begin() + 33);
  for (int b : {0x7A, 0x00, 0x00, 0x00, 0x74, 0x45, 0x58, 0x74, 0x61, 0x62, 0x63})  // "tEXtabc"
    claim.push_back(static_cast<std::uint8_t>(b));
  EXPECT_EQ(Decode(claim), ImportResult::kNotPicture);

  // Refused as too large from the header, the target untouched: a side beyond 30000, then more
  // than the memory.
  Prefill();
  Bytes huge = good;
  huge[16] = 0;
  huge[17] = 0;
  huge[18] = 0x75;  // width 30001
  huge[19] = 0x31;
  png_uint_32 crc = static_cast<png_uint_32>(crc32(0, &huge[12], 17));
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  EXPECT_EQ(Decode(huge), ImportResult::kTooLarge);
  ExpectUntouched();
  // A 5 × 3 picture needs an 8 × 4 buffer: 96 bytes, of which the 8 × 8 target already has all.
  EXPECT_EQ(Decode(good, 0), ImportResult::kOk);
  CDibTrue fresh;
  EXPECT_EQ(DecodeInto(fresh, good, 95), ImportResult::kTooLarge);
  EXPECT_EQ(fresh.Width(), 0);
  EXPECT_EQ(DecodeInto(fresh, good, 96), ImportResult::kOk);
}

TEST_F(PngCodecTest, EncodesA24BitPictureThroughTheSafeWriter) {
  test::TempDir dir;
  const std::string path = dir.File("pic.png");
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(12, 6));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 12; ++x) source.SetPixel(x, y, MakeColour(20 * x, 40 * y, x ^ y));
  test::WriteAll(path, {'o', 'l', 'd'});
  ASSERT_TRUE(EncodePng(source, 10, 5, path));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"pic.png"});

  // libpng reads it as an 8-bit RGB picture of the requested size …
  const Bytes bytes = test::ReadAll(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
  EXPECT_EQ(image.width, 10u);
  EXPECT_EQ(image.height, 5u);
  EXPECT_EQ(image.format, static_cast<png_uint_32>(PNG_FORMAT_RGB));
  png_image_free(&image);
  // … and our decoder gives back every pixel.
  ASSERT_EQ(Decode(bytes), ImportResult::kOk);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(target.GetPixel(x, y), source.GetPixel(x, y));

  // Sizes outside the source write nothing; a folder that is not there is an input/output error.
  EXPECT_FALSE(EncodePng(source, 0, 5, path));
  EXPECT_FALSE(EncodePng(source, 13, 5, path));
  EXPECT_FALSE(EncodePng(source, 12, 7, path));
  EXPECT_FALSE(EncodePng(CDibTrue(), 4, 4, path));
  EXPECT_EQ(test::ReadAll(path), bytes);
  EXPECT_THROW(EncodePng(source, 8, 5, dir.File("missing/pic.png")), IoError);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"pic.png"});
}

}  // namespace
}  // namespace mirasketch
