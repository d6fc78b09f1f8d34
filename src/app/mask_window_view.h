#pragma once

#include "activated_window_view.h"

namespace mirasketch {

class TfrmMaskSet;

// The mask window ("マスク"): the controls of TfrmMaskSet with the mask tools' glyphs, its
// activation (which makes the mask tool current) and its hiding (which gives the tool before
// back).
class MaskWindowView : public ActivatedWindowView {
  Q_OBJECT

 public:
  MaskWindowView(TfrmMaskSet& frmMaskSet, AppViews& views);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TfrmMaskSet& frmMaskSet_;
};

}  // namespace mirasketch
