#include "project/compositor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "buffers/copy_block.h"
#include "buffers/dib_tm.h"
#include "buffers/vector_clones.h"
#include "platform/surface.h"
#include "project/canvas_view_state.h"
#include "project/compose_mode.h"
#include "project/layer_project.h"
#include "project/masked_rows.h"
#include "project/project_links.h"

namespace mirasketch {
namespace {

constexpr int kToolSelection = 8;
constexpr int kToolBox = 16;
constexpr int kToolEllipse = 17;

// Row bodies of the pixelwise modes. Each works through a row in runs of pixels: first one value
// per pixel (a weight or a take/keep choice) is computed and spread to one per byte, then a flat
// loop over the run's bytes mixes layer and picture. Both loops vectorise; no branch depends on
// the pixel data.
template <typename Value, typename PerPixel, typename Mix>
[[gnu::always_inline]] inline void MixRow(std::uint8_t* __restrict d,
                                          const std::uint8_t* __restrict s, int w,
                                          PerPixel perPixel, Mix mix) {
  constexpr int kRun = 128;
  Value spread[3 * kRun];
  for (int first = 0; first < w; first += kRun) {
    const int count = std::min(kRun, w - first);
    for (int i = 0; i < count; ++i) {
      const Value v = perPixel(first + i);
      spread[3 * i] = v;
      spread[3 * i + 1] = v;
      spread[3 * i + 2] = v;
    }
    std::uint8_t* dd = d + 3 * first;
    const std::uint8_t* ss = s + 3 * first;
    for (int k = 0; k < 3 * count; ++k) dd[k] = mix(dd[k], ss[k], spread[k]);
  }
}

MIRASKETCH_VECTOR_CLONES
void BlendRow(std::uint8_t* __restrict d, const std::uint8_t* __restrict s,
              const std::uint8_t* __restrict m, int w) {
  MixRow<std::uint16_t>(
      d, s, w,
      // a = m below 128, m + 1 from 128 on, so that 255 keeps the picture below exactly.
      [m](int n) { return static_cast<std::uint16_t>(m[n] + (m[n] >= 128 ? 1 : 0)); },
      // s·(256 − a) + d·a never exceeds 255·256: 16 bits suffice.
      [](std::uint8_t dc, std::uint8_t sc, std::uint16_t a) {
        const auto mixed =
            static_cast<std::uint16_t>(sc * static_cast<std::uint16_t>(256 - a) + dc * a);
        return static_cast<std::uint8_t>(mixed >> 8);
      });
}

// The layer pixel replaces the picture's where `pass(n)` holds.
template <typename Pass>
[[gnu::always_inline]] inline void TakeRow(std::uint8_t* __restrict d,
                                           const std::uint8_t* __restrict s, int w, Pass pass) {
  MixRow<std::uint8_t>(
      d, s, w, [pass](int n) { return static_cast<std::uint8_t>(pass(n) ? 0xFF : 0x00); },
      [](std::uint8_t dc, std::uint8_t sc, std::uint8_t take) {
        return static_cast<std::uint8_t>((sc & take) | (dc & ~take));
      });
}

MIRASKETCH_VECTOR_CLONES
void MaskBelowRow(std::uint8_t* __restrict d, const std::uint8_t* __restrict s,
                  const std::uint8_t* __restrict m, int w, std::uint8_t t8) {
  TakeRow(d, s, w, [m, t8](int n) { return t8 >= m[n]; });
}

MIRASKETCH_VECTOR_CLONES
void MaskAboveRow(std::uint8_t* __restrict d, const std::uint8_t* __restrict s,
                  const std::uint8_t* __restrict m, int w, std::uint8_t t8) {
  TakeRow(d, s, w, [m, t8](int n) { return m[n] >= t8; });
}

// Channel sums are at most 765, so a threshold outside −1 … 766 decides every pixel alike and is
// narrowed to that range, which keeps the comparison in 16 bits.
std::int16_t SumThreshold(std::int32_t threshold) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(threshold, -1, 766));
}

