#include "tool_panel_view.h"

#include <QToolButton>

#include "shell/tool_panel.h"
#include "tool_glyphs.h"

namespace mirasketch {

ToolPanelView::ToolPanelView(TfrmC& frmC, AppViews& views)
    : ControlWindowView(WindowInfo(WindowId::frmC), frmC, views, nullptr) {
  for (const ControlSpec& design : frmC.Controls().Specs()) {
    if (design.kind != ControlKind::kSpeedButton) continue;
    if (auto* button = qobject_cast<QToolButton*>(Control(design.name)))
      button->setIcon(ToolGlyph(design.tag));
  }
}

}  // namespace mirasketch
