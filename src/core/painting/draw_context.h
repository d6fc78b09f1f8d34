#pragma once

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>

#include "painting/preview_area.h"

namespace mirasketch {

class CDib256;
struct ToolSettings;
class ToolLinks;

// The drawing context and primitives through which every tool paints into the active layer: one
// pixel blended with the paint colour under a transparency and the layer's mask, 16 × 16 stamps,
// vertical spans, lines of stamps, rectangle and ellipse outlines. A preparation fills the context
// before each drawing operation; it stays valid until the next preparation or a change of the
// active layer. Transparency 0 paints fully, 255 not at all.
class DrawContext {
 public:
  // `workPlane` is the coverage plane; `brushImage` the 128 × 256 sheet of 8 × 16 stamps.
  DrawContext(ToolLinks& links, CDib256& workPlane, const CDib256& brushImage,
              const ToolSettings& settings);

  // Takes the active layer, its mask, the paint colour (0x00BBGGRR) and the transparency for the
  // next plots (0 when the transparency switch is off); direct mode. False when the layer has no
  // pixels or the work plane holds fewer bytes than the layer has pixels.
  bool PrepareDraw(std::uint32_t colour, int transparency);
  // `PrepareDraw` and `LoadStamp`; direct mode: overlapping plots accumulate.
  bool PrepareStamp(int stampIndex, std::uint32_t colour, int transparency);
  // As `PrepareStamp`, then the coverage plane is cleared to 255 and coverage mode is on: each
  // pixel is painted once per stroke from the stroke's snapshot with the strongest value reaching
  // it.
  bool PrepareStampCoverage(int stampIndex, std::uint32_t colour, int transparency);
  // The preparation of a figure preview, which is redrawn from the stroke's snapshot on every move:
  // as `PrepareStampCoverage` with the layer restored from the snapshot, except that after the
  // first preview of a stroke only the parts of the layer the previous preview drew on are
  // restored and cleared in the coverage plane.
  bool PreparePreview(int stampIndex, std::uint32_t colour, int transparency);
  // The next `PreparePreview` starts afresh: the whole layer restored and the whole coverage plane
  // cleared (a new figure, or the snapshot changed under the figure).
  void BeginPreview() { previewStarted_ = false; }
  // Loads stamp k (0 … 127) of the brush sheet with the transparency folded in; false outside.
  // Cells the sheet does not hold (no sheet read) are 255.
  bool LoadStamp(int k);

  // Blends the source components `srcR`, `srcG`, `srcB` with the paint colour at transparency `t`
  // under the mask into pixel `pixelIndex`, nudging each component one step toward the paint.
  void BlendPixel();
  // Plots layer pixel (x, y) with transparency `t`; nothing outside the layer.
  void PlotPixel(int x, int y);
  // `PlotPixel` in direct mode for a pixel the caller knows lies inside the layer and has saved
  // for undo (`SaveForUndo`).
  void PlotPixelUnchecked(int x, int y);
  // Saves the layer pixels x0 … x1, y0 … y1 for undo before they are written; false when memory
  // for that was refused: they must not be written then.
  bool SaveForUndo(int x0, int y0, int x1, int y1);
  // Copies pixels x0 … x1 of row y of the stroke's snapshot, all inside the layer, to `out`.
  void ReadSnapshot(int y, int x0, int x1, std::uint8_t* out) const;
  // Paints column x from y0 to y1 (either order, clipped) with the stamp's centre value, marking
  // the coverage plane.
  void FillSpan(int x, int y0, int y1);
  // Plots pixels x0 … x1 of row y (clipped) with transparency `t`, as `PlotPixel` does each.
  void PlotSpan(int y, int x0, int x1);
  // Whether plots now give every pixel exactly the paint colour: direct mode, transparency 0 and
  // no mask in the way (the mask switch off, or no mask that fits the layer).
  bool PlotsPaintColour() const;
  // `PlotSpan` while `PlotsPaintColour` holds, for pixels x0 … x1 of row y that the caller knows
  // lie inside the layer: the paint colour written, no blend.
  void PaintSpan(int y, int x0, int x1) {
    if (!SaveForUndo(x0, y, x1, y)) return;
    MarkChanged(x0, y, x1, y);
    std::uint8_t* dst = pixels + (static_cast<std::ptrdiff_t>(height - 1 - y) * width + x0) * 3;
    const auto b = static_cast<std::uint8_t>(paintB);
    const auto g = static_cast<std::uint8_t>(paintG);
    const auto r = static_cast<std::uint8_t>(paintR);
    for (int x = x0; x <= x1; ++x, dst += 3) {
      dst[0] = b;
      dst[1] = g;
      dst[2] = r;
    }
  }
  // Copies pixels x0 … x1 of row y (clipped) from the stroke's snapshot, unblended and unmasked;
  // nothing when there is no snapshot of the layer.
  void CopySnapshotSpan(int y, int x0, int x1);
  // Plots the stamp over x − 8 … x + 7, y − 8 … y + 7.
  void StampAt(int x, int y);