inline std::int16_t ChannelSum(const std::uint8_t* s, int n) {
  return static_cast<std::int16_t>(s[3 * n] + s[3 * n + 1] + s[3 * n + 2]);
}

MIRASKETCH_VECTOR_CLONES
void BrightBelowRow(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, int w,
                    std::int16_t t) {
  TakeRow(d, s, w, [s, t](int n) { return t >= ChannelSum(s, n); });
}

MIRASKETCH_VECTOR_CLONES
void BrightAboveRow(std::uint8_t* __restrict d, const std::uint8_t* __restrict s, int w,
                    std::int16_t t) {
  TakeRow(d, s, w, [s, t](int n) { return ChannelSum(s, n) >= t; });
}

// One block of a layer to be laid on the composed picture: the top-left pixel of each buffer and
// the distance between two image rows (rows are stored bottom-up, so a row down is a step back).
struct BlockWalk {
  std::uint8_t* d;
  const std::uint8_t* s;
  const std::uint8_t* m;
  std::ptrdiff_t dStride, sStride, mStride;
  int w, h;
};

// The masked modes' row loops for this processor: AVX2 where it has it, otherwise SSE2, which
// every x86-64 processor has; on other processors the portable loops.
const MaskedRows& ChosenMaskedRows() {
#if defined(__x86_64__)
  static const MaskedRows& chosen =
      __builtin_cpu_supports("avx2") ? kAvx2MaskedRows : kSse2MaskedRows;
  return chosen;
#else
  return kScalarMaskedRows;
#endif
}

template <typename LayRow>
void WalkRows(BlockWalk b, LayRow layRow) {
  for (int row = 0; row < b.h; ++row, b.d -= b.dStride, b.s -= b.sStride, b.m -= b.mStride)
    layRow(b.d, b.s, b.m, b.w);
}

void ComposeBlock(const BlockWalk& b, int mode, std::int32_t threshold) {
  const auto t8 = static_cast<std::uint8_t>(threshold & 0xFF);
  const std::int16_t t = SumThreshold(threshold);
  using Row = std::uint8_t*;
  using In = const std::uint8_t*;
  const MaskedRows& rows = ChosenMaskedRows();
  switch (mode) {
    case cmMaskBlend:
      WalkRows(b, [blend = rows.blend](Row d, In s, In m, int w) { blend(d, s, m, w); });
      break;
    case cmMaskBelow:
      WalkRows(b, [below = rows.below, t8](Row d, In s, In m, int w) { below(d, s, m, w, t8); });
      break;
    case cmMaskAbove:
      WalkRows(b, [above = rows.above, t8](Row d, In s, In m, int w) { above(d, s, m, w, t8); });
      break;
    case cmBrightBelow:
      WalkRows(b, [t](Row d, In s, In, int w) { BrightBelowRow(d, s, w, t); });
      break;
    case cmBrightAbove:
      WalkRows(b, [t](Row d, In s, In, int w) { BrightAboveRow(d, s, w, t); });
      break;
    default:
      break;
  }
}

// Modes 1 … 5: clip as the block copies do and require a mask of the layer's own size.
void ComposePixelwise(CDibTrue& dst, const CDibTM& layer, int dx, int dy, int sx, int sy, int w,
                      int h) {
  if (layer.mask.Width() != layer.Width() || layer.mask.Height() != layer.Height()) return;
  if (dst.Bits() == nullptr || layer.Bits() == nullptr || layer.mask.Bits() == nullptr) return;
  if (!ClipBlock(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), layer.Width(), layer.Height()))
    return;
  BlockWalk b{dst.Bits() + dst.PixelOffset(dx, dy),
              layer.Bits() + layer.PixelOffset(sx, sy),
              layer.mask.Bits() + layer.mask.PixelOffset(sx, sy),
              static_cast<std::ptrdiff_t>(dst.Width()) * 3,
              static_cast<std::ptrdiff_t>(layer.Width()) * 3,
              static_cast<std::ptrdiff_t>(layer.Width()),
              w,
              h};
  ComposeBlock(b, layer.composeMode, layer.threshold);
}

