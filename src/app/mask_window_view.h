#pragma once

#include "control_window_view.h"

namespace mirasketch {

class TfrmMaskSet;

// The mask window ("マスク"): the controls of TfrmMaskSet with the mask tools' glyphs, its
// activation (which makes the mask tool current) and its hiding (which gives the tool before
// back).
class MaskWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  MaskWindowView(TfrmMaskSet& frmMaskSet, AppViews& views);

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TfrmMaskSet& frmMaskSet_;
};

}  // namespace mirasketch