  // The line stepper: `LineBegin` starts at (x0, y0); each `LineStep` moves one pixel along the
  // major axis (the minor axis when the accumulated slope reaches 1) and is true on reaching the
  // end. The position is (`px`, `py`).
  void LineBegin(int x0, int y0, int x1, int y1);
  bool LineStep();
  // Visits every stepper point from (x0, y0) up to, not including, (x1, y1); a zero-length line
  // visits its one point.
  template <typename PointOp>
  void WalkLine(int x0, int y0, int x1, int y1, PointOp&& op) {
    LineBegin(x0, y0, x1, y1);
    bool done = false;
    while (!done) {
      op(px, py);
      done = LineStep();
    }
  }
  // Widens the box of layer pixels drawn since the box was last taken (x0 … x1, y0 … y1).
  void MarkChanged(int x0, int y0, int x1, int y1) {
    changedX0_ = std::min(changedX0_, x0);
    changedY0_ = std::min(changedY0_, y0);
    changedX1_ = std::max(changedX1_, x1);
    changedY1_ = std::max(changedY1_, y1);
  }
  // Whether every layer pixel drawn since the last call lies inside `area` (layer coordinates);
  // the box starts empty again.
  bool TakeChangedWithin(int x, int y, int width, int height);
  // Forgets the pixels drawn so far: they have all been composed.
  void ForgetChanged() {
    changedX0_ = changedY0_ = INT_MAX;
    changedX1_ = changedY1_ = INT_MIN;
  }

  // Stamps along `WalkLine` (the end point left out).
  void StampLine(int x0, int y0, int x1, int y1);
  // Stamps the outline of the rectangle with corners (x0, y0) and (x1, y1).
  void StampRect(int x0, int y0, int x1, int y1);
  // Stamps an ellipse outline around (cx, cy) with radii rx, ry, its inside filled by spans when
  // `fill`; nothing when a radius is 0.
  void StampEllipse(int cx, int cy, int rx, int ry, bool fill);
  // Direction from (x0, y0) to (x1, y1) in degrees, clockwise on screen; with `snap` one of 0, 45,
  // … 315.
  static float DirectionAngle(int x0, int y0, int x1, int y1, bool snap);

  // The context as the last preparation left it.
  std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  const std::uint8_t* mask = nullptr;  // null when the layer's mask does not cover it
  int paintR = 0, paintG = 0, paintB = 0;
  int t = 0;
  bool coverageMode = false;
  std::uint8_t* coverage = nullptr;
  std::array<std::uint8_t, 256> stamp{};  // written only by `LoadStamp`
  int srcR = 0, srcG = 0, srcB = 0;
  std::ptrdiff_t pixelIndex = 0;
  int px = 0, py = 0;

 private:
  void Blend(std::uint8_t* dst, const std::uint8_t* src, int tr, std::ptrdiff_t index) const;
  // Clips x0 … x1 of row y to the layer; false when nothing is left.
  bool ClipSpan(int y, int& x0, int& x1) const;

  ToolLinks& links_;
  CDib256& workPlane_;
  const CDib256& brushImage_;
  const ToolSettings& settings_;
  // The box of layer pixels drawn since it was last taken; empty while x0 > x1.
  int changedX0_ = INT_MAX, changedY0_ = INT_MAX, changedX1_ = INT_MIN, changedY1_ = INT_MIN;
  // The rows and columns of the loaded stamp that paint (values below 255), as half-open ranges;
  // the rest of the 16 × 16 cell changes nothing.
  int paintTop_ = 0, paintBottom_ = 0, paintLeft_ = 0, paintRight_ = 0;
  // The figure preview: whether the stamps and spans are being tracked, whether the stroke's first
  // preview has been drawn, and where the previews drew.
  bool previewing_ = false;
  bool previewStarted_ = false;
  PreviewArea preview_;
  // Line stepper state.
  int ex_ = 0, ey_ = 0, sx_ = 0, sy_ = 0;
  bool xMajor_ = true;
  double e_ = 0.0, s_ = 0.0;
};

}  // namespace mirasketch
