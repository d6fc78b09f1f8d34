// The paint bucket filling a 4096 × 4096 maze (white passages two pixels wide between black walls
// one pixel thick, one winding 4-connected region) against OpenCV's floodFill of the same picture
// in the same run. Both start from a fresh copy of the maze each run; after the first run the two
// pictures must match exactly.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "bench_timing.h"
#include "painting/paint_bucket.h"
#include "platform/headless_platform.h"
#include "platform/uniform_random.h"
#include "platform/views.h"
#include "shell/studio.h"

namespace {

using namespace mirasketch;
using bench::Clock;
using bench::Median;
using bench::Millis;

constexpr int kSide = 4096;
constexpr int kPitch = 3;                        // a two-pixel passage and its one-pixel wall
constexpr int kCells = (kSide - 1) / kPitch;     // 1365 cells a side; the last wall is column 4095
constexpr int kSeedX = 1, kSeedY = 1;            // inside the top-left cell
constexpr std::uint32_t kPassage = 0xFFFFFF;     // white
constexpr std::uint32_t kFillColour = 0x0000FF;  // red, 0x00BBGGRR
constexpr int kRuns = 9;
constexpr std::pair<int, int> kSteps[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};  // to the neighbours

// A perfect maze by randomised depth-first search over kCells × kCells cells: one byte a pixel,
// top row first, 1 on the passages. Cell (cx, cy) covers pixels 3cx+1 … 3cx+2, 3cy+1 … 3cy+2;
// carving through a wall opens the two pixels between neighbouring cells.
std::vector<std::uint8_t> MakeMaze() {
  std::vector<std::uint8_t> open(static_cast<std::size_t>(kSide) * kSide, 0);
  const auto openPixel = [&open](int x, int y) {
    open[static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x)] = 1;
  };
  const auto openCell = [&openPixel](int cx, int cy) {
    for (int dy = 1; dy < kPitch; ++dy)
      for (int dx = 1; dx < kPitch; ++dx) openPixel(cx * kPitch + dx, cy * kPitch + dy);
  };
  std::vector<std::uint8_t> visited(static_cast<std::size_t>(kCells) * kCells, 0);
  std::vector<int> stack;
  // The program's generator from a fixed seed: the same maze on every machine.
  UniformRandom random;
  random.Seed(20240611);
  visited[0] = 1;
  openCell(0, 0);
  stack.push_back(0);
  while (!stack.empty()) {
    const int cell = stack.back();
    const int cx = cell % kCells, cy = cell / kCells;
    std::pair<int, int> steps[4];
    int count = 0;
    for (const auto& [dx, dy] : kSteps) {
      const int nx = cx + dx, ny = cy + dy;
      if (nx < 0 || ny < 0 || nx >= kCells || ny >= kCells) continue;
      if (visited[static_cast<std::size_t>(ny) * kCells + static_cast<std::size_t>(nx)]) continue;
      steps[count++] = {dx, dy};
    }
    if (count == 0) {
      stack.pop_back();
      continue;
    }
    const auto [dx, dy] = steps[random.Next() % static_cast<std::uint64_t>(count)];
    const int nx = cx + dx, ny = cy + dy;
    // The wall pixels between the two cells.
    for (int k = 1; k < kPitch; ++k) {
      if (dx != 0)
        openPixel(std::max(cx, nx) * kPitch, cy * kPitch + k);
      else
        openPixel(cx * kPitch + k, std::max(cy, ny) * kPitch);
    }
    openCell(nx, ny);
    const int next = ny * kCells + nx;
    visited[static_cast<std::size_t>(next)] = 1;
    stack.push_back(next);
  }
  return open;
}

