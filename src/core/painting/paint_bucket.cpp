#include "painting/paint_bucket.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

#include "buffers/dib_tm.h"
#include "painting/tool_engine.h"

namespace mirasketch {

namespace {

// A run of the region on one storage row, packed as row << 32 | first << 16 | last (all below
// 2^16, as buffer sides are at most 30000).
std::uint64_t Pack(int row, int first, int last) {
  return static_cast<std::uint64_t>(row) << 32 | static_cast<std::uint64_t>(first) << 16 |
         static_cast<std::uint64_t>(last);
}

// Extends the candidates around `x` on a row to their whole run, marks it filled, and gives its
// first and last column. Each mark is filled as the run reaches it: the runs are mostly short,
// and a separate fill of the run would cost a memset call each.
void FillRun(std::uint8_t* row, int width, int x, int& first, int& last) {
  row[x] = kFilled;
  first = x;
  while (first > 0 && row[first - 1] == kCandidate) row[--first] = kFilled;
  last = x;
  while (last + 1 < width && row[last + 1] == kCandidate) row[++last] = kFilled;
}

// x86-64's baseline instruction set has no byte shuffle, so GCC cannot vectorise a loop over
// 3-byte pixels; where the processor has AVX2, a second copy of the loop, chosen when the program
// loads, is vectorised.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MIRASKETCH_AVX2_CLONE __attribute__((target_clones("default", "avx2")))
#else
#define MIRASKETCH_AVX2_CLONE
#endif

// Marks as candidates the pixels whose channel differences from `seed` (0x00BBGGRR) sum to at
// most `range`, the others as not.
MIRASKETCH_AVX2_CLONE void MarkCandidates(const std::uint8_t* pixels, std::size_t count,
                                          std::uint32_t seed, int range, std::uint8_t* marks) {
  const int seedB = static_cast<int>((seed >> 16) & 0xFF);
  const int seedG = static_cast<int>((seed >> 8) & 0xFF);
  const int seedR = static_cast<int>(seed & 0xFF);
  const std::uint8_t* p = pixels;
  for (std::size_t i = 0; i < count; ++i, p += 3) {
    const int distance = std::abs(p[0] - seedB) + std::abs(p[1] - seedG) + std::abs(p[2] - seedR);
    marks[i] = distance <= range ? kCandidate : kNotCandidate;
  }
}

// `GrowRegion`, handing each run to `onRun(storageRow, first, last)` as it is marked filled.
template <typename RunOp>
void GrowRuns(std::uint8_t* marks, int width, int height, int x, int y, RunOp&& onRun) {
  // Storage rows run bottom-up; 4-connection is the same either way.
  const int seedRow = height - 1 - y;
  std::uint8_t* seed = marks + static_cast<std::ptrdiff_t>(seedRow) * width;
  int first = x, last = x;
  if (seed[x] == kCandidate)
    FillRun(seed, width, x, first, last);
  else
    seed[x] = kFilled;  // the seed counts as filled whatever its mark
  onRun(seedRow, first, last);
  std::vector<std::uint64_t> spans;
  spans.push_back(Pack(seedRow, first, last));
  while (!spans.empty()) {
    const std::uint64_t span = spans.back();
    spans.pop_back();
    const int row = static_cast<int>(span >> 32);
    const int from = static_cast<int>((span >> 16) & 0xFFFF);
    const int to = static_cast<int>(span & 0xFFFF);
    for (const int next : {row - 1, row + 1}) {
      if (next < 0 || next >= height) continue;
      std::uint8_t* line = marks + static_cast<std::ptrdiff_t>(next) * width;
      for (int i = from; i <= to; ++i) {
        if (line[i] != kCandidate) continue;
        FillRun(line, width, i, first, last);
        onRun(next, first, last);
        spans.push_back(Pack(next, first, last));
        i = last;
      }
    }
  }
}

}  // namespace

void GrowRegion(std::uint8_t* marks, int width, int height, int x, int y) {
  GrowRuns(marks, width, height, x, y, [](int, int, int) {});
}

void FloodFill(ToolEngine& e, int x, int y, std::uint32_t seed, int range) {
  DrawContext& d = e.draw;
  const ToolSettings& s = e.settings;
  if (!d.PrepareDraw(s.drawColor, s.transparency)) return;
  if (x < 0 || y < 0 || x >= d.width || y >= d.height) return;
  std::uint8_t* marks = d.coverage;
  MarkCandidates(d.pixels, static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height),
                 seed, range, marks);
  // Each run of the region is painted as one span when it is marked: the pixels' colours play no
  // part in the growth, which follows the marks alone.
  if (d.PlotsPaintColour())
    GrowRuns(marks, d.width, d.height, x, y,
             [&d](int row, int first, int last) { d.PaintSpan(d.height - 1 - row, first, last); });
  else
    GrowRuns(marks, d.width, d.height, x, y,
             [&d](int row, int first, int last) { d.PlotSpan(d.height - 1 - row, first, last); });
}

void MaskFloodFill(ToolEngine& e, int x, int y, int seed, int range, std::uint8_t value) {
  DrawContext& d = e.draw;
  const ToolSettings& s = e.settings;
  if (!d.PrepareDraw(s.drawColor, s.transparency)) return;
  CDibTM& layer = e.links().ActiveLayer();
  if (layer.mask.Bits() == nullptr || layer.mask.Width() != d.width ||
      layer.mask.Height() != d.height)
    return;
  if (x < 0 || y < 0 || x >= d.width || y >= d.height) return;
  std::uint8_t* marks = d.coverage;
  std::uint8_t* mask = layer.mask.Bits();
  const std::size_t pixels = static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height);
  for (std::size_t i = 0; i < pixels; ++i)
    marks[i] = std::abs(mask[i] - seed) <= range ? kCandidate : kNotCandidate;
  GrowRegion(marks, d.width, d.height, x, y);
  int top = d.height, bottom = -1, left = d.width, right = -1;
  for (int row = 0; row < d.height; ++row) {
    const std::ptrdiff_t start = static_cast<std::ptrdiff_t>(d.height - 1 - row) * d.width;
    const std::uint8_t* line = marks + start;
    std::uint8_t* out = mask + start;
    for (int i = 0; i < d.width; ++i) {
      if (line[i] != kFilled) continue;
      out[i] = value;
      top = std::min(top, row);
      bottom = row;
      left = std::min(left, i);
      right = std::max(right, i);
    }
  }
  if (bottom >= 0) d.MarkChanged(left, top, right, bottom);
}

void PaintBucketTool(ToolEngine& e, ToolEvent event) {
  ToolSettings& s = e.settings;
  switch (event) {
    case teActivate:
      e.links().SetTransparencySlider(s.fillTransparency);
      break;
    case teDeactivate:
      s.fillTransparency = s.transparency;
      break;
    case teDown: {
      if (e.buttonCode != 1) {
        e.PickColor();
        break;
      }
      e.links().PushUndo();
      const int seed = e.links().ActiveLayer().GetPixel(e.curX, e.curY);
      FloodFill(e, e.curX, e.curY, static_cast<std::uint32_t>(seed), s.fillRange);
      e.links().RefreshPosition();
      break;
    }
    default:
      break;
  }
}

}  // namespace mirasketch
