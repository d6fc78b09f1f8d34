#include "project/jpeg_codec.h"

#include <gtest/gtest.h>

#include "support/decode_target.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>

#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/system_memory.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kWhite = 0xFFFFFF;

// The largest channel difference a quality-100 round trip of a smooth picture may show (4:2:0
// chroma and the integer transforms both round).
constexpr int kTolerance = 8;

int ChannelDistance(int a, int b) {
  int worst = 0;
  for (int shift = 0; shift < 24; shift += 8)
    worst = std::max(worst, std::abs((a >> shift & 0xFF) - (b >> shift & 0xFF)));
  return worst;
}

// A smooth colour picture: a horizontal red ramp, a vertical green ramp, blue along the diagonal.
int Smooth(int x, int y, int w, int h) {
  return MakeColour(x * 255 / (w - 1), y * 255 / (h - 1), (x + y) * 255 / (w + h - 2));
}

void PaintSmooth(CDibTrue& picture, int w, int h) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) picture.SetPixel(x, y, Smooth(x, y, w, h));
}

// Compresses interleaved top-down pixels to memory with libjpeg itself, at quality 100;
// `tune` may change the settings after the defaults.
template <typename Tune>
Bytes LibjpegCompress(int w, int h, int components, J_COLOR_SPACE space, const Bytes& pixels,
                      Tune tune) {
  jpeg_compress_struct c;
  jpeg_error_mgr errors;
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = components;
  c.in_color_space = space;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  tune(c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&pixels[c.next_scanline * w * components]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes bytes(out, out + size);
  std::free(out);
  return bytes;
}

Bytes LibjpegCompress(int w, int h, int components, J_COLOR_SPACE space, const Bytes& pixels) {
  return LibjpegCompress(w, h, components, space, pixels, [](jpeg_compress_struct&) {});
}

// Top-down red-green-blue pixels of `Smooth`.
Bytes SmoothRgb(int w, int h) {
  Bytes rgb;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int c = Smooth(x, y, w, h);
      rgb.insert(rgb.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                             static_cast<std::uint8_t>(c >> 16)});
    }
  return rgb;
}

// The bytes of a frame header alone: start of image, a baseline frame of three components and
// the start of its scan, which is as far as the decoder reads before it knows the size.
Bytes FrameHeader(int w, int h) {
  return {0xFF,
          0xD8,
          0xFF,
          0xC0,
          0x00,
          0x11,
          0x08,
          static_cast<std::uint8_t>(h >> 8),
          static_cast<std::uint8_t>(h),
          static_cast<std::uint8_t>(w >> 8),
          static_cast<std::uint8_t>(w),
          0x03,
          0x01,
          0x22,
          0x00,
          0x02,
          0x11,
          0x01,
          0x03,
          0x11,
          0x01,
          0xFF,
          0xDA,
          0x00,
          0x0C,
          0x03,
          0x01,
          0x00,
          0x02,
          0x11,
          0x03,
          0x11,
          0x00,
          0x3F,
          0x00};
}

class JpegCodecTest : public test::DecodeTargetTest {
 protected:
  ImportResult Decode(const Bytes& bytes) {
    InFile file(bytes.data(), bytes.size(), "pic.jpg");
    return DecodeJpeg(file, target, width, height, memory);
  }
  std::int64_t memory = kUnreportedMemory;
  // Decodes and checks the size, every picture pixel against `expected` within `tolerance`, and
  // that every pixel beyond the picture is white.
  template <typename Expected>
  void ExpectPicture(const Bytes& bytes, int w, int h, Expected expected, int tolerance) {
    ASSERT_EQ(Decode(bytes), ImportResult::kOk);
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    ASSERT_EQ(target.Width(), static_cast<int>(RoundDibWidth(w)));
    ASSERT_EQ(target.Height(), std::max(h, kMinDibSide));
    int worst = 0;
    for (int y = 0; y < target.Height(); ++y)
      for (int x = 0; x < target.Width(); ++x) {
        if (x < w && y < h)
          worst = std::max(worst, ChannelDistance(target.GetPixel(x, y), expected(x, y)));
        else
          EXPECT_EQ(target.GetPixel(x, y), kWhite) << "at " << x << ", " << y;
      }
    EXPECT_LE(worst, tolerance);
  }
  test::TempDir dir;
  std::string path = dir.File("pic.jpg");
};

TEST_F(JpegCodecTest, QualityHundredRoundTripIsCloseAndPaddedWhite) {
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(37, 23));
  PaintSmooth(source, 37, 23);
  ASSERT_TRUE(EncodeJpeg(source, 37, 23, 100, path));
  const Bytes file = test::ReadAll(path);
  ASSERT_GT(file.size(), 4u);
  EXPECT_EQ(file[0], 0xFF);
  EXPECT_EQ(file[1], 0xD8);
  Prefill();
  ExpectPicture(
      file, 37, 23, [](int x, int y) { return Smooth(x, y, 37, 23); }, kTolerance);
  // The file is a baseline one.
  jpeg_decompress_struct d;
  jpeg_error_mgr errors;
  d.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), file.size());
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  EXPECT_FALSE(d.progressive_mode);
  EXPECT_EQ(d.jpeg_color_space, JCS_YCbCr);
  jpeg_destroy_decompress(&d);
}