struct FillBench {
  FillBench() : studio(platform, views) {
    studio.StartUp();
    LayerProject& p = studio.project;
    p.NewProject(1, kSide, kSide);
    p.AfterNewProject();
    const std::vector<std::uint8_t> open = MakeMaze();
    // The layer is stored bottom row first, the Mat top row first; both hold B, G, R bytes.
    maze.assign(3ULL * kSide * kSide, 0);
    reference = cv::Mat(kSide, kSide, CV_8UC3, cv::Scalar(0, 0, 0));
    for (int y = 0; y < kSide; ++y) {
      std::uint8_t* layerRow = maze.data() + 3ULL * kSide * static_cast<std::size_t>(kSide - 1 - y);
      std::uint8_t* matRow = reference.ptr<std::uint8_t>(y);
      for (int x = 0; x < kSide; ++x) {
        if (open[static_cast<std::size_t>(y) * kSide + static_cast<std::size_t>(x)] == 0) continue;
        std::memset(layerRow + 3 * x, 0xFF, 3);
        std::memset(matRow + 3 * x, 0xFF, 3);
      }
    }
    ToolSettings& s = studio.toolEngine.settings;
    s.drawColor = kFillColour;
    s.transparency = 0;
    s.transparencyOff = false;
    s.maskEnabled = false;
  }

  // Puts the unfilled maze back into the layer and into `mat`.
  void Restore() {
    std::memcpy(studio.project.Layer(0).Bits(), maze.data(), maze.size());
    reference.copyTo(mat);
  }

  double Ours() {
    const Clock::time_point start = Clock::now();
    FloodFill(studio.toolEngine, kSeedX, kSeedY, kPassage, 1);
    return Millis(Clock::now() - start);
  }

  double OpenCv() {
    const Clock::time_point start = Clock::now();
    // The same red as kFillColour, in OpenCV's blue, green, red order.
    cv::floodFill(mat, cv::Point(kSeedX, kSeedY), cv::Scalar(0, 0, 255), nullptr,
                  cv::Scalar(0, 0, 0), cv::Scalar(0, 0, 0), 4 | cv::FLOODFILL_FIXED_RANGE);
    return Millis(Clock::now() - start);
  }

  // Whether the layer and `mat` hold the same picture; counts the pixels the fill changed.
  bool Same(long long& filled) const {
    const std::uint8_t* bits = studio.project.Layer(0).Bits();
    filled = 0;
    for (int y = 0; y < kSide; ++y) {
      const std::size_t start = 3ULL * kSide * static_cast<std::size_t>(kSide - 1 - y);
      const std::uint8_t* layerRow = bits + start;
      if (std::memcmp(layerRow, mat.ptr<std::uint8_t>(y), 3ULL * kSide) != 0) return false;
      for (int x = 0; x < kSide; ++x)
        filled += std::memcmp(layerRow + 3 * x, maze.data() + start + 3 * x, 3) != 0;
    }
    return true;
  }

  HeadlessPlatform platform;
  NoViews views;
  Studio studio;
  std::vector<std::uint8_t> maze;  // the layer's bytes before the fill
  cv::Mat reference;               // the same picture top-down
  cv::Mat mat;                     // the picture floodFill fills
};

}  // namespace

int main() {
  FillBench bench;
  if (bench.studio.project.Layer(0).Width() != kSide ||
      bench.studio.project.Layer(0).Height() != kSide) {
    std::fprintf(stderr, "the project's layer is not %d × %d\n", kSide, kSide);
    return 1;
  }
  std::vector<double> ours, opencv;
  long long filled = 0;
  for (int run = 0; run < kRuns; ++run) {
    bench.Restore();
    ours.push_back(bench.Ours());
    opencv.push_back(bench.OpenCv());
    if (run == 0 && !bench.Same(filled)) {
      std::fprintf(stderr, "the paint bucket and floodFill filled different pixels\n");
      return 1;
    }
  }
  if (filled == 0) {
    std::fprintf(stderr, "nothing was filled\n");
    return 1;
  }
  std::printf("metric: fill_maze_ms %.2f\n", Median(ours));
  std::printf("metric: fill_maze_opencv_ms %.2f\n", Median(opencv));
  std::printf("metric: fill_maze_pixels %lld\n", filled);
  std::printf("ratio: fill_vs_opencv %.3f\n", Median(opencv) / Median(ours));
  return 0;
}
