#include "layer_window_view.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <algorithm>

#include "project/layer_window.h"

namespace mirasketch {

LayerWindowView::LayerWindowView(TfrmL& frmL, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmL), frmL, views, [&frmL] { frmL.FormHide(); }),
      frmL_(frmL) {
  if (auto* strip = PaintBoxOf("pbxA")) {
    // A press with Ctrl or Shift on a cell starts its drag at once.
    strip->pressed = [this](QMouseEvent* event) {
      const int button = CoreButton(event->button());
      if (button < 0) return;
      const QPoint at = event->position().toPoint();
      const int shift = CoreShiftState(event->modifiers());
      bool dragging = false;
      Forward([&] { dragging = frmL_.pbxAMouseDown(button, at.x(), at.y(), shift); });
      if (dragging) startDrag("pbxA");
    };
  }
}

void LayerWindowView::resizeEvent(QResizeEvent* event) {
  ControlWindowView::resizeEvent(event);
  if (QWidget* strip = Control("pbxA"))
    strip->setGeometry(0, TfrmL::kStripTop, width(), std::max(0, height() - TfrmL::kStripTop));
  Forward([this] { frmL_.FormResize(width(), height()); });
}

void LayerWindowView::showEvent(QShowEvent* event) {
  ControlWindowView::showEvent(event);
  if (!event->spontaneous()) Forward([this] { frmL_.FormShow(); });
}

}  // namespace mirasketch
