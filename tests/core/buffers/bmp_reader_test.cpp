#include <gtest/gtest.h>

#include "buffers/dib256.h"
#include "platform/files.h"
#include "support/bmp_bytes.h"
#include "support/recording_messages.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using test::BmpSpec;
using test::MakeBmp;

class BmpReaderTest : public ::testing::Test {
 protected:
  bool Load(const std::vector<std::uint8_t>& bytes) {
    test::WriteAll(path, bytes);
    return plane.LoadFromBmp(path, messages);
  }
  test::TempDir dir;
  std::string path = dir.File("pic.bmp");
  CDib256 plane;
  test::RecordingMessages messages;
};

TEST_F(BmpReaderTest, EightBitFileKeepsRowsPaddingAndPalette) {
  BmpSpec spec;
  spec.width = 5;
  spec.height = 4;
  for (int row = 0; row < 4; ++row)
    for (int n = 0; n < 8; ++n) spec.rows.push_back(static_cast<std::uint8_t>(row * 16 + n));
  ASSERT_TRUE(Load(MakeBmp(spec)));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(plane.Width(), 8);
  EXPECT_EQ(plane.Height(), 4);
  // The first stored row is the bottom one; columns 5 … 7 hold the row padding.
  EXPECT_EQ(plane.GetPixel(0, 3), 0);
  EXPECT_EQ(plane.GetPixel(4, 3), 4);
  EXPECT_EQ(plane.GetPixel(7, 3), 7);
  EXPECT_EQ(plane.GetPixel(6, 0), 54);
  EXPECT_EQ(plane.palette[200].blue, 200);
  EXPECT_EQ(plane.palette[200].green, 55);
  EXPECT_EQ(plane.palette[200].red, 100);
}

TEST_F(BmpReaderTest, TheThreeMessagesNameTheFile) {
  EXPECT_FALSE(plane.LoadFromBmp(dir.File("none.bmp"), messages));
  BmpSpec twoPlanes;
  twoPlanes.planes = 2;
  EXPECT_FALSE(Load(MakeBmp(twoPlanes)));
  BmpSpec wide;
  wide.width = 32001;
  wide.height = 1;
  wide.rows.assign(32004, 0);
  EXPECT_FALSE(Load(MakeBmp(wide)));
  BmpSpec topDown;
  topDown.height = -4;
  topDown.rows.assign(16, 0);
  EXPECT_FALSE(Load(MakeBmp(topDown)));
  BmpSpec oneBit;
  oneBit.bitCount = 1;
  oneBit.rows.assign(16, 0);
  EXPECT_FALSE(Load(MakeBmp(oneBit)));
  const std::string notBmp = "This file is not BmpFile. -" + path;
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"ファイルがありません。-" + dir.File("none.bmp"), notBmp,
                                      notBmp, notBmp, "このビットマップには非対応 -" + path}));
  EXPECT_EQ(plane.Bits(), nullptr);  // no refusal touched the plane
}

TEST_F(BmpReaderTest, FourAndTwentyFourBitFilesAreRefusedSilentlyAfterSizing) {
  BmpSpec rgb;
  rgb.width = 6;
  rgb.height = 5;
  rgb.bitCount = 24;
  EXPECT_FALSE(Load(MakeBmp(rgb)));
  EXPECT_EQ(plane.Width(), 8);
  EXPECT_EQ(plane.Height(), 5);
  BmpSpec nibbles;
  nibbles.width = 9;
  nibbles.height = 4;
  nibbles.bitCount = 4;
  EXPECT_FALSE(Load(MakeBmp(nibbles)));
  EXPECT_EQ(plane.Width(), 12);
  EXPECT_EQ(plane.Height(), 4);
  EXPECT_TRUE(messages.shown.empty());
  // A size the plane cannot take is refused without a message, too.
  BmpSpec tall;
  tall.width = 4;
  tall.height = 30001;
  tall.bitCount = 24;
  EXPECT_FALSE(Load(MakeBmp(tall)));
  EXPECT_EQ(plane.Width(), 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BmpReaderTest, ShortFilesAreRefusedAndLeaveThePlaneAlone) {
  ASSERT_TRUE(plane.Alloc(4, 4));
  plane.SetPixel(1, 1, 77);
  BmpSpec spec;
  spec.width = 16;
  spec.height = 16;
  const std::vector<std::uint8_t> good = MakeBmp(spec);
  // Cut inside the headers, inside the colour table and inside the pixel rows.
  for (std::size_t size :
       std::vector<std::size_t>{0, 10, 53, 54, 600, 54 + 1024, good.size() - 1}) {
    messages.shown.clear();
    EXPECT_FALSE(Load(std::vector<std::uint8_t>(good.begin(), good.begin() + size))) << size;
    EXPECT_EQ(messages.shown, std::vector<std::string>{"This file is not BmpFile. -" + path})
        << size;
    EXPECT_EQ(plane.Width(), 4) << size;
    EXPECT_EQ(plane.GetPixel(1, 1), 77) << size;
  }
  // A header that promises a huge picture in a small file is refused before any allocation.
  BmpSpec huge;
  huge.width = 32000;
  huge.height = 32000;
  huge.bitCount = 24;
  huge.rows.assign(64, 0);
  messages.shown.clear();
  EXPECT_FALSE(Load(MakeBmp(huge)));
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(plane.Width(), 4);
}

TEST(BmpReaderMemory, ReadsFromAnOpenFile) {
  BmpSpec spec;
  const std::vector<std::uint8_t> bytes = MakeBmp(spec);
  InFile file(bytes.data(), bytes.size(), "memory");
  CDib256 plane;
  test::RecordingMessages messages;
  ASSERT_TRUE(plane.LoadFromBmpFile(file, messages));
  EXPECT_EQ(plane.GetPixel(0, 3), 1);
  EXPECT_EQ(file.Remaining(), 0u);
}

}  // namespace
}  // namespace mirasketch
