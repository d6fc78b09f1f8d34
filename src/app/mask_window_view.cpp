#include "mask_window_view.h"

#include <QToolButton>

#include "mask/mask_window.h"
#include "tool_glyphs.h"

namespace mirasketch {

MaskWindowView::MaskWindowView(TfrmMaskSet& frmMaskSet, AppViews& views)
    : ActivatedWindowView(
          WindowInfo(WindowId::frmMaskSet), frmMaskSet, views,
          [&frmMaskSet](bool active) {
            if (active)
              frmMaskSet.FormActivate();
            else
              frmMaskSet.FormDeactivate();
          },
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

void MaskWindowView::mouseMoveEvent(QMouseEvent* event) {
  ControlWindowView::mouseMoveEvent(event);
  Forward([this] { frmMaskSet_.FormMouseMove(); });
}

}  // namespace mirasketch
