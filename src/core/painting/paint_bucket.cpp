#include "painting/paint_bucket.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
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
  std::vector<std::uint64_t> spans;
  if (seed[x] == kCandidate) {
    FillRun(seed, width, x, first, last);
  } else {
    // The seed counts as filled whatever its mark; candidates beside it join the region.
    seed[x] = kFilled;
    for (const int side : {x - 1, x + 1}) {
      if (side < 0 || side >= width || seed[side] != kCandidate) continue;
      FillRun(seed, width, side, first, last);
      onRun(seedRow, first, last);
      spans.push_back(Pack(seedRow, first, last));
    }
    first = last = x;
  }
  onRun(seedRow, first, last);
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

// The box, in storage rows and columns, of the runs a growth marked filled.
struct RunBox {
  int firstRow = INT_MAX, lastRow = -1, first = INT_MAX, last = -1;
};

RunBox GrowBox(std::uint8_t* marks, int width, int height, int x, int y) {
  RunBox box;
  GrowRuns(marks, width, height, x, y, [&box](int row, int first, int last) {
    box.firstRow = std::min(box.firstRow, row);
    box.lastRow = std::max(box.lastRow, row);
    box.first = std::min(box.first, first);
    box.last = std::max(box.last, last);
  });
  return box;
}

// Hands each run of filled marks inside `box` to `op(y, first, last)` (y from the top): rows from
// the top down, runs left to right, the order in which the fill paints.
template <typename SpanOp>
void ForEachFilledRun(const std::uint8_t* marks, int width, int height, const RunBox& box,
                      SpanOp&& op) {
  for (int row = box.lastRow; row >= box.firstRow; --row) {
    const std::uint8_t* line = marks + static_cast<std::ptrdiff_t>(row) * width;
    const std::uint8_t* p = line + box.first;
    const std::uint8_t* const end = line + box.last + 1;
    while ((p = static_cast<const std::uint8_t*>(
                std::memchr(p, kFilled, static_cast<std::size_t>(end - p)))) != nullptr) {
      const std::uint8_t* q = p + 1;
      while (q < end && *q == kFilled) ++q;
      op(height - 1 - row, static_cast<int>(p - line), static_cast<int>(q - line) - 1);
      p = q;
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
  const RunBox box = GrowBox(marks, d.width, d.height, x, y);
  if (d.PlotsPaintColour())
    ForEachFilledRun(marks, d.width, d.height, box,
                     [&d](int row, int first, int last) { d.PaintSpan(row, first, last); });
  else
    ForEachFilledRun(marks, d.width, d.height, box,
                     [&d](int row, int first, int last) { d.PlotSpan(row, first, last); });
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
  const std::uint8_t* in = mask;
  const std::uint8_t* const end = mask + static_cast<std::ptrdiff_t>(d.width) * d.height;
  for (std::uint8_t* out = marks; in != end; ++in, ++out)
    *out = std::abs(*in - seed) <= range ? kCandidate : kNotCandidate;
  const RunBox box = GrowBox(marks, d.width, d.height, x, y);
  ForEachFilledRun(marks, d.width, d.height, box, [&d, mask, value](int row, int first, int last) {
    std::memset(mask + static_cast<std::ptrdiff_t>(d.height - 1 - row) * d.width + first, value,
                static_cast<std::size_t>(last - first + 1));
  });
  d.MarkChanged(box.first, d.height - 1 - box.lastRow, box.last, d.height - 1 - box.firstRow);
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
      // The fill may reach far beyond what the canvas window shows.
      e.links().RecomposeAndRefreshPosition();
      break;
    }
    default:
      break;
  }
}

}  // namespace mirasketch
