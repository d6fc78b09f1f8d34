#pragma once

#include <string>

namespace mirasketch {

class LayerProject;

// The layer window's state: the caption of the active-layer group and the compose-mode list.
class TfrmL {
 public:
  explicit TfrmL(LayerProject& project) : project_(project) {}

  // Recomposes the whole canvas (even while composing is otherwise disabled), shows it, and
  // shows the active layer's number and compose mode.
  void RefreshLayerWindow();

  std::string grpActiveLayCaption = "Layer No.0";
  int cboGeneLayIndex = 0;
  bool updating = false;

 private:
  LayerProject& project_;
};

}  // namespace mirasketch
