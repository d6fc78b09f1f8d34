#pragma once

#include <functional>

#include "control_window_view.h"

namespace mirasketch {

// A control window whose core logic follows its activation: `activated(true)` when it is shown
// or gains the focus, `activated(false)` when it loses the focus while shown.
class ActivatedWindowView : public ControlWindowView {
  Q_OBJECT

 public:
  ActivatedWindowView(const WindowRow& design, ControlWindow& window, AppViews& views,
                      std::function<void(bool active)> activated, std::function<void()> hidden);

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  std::function<void(bool)> activated_;
};

}  // namespace mirasketch
