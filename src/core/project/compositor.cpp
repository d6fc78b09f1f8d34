#include "project/compositor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "buffers/copy_block.h"
#include "buffers/dib_tm.h"
#include "platform/surface.h"
#include "project/canvas_view_state.h"
#include "project/compose_mode.h"
#include "project/layer_project.h"
#include "project/project_links.h"

namespace mirasketch {
namespace {

constexpr int kToolSelection = 8;
constexpr int kToolBox = 16;
constexpr int kToolEllipse = 17;

// One block of a layer to be laid on the composed picture: the first pixel of each buffer
// (the block's top-left) and the steps from the end of one block row to the start of the next.
struct BlockWalk {
  std::uint8_t* d;
  const std::uint8_t* s;
  const std::uint8_t* m;
  std::ptrdiff_t dStep, sStep, mStep;
  int w, h;
};

// Runs `lay(d, s, m)` on every pixel of the block, rows from the top, each row left to right.
template <typename Lay>
void WalkBlock(BlockWalk b, Lay lay) {
  for (int row = 0; row < b.h; ++row, b.d -= b.dStep, b.s -= b.sStep, b.m -= b.mStep) {
    for (int n = 0; n < b.w; ++n, b.d += 3, b.s += 3, ++b.m) lay(b.d, b.s, *b.m);
  }
}

inline void Put(std::uint8_t* d, const std::uint8_t* s) {
  d[0] = s[0];
  d[1] = s[1];
  d[2] = s[2];
}

void ComposeMaskBlend(const BlockWalk& b) {
  WalkBlock(b, [](std::uint8_t* d, const std::uint8_t* s, std::uint8_t m) {
    const unsigned a = m < 128 ? m : m + 1u;
    const unsigned keep = 256 - a;
    d[0] = static_cast<std::uint8_t>((s[0] * keep + d[0] * a) >> 8);
    d[1] = static_cast<std::uint8_t>((s[1] * keep + d[1] * a) >> 8);
    d[2] = static_cast<std::uint8_t>((s[2] * keep + d[2] * a) >> 8);
  });
}

void ComposeThresholdMode(const BlockWalk& b, int mode, std::int32_t threshold) {
  const unsigned t8 = static_cast<unsigned>(threshold) & 0xFF;
  switch (mode) {
    case cmMaskBelow:
      WalkBlock(b, [t8](std::uint8_t* d, const std::uint8_t* s, std::uint8_t m) {
        if (t8 >= m) Put(d, s);
      });
      break;
    case cmMaskAbove:
      WalkBlock(b, [t8](std::uint8_t* d, const std::uint8_t* s, std::uint8_t m) {
        if (m >= t8) Put(d, s);
      });
      break;
    case cmBrightBelow:
      WalkBlock(b, [threshold](std::uint8_t* d, const std::uint8_t* s, std::uint8_t) {
        if (threshold >= s[0] + s[1] + s[2]) Put(d, s);
      });
      break;
    case cmBrightAbove:
      WalkBlock(b, [threshold](std::uint8_t* d, const std::uint8_t* s, std::uint8_t) {
        if (s[0] + s[1] + s[2] >= threshold) Put(d, s);
      });
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
              static_cast<std::ptrdiff_t>(dst.Width() + w) * 3,
              static_cast<std::ptrdiff_t>(layer.Width() + w) * 3,
              static_cast<std::ptrdiff_t>(layer.Width()) + w,
              w,
              h};
  if (layer.composeMode == cmMaskBlend)
    ComposeMaskBlend(b);
  else
    ComposeThresholdMode(b, layer.composeMode, layer.threshold);
}

// The buffer the canvas shows for the display mode, after laying the active mask over the picture
// in mode 2; null for an unknown mode.
const CDibTrue* DisplayBuffer(LayerProject& project, int displayMode) {
  if (displayMode == 2) {
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

void ComposeRect(LayerProject& project, int x, int y, int w, int h) {
  CDibTrue& dst = project.compositeDib;
  for (int i = 0; i < project.layerCount; ++i) {
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
      ComposePixelwise(dst, layer, static_cast<int>(dx), static_cast<int>(dy),
                       static_cast<int>(sx), static_cast<int>(sy), cw, ch);
    }
  }
}

void RefreshComposite(LayerProject& project) {
  if (project.composeEnabled) {
    DrawChecker(project, 0, 0, project.CanvasWidth(), project.CanvasHeight());
    ComposeRect(project, 0, 0, project.CanvasWidth(), project.CanvasHeight());
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
  if (project.backgroundRefresh) DrawChecker(project, x, y, w, h);
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
  if (view.selectionVisible) {
    const CDibTM& active = project.Active();
    const SelectionRect& s = view.selectionRect;
    const int z = view.zoom;
    const int left = (active.offsetX + s.left) * z;
    const int top = (active.offsetY + s.top) * z;
    const int right = (active.offsetX + s.right + 1) * z;
    const int bottom = (active.offsetY + s.bottom + 1) * z;
    paintBox->FrameRect({left, top, right - left, bottom - top});
  }
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
