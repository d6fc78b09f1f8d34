// Sessions with the transform window through `mirasketch-cli replay`: a piece selected on an
// opened picture is scaled, rotated, tiled with a fixed seed, repeated side by side or replaced by
// a text, pasted back onto the layer and saved; the saved pictures are compared with the ones the
// transformations' formulas give.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "platform/uniform_random.h"
#include "replay_runner.h"
#include "support/recording_messages.h"

namespace mirasketch {
namespace {

using test::Replay;

constexpr int kWidth = 40;
constexpr int kHeight = 30;
constexpr int kPieceWidth = 10;
constexpr int kPieceHeight = 8;

int PatternAt(int x, int y) {
  return MakeColour(x * 6, y * 8, (x * 7 + y * 13) & 255);
}

// Opens the pattern, selects the 10 × 8 piece at its top-left and opens the transform window on
// it; `commands` transform and paste; the layer is saved as OUT/out.bmp.
test::CliRun TransformSession(const test::TempDir& dir, const std::string& commands) {
  CDibTrue pattern;
  pattern.Alloc(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) pattern.SetPixel(x, y, PatternAt(x, y));
  test::RecordingMessages messages;
  pattern.SaveToBmp(dir.File("pattern.bmp"), messages);
  return Replay(
      "open OUT/pattern.bmp\n"
      "click spbSelect\n"
      "mouse down 1 0 0\n"
      "mouse move 1 9 7\n"
      "mouse up 1 9 7\n"
      "click btnSelectTrans\n" +
          commands + "click TfrmT.mnuPaste\nsave OUT/out.bmp\n",
      dir);
}

// Pixels of the saved picture that differ from `expected`, which gives the result's pixel inside
// the w × h result at the top-left and nothing (−1) elsewhere, where the pattern stays.
int Differences(const test::TempDir& dir, int w, int h,
                const std::function<int(int, int)>& expected) {
  CDibTrue saved;
  int width = 0, height = 0;
  if (!test::ReadPicture(dir.File("out.bmp"), saved, width, height)) return -1;
  int n = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int want = x < w && y < h ? expected(x, y) : PatternAt(x, y);
      n += saved.GetPixel(x, y) != want;
    }
  return n;
}

TEST(CliReplayTransform, ScaledByTheSizeDialogEveryPixelBecomesABlock) {
  test::TempDir dir;
  const auto run =
      TransformSession(dir, "answer size 20 16\nclick TfrmT.mnuMagInputWH\nclick TfrmT.mnuDoCal\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Differences(dir, 20, 16, [](int x, int y) { return PatternAt(x / 2, y / 2); }), 0);
}

TEST(CliReplayTransform, SideBySideAndASeededTileRepeatThePiece) {
  test::TempDir grid;
  auto run = TransformSession(grid, "answer text 3\nclick TfrmT.mnuPutSidebySide\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Differences(grid, 30, 24,
                        [](int x, int y) { return PatternAt(x % kPieceWidth, y % kPieceHeight); }),
            0);

  // One copy at the offset the generator seeded with 7 draws first, wrapping at the edges.
  test::TempDir tile;
  run = TransformSession(tile, "seed 7\nanswer text 1\nclick TfrmT.mnuTile\n");
  ASSERT_EQ(run.status, 0) << run.err;
  UniformRandom random;
  random.Seed(7);
  const int ox = random.Below(2 * kPieceWidth) - kPieceWidth;
  const int oy = random.Below(2 * kPieceHeight) - kPieceHeight;
  EXPECT_EQ(Differences(tile, kPieceWidth, kPieceHeight,
                        [&](int x, int y) {
                          const int sx = ((x - ox) % kPieceWidth + kPieceWidth) % kPieceWidth;
                          const int sy = ((y - oy) % kPieceHeight + kPieceHeight) % kPieceHeight;
                          return PatternAt(sx, sy);
                        }),
            0);
}

TEST(CliReplayTransform, AHalfTurnSamplesEachPixelCentreTurnedBack) {
  test::TempDir dir;
  const auto run = TransformSession(dir, "click TfrmT.mnuSpin180\nclick TfrmT.mnuDoCal\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // The corners turned by 180° about the top-left: the box runs from (−10, −8) (floors of
  // values a hair off the integers may add a row and column of white).
  const float r = static_cast<float>(180.0 * 3.14159265358979323846 / 180.0);
  auto turn = [r](double a, double x, double y, double& tx, double& ty) {
    const double c = std::cos(static_cast<double>(a * r)), s = std::sin(static_cast<double>(a * r));
    tx = x * c + y * s;
    ty = -x * s + y * c;
  };
  double xs[4] = {0}, ys[4] = {0};
  turn(1, kPieceWidth, 0, xs[1], ys[1]);
  turn(1, kPieceWidth, kPieceHeight, xs[2], ys[2]);
  turn(1, 0, kPieceHeight, xs[3], ys[3]);
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  for (int k = 1; k < 4; ++k) {
    xs[k] = std::floor(xs[k]);
    ys[k] = std::floor(ys[k]);
    minX = std::min(minX, xs[k]);
    minY = std::min(minY, ys[k]);
    maxX = std::max(maxX, xs[k]);
    maxY = std::max(maxY, ys[k]);
  }
  const int w = static_cast<int>(std::ceil(maxX - minX)),
            h = static_cast<int>(std::ceil(maxY - minY));
  EXPECT_EQ(Differences(dir, w, h,
                        [&](int j, int i) {
                          double x = 0, y = 0;
                          turn(-1, j + minX + 0.5, i + minY + 0.5, x, y);
                          if (x < 0 || y < 0 || x >= kPieceWidth || y >= kPieceHeight)
                            return 0xFFFFFF;
                          return PatternAt(static_cast<int>(std::floor(x)),
                                           static_cast<int>(std::floor(y)));
                        }),
            0);
}

TEST(CliReplayTransform, TopCornersDraggedTogetherMakeATriangle) {
  test::TempDir dir;
  // The client area is 400 × 427, its centre (200, 213); the top corners start at (∓5, −4). A
  // press hits the first corner within 6 pixels (Manhattan), so the second corner is taken a
  // pixel further out than the first now lies.
  const auto run = TransformSession(dir,
                                    "click TfrmT.mnuTrapezoidR\n"
                                    "mouse down TfrmT.Canvas 1 195 209\n"
                                    "mouse move TfrmT.Canvas 1 200 209\n"
                                    "mouse up TfrmT.Canvas 1 200 209\n"
                                    "mouse down TfrmT.Canvas 1 206 209\n"
                                    "mouse move TfrmT.Canvas 1 200 209\n"
                                    "mouse up TfrmT.Canvas 1 200 209\n"
                                    "click TfrmT.mnuDoCal\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // Row A runs from 0 + (−5A) div 8 to (5A) div 8, shifted by the box's left edge −5, and
  // samples source row A across the source's width; the run's last pixel reads white.
  EXPECT_EQ(Differences(dir, kPieceWidth, kPieceHeight,
                        [](int x, int a) {
                          const int xl = -5 * a / 8 + 5, xr = 5 * a / 8 + 5;
                          if (x < xl || x > xr) return 0xFFFFFF;
                          const double sx =
                              xl == xr ? kPieceWidth / 2
                                       : static_cast<double>(x - xl) * kPieceWidth / (xr - xl);
                          if (sx >= kPieceWidth) return 0xFFFFFF;
                          return PatternAt(static_cast<int>(std::floor(sx)), a);
                        }),
            0);
}

TEST(CliReplayTransform, TextModeDrawsTheTypedTextTwoPixelsFromTheLeft) {
  test::TempDir dir;
  const auto run =
      TransformSession(dir, "set sbColRed 255\nanswer text AB\nclick TfrmT.mnuStrInput\n");
  ASSERT_EQ(run.status, 0) << run.err;
  CDibTrue saved;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("out.bmp"), saved, width, height));
  int red = 0, redInMargin = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool isRed = saved.GetPixel(x, y) == 0x0000FF;
      red += isRed;
      redInMargin += isRed && x < 2;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(redInMargin, 0);
  EXPECT_EQ(saved.GetPixel(0, 0), 0xFFFFFF);  // the text's white background
}

}  // namespace
}  // namespace mirasketch
