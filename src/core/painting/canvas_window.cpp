#include "painting/canvas_window.h"

#include <algorithm>

#include "buffers/copy_block.h"
#include "project/compositor.h"
#include "project/layer_project.h"

namespace mirasketch {

TfrmM::TfrmM(LayerProject& project) : project_(project) {}

void TfrmM::ResetView() {
  modified = false;
  view.selectionVisible = false;
  rubberBandOn = false;
  SetZoom(view.zoom);
}

void TfrmM::SetZoom(int z) {
  redrawSuspended = true;
  view.zoom = std::clamp(z, 1, 16);
  paintBoxWidth = project_.CanvasWidth() * view.zoom;
  paintBoxHeight = project_.CanvasHeight() * view.zoom;
  Redraw();
  redrawSuspended = false;
}

void TfrmM::SetUndoLevels(int n) {
  undoLevels = std::clamp(n, 1, 15);
  const CDibTM& active = *drawTarget;
  for (int i = 0; i < undoLevels; ++i) {
    CDibTrue& slot = undoSlots[static_cast<std::size_t>(i)];
    const int w = std::max(slot.Width(), active.Width());
    const int h = std::max(slot.Height(), active.Height());
    if (w != slot.Width() || h != slot.Height()) slot.Alloc(w, h);
  }
  undoIndex = 0;
  undoCount = 0;
  CopyBlock(undoSlots[0], 0, 0, active, 0, 0, active.Width(), active.Height());
}

void TfrmM::Redraw() {
  if (visible && !redrawSuspended) RefreshComposite(project_);
}

}  // namespace mirasketch
