#pragma once

#include "control_window_view.h"

namespace mirasketch {

class TfrmL;

// The layer window ("レイヤ"): the controls of TfrmL, its cell strip kept at the window's whole
// width and down to its bottom, and the drags of cells with Ctrl or Shift within the strip.
class LayerWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  LayerWindowView(TfrmL& frmL, AppViews& views);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  TfrmL& frmL_;
};

}  // namespace mirasketch
