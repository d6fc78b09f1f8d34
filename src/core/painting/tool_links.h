#pragma once

#include <cstdint>
#include <string>

namespace mirasketch {

class CDibTM;

// What the tool engine and its tools need from the windows around them: the canvas window's
// drawing target and undo ring, the tool panel's stamp, the colour window's sliders and the
// option window's readouts. The Studio implements it.
class ToolLinks {
 public:
  virtual ~ToolLinks() = default;

  // Canvas window: the active layer tools draw into and the undo snapshot saved before a stroke.
  virtual CDibTM& ActiveLayer() = 0;
  virtual void PushUndo() = 0;
  // Whatever writes into the active layer calls this first with the rectangle it is about to
  // write (clipped to the layer), so the undo snapshots keep what was there. False when memory for
  // that is refused (the user has been told, the stroke stops): nothing may be written then.
  virtual bool SaveBeforeWrite(int x, int y, int width, int height) = 0;
  // Pixel (x, y) of the layer as the stroke began, 3 bytes a pixel; `count` (at least 1) is cut
  // to the pixels of the row that follow it contiguously. Null outside the layer.
  virtual const std::uint8_t* SnapshotRun(int x, int y, int& count) const = 0;
  // Copies a rectangle of the snapshot back into the active layer (clipped to both): figures
  // redrawn on every move take their old preview away with it.
  virtual void RestoreSnapshotRect(int x, int y, int width, int height) = 0;
  // Recomposes and shows the whole canvas, or only its visible part.
  virtual void RedrawCanvas() = 0;
  virtual void RedrawVisibleCanvas() = 0;
  // The canvas window's guide line from active-layer point (x, y) to the pointer, and its end.
  virtual void StartRubberBand(int x, int y) = 0;
  virtual void StopRubberBand() = 0;

  // Tool panel: the selected stamp, selecting one and pressing a tool button.
  virtual int SelectedBrush() const = 0;
  virtual void SetBrushIndex(int stamp) = 0;
  virtual void SelectTool(int code) = 0;

  // Colour window: the slider positions, setting the transparency slider and the colour.
  virtual int TransparencyPosition() const = 0;
  virtual int SliderColour() const = 0;  // 0x00BBGGRR from the three colour sliders
  virtual void SetTransparencySlider(int t) = 0;
  virtual void SetDrawColour(int colour) = 0;

  // Position window: redraws its view of the canvas after a change of the whole picture; or,
  // after pixels changed anywhere on the layer, recomposes the whole canvas first.
  virtual void RefreshPosition() = 0;
  virtual void RecomposeAndRefreshPosition() = 0;

  // Option window: the shape readouts and clearing them.
  virtual void ShowRectReadout(int line, int x1, int y1, int x2, int y2) = 0;
  virtual void ShowBoxReadout(int line, int x, int y, int w, int h) = 0;
  // prefix + "(a,b)", and a text of its own.
  virtual void ShowPointReadout(int line, const std::string& prefix, int a, int b) = 0;
  virtual void ShowReadout(int line, const std::string& text) = 0;
  virtual void ClearReadouts() = 0;
};

}  // namespace mirasketch
