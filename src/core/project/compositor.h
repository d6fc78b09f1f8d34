#pragma once

namespace mirasketch {

class LayerProject;
struct CanvasViewState;
struct PixelRect;

// Checkerboard colours (0x00BBGGRR) of the 64 × 64 squares anchored at canvas (0, 0).
inline constexpr int kCheckerOdd = 0xFFF0F0;   // column + row odd
inline constexpr int kCheckerEven = 0xF8F8F8;  // column + row even
inline constexpr int kCheckerSquare = 64;

// Paints the checkerboard into the composed picture over a canvas rectangle.
void DrawChecker(LayerProject& project, int x, int y, int w, int h);
// Lays every visible layer, bottom first, by its compose mode over a canvas rectangle of the
// composed picture. Layers under the topmost one that covers the rectangle (see
// `CoveringLayer`) are skipped: they could not change a pixel.
void ComposeRect(LayerProject& project, int x, int y, int w, int h);
// The topmost visible layer that copies itself over the whole of a canvas rectangle (clipped to
// the canvas): compose mode simple, no pixel of the rectangle outside it. What lies under it,
// the checkerboard included, is never seen there. −1 when there is none.
int CoveringLayer(const LayerProject& project, int x, int y, int w, int h);
// Recomposes the whole canvas (when composing is enabled) and shows it.
void RefreshComposite(LayerProject& project);
// After drawing on the active layer: recomposes and shows a rectangle given in active-layer
// coordinates; with composing disabled only re-shows the picture.
void RecomposeRect(LayerProject& project, int x, int y, int w, int h);
// Shows the visible part of the display buffer in the canvas paint box, then the selection frame.
void ShowComposite(LayerProject& project);
// Frames the selection rectangle in the paint box while the selection is shown.
void DrawSelectionFrame(LayerProject& project);
// Shows one canvas rectangle of the display buffer (the whole visible area for the tools whose
// previews can shrink).
void ShowCompositeRect(LayerProject& project, int x, int y, int w, int h);
// The part of the canvas the canvas window shows, in canvas pixels (with a margin of one zoom).
PixelRect VisibleArea(const LayerProject& project, const CanvasViewState& view);

}  // namespace mirasketch
