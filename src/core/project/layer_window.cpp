#include "project/layer_window.h"

#include "project/compositor.h"
#include "project/layer_project.h"

namespace mirasketch {

void TfrmL::RefreshLayerWindow() {
  const int w = project_.CanvasWidth();
  const int h = project_.CanvasHeight();
  if (!project_.backgroundRefresh) DrawChecker(project_, 0, 0, w, h);
  ComposeRect(project_, 0, 0, w, h);
  RefreshComposite(project_);
  updating = true;
  grpActiveLayCaption = "Layer No." + std::to_string(project_.activeLayer);
  cboGeneLayIndex = project_.Active().composeMode;
  updating = false;
}

}  // namespace mirasketch
