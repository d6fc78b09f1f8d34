#include "transform/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "buffers/dib_true.h"
#include "platform/uniform_random.h"
#include "support/recording_messages.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;

// Every pixel differs from its neighbours in every channel.
int PatternAt(int x, int y) {
  return MakeColour((x * 37 + y * 11 + 5) & 255, (x * 5 + y * 71 + 9) & 255,
                    (x * 13 + y * 29 + 7) & 255);
}

int Channel(int colour, int k) {
  return colour >> (8 * k) & 255;
}

class ResampleTest : public ::testing::Test {
 protected:
  void MakeSource(int w, int h) {
    ASSERT_TRUE(st.srcPiece.SetSize(w, h, messages));
    st.srcWidth = w;
    st.srcHeight = h;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) st.srcPiece.SetPixel(x, y, PatternAt(x, y));
  }
  int Result(int x, int y) const { return st.resultPicture.GetPixel(x, y); }
  void ExpectResultSize(int w, int h) {
    EXPECT_EQ(st.resultWidth, w);
    EXPECT_EQ(st.resultHeight, h);
    EXPECT_GE(st.resultPicture.Width(), w);
    EXPECT_EQ(st.resultPicture.Height(), h);
  }

  ResampleState st;
  RecordingMessages messages;
};

TEST_F(ResampleTest, EnlargingWithoutSmoothingRepeatsEachPixel) {
  MakeSource(4, 4);
  st.targetWidth = st.targetHeight = 8;
  ComputeScale(st, messages);
  ExpectResultSize(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(Result(x, y), PatternAt(x / 2, y / 2)) << x << "," << y;
  EXPECT_EQ(st.handles[0].x, -4);
  EXPECT_EQ(st.handles[3].y, 4);
}

// The 3 × 3 window around (2j, 2i), cut to the picture and the centre counted twice.
int WindowMean(int cx, int cy, int w, int h) {
  int sum[3] = {}, count = 1;
  for (int k = 0; k < 3; ++k) sum[k] = Channel(PatternAt(cx, cy), k);
  for (int y = cy - 1; y <= cy + 1; ++y)
    for (int x = cx - 1; x <= cx + 1; ++x) {
      if (x < 0 || y < 0 || x >= w || y >= h) continue;
      for (int k = 0; k < 3; ++k) sum[k] += Channel(PatternAt(x, y), k);
      ++count;
    }
  return MakeColour(sum[0] / count, sum[1] / count, sum[2] / count);
}

TEST_F(ResampleTest, SmoothReductionAveragesTheWindowWithTheCentreTwice) {
  MakeSource(100, 100);
  st.smoothing = true;
  st.targetWidth = st.targetHeight = 50;
  ComputeScale(st, messages);
  ExpectResultSize(50, 50);
  for (int i = 0; i < 50; ++i)
    for (int j = 0; j < 50; ++j)
      ASSERT_EQ(Result(j, i), WindowMean(2 * j, 2 * i, 100, 100)) << j << "," << i;
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ResampleTest, ProtectedPixelsAreNeitherBlendedNorBlendedIn) {
  MakeSource(12, 12);
  st.protectMask = st.smoothing = true;
  st.srcPiece.mask.SetPixel(4, 4, 255);  // the centre of result (2, 2)
  st.srcPiece.mask.SetPixel(3, 6, 255);  // a neighbour in the window of result (2, 3)
  st.targetWidth = st.targetHeight = 6;
  ComputeScale(st, messages);
  EXPECT_EQ(Result(2, 2), PatternAt(4, 4));
  int sum[3] = {}, count = 1;
  for (int k = 0; k < 3; ++k) sum[k] = Channel(PatternAt(4, 6), k);
  for (int y = 5; y <= 7; ++y)
    for (int x = 3; x <= 5; ++x) {
      if (x == 3 && y == 6) continue;
      for (int k = 0; k < 3; ++k) sum[k] += Channel(PatternAt(x, y), k);
      ++count;
    }
  EXPECT_EQ(Result(2, 3), MakeColour(sum[0] / count, sum[1] / count, sum[2] / count));

  // Point smoothing: the masked pixel keeps its colour and does not count as a neighbour.
  EXPECT_EQ(SmoothSample(st, 4.9, 4.9), PatternAt(4, 4));
  int colour = 1;
  EXPECT_FALSE(NeighbourSample(st, 4, 4, colour));
  EXPECT_EQ(colour, 0);
  // (3.8, 4.5): right neighbour (4, 4) masked, vertical weight 0: the pixel itself.
  EXPECT_EQ(SmoothSample(st, 3.8, 4.5), PatternAt(3, 4));
}

TEST_F(ResampleTest, SmoothingWeightsFollowTheHandComputation) {
  MakeSource(4, 4);
  st.smoothing = true;
  st.srcPiece.SetPixel(1, 2, MakeColour(100, 10, 0));
  st.srcPiece.SetPixel(2, 2, MakeColour(200, 0, 30));
  st.srcPiece.SetPixel(1, 1, MakeColour(50, 255, 90));
  st.srcPiece.SetPixel(0, 2, MakeColour(20, 40, 60));
  st.srcPiece.SetPixel(0, 1, MakeColour(70, 0, 255));
  // (1.8, 2.1): right neighbour weight 0.3, upper neighbour 0.4, divided by 1.7:
  // red (60 + 100 + 20) / 1.7 = 105.9, green (0 + 10 + 102) / 1.7 = 65.9,
  // blue (9 + 0 + 36) / 1.7 = 26.5.
  EXPECT_EQ(SmoothSample(st, 1.8, 2.1), MakeColour(105, 65, 26));
  EXPECT_EQ(SampleSource(st, 1.8, 2.1), MakeColour(105, 65, 26));
  // (0.2, 2.1): the left neighbour is outside and does not count: (c0 + 0.4 c2) / 1.4:
  // red (20 + 28) / 1.4 = 34.3, green 40 / 1.4 = 28.6, blue (60 + 102) / 1.4 = 115.7.
  EXPECT_EQ(SmoothSample(st, 0.2, 2.1), MakeColour(34, 28, 115));
  // Outside the source, and for a point that is not a number: white.
  EXPECT_EQ(SampleSource(st, 4.0, 1.0), kWhite);
  EXPECT_EQ(SampleSource(st, std::nan(""), 1.0), kWhite);
  EXPECT_EQ(SmoothSample(st, -0.5, 1.0), kWhite);
}

TEST_F(ResampleTest, RotationByZeroReproducesTheSource) {
  MakeSource(10, 7);  // a width with row padding
  for (bool smooth : {false, true}) {
    st.smoothing = smooth;
    st.angle = 0;
    ComputeRotation(st, messages);
    ExpectResultSize(10, 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 12; ++x)
        ASSERT_EQ(Result(x, y), x < 10 ? PatternAt(x, y) : kWhite) << smooth << x << "," << y;
  }
}

TEST_F(ResampleTest, QuarterTurnSwapsTheSides) {
  MakeSource(10, 7);
  st.angle = 90;
  ComputeRotation(st, messages);
  // The angle in single precision lies just past a quarter turn, so the floored corners give
  // one extra row, and the box's left column and top row fall just outside the source.
  ExpectResultSize(7, 11);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(Result(0, i), kWhite);
  for (int j = 0; j < 7; ++j) EXPECT_EQ(Result(j, 0), kWhite);
  // Turned counter-clockwise: the source's right column is the top, its top row the left.
  for (int i = 1; i <= 10; ++i)
    for (int j = 1; j < 7; ++j) ASSERT_EQ(Result(j, i), PatternAt(10 - i, j - 1)) << j << "," << i;
}

// The turned picture's edges are found per row without per-pixel checks; every pixel must still
// be the sample at its centre turned back.
TEST_F(ResampleTest, TurnedPixelsAreTheSamplesAtTheirCentresTurnedBack) {
  MakeSource(13, 9);
  st.srcPiece.mask.SetPixel(6, 4, 255);
  for (float angle : {30.0f, -123.4f, 200.0f, 89.99f}) {
    double x[4] = {}, y[4] = {};
    RotatePoint(angle, 13, 0, x[1], y[1]);
    RotatePoint(angle, 13, 9, x[2], y[2]);
    RotatePoint(angle, 0, 9, x[3], y[3]);
    double minX = 0, minY = 0;
    for (int k = 1; k < 4; ++k) {
      minX = std::min(minX, std::floor(x[k]));
      minY = std::min(minY, std::floor(y[k]));
    }
    for (int mode = 0; mode < 3; ++mode) {
      st.smoothing = mode > 0;
      st.protectMask = mode == 2;
      st.angle = angle;
      ComputeRotation(st, messages);
      for (int i = 0; i < st.resultHeight; ++i)
        for (int j = 0; j < st.resultWidth; ++j) {
          double sx = 0, sy = 0;
          RotatePoint(-angle, j + minX + 0.5, i + minY + 0.5, sx, sy);
          ASSERT_EQ(Result(j, i), SampleSource(st, sx, sy)) << angle << " " << mode;
        }
    }
  }
}

TEST_F(ResampleTest, TrapezoidWithMeetingTopCornersIsATriangle) {
  MakeSource(8, 8);
  st.handles = {{{0, -4}, {0, -4}, {-4, 4}, {4, 4}}};
  ComputeTrapezoid(st, messages);
  ExpectResultSize(8, 8);
  // The apex row is one pixel sampling the middle column.
  for (int x = 0; x < 8; ++x) EXPECT_EQ(Result(x, 0), x == 4 ? PatternAt(4, 0) : kWhite);
  // Row 2 runs over 3 … 5: source columns 0 and 4, then the far edge, which reads white.
  EXPECT_EQ(Result(2, 2), kWhite);
  EXPECT_EQ(Result(3, 2), PatternAt(0, 2));
  EXPECT_EQ(Result(4, 2), PatternAt(4, 2));
  EXPECT_EQ(Result(5, 2), kWhite);
  // Row 7 runs over 1 … 7: source columns (D − 1) · 8 / 6.
  EXPECT_EQ(Result(0, 7), kWhite);
  for (int d = 1; d < 7; ++d) EXPECT_EQ(Result(d, 7), PatternAt((d - 1) * 8 / 6, 7)) << d;
  EXPECT_EQ(Result(7, 7), kWhite);
}

TEST_F(ResampleTest, TrapezoidRunsEndingOnTheFarEdgeStayInsideTheResult) {
  // A rectangle: every run ends one past the result's last column (or row), where a write would
  // land on the next stored row, or outside the buffer for the top row.
  MakeSource(8, 8);
  st.handles = {{{-4, -4}, {4, -4}, {-4, 4}, {4, 4}}};
  for (bool horizontal : {true, false}) {
    st.trapezoidHorizontal = horizontal;
    ComputeTrapezoid(st, messages);
    ExpectResultSize(8, 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        ASSERT_EQ(Result(x, y), PatternAt(x, y)) << horizontal << x << "," << y;
  }
}

TEST_F(ResampleTest, OneTileIsACyclicShiftWithMaskedPixelsLeftWhite) {
  MakeSource(10, 8);
  st.srcPiece.mask.SetPixel(3, 2, 255);
  st.srcPiece.mask.SetPixel(9, 7, 1);
  st.tileCount = 1;
  UniformRandom random, same;
  random.Seed(42);
  same.Seed(42);
  Tile(st, random, messages);
  const int ox = same.Below(20) - 10;
  const int oy = same.Below(16) - 8;
  ExpectResultSize(10, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool masked = (x == 3 && y == 2) || (x == 9 && y == 7);
      ASSERT_EQ(Result((x + ox + 10) % 10, (y + oy + 8) % 8), masked ? kWhite : PatternAt(x, y))
          << x << "," << y;
    }
}

TEST_F(ResampleTest, SideBySideThreeGivesNineCopies) {
  MakeSource(10, 8);
  st.sideCount = 3;
  SideBySide(st, messages);
  ExpectResultSize(30, 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 30; ++x) ASSERT_EQ(Result(x, y), PatternAt(x % 10, y % 8)) << x << "," << y;
}

TEST_F(ResampleTest, TooLargeSideBySideIsRefusedWithTheBufferMessage) {
  MakeSource(2000, 4);
  ASSERT_TRUE(st.resultPicture.SetSize(8, 8, messages));
  st.sideCount = 20;
  SideBySide(st, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], kBitsAllocError);
  EXPECT_EQ(st.resultPicture.Width(), 0);  // a refused buffer reads as empty
}

TEST_F(ResampleTest, AntiAliasWeighsFiveTwoTwoOne) {
  MakeSource(6, 5);
  AntiAlias(st, messages);
  ExpectResultSize(6, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      int expected = 0;
      for (int k = 0; k < 3; ++k) {
        int sum = 5 * Channel(PatternAt(x, y), k), weight = 5;
        if (x > 0) sum += 2 * Channel(PatternAt(x - 1, y), k), weight += 2;
        if (y > 0) sum += 2 * Channel(PatternAt(x, y - 1), k), weight += 2;
        if (x > 0 && y > 0) sum += Channel(PatternAt(x - 1, y - 1), k), weight += 1;
        expected |= sum / weight << (8 * k);
      }
      ASSERT_EQ(Result(x, y), expected) << x << "," << y;
    }
}

TEST_F(ResampleTest, NonsenseParametersEndWithoutHangingOrWritingOutside) {
  MakeSource(8, 8);
  // An angle that is no number gives no box, silently.
  for (float angle :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    st.angle = angle;
    ComputeRotation(st, messages);
    EXPECT_EQ(st.resultWidth, 0);
  }
  EXPECT_TRUE(messages.shown.empty());
  // Handles at the ends of the int range: a box no buffer takes.
  st.handles = {{{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX}}};
  ComputeTrapezoid(st, messages);
  EXPECT_EQ(messages.shown.size(), 1u);
  // An empty source: tiling would wrap by 0 forever, anti-aliasing would divide by 0.
  st.srcWidth = 0;
  UniformRandom random;
  Tile(st, random, messages);
  AntiAlias(st, messages);
  EXPECT_EQ(messages.shown.size(), 3u);
}

}  // namespace
}  // namespace mirasketch::test
