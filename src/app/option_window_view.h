#pragma once

#include "control_window_view.h"

namespace mirasketch {

class TfrmOpt;

// The option window ("オプション"): the controls of TfrmOpt, its three pages, the cursor chooser
// and the snap fields. Hiding it turns its switch on the main window off.
class OptionWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  OptionWindowView(TfrmOpt& frmOpt, AppViews& views);
};

}  // namespace mirasketch
