#include "transform_window_view.h"

#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QResizeEvent>

#include "app_views.h"
#include "menu_bar.h"
#include "qt_convert.h"
#include "transform/transform_window.h"

namespace mirasketch {

TransformWindowView::TransformWindowView(TfrmT& window, AppViews& views)
    : ToolWindowView(WindowInfo(WindowId::frmT), views, [&window] { window.visible = false; }),
      frm_(window),
      actions_(window.Controls().Specs().size()) {
  bar_ = new QMenuBar(this);
  bar_->setObjectName("MainMenu1");
  bar_->setNativeMenuBar(false);
  const std::vector<MenuEntry> menu = TransformMenu();
  BuildMenuBar(bar_, menu, [this](QAction* action, const char* name) {
    const int index = frm_.Controls().Find(name);
    if (index < 0) return;
    actions_[static_cast<std::size_t>(index)] = action;
    const std::string item = name;
    if (item == "mnuSmoothing" || item == "mnuMaskUse") action->setCheckable(true);
    // Qt flips a checkable item by itself; the core decides, and the state is read back after.
    connect(action, &QAction::triggered, this, [this, item] { Run([&] { frm_.Click(item); }); });
  });
  const ControlSet& controls = frm_.Controls();
  canvas_ = new PaintBoxView(frm_, controls.Spec("Canvas"), this);
  canvas_->setObjectName("Canvas");
  canvas_->setMouseTracking(true);
  canvas_->pressed = [this](QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int button = CoreButton(event->button());
    Run([&] { frm_.FormMouseDown(button, at.x(), at.y()); });
  };
  canvas_->moved = [this](QMouseEvent* event) {
    if (!frm_.dragging) return;
    const QPoint at = event->position().toPoint();
    Run([&] { frm_.FormMouseMove(at.x(), at.y()); });
  };
  canvas_->released = [this](QMouseEvent* event) {
    const int button = CoreButton(event->button());
    Run([&] { frm_.FormMouseUp(button); });
  };
  // The designed client area lies under the menu bar.
  resize(width(), height() + bar_->sizeHint().height());
  LayOut();
  ReadState();
}

template <typename F>
void TransformWindowView::Run(F&& handler) {
  views_.Forward(handler);
  ReadState();
}

void TransformWindowView::ReadState() {
  const ControlSet& controls = frm_.Controls();
  const auto designs = controls.Specs();
  const auto states = controls.States();
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    QAction* action = actions_[i];
    if (action == nullptr) continue;
    if (action->isCheckable()) action->setChecked(states[i].checked);
    if (std::string_view(designs[i].parent) == "mnuPastFolder")
      action->setText(PlainMenuCaption(states[i].caption));
  }
  canvas_->update();
}

void TransformWindowView::LayOut() {
  const int top = bar_->sizeHint().height();
  bar_->setGeometry(0, 0, width(), top);
  canvas_->setGeometry(0, top, width(), std::max(1, height() - top));
}

void TransformWindowView::resizeEvent(QResizeEvent* event) {
  ToolWindowView::resizeEvent(event);
  LayOut();
  const int w = canvas_->width(), h = canvas_->height();
  Run([&] { frm_.FormResize(w, h); });
}

}  // namespace mirasketch
