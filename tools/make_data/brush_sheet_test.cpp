#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "brush_sheet.h"
#include "buffers/dib256.h"
#include "platform/message_sink.h"
#include "support/temp_dir.h"

namespace mirasketch::brushes {
namespace {

class RecordingMessages : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

// Painted extent of a stamp: the smallest box holding every value below 255.
struct Box {
  int left = kStampSide, top = kStampSide, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// The committed sheet as the program reads it: through CDib256, y counted from the top.
class BrushSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sheet_.LoadFromBmp(MIRASKETCH_BRUSH_SHEET, messages_));
    ASSERT_EQ(sheet_.Width(), kSheetWidth);
    ASSERT_EQ(sheet_.Height(), kSheetHeight);
  }

  // Pixel (x, y) of stamp k, (0, 0) being the top-left of its cell.
  int At(int k, int x, int y) const {
    return sheet_.GetPixel(kStampSide * (k % kStampsPerRow) + x,
                           kStampSide * (k / kStampsPerRow) + y);
  }
  Box Extent(int k) const {
    Box box;
    for (int y = 0; y < kStampSide; ++y) {
      for (int x = 0; x < kStampSide; ++x) {
        if (At(k, x, y) == 255) continue;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
    return box;
  }
  // Total paint: the sum of 255 − value over the cell.
  long Ink(int k) const {
    long ink = 0;
    for (int y = 0; y < kStampSide; ++y)
      for (int x = 0; x < kStampSide; ++x) ink += 255 - At(k, x, y);
    return ink;
  }

  CDib256 sheet_;
  RecordingMessages messages_;
};

TEST_F(BrushSheet, IsAnEightBitSheetWithAGreyRamp) {
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(sheet_.header.bitCount, 8);
  EXPECT_EQ(sheet_.header.compression, 0u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(sheet_.palette[i].red, i);
    EXPECT_EQ(sheet_.palette[i].green, i);
    EXPECT_EQ(sheet_.palette[i].blue, i);
  }
  // File header, information header, colour table, then the rows with no padding.
  EXPECT_EQ(test::ReadAll(MIRASKETCH_BRUSH_SHEET).size(), 14u + 40 + 256 * 4 + 128 * 256);
}

TEST_F(BrushSheet, PenIsOnePixelOnThePointer) {
  for (int y = 0; y < kStampSide; ++y)
    for (int x = 0; x < kStampSide; ++x)
      EXPECT_EQ(At(kSinglePixel, x, y), x == 8 && y == 8 ? 0 : 255) << x << "," << y;
}

TEST_F(BrushSheet, EraserSizesAreSolidSquaresOnThePointer) {
  for (int i = 1; i <= 6; ++i) {
    const int k = kFirstEraser + i - 1;
    // Side 2i reaches i pixels left and up of the pointer and i − 1 right and down.
    for (int y = 0; y < kStampSide; ++y) {
      for (int x = 0; x < kStampSide; ++x) {
        const bool inside = x >= 8 - i && x <= 7 + i && y >= 8 - i && y <= 7 + i;
        ASSERT_EQ(At(k, x, y), inside ? 0 : 255) << "side " << 2 * i << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(BrushSheet, HardDiscsAreRoundGrowingAndCentredOnThePointer) {
  long lastInk = 0;
  for (int k = kFirstHardDisc; k < kFirstHardDisc + kStampsPerRow; ++k) {
    SCOPED_TRACE("stamp " + std::to_string(k));
    EXPECT_EQ(At(k, 8, 8), 0);
    const long ink = Ink(k);
    EXPECT_GT(ink, lastInk);
    lastInk = ink;

    // An odd disc mirrors about pixel 8, an even one about the line between pixels 7 and 8.
    const Box box = Extent(k);
    ASSERT_EQ(box.Width(), box.Height());
    const int mirror = box.left + box.right;
    EXPECT_TRUE(mirror == 16 || mirror == 15) << box.left << "…" << box.right;
    EXPECT_EQ(box.top + box.bottom, mirror);
    for (int y = box.top; y <= box.bottom; ++y) {
      for (int x = box.left; x <= box.right; ++x) {
        ASSERT_EQ(At(k, x, y), At(k, mirror - x, y)) << x << "," << y;
        ASSERT_EQ(At(k, x, y), At(k, x, mirror - y)) << x << "," << y;
        ASSERT_EQ(At(k, x, y), At(k, y, x)) << x << "," << y;
      }
    }
    // Round, not square: the box's corners carry less paint than the middles of its sides, and
    // the paint adds up to the disc's area.
    EXPECT_GT(At(k, box.left, box.top), At(k, box.left, 8));
    const double diameter = box.Width();
    const double area = 3.14159265358979 * diameter * diameter / 4;
    EXPECT_NEAR(ink / 255.0, area, 0.03 * area);
  }
}

TEST_F(BrushSheet, EveryCellHoldsItsOwnStamp) {
  std::set<std::vector<int>> seen;
  for (int k = 0; k < kStampCount; ++k) {
    std::vector<int> cell;
    for (int y = 0; y < kStampSide; ++y)
      for (int x = 0; x < kStampSide; ++x) cell.push_back(At(k, x, y));
    EXPECT_LT(*std::min_element(cell.begin(), cell.end()), 255) << "stamp " << k << " is empty";
    EXPECT_TRUE(seen.insert(cell).second) << "stamp " << k << " repeats an earlier one";
  }
}

TEST_F(BrushSheet, SoftBrushesFadeOutFromTheCentre) {
  for (int k = kFirstSoftRound; k < kFirstSoftRound + kStampsPerRow; ++k) {
    SCOPED_TRACE("stamp " + std::to_string(k));
    std::set<int> levels;
    for (int x = 8; x < kStampSide; ++x) {
      levels.insert(At(k, x, 8));
      if (x > 8) {
        EXPECT_GE(At(k, x, 8), At(k, x - 1, 8)) << x;
      }
      EXPECT_EQ(At(k, 16 - x, 8), At(k, x, 8)) << x;
    }
    // The fade has all but ended at the cell's edge, and reaches no further left than right.
    EXPECT_GE(At(k, 15, 8), 240);
    EXPECT_EQ(At(k, 0, 8), 255);
    EXPECT_GE(levels.size(), k == kFirstSoftRound ? 3u : 4u);  // graded, not a hard edge
  }
}

TEST_F(BrushSheet, SpraysThinOutTowardsTheirRim) {
  for (int k = kFirstSpray; k < kFirstSpray + 7; ++k) {
    SCOPED_TRACE("stamp " + std::to_string(k));
    const Box box = Extent(k);
    const double reach = std::max(box.Width(), box.Height()) / 2.0;
    int inner = 0, innerHit = 0, outer = 0, outerHit = 0;
    for (int y = 0; y < kStampSide; ++y) {
      for (int x = 0; x < kStampSide; ++x) {
        const double r = std::hypot(x - 8, y - 8);
        const bool hit = At(k, x, y) < 255;
        if (r < reach / 2) {
          ++inner;
          innerHit += hit;
        } else if (r < reach) {
          ++outer;
          outerHit += hit;
        }
      }
    }
    ASSERT_GT(inner, 0);
    EXPECT_GT(static_cast<double>(innerHit) / inner, 1.5 * outerHit / outer);
    EXPECT_LT(innerHit, inner);  // broken up, not solid
  }
}

TEST_F(BrushSheet, NibsTurnWithTheirColumn) {
  for (int first : {kFirstFlatNib, kFirstPenNib, kFirstOvalNib, kFirstSoftFlat}) {
    SCOPED_TRACE("row from " + std::to_string(first));
    const Box level = Extent(first);
    EXPECT_GT(level.Width(), 2 * level.Height());
    // A quarter turn further along the row swaps the stamp's width and height.
    for (int i = 0; i < 4; ++i) {
      const Box a = Extent(first + i);
      const Box b = Extent(first + i + 4);
      EXPECT_NEAR(a.Width(), b.Height(), 1) << "column " << i;
      EXPECT_NEAR(a.Height(), b.Width(), 1) << "column " << i;
    }
    // 45° rises to the right: the top-right of its box is painted, the top-left is not.
    const Box rising = Extent(first + 2);
    EXPECT_LT(At(first + 2, rising.right - 2, rising.top + 2), 255);
    EXPECT_EQ(At(first + 2, rising.left + 1, rising.top + 1), 255);
  }
}

TEST_F(BrushSheet, MatchesItsGeneratorByteForByte) {
  const std::vector<Stamp> stamps = MakeBrushStamps();
  ASSERT_EQ(stamps.size(), static_cast<std::size_t>(kStampCount));
  for (int k = 0; k < kStampCount; ++k)
    for (int y = 0; y < kStampSide; ++y)
      for (int x = 0; x < kStampSide; ++x)
        ASSERT_EQ(At(k, x, y), stamps[k].Value(x, y)) << "stamp " << k << " at " << x << "," << y;

  test::TempDir dir;
  WriteBrushSheet(dir.File("brush.bmp"));
  EXPECT_TRUE(test::ReadAll(dir.File("brush.bmp")) == test::ReadAll(MIRASKETCH_BRUSH_SHEET))
      << "data/brush.bmp is stale: regenerate it with make_data";
}

TEST_F(BrushSheet, IsCopiedBesideTheCommandLineTool) {
  const std::string copy = std::string(MIRASKETCH_CLI_DIR) + "/brush.bmp";
  EXPECT_TRUE(test::ReadAll(copy) == test::ReadAll(MIRASKETCH_BRUSH_SHEET))
      << copy << " differs from data/brush.bmp: build again to refresh the copy";
}

TEST(StampCanvas, PolynomialSineAgreesWithTheLibrary) {
  for (double x = -40; x <= 40; x += 0.0137) {
    ASSERT_NEAR(Sine(x), std::sin(x), 1e-12) << x;
    ASSERT_NEAR(Cosine(x), std::cos(x), 1e-12) << x;
  }
  const Heading up(90);
  EXPECT_NEAR(up.c, 0, 1e-15);
  EXPECT_NEAR(up.s, 1, 1e-15);
  // Along and across are a rotation: lengths are kept and a point up the heading is all along.
  EXPECT_NEAR(up.Along(0, -3), 3, 1e-12);
  EXPECT_NEAR(up.Across(0, -3), 0, 1e-12);
}

TEST(StampCanvas, XorshiftIsReproducibleAndNeverStuck) {
  Xorshift a(12345), b(12345), zero(0);
  std::set<std::uint32_t> values;
  for (int i = 0; i < 1000; ++i) {
    const std::uint32_t v = a.Next();
    ASSERT_EQ(v, b.Next());
    values.insert(v);
    ASSERT_NE(zero.Next(), 0u);  // a zero state would repeat zero for ever
    const double u = a.Unit();
    ASSERT_EQ(u, b.Unit());
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
  }
  EXPECT_EQ(values.size(), 1000u);
}

TEST(StampCanvas, StampsClipToTheirCellAndQuantiseToBytes) {
  Stamp stamp;
  stamp.Lay(-1, 3, 1);  // outside: ignored, not written past the cell
  stamp.Lay(16, 3, 1);
  stamp.Lay(3, 16, 1);
  stamp.Keep(-1, 0, 0);
  for (int y = 0; y < kStampSide; ++y)
    for (int x = 0; x < kStampSide; ++x) ASSERT_EQ(stamp.Value(x, y), 255);
  stamp.Lay(2, 2, 0.5);
  EXPECT_EQ(stamp.Value(2, 2), 127);  // 255 − 127.5 rounded
  stamp.Lay(2, 2, 0.5);               // a second coat of half paint: three quarters
  EXPECT_EQ(stamp.Value(2, 2), 64);
  stamp.Lay(3, 3, 7);  // more than full paint is full paint
  EXPECT_EQ(stamp.Value(3, 3), 0);
}

}  // namespace
}  // namespace mirasketch::brushes