// The buffer the canvas shows for the display mode, after laying the active mask over the picture
// in mode 2; null for an unknown mode.
const CDibTrue* DisplayBuffer(LayerProject& project, int displayMode) {
  if (displayMode == 2) {
    project.compositeStale = true;
    const CDibTM& active = project.Active();
    CopyBlock256ToTrue(project.compositeDib, active.offsetX, active.offsetY, active.mask, 0, 0,
                       active.mask.Width(), active.mask.Height());
  }
  if (displayMode == 1 || displayMode == 2) return &project.compositeDib;
  if (displayMode == 3) return &project.Links().WorkLayer();
  return nullptr;
}

void ShowBufferRect(LayerProject& project, const CanvasViewState& view, Surface& paintBox,
                    const PixelRect& r) {
  const CDibTrue* buffer = DisplayBuffer(project, view.displayMode);
  if (buffer == nullptr) return;
  const int z = view.zoom;
  buffer->StretchDraw(paintBox, r.x * z, r.y * z, r.width * z, r.height * z, r.x, r.y, r.width,
                      r.height);
}

}  // namespace

const MaskedRows kScalarMaskedRows{BlendRow, MaskBelowRow, MaskAboveRow};

void DrawChecker(LayerProject& project, int x, int y, int w, int h) {
  CDibTrue& dib = project.compositeDib;
  if (w <= 0 || h <= 0) return;
  const long long canvasW = dib.Width();
  const long long canvasH = dib.Height();
  const long long endX = 1LL * x + w;
  const long long endY = 1LL * y + h;
  // Squares are visited row by row from the first one that meets the rectangle; those before it
  // have empty intersections.
  for (long long row = std::max(y, 0) / kCheckerSquare; row * kCheckerSquare < canvasH; ++row) {
    const long long top = std::max<long long>(row * kCheckerSquare, y);
    const long long bottom = std::min<long long>((row + 1) * kCheckerSquare, endY);
    if (top >= endY) break;
    for (long long column = std::max(x, 0) / kCheckerSquare; column * kCheckerSquare < canvasW;
         ++column) {
      const long long left = std::max<long long>(column * kCheckerSquare, x);
      const long long right = std::min<long long>((column + 1) * kCheckerSquare, endX);
      if (left >= endX) break;
      dib.FillRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                   static_cast<int>(bottom - top),
                   (column + row) % 2 == 1 ? kCheckerOdd : kCheckerEven);
    }
  }
}

int CoveringLayer(const LayerProject& project, int x, int y, int w, int h) {
  const long long left = std::max(x, 0);
  const long long top = std::max(y, 0);
  const long long right = std::min<long long>(1LL * x + w, project.compositeDib.Width());
  const long long bottom = std::min<long long>(1LL * y + h, project.compositeDib.Height());
  if (right <= left || bottom <= top) return -1;
  for (int i = project.layerCount - 1; i >= 0; --i) {
    const CDibTM& layer = project.Layer(i);
    if (layer.visible && layer.composeMode == cmSimple && layer.Bits() != nullptr &&
        layer.offsetX <= left && layer.offsetY <= top &&
        1LL * layer.offsetX + layer.Width() >= right &&
        1LL * layer.offsetY + layer.Height() >= bottom)
      return i;
  }
  return -1;
}

