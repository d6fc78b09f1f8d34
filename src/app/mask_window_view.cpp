#include "mask_window_view.h"

#include <QEvent>
#include <QShowEvent>
#include <QToolButton>

#include "mask/mask_window.h"
#include "tool_glyphs.h"

namespace mirasketch {

MaskWindowView::MaskWindowView(TfrmMaskSet& frmMaskSet, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmMaskSet), frmMaskSet, views,
                        [&frmMaskSet] { frmMaskSet.FormHide(); }),
      frmMaskSet_(frmMaskSet) {
  for (const ControlSpec& design : frmMaskSet.Controls().Specs()) {
    if (design.kind != ControlKind::kSpeedButton) continue;
    if (auto* button = qobject_cast<QToolButton*>(Control(design.name)))
      button->setIcon(MaskToolGlyph(design.tag));
  }
  // Moves over the window outside the range editor end a drag in it.
  setMouseTracking(true);
}

void MaskWindowView::showEvent(QShowEvent* event) {
  ControlWindowView::showEvent(event);
  if (!event->spontaneous()) Forward([this] { frmMaskSet_.FormActivate(); });
}

void MaskWindowView::changeEvent(QEvent* event) {
  ControlWindowView::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  if (isActiveWindow())
    Forward([this] { frmMaskSet_.FormActivate(); });
  else
    Forward([this] { frmMaskSet_.FormDeactivate(); });
}

void MaskWindowView::mouseMoveEvent(QMouseEvent* event) {
  ControlWindowView::mouseMoveEvent(event);
  Forward([this] { frmMaskSet_.FormMouseMove(); });
}

}  // namespace mirasketch
