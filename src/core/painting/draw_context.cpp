#include "painting/draw_context.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "buffers/dib256.h"
#include "buffers/dib_tm.h"
#include "painting/tool_links.h"
#include "painting/tool_settings.h"

namespace mirasketch {

DrawContext::DrawContext(ToolLinks& links, CDib256& workPlane, const CDib256& brushImage,
                         const ToolSettings& settings)
    : links_(links), workPlane_(workPlane), brushImage_(brushImage), settings_(settings) {}

bool DrawContext::PrepareDraw(std::uint32_t colour, int transparency) {
  CDibTM& layer = links_.ActiveLayer();
  if (layer.Bits() == nullptr || layer.Width() <= 0 || layer.Height() <= 0) return false;
  pixels = layer.Bits();
  width = layer.Width();
  height = layer.Height();
  // A mask that does not match the layer cannot be indexed like its pixels; it then protects
  // nothing.
  const bool maskFits =
      layer.mask.Bits() != nullptr && layer.mask.Width() == width && layer.mask.Height() == height;
  mask = maskFits ? layer.mask.Bits() : nullptr;
  paintR = static_cast<int>(colour & 0xFF);
  paintG = static_cast<int>((colour >> 8) & 0xFF);
  paintB = static_cast<int>((colour >> 16) & 0xFF);
  t = settings_.transparencyOff ? 0 : std::clamp(transparency, 0, 255);
  coverage = workPlane_.Bits();
  const std::int64_t planeBytes =
      static_cast<std::int64_t>(workPlane_.Width()) * workPlane_.Height();
  if (coverage == nullptr || planeBytes < static_cast<std::int64_t>(width) * height) return false;
  coverageMode = false;
  previewing_ = false;
  return true;
}

bool DrawContext::LoadStamp(int k) {
  if (k < 0 || k >= 128) return false;
  const int x0 = (k % 8) * 16;
  const int y0 = (k / 8) * 16;
  const int sheetWidth = brushImage_.Width();
  const int sheetHeight = brushImage_.Height();
  const std::uint8_t* sheet = brushImage_.Bits();
  const bool held = sheet != nullptr && x0 + 16 <= sheetWidth && y0 + 16 <= sheetHeight;
  paintTop_ = paintLeft_ = 16;
  paintBottom_ = paintRight_ = 0;
  for (int i = 0; i < 16; ++i) {
    const std::uint8_t* row =
        held ? sheet + static_cast<std::ptrdiff_t>(sheetHeight - 1 - (y0 + i)) * sheetWidth + x0
             : nullptr;
    for (int j = 0; j < 16; ++j) {
      const int value = std::min((held ? row[j] : 255) + t, 255);
      stamp[static_cast<std::size_t>(i * 16 + j)] = static_cast<std::uint8_t>(value);
      if (value < 255) {
        paintTop_ = std::min(paintTop_, i);
        paintBottom_ = std::max(paintBottom_, i + 1);
        paintLeft_ = std::min(paintLeft_, j);
        paintRight_ = std::max(paintRight_, j + 1);
      }
    }
  }
  return true;
}

bool DrawContext::PrepareStamp(int stampIndex, std::uint32_t colour, int transparency) {
  return PrepareDraw(colour, transparency) && LoadStamp(stampIndex);
}

bool DrawContext::PrepareStampCoverage(int stampIndex, std::uint32_t colour, int transparency) {
  if (!PrepareStamp(stampIndex, colour, transparency)) return false;
  std::memset(
      coverage, 255,
      static_cast<std::size_t>(workPlane_.Width()) * static_cast<std::size_t>(workPlane_.Height()));
  coverageMode = true;
  return true;
}

bool DrawContext::PreparePreview(int stampIndex, std::uint32_t colour, int transparency) {
  if (!PrepareStamp(stampIndex, colour, transparency)) return false;
  if (!previewStarted_) {
    // The whole layer goes back to the snapshot once, whatever changed it since (an undo in the
    // middle of the drag brings an older snapshot).
    links_.RestoreSnapshotRect(0, 0, width, height);
    MarkChanged(0, 0, width - 1, height - 1);
    std::memset(coverage, 255,
                static_cast<std::size_t>(workPlane_.Width()) *
                    static_cast<std::size_t>(workPlane_.Height()));
    preview_.Reset(width, height);
    previewStarted_ = true;
  } else {
    // Only the tiles the previous preview drew on differ from the snapshot and hold coverage.
    preview_.TakeRuns([this](int x, int y, int w, int h) {
      links_.RestoreSnapshotRect(x, y, w, h);
      MarkChanged(x, y, x + w - 1, y + h - 1);
      for (int row = y; row < y + h; ++row)
        std::memset(coverage + static_cast<std::ptrdiff_t>(height - 1 - row) * width + x, 255,
                    static_cast<std::size_t>(w));
    });
  }
  coverageMode = true;
  previewing_ = true;
  return true;
}

// The blend of one pixel: `tr` says how much of the source stays, the mask byte how much of the
// source survives the paint, and the result moves one step toward the paint so that repeated
// painting reaches the paint colour exactly.
inline void DrawContext::Blend(std::uint8_t* dst, const std::uint8_t* src, int tr,
                               std::ptrdiff_t index) const {
  if (tr >= 255) return;
  const int paint[3] = {paintB, paintG, paintR};
  int value[3];
  int divisor;
  if (tr == 0) {
    value[0] = paint[0];
    value[1] = paint[1];
    value[2] = paint[2];
    divisor = 1;
  } else {
    for (int c = 0; c < 3; ++c) value[c] = src[c] * tr + paint[c] * (255 - tr);
    divisor = 255;
  }
  if (settings_.maskEnabled && mask != nullptr) {
    const int m = mask[index];
    if (m >= 255) return;
    if (m > 0) {
      for (int c = 0; c < 3; ++c) value[c] = src[c] * m * divisor + value[c] * (255 - m);
      divisor *= 255;
    }
  }
  for (int c = 0; c < 3; ++c) {
    int result = value[c] / divisor;
    if (result < paint[c])
      ++result;
    else if (result > paint[c])
      --result;
    dst[c] = static_cast<std::uint8_t>(result);
  }
}

void DrawContext::BlendPixel() {
  const std::uint8_t src[3] = {static_cast<std::uint8_t>(srcB), static_cast<std::uint8_t>(srcG),
                               static_cast<std::uint8_t>(srcR)};
  Blend(pixels + pixelIndex * 3, src, t, pixelIndex);
}

void DrawContext::PlotPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  MarkChanged(x, y, x, y);
  pixelIndex = static_cast<std::ptrdiff_t>(height - 1 - y) * width + x;
  if (coverageMode && coverage[pixelIndex] <= t) return;
  if (!SaveForUndo(x, y, x, y)) return;
  const std::uint8_t* src = pixels + pixelIndex * 3;
  if (coverageMode) {
    int one = 1;
    src = links_.SnapshotRun(x, y, one);
    coverage[pixelIndex] = static_cast<std::uint8_t>(t);
  }
  srcB = src[0];
  srcG = src[1];
  srcR = src[2];
  BlendPixel();
}