TEST_F(JpegCodecTest, OnlyTheTopLeftOfTheSourceIsEncoded) {
  // Grey in the top-left 20 × 10, red everywhere else: rows taken from the wrong end of the
  // bottom-up storage, or a wrong row step, would bring red in.
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(64, 32));
  source.FillRect(0, 0, 64, 32, MakeColour(255, 0, 0));
  source.FillRect(0, 0, 20, 10, 0x808080);
  ASSERT_TRUE(EncodeJpeg(source, 20, 10, 100, path));
  ExpectPicture(
      test::ReadAll(path), 20, 10, [](int, int) { return 0x808080; }, 2);
}

TEST_F(JpegCodecTest, QualityIsClampedToOneToHundred) {
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(32, 16));
  PaintSmooth(source, 32, 16);
  auto encoded = [&](int quality) {
    EXPECT_TRUE(EncodeJpeg(source, 32, 16, quality, path));
    return test::ReadAll(path);
  };
  EXPECT_EQ(encoded(-5), encoded(1));
  EXPECT_EQ(encoded(1000), encoded(100));
  EXPECT_LT(encoded(1).size(), encoded(100).size());
}

TEST_F(JpegCodecTest, FilesAreWrittenThroughATemporaryAndRenamed) {
  CDibTrue source;
  ASSERT_TRUE(source.Alloc(8, 8));
  test::WriteAll(path, {1, 2, 3});
  ASSERT_TRUE(EncodeJpeg(source, 8, 8, 90, path));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"pic.jpg"});
  EXPECT_GT(test::ReadAll(path).size(), 3u);
  // Sizes outside the source are refused before any file is touched.
  test::WriteAll(path, {1, 2, 3});
  EXPECT_FALSE(EncodeJpeg(source, 0, 8, 90, path));
  EXPECT_FALSE(EncodeJpeg(source, 9, 8, 90, path));
  EXPECT_FALSE(EncodeJpeg(source, 8, 9, 90, path));
  EXPECT_FALSE(EncodeJpeg(CDibTrue(), 4, 4, 90, path));
  EXPECT_EQ(test::ReadAll(path), (Bytes{1, 2, 3}));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"pic.jpg"});
  // A folder that cannot take the file is an input/output failure.
  EXPECT_THROW(EncodeJpeg(source, 8, 8, 90, dir.File("missing/pic.jpg")), IoError);
}

TEST_F(JpegCodecTest, GreyscaleRgbAndProgressiveFilesDecode) {
  Bytes grey;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) grey.push_back(static_cast<std::uint8_t>(x * 16 + y));
  ExpectPicture(
      LibjpegCompress(16, 8, 1, JCS_GRAYSCALE, grey), 16, 8,
      [](int x, int y) { return (x * 16 + y) * 0x010101; }, 2);
  const Bytes rgb = SmoothRgb(30, 20);
  auto smooth = [](int x, int y) { return Smooth(x, y, 30, 20); };
  ExpectPicture(LibjpegCompress(30, 20, 3, JCS_RGB, rgb,
                                [](jpeg_compress_struct& c) { jpeg_set_colorspace(&c, JCS_RGB); }),
                30, 20, smooth, 2);
  ExpectPicture(LibjpegCompress(30, 20, 3, JCS_RGB, rgb,
                                [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); }),
                30, 20, smooth, kTolerance);
  // A picture under four rows high still fills a buffer of four.
  ExpectPicture(
      LibjpegCompress(5, 1, 1, JCS_GRAYSCALE, Bytes(5, 100)), 5, 1,
      [](int, int) { return 100 * 0x010101; }, 1);
}

TEST_F(JpegCodecTest, CmykIsRefused) {
  const Bytes cmyk(4 * 16 * 16, 40);
  Prefill();
  EXPECT_EQ(Decode(LibjpegCompress(16, 16, 4, JCS_CMYK, cmyk)), ImportResult::kNotPicture);
  ExpectUntouched();
}

// A greyscale progressive scan script that sends each AC coefficient on its own, bit plane by bit
// plane: 1 + 63 × (planes + 1) scans.
std::vector<jpeg_scan_info> CoefficientByCoefficient(int planes) {
  std::vector<jpeg_scan_info> script;
  script.push_back({1, {0}, 0, 0, 0, 0});
  for (int k = 1; k < 64; ++k) {
    script.push_back({1, {0}, k, k, 0, planes});
    for (int a = planes; a > 0; --a) script.push_back({1, {0}, k, k, a, a - 1});
  }
  return script;
}

