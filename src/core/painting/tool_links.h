#pragma once

namespace mirasketch {

class CDibTM;
class CDibTrue;

// The tool panel's check boxes that tools read and set themselves.
enum class PanelCheck { kBrushSpace, kAveBrushOnPut, kPenLineSpline, kPenLineNoLook };

// What the tool engine and its tools need from the windows around them: the canvas window's
// drawing target and undo ring, the tool panel's stamp and check boxes, the colour window's
// sliders and the option window's readouts. The Studio implements it.
class ToolLinks {
 public:
  virtual ~ToolLinks() = default;

  // Canvas window: the active layer tools draw into; the undo snapshot before a stroke, its
  // restoration for figures redrawn on every move, and the layer as the stroke began.
  virtual CDibTM& ActiveLayer() = 0;
  virtual void PushUndo() = 0;
  virtual void RestoreSnapshot() = 0;
  virtual const CDibTrue& CurrentSnapshot() const = 0;
  // Recomposes and shows the whole canvas, or only its visible part.
  virtual void RedrawCanvas() = 0;
  virtual void RedrawVisibleCanvas() = 0;

  // Tool panel: the selected stamp, selecting one, pressing a tool button and the check boxes.
  virtual int SelectedBrush() const = 0;
  virtual void SetBrushIndex(int stamp) = 0;
  virtual void SelectTool(int code) = 0;
  virtual bool PanelChecked(PanelCheck box) const = 0;
  virtual void SetPanelChecked(PanelCheck box, bool checked) = 0;

  // Colour window: the slider positions, setting the transparency slider and the colour.
  virtual int TransparencyPosition() const = 0;
  virtual int SliderColour() const = 0;  // 0x00BBGGRR from the three colour sliders
  virtual void SetTransparencySlider(int t) = 0;
  virtual void SetDrawColour(int colour) = 0;

  // Option window: the shape readouts and clearing them.
  virtual void ShowRectReadout(int line, int x1, int y1, int x2, int y2) = 0;
  virtual void ShowBoxReadout(int line, int x, int y, int w, int h) = 0;
  virtual void ClearReadouts() = 0;
};

}  // namespace mirasketch
