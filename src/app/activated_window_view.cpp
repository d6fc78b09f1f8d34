#include "activated_window_view.h"

#include <QEvent>
#include <QShowEvent>
#include <utility>

namespace mirasketch {

ActivatedWindowView::ActivatedWindowView(const WindowRow& design, ControlWindow& window,
                                         AppViews& views,
                                         std::function<void(bool active)> activated,
                                         std::function<void()> hidden)
    : ControlWindowView(design, window, views, std::move(hidden)),
      activated_(std::move(activated)) {}

void ActivatedWindowView::showEvent(QShowEvent* event) {
  ControlWindowView::showEvent(event);
  if (!event->spontaneous()) Forward([this] { activated_(true); });
}

void ActivatedWindowView::changeEvent(QEvent* event) {
  ControlWindowView::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  const bool active = isActiveWindow();
  Forward([this, active] { activated_(active); });
}

}  // namespace mirasketch