TEST_F(JpegCodecTest, ScansBeyondTheLimitAreRefused) {
  const Bytes grey(16 * 16, 77);
  for (auto [planes, result] :
       std::vector<std::pair<int, ImportResult>>{{5, ImportResult::kOk},             // 379 scans
                                                 {9, ImportResult::kNotPicture}}) {  // 631 scans
    const std::vector<jpeg_scan_info> script = CoefficientByCoefficient(planes);
    EXPECT_EQ(Decode(LibjpegCompress(16, 16, 1, JCS_GRAYSCALE, grey,
                                     [&script](jpeg_compress_struct& c) {
                                       c.scan_info = script.data();
                                       c.num_scans = static_cast<int>(script.size());
                                     })),
              result)
        << planes;
  }
}

TEST_F(JpegCodecTest, CutShortAndForeignFilesAreRefused) {
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    const Bytes file = LibjpegCompress(40, 24, 3, JCS_RGB, SmoothRgb(40, 24),
                                       [progressive](jpeg_compress_struct& c) {
                                         if (progressive) jpeg_simple_progression(&c);
                                       });
    ASSERT_EQ(Decode(file), ImportResult::kOk);
    // Every cut that takes picture data away; trailing bytes after the end marker are ignored.
    for (std::size_t size = 0; size + 2 < file.size(); ++size)
      EXPECT_EQ(Decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size))),
                ImportResult::kNotPicture)
          << size;
    Bytes trailing = file;
    trailing.insert(trailing.end(), {1, 2, 3, 0xFF});
    EXPECT_EQ(Decode(trailing), ImportResult::kOk);
  }
  Bytes garbage(3000);
  for (std::size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<std::uint8_t>(i * 2654435761u >> 13);
  EXPECT_EQ(Decode(garbage), ImportResult::kNotPicture);
  garbage[0] = 0xFF;
  garbage[1] = 0xD8;
  EXPECT_EQ(Decode(garbage), ImportResult::kNotPicture);
  EXPECT_EQ(Decode({'B', 'M', 0, 0}), ImportResult::kNotPicture);
  // A frame with its header but no tables or data.
  EXPECT_EQ(Decode(FrameHeader(16, 16)), ImportResult::kNotPicture);
}

TEST_F(JpegCodecTest, AFileOnDiskDecodesAsItsBytesAndOneThatShrinksIsRefused) {
  // Noise at quality 100 makes a file of more than one read chunk.
  Bytes noise(3 * 256 * 256);
  for (std::size_t i = 0; i < noise.size(); ++i)
    noise[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
  const Bytes file = LibjpegCompress(256, 256, 3, JCS_RGB, noise);
  ASSERT_GT(file.size(), 1u << 16);
  ASSERT_EQ(Decode(file), ImportResult::kOk);
  test::WriteAll(path, file);
  CDibTrue fromDisk;
  InFile onDisk(path);
  ASSERT_EQ(DecodeJpeg(onDisk, fromDisk, width, height, memory), ImportResult::kOk);
  EXPECT_EQ(Bytes(fromDisk.Bits(), fromDisk.Bits() + 3 * 256 * 256),
            Bytes(target.Bits(), target.Bits() + 3 * 256 * 256));

  width = height = -1;
  InFile shrinking(path);
  test::WriteAll(path,
                 Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(file.size() / 2)));
  EXPECT_EQ(DecodeJpeg(shrinking, target, width, height, memory), ImportResult::kNotPicture);
  EXPECT_EQ(width, -1);
}

TEST_F(JpegCodecTest, PicturesAndProgressiveCoefficientsMustFitTheAvailableMemory) {
  const Bytes rgb = SmoothRgb(64, 32);
  const Bytes progressive = LibjpegCompress(
      64, 32, 3, JCS_RGB, rgb, [](jpeg_compress_struct& c) { jpeg_simple_progression(&c); });
  // Room for the picture alone: a progressive file also keeps its coefficients while it decodes.
  memory = 64 * 32 * 3;
  EXPECT_EQ(Decode(progressive), ImportResult::kTooLarge);
  EXPECT_EQ(Decode(LibjpegCompress(64, 32, 3, JCS_RGB, rgb)), ImportResult::kOk);
  memory = 2 * 64 * 32 * 3;
  EXPECT_EQ(Decode(progressive), ImportResult::kOk);
}

TEST_F(JpegCodecTest, FramesBeyondTheBufferLimitAreTooLargeFromTheHeader) {
  Prefill();
  for (auto [w, h] : std::vector<std::pair<int, int>>{{30001, 100}, {100, 30001}, {65535, 65535}}) {
    EXPECT_EQ(Decode(FrameHeader(w, h)), ImportResult::kTooLarge) << w << " × " << h;
    ExpectUntouched();
  }
}

}  // namespace
}  // namespace mirasketch
