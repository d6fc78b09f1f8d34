// Curves replayed through `mirasketch-cli replay`: the polyline's curve and the inking tool over a
// pencil sketch, compared with pictures worked out here from the curve rules, the textbook
// natural spline and the program's line walk (stamp 0 is the one-pixel pen).

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "replay_runner.h"
#include "support/curve_reference.h"

namespace mirasketch {
namespace {

using test::ExpectedPicture;
using test::NaturalSpline;
using test::Nudged;
using test::WalkSegment;
using Footprint = std::vector<std::pair<int, int>>;

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;
constexpr int kRed = 0x0000FF;
constexpr int kWidth = 128;
constexpr int kHeight = 96;

struct Points {
  std::vector<double> x, y;
  void Add(double px, double py) {
    x.push_back(px);
    y.push_back(py);
  }
  void AddNudged(double px, double py) { Add(Nudged(x.back(), px), Nudged(y.back(), py)); }
};

using test::ExpectPicture;

// Curve mode: a drag gives the first segment, two clicks add points, the right click ends the
// figure as drawn.
TEST(CliReplayCurves, PolylineCurveThroughItsPoints) {
  ASSERT_EQ(test::StampFootprint(0), (Footprint{{0, 0}}));
  test::TempDir dir;
  const auto run = Replay(
      "new 128 96\n"
      "set sbColRed 255\n"
      "click spbOresen\n"
      "click rdiCountSpline\n"
      "mouse down 1 10 60\n"
      "mouse move 1 30 60    # a straight preview of the first segment\n"
      "mouse move 1 50 60\n"
      "mouse up 1 50 60\n"
      "mouse click 1 80 20   # the figure becomes a curve\n"
      "mouse click 1 110 70\n"
      "mouse click 2 120 90  # the end\n"
      "save OUT/curve.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // Three almost coincident points at the press, then every point raised where needed.
  Points p;
  for (int i = 0; i < 3; ++i) p.Add(10 + 0.5 + 1.0 * 0.05 * i, 60 + 0.5 + 1.0 * 0.05 * i);
  p.AddNudged(50 + 0.5, 60 + 0.5);
  p.AddNudged(80 + 0.5, 20 + 0.5);
  p.AddNudged(110 + 0.5, 70 + 0.5);
  const NaturalSpline curve(p.x, p.y);
  ExpectedPicture expected(kWidth, kHeight);
  auto stamp = [&expected](int x, int y) { expected.Fill(x, y, x, y, kRed); };
  double lastX = p.x[2], lastY = p.y[2];
  const int steps = 6 * 20;
  for (int i = 0; i <= steps; ++i) {
    const double u = static_cast<double>(i) / steps;
    const double sx = curve.X(u), sy = curve.Y(u);
    if (std::fabs(sx - lastX) + std::fabs(sy - lastY) > 2.0) {
      WalkSegment(static_cast<int>(lastX), static_cast<int>(lastY), static_cast<int>(sx),
                  static_cast<int>(sy), stamp);
      lastX = sx;
      lastY = sy;
    }
  }
  ExpectPicture(dir.File("curve.bmp"), expected);
}

// The inking tool over a black pencil line drawn with the pen: its control points, three pixels
// above the line, are pulled onto it, and the curve through them is drawn in red.
TEST(CliReplayCurves, InkSnapsOntoThePencilSketch) {
  test::TempDir dir;
  std::string script =
      "new 128 96\n"
      "mouse down 1 10 50\n"
      "mouse move 1 40 54\n"
      "mouse move 1 80 56\n"
      "mouse move 1 118 52\n"
      "mouse up 1 118 52\n"
      "set sbColRed 255\n"
      "click spbPenLine\n"
      "mouse down 1 12 47\n";
  std::vector<std::pair<int, int>> moves;
  for (int x = 15; x <= 114; x += 3) moves.emplace_back(x, 47 + (x / 30) % 2);
  for (const auto& [x, y] : moves)
    script += "mouse move 1 " + std::to_string(x) + " " + std::to_string(y) + "\n";
  script += "mouse up 1 114 48\nsave OUT/ink.bmp\n";
  const auto run = Replay(script, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  // The sketch: the pen stamps the press point and each move's walk back to the point before.
  std::vector<int> sketch(kWidth * kHeight, kWhite);
  auto pencil = [&sketch](int x, int y) {
    sketch[static_cast<std::size_t>(y * kWidth + x)] = kBlack;
  };
  const int pen[][2] = {{10, 50}, {40, 54}, {80, 56}, {118, 52}};
  pencil(10, 50);
  for (int i = 1; i < 4; ++i)
    WalkSegment(pen[i][0], pen[i][1], pen[i - 1][0], pen[i - 1][1], pencil);

  // Control points: the last follows the pointer; one is fixed beyond 7 pixels from the last.
  std::vector<std::pair<int, int>> ink = {{12, 47}, {12, 47}};
  for (const auto& m : moves) {
    ink.back() = m;
    const auto& fixed = ink[ink.size() - 2];
    const int dx = fixed.first - m.first, dy = fixed.second - m.second;
    if (49 < dx * dx + dy * dy) ink.push_back(m);
  }
  ASSERT_GT(ink.size(), 4u);
  ASSERT_LT(ink.size(), 63u);
  // Each pulled to the darkness-weighted centre of its 7 × 7 neighbourhood in the sketch.
  Points p;
  for (const auto& [px, py] : ink) {
    int weight = 0;
    double sx = 0, sy = 0;
    for (int y = py - 3; y <= py + 3; ++y)
      for (int x = px - 3; x <= px + 3; ++x) {
        const int c = sketch[static_cast<std::size_t>(y * kWidth + x)];
        const int w = 765 - (c & 0xFF) - (c >> 8 & 0xFF) - (c >> 16 & 0xFF);
        weight += w;
        sx += static_cast<double>(x) * w;
        sy += static_cast<double>(y) * w;
      }
    const double cx = weight > 0 ? sx / weight : px, cy = weight > 0 ? sy / weight : py;
    if (p.x.empty())
      p.Add(cx, cy);
    else
      p.AddNudged(cx, cy);
  }
  const NaturalSpline curve(p.x, p.y);
  ExpectedPicture expected(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (sketch[static_cast<std::size_t>(y * kWidth + x)] == kBlack)
        expected.Fill(x, y, x, y, kBlack);
  auto stamp = [&expected](int x, int y) { expected.Fill(x, y, x, y, kRed); };
  const int steps = static_cast<int>(ink.size()) * (7 - 1);
  int lastX = static_cast<int>(std::floor(p.x[0])), lastY = static_cast<int>(std::floor(p.y[0]));
  for (int i = 0; i <= steps; ++i) {
    const double u = static_cast<double>(i) / steps;
    const int nx = static_cast<int>(curve.X(u)), ny = static_cast<int>(curve.Y(u));
    WalkSegment(lastX, lastY, nx, ny, stamp);
    lastX = nx;
    lastY = ny;
  }
  ExpectPicture(dir.File("ink.bmp"), expected);
}

}  // namespace
}  // namespace mirasketch
