// Strokes ruled along the ruler's templates through `mirasketch-cli replay`, compared with pictures
// worked out here from Ruler.dat beside the tool: the outline by the point transform, the cloud by
// the textbook natural spline, the rail by the program's line walk, and the stamps (stamp 0, the
// one-pixel pen) on every rail pixel within 3 pixels of a moved pointer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "replay_runner.h"
#include "support/curve_reference.h"

namespace mirasketch {
namespace {

using Pixel = std::pair<int, int>;

constexpr int kRed = 0x0000FF;
constexpr int kWidth = 320;
constexpr int kHeight = 256;

// Record `index` of the Ruler.dat the tool reads: its point count and points.
std::vector<std::pair<double, double>> Template(int index) {
  const std::string path =
      (std::filesystem::path(MIRASKETCH_CLI).parent_path() / "Ruler.dat").string();
  const std::vector<std::uint8_t> bytes = test::ReadAll(path);
  EXPECT_EQ(bytes.size(), 256u) << path;
  if (bytes.size() != 256) return {};
  auto int32 = [&](std::size_t at) {
    return static_cast<std::int32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                     static_cast<std::uint32_t>(bytes[at + 3]) << 24);
  };
  const std::size_t base = 128 * static_cast<std::size_t>(index);
  std::vector<std::pair<double, double>> points;
  for (int i = 0; i < int32(base); ++i)
    points.emplace_back(int32(base + 8 + 8 * i), int32(base + 12 + 8 * i));
  return points;
}

// The ruler at a centre and an angle (degrees, as the tool keeps it in single precision).
struct Placement {
  int cx, cy;
  float angle;
  Pixel Transform(double x, double y) const {
    const double a = static_cast<double>(angle) * std::numbers::pi / 180.0;
    return {static_cast<int>(std::floor(std::cos(a) * x - std::sin(a) * y)) + cx,
            static_cast<int>(std::floor(std::sin(a) * x + std::cos(a) * y)) + cy};
  }
};

void AddLine(std::set<Pixel>& rail, Pixel a, Pixel b) {
  test::WalkSegment(a.first, a.second, b.first, b.second, [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < kWidth && y < kHeight) rail.insert({x, y});
  });
}

std::set<Pixel> TriangleRail(const Placement& at) {
  std::set<Pixel> rail;
  const auto points = Template(0);
  for (std::size_t i = 1; i < points.size(); ++i)
    AddLine(rail, at.Transform(points[i - 1].first, points[i - 1].second),
            at.Transform(points[i].first, points[i].second));
  return rail;
}

// The cloud at scale 1: 80 samples of the spline, each joined to the last one joined when more
// than 3 pixels (x and y together) from it, the end always.
std::set<Pixel> CloudRail(const Placement& at) {
  std::set<Pixel> rail;
  std::vector<double> xs, ys;
  for (const auto& [x, y] : Template(1)) {
    xs.push_back(x);
    ys.push_back(y);
  }
  const test::NaturalSpline curve(xs, ys);
  const int n = 80;
  Pixel last = at.Transform(xs[0], ys[0]);
  for (int i = 1; i <= n; ++i) {
    const double u = static_cast<double>(i) / n;
    const Pixel q = at.Transform(curve.X(u), curve.Y(u));
    const int distance = std::abs(last.first - q.first) + std::abs(last.second - q.second);
    if (distance > 3 || (i == n && distance > 0)) {
      AddLine(rail, last, q);
      last = q;
    }
  }
  return rail;
}

// Drawing along stamps every rail pixel in the 7 × 7 window around each moved pointer.
void Rule(const std::set<Pixel>& rail, const std::vector<Pixel>& moves,
          test::ExpectedPicture& expected) {
  for (const auto& [mx, my] : moves)
    for (int y = my - 3; y <= my + 3; ++y)
      for (int x = mx - 3; x <= mx + 3; ++x)
        if (rail.count({x, y}) != 0) expected.Fill(x, y, x, y, kRed);
}

std::string Moves(const std::vector<Pixel>& moves) {
  std::string script;
  for (const auto& [x, y] : moves)
    script += "mouse move 1 " + std::to_string(x) + " " + std::to_string(y) + "\n";
  return script;
}

TEST(CliReplayRuler, StrokesFollowTheTriangleAndTheTurnedCloud) {
  ASSERT_EQ(test::StampFootprint(0), (std::vector<Pixel>{{0, 0}}));
  const Placement triangle{128, 128, 0.0f};
  // Along the set square's bottom edge, two rows above it, then up along its upright edge.
  std::vector<Pixel> alongTriangle;
  for (int x = 200; x >= 60; x -= 4) alongTriangle.emplace_back(x, 206);
  for (int y = 200; y >= 40; y -= 5) alongTriangle.emplace_back(50, y);

  // The ruler moved by its centre to (170, 120) and turned by its handle toward (+100, +58).
  const float angle = static_cast<float>(std::atan2(58.0, 100.0) * 180.0 / std::numbers::pi);
  const Placement cloud{170, 120, angle};
  // Along the cloud's outline, one pixel off it.
  std::vector<Pixel> alongCloud;
  {
    std::vector<double> xs, ys;
    for (const auto& [x, y] : Template(1)) {
      xs.push_back(x);
      ys.push_back(y);
    }
    const test::NaturalSpline curve(xs, ys);
    for (int i = 2; i <= 58; ++i) {
      const Pixel p = cloud.Transform(curve.X(i / 60.0), curve.Y(i / 60.0));
      alongCloud.emplace_back(p.first + 1, p.second - 1);
    }
  }

  test::TempDir dir;
  const Pixel start = alongCloud.front();
  const auto run = test::Replay(
      "new 320 256\n"
      "set sbColRed 255\n"
      "click spbRuler\n"
      "mouse down 1 204 206\n" +
          Moves(alongTriangle) +
          "mouse up 1 50 40\n"
          "save OUT/triangle.bmp\n"
          "click rdiRulerCloud\n"
          "mouse down 1 130 126  # the centre, moved\n"
          "mouse move 1 150 122\n"
          "mouse move 1 172 118\n"
          "mouse up 1 172 118\n"
          "mouse down 1 194 120  # the handle, turned\n"
          "mouse move 1 270 178\n"
          "mouse up 1 270 178\n"
          "mouse down 1 " +
          std::to_string(start.first) + " " + std::to_string(start.second) + "\n" +
          Moves(alongCloud) + "mouse up 1 0 0\nsave OUT/cloud.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  test::ExpectedPicture expected(kWidth, kHeight);
  Rule(TriangleRail(triangle), alongTriangle, expected);
  // The saved pictures are the layers alone: no outline, no handles.
  test::ExpectPicture(dir.File("triangle.bmp"), expected);
  Rule(CloudRail(cloud), alongCloud, expected);
  test::ExpectPicture(dir.File("cloud.bmp"), expected);
}

}  // namespace
}  // namespace mirasketch
