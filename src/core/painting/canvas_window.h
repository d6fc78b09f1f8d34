#pragma once

#include <array>
#include <string>

#include "buffers/dib_tm.h"
#include "buffers/dib_true.h"
#include "project/canvas_view_state.h"

namespace mirasketch {

class LayerProject;
class Surface;

// The canvas window: shows the composed picture at an integer zoom and keeps the undo ring of
// the active layer. Its view state is what the compositor reads to show the picture.
class TfrmM {
 public:
  explicit TfrmM(LayerProject& project);

  // Clears the modified flag, the selection frame and the guide line, and sizes the paint box to
  // the canvas at the current zoom.
  void ResetView();
  // Sets the zoom, clamped to 1 … 16, and sizes the paint box to canvas × zoom.
  void SetZoom(int z);
  // Sets the number of undo levels (clamped to 1 … 15), grows the snapshot slots to the active
  // layer and restarts the history from the active layer's present pixels.
  void SetUndoLevels(int n);
  // Recomposes and shows the whole canvas, when the window is shown and repaint is not suspended.
  void Redraw();

  CDibTM& DrawTarget() { return *drawTarget; }
  void SetDrawTarget(CDibTM& layer) { drawTarget = &layer; }
  const CDibTrue& UndoSlot(int index) const { return undoSlots[static_cast<std::size_t>(index)]; }

  CanvasViewState view;
  Surface* paintBox = nullptr;  // the view's drawing surface, null while none is attached
  int paintBoxWidth = 0;
  int paintBoxHeight = 0;
  std::string caption = "(New Layer Project)";
  bool visible = false;
  bool redrawSuspended = true;
  bool modified = false;
  bool rubberBandOn = false;
  int undoLevels = 2;
  int undoIndex = 0;
  int undoCount = 0;

 private:
  LayerProject& project_;
  CDibTM placeholder_;  // the drawing target until the layer project sets the first layer
  CDibTM* drawTarget = &placeholder_;
  std::array<CDibTrue, 16> undoSlots;
};

}  // namespace mirasketch