void DrawContext::PlotPixelUnchecked(int x, int y) {
  MarkChanged(x, y, x, y);
  pixelIndex = static_cast<std::ptrdiff_t>(height - 1 - y) * width + x;
  const std::uint8_t* src = pixels + pixelIndex * 3;
  srcB = src[0];
  srcG = src[1];
  srcR = src[2];
  BlendPixel();
}

bool DrawContext::SaveForUndo(int x0, int y0, int x1, int y1) {
  return links_.SaveBeforeWrite(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

void DrawContext::ReadSnapshot(int y, int x0, int x1, std::uint8_t* out) const {
  for (int x = x0; x <= x1;) {
    int count = x1 - x + 1;
    const std::uint8_t* src = links_.SnapshotRun(x, y, count);
    std::memcpy(out, src, static_cast<std::size_t>(count) * 3);
    out += static_cast<std::ptrdiff_t>(count) * 3;
    x += count;
  }
}

void DrawContext::FillSpan(int x, int y0, int y1) {
  if (x < 0 || x >= width) return;
  if (y0 > y1) std::swap(y0, y1);
  y0 = std::max(y0, 0);
  if (y1 >= height) y1 = height - 1;
  if (y0 >= height || y1 < 0) return;
  if (!SaveForUndo(x, y0, x, y1)) return;
  if (previewing_) preview_.Mark(x, y0, x, y1);
  MarkChanged(x, y0, x, y1);
  t = stamp[136];
  // Rows go upwards in memory as y grows downwards.
  std::ptrdiff_t index = static_cast<std::ptrdiff_t>(height - 1 - y0) * width + x;
  for (int y = y0; y <= y1; ++y, index -= width) {
    std::uint8_t* pixel = pixels + index * 3;
    Blend(pixel, pixel, t, index);
    coverage[index] = static_cast<std::uint8_t>(t);
  }
}

bool DrawContext::TakeChangedWithin(int x, int y, int w, int h) {
  const bool within = changedX0_ > changedX1_ ||
                      (changedX0_ >= x && changedY0_ >= y &&
                       static_cast<long long>(changedX1_) < static_cast<long long>(x) + w &&
                       static_cast<long long>(changedY1_) < static_cast<long long>(y) + h);
  ForgetChanged();
  return within;
}

bool DrawContext::PlotsPaintColour() const {
  // With transparency 0 and no mask byte to weigh, the blend comes to the paint colour itself.
  return !coverageMode && t == 0 && !(settings_.maskEnabled && mask != nullptr);
}

bool DrawContext::ClipSpan(int y, int& x0, int& x1) const {
  if (y < 0 || y >= height) return false;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width - 1);
  return x0 <= x1;
}

void DrawContext::PlotSpan(int y, int x0, int x1) {
  if (!ClipSpan(y, x0, x1)) return;
  if (!SaveForUndo(x0, y, x1, y)) return;
  MarkChanged(x0, y, x1, y);
  std::ptrdiff_t index = static_cast<std::ptrdiff_t>(height - 1 - y) * width + x0;
  std::uint8_t* dst = pixels + index * 3;
  if (!coverageMode) {
    if (PlotsPaintColour()) {
      PaintSpan(y, x0, x1);
      return;
    }
    for (int x = x0; x <= x1; ++x, ++index, dst += 3) Blend(dst, dst, t, index);
    return;
  }
  std::uint8_t* cover = coverage + index;
  // The snapshot comes in runs that lie contiguous in memory.
  for (int x = x0; x <= x1;) {
    int count = x1 - x + 1;
    const std::uint8_t* src = links_.SnapshotRun(x, y, count);
    x += count;
    for (; count > 0; --count, ++index, dst += 3, src += 3, ++cover) {
      if (*cover <= t) continue;
      *cover = static_cast<std::uint8_t>(t);
      Blend(dst, src, t, index);
    }
  }
}

void DrawContext::CopySnapshotSpan(int y, int x0, int x1) {
  if (!ClipSpan(y, x0, x1)) return;
  if (!SaveForUndo(x0, y, x1, y)) return;
  MarkChanged(x0, y, x1, y);
  ReadSnapshot(y, x0, x1, pixels + (static_cast<std::ptrdiff_t>(height - 1 - y) * width + x0) * 3);
}

void DrawContext::StampAt(int x, int y) {
  // The painting part of the stamp clipped to the layer once, in 64 bits so that no pointer
  // position can overflow; the loops below then need no per-pixel checks.
  const std::int64_t sx = x, sy = y;
  const int c0 = static_cast<int>(std::clamp<std::int64_t>(8 - sx, paintLeft_, 16));
  const int c1 = static_cast<int>(std::clamp<std::int64_t>(width - sx + 8, 0, paintRight_));
  const int r0 = static_cast<int>(std::clamp<std::int64_t>(8 - sy, paintTop_, 16));
  const int r1 = static_cast<int>(std::clamp<std::int64_t>(height - sy + 8, 0, paintBottom_));
  // Plotting leaves the last stamp value as the current transparency, clipped or not.
  t = stamp[255];
  if (c0 >= c1 || r0 >= r1) return;
  if (!SaveForUndo(x - 8 + c0, y - 8 + r0, x - 8 + c1 - 1, y - 8 + r1 - 1)) return;
  if (previewing_) preview_.Mark(x - 8 + c0, y - 8 + r0, x - 8 + c1 - 1, y - 8 + r1 - 1);
  MarkChanged(x - 8 + c0, y - 8 + r0, x - 8 + c1 - 1, y - 8 + r1 - 1);
  for (int r = r0; r < r1; ++r) {
    const int ly = y - 8 + r;
    const int lx = x - 8 + c0;
    std::ptrdiff_t index = static_cast<std::ptrdiff_t>(height - 1 - ly) * width + lx;
    std::uint8_t* dst = pixels + index * 3;
    const std::uint8_t* row = stamp.data() + r * 16;
    if (!coverageMode) {
      for (int c = c0; c < c1; ++c, ++index, dst += 3) Blend(dst, dst, row[c], index);
      continue;
    }
    std::uint8_t* cover = coverage + index;
    std::uint8_t snapshot[16 * 3];
    ReadSnapshot(ly, lx, lx + c1 - c0 - 1, snapshot);
    const std::uint8_t* src = snapshot;
    for (int c = c0; c < c1; ++c, ++index, dst += 3, src += 3, ++cover) {
      const int value = row[c];
      if (*cover <= value) continue;
      *cover = static_cast<std::uint8_t>(value);
      Blend(dst, src, value, index);
    }
  }
}

void DrawContext::LineBegin(int x0, int y0, int x1, int y1) {
  e_ = 0.0;
  s_ = 0.0;
  const int dx = x1 - x0;
  const int dy = y1 - y0;
  sx_ = (dx > 0) - (dx < 0);
  sy_ = (dy > 0) - (dy < 0);
  const int adx = std::abs(dx);
  const int ady = std::abs(dy);
  xMajor_ = ady <= adx;
  if (xMajor_ && adx > 0)
    s_ = static_cast<double>(ady) / adx;
  else if (!xMajor_ && ady > 0)
    s_ = static_cast<double>(adx) / ady;
  px = x0;
  py = y0;
  ex_ = x1;
  ey_ = y1;
}

bool DrawContext::LineStep() {
  e_ += s_;
  if (xMajor_) {
    px += sx_;
    if (e_ >= 1.0) {
      py += sy_;
      e_ -= 1.0;
    }
    return px == ex_;
  }
  py += sy_;
  if (e_ >= 1.0) {
    px += sx_;
    e_ -= 1.0;
  }
  return py == ey_;
}

void DrawContext::StampLine(int x0, int y0, int x1, int y1) {
  WalkLine(x0, y0, x1, y1, [this](int x, int y) { StampAt(x, y); });
}

void DrawContext::StampRect(int x0, int y0, int x1, int y1) {
  StampLine(x0, y0, x1, y0);
  StampLine(x1, y0, x1, y1);
  StampLine(x1, y1, x0, y1);
  StampLine(x0, y1, x0, y0);
}

namespace {

// Round(√((1 − a²/b²)·c²)) with exact integer squares (64-bit, so no radius can overflow them),
// the rest in extended precision, ties to even.
int EllipseExtent(int a, int b, int c) {
  const auto square = [](int v) {
    return static_cast<long double>(static_cast<std::int64_t>(v) * v);
  };
  return static_cast<int>(std::nearbyint(std::sqrt((1.0L - square(a) / square(b)) * square(c))));
}

}  // namespace

void DrawContext::StampEllipse(int cx, int cy, int rx, int ry, bool fill) {
  if (rx == 0 || ry == 0) return;
  const int n = std::abs(rx);
  if (fill) {
    for (int i = 0; i <= n; ++i) {
      const int h = EllipseExtent(i, rx, ry);
      FillSpan(cx + i, cy + h, cy - h);
      if (i > 0) FillSpan(cx - i, cy + h, cy - h);
    }
  }
  int p = 0;
  for (int i = 0; i <= n; ++i) {
    const int h = EllipseExtent(i, rx, ry);
    if (h >= p - 1) {
      StampAt(cx + i, cy + h);
      if (i < rx) StampAt(cx + i, cy - h);
      if (i > 0) {
        StampAt(cx - i, cy + h);
        if (i < rx) StampAt(cx - i, cy - h);
      }
    } else {
      for (int j = p - 1; j >= h; --j) {
        const int w = j < 0 ? rx : EllipseExtent(j, ry, rx);
        StampAt(cx + w, cy + j);
        StampAt(cx - w, cy + j);
        StampAt(cx + w, cy - j);
        StampAt(cx - w, cy - j);
      }
    }
    p = h;
  }
}

float DrawContext::DirectionAngle(int x0, int y0, int x1, int y1, bool snap) {
  float a =
      static_cast<float>(std::atan2(static_cast<double>(y1 - y0), static_cast<double>(x1 - x0)) *
                         180.0 / std::numbers::pi);
  if (snap) {
    const long long rounded = std::llrint(static_cast<double>(a) + 22.5);
    a = static_cast<float>((rounded + 360) % 360 / 45 * 45);
  }
  return a;
}

}  // namespace mirasketch
