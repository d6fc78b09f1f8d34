#include "option_window_view.h"

#include "shell/option_window.h"

namespace mirasketch {

OptionWindowView::OptionWindowView(TfrmOpt& frmOpt, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmOpt), frmOpt, views,
                        [&frmOpt] { frmOpt.FormHide(); }) {}

}  // namespace mirasketch
