#pragma once

#include "control_window_view.h"

namespace mirasketch {

class TfrmC;

// The tool panel ("Tool"): the controls of TfrmC with the tool glyphs on the tool buttons. The
// user cannot close it.
class ToolPanelView : public ControlWindowView {
  Q_OBJECT

 public:
  ToolPanelView(TfrmC& frmC, AppViews& views);
};

}  // namespace mirasketch