void ComposeRect(LayerProject& project, int x, int y, int w, int h) {
  CDibTrue& dst = project.compositeDib;
  for (int i = std::max(CoveringLayer(project, x, y, w, h), 0); i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    if (!layer.visible) continue;
    const long long sx = std::max<long long>(0, 1LL * x - layer.offsetX);
    const long long ex = std::min<long long>(layer.Width(), 1LL * x + w - layer.offsetX);
    const long long sy = std::max<long long>(0, 1LL * y - layer.offsetY);
    const long long ey = std::min<long long>(layer.Height(), 1LL * y + h - layer.offsetY);
    if (ex - sx <= 0 || ey - sy <= 0) continue;
    const long long dx = sx + layer.offsetX;
    const long long dy = sy + layer.offsetY;
    // The block lies inside the layer, so it fits an int; the destination may not, and is then
    // off the canvas anyway.
    if (dx > dst.Width() || dy > dst.Height()) continue;
    const int cw = static_cast<int>(ex - sx);
    const int ch = static_cast<int>(ey - sy);
    if (layer.composeMode == cmSimple) {
      CopyBlock(dst, static_cast<int>(dx), static_cast<int>(dy), layer, static_cast<int>(sx),
                static_cast<int>(sy), cw, ch);
    } else {
      ComposePixelwise(dst, layer, static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(sx),
                       static_cast<int>(sy), cw, ch);
    }
  }
}

void RefreshComposite(LayerProject& project) {
  if (project.composeEnabled) {
    const int w = project.CanvasWidth();
    const int h = project.CanvasHeight();
    if (CoveringLayer(project, 0, 0, w, h) < 0) DrawChecker(project, 0, 0, w, h);
    ComposeRect(project, 0, 0, w, h);
    project.compositeStale = false;
  }
  ShowComposite(project);
}

void RecomposeRect(LayerProject& project, int x, int y, int w, int h) {
  if (!project.composeEnabled) {
    ShowComposite(project);
    return;
  }
  x += project.Active().offsetX;
  y += project.Active().offsetY;
  if (project.backgroundRefresh && CoveringLayer(project, x, y, w, h) < 0)
    DrawChecker(project, x, y, w, h);
  ComposeRect(project, x, y, w, h);
  ShowCompositeRect(project, x, y, w, h);
}

PixelRect VisibleArea(const LayerProject& project, const CanvasViewState& view) {
  const int z = view.zoom;
  PixelRect r;
  r.x = view.scrollX / z;
  r.y = view.scrollY / z;
  r.width = std::min(view.clientWidth / z + z, project.CanvasWidth() - r.x);
  r.height = std::min(view.clientHeight / z + z, project.CanvasHeight() - r.y);
  return r;
}

void ShowComposite(LayerProject& project) {
  ProjectLinks& links = project.Links();
  Surface* paintBox = links.CanvasPaintBox();
  if (paintBox == nullptr) return;
  const CanvasViewState& view = links.CanvasView();
  ShowBufferRect(project, view, *paintBox, VisibleArea(project, view));
  DrawSelectionFrame(project);
}

void DrawSelectionFrame(LayerProject& project) {
  ProjectLinks& links = project.Links();
  Surface* paintBox = links.CanvasPaintBox();
  const CanvasViewState& view = links.CanvasView();
  if (paintBox == nullptr || !view.selectionVisible) return;
  const CDibTM& active = project.Active();
  const SelectionRect& s = view.selectionRect;
  const int z = view.zoom;
  const int left = (active.offsetX + s.left) * z;
  const int top = (active.offsetY + s.top) * z;
  const int right = (active.offsetX + s.right + 1) * z;
  const int bottom = (active.offsetY + s.bottom + 1) * z;
  paintBox->FrameRect({left, top, right - left, bottom - top});
}

void ShowCompositeRect(LayerProject& project, int x, int y, int w, int h) {
  ProjectLinks& links = project.Links();
  Surface* paintBox = links.CanvasPaintBox();
  if (paintBox == nullptr) return;
  const CanvasViewState& view = links.CanvasView();
  PixelRect r{x, y, w, h};
  const int tool = links.CurrentTool();
  if (tool == kToolSelection || tool == kToolBox || tool == kToolEllipse)
    r = VisibleArea(project, view);
  ShowBufferRect(project, view, *paintBox, r);
}

}  // namespace mirasketch
