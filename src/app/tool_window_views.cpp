#include "tool_window_views.h"

#include <QCloseEvent>
#include <QHideEvent>

#include "app_views.h"

namespace mirasketch {

// name, caption, client width × height, left, top, tool frame, resizable, closable, minimum size.
const ToolWindowLayout kToolPanelLayout{"frmC", "Tool", 136,   244, 222, 10,
                                        true,   false,  false, 0,   0};
const ToolWindowLayout kColourWindowLayout{"frmCol", "色",  128,  134, 292, 120,
                                           true,     false, true, 0,   0};
const ToolWindowLayout kMaskEffectWindowLayout{"frmMaskEff", "マスク効果", 166,  146, 8, 300,
                                               true,         false,        true, 0,   0};
const ToolWindowLayout kOptionWindowLayout{"frmOpt", "オプション", 200,  65, 165, 304,
                                           true,     false,        true, 0,  0};
const ToolWindowLayout kPositionWindowLayout{"frmPos", "位置", 153,  187, 138, 187,
                                             false,    true,   true, 0,   0};
const ToolWindowLayout kMaskWindowLayout{"frmMaskSet", "マスク", 258,  162, 8, 480,
                                         true,         false,    true, 0,   0};
const ToolWindowLayout kLayerWindowLayout{"frmL", "レイヤ", 196,  117, 680, 130,
                                          true,   true,     true, 196, 117};
const ToolWindowLayout kTransformWindowLayout{
    "frmT", "拡大縮小回転変形", 400, 427, 700, 300, false, true, true, 64, 192};

namespace {

Qt::WindowFlags FlagsFor(const ToolWindowLayout& layout) {
  Qt::WindowFlags flags = layout.toolWindow ? Qt::Tool : Qt::Window;
  if (layout.toolWindow) {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (layout.closable) flags |= Qt::WindowCloseButtonHint;
  }
  return flags;
}

}  // namespace

ToolWindowView::ToolWindowView(const ToolWindowLayout& layout, AppViews& views,
                               std::function<void()> hidden)
    : QWidget(nullptr, FlagsFor(layout)),
      views_(views),
      hidden_(std::move(hidden)),
      closable_(layout.closable) {
  setObjectName(layout.name);
  setWindowTitle(QString::fromUtf8(layout.caption));
  if (layout.resizable) {
    resize(layout.clientWidth, layout.clientHeight);
    if (layout.minimumWidth > 0 || layout.minimumHeight > 0)
      setMinimumSize(layout.minimumWidth, layout.minimumHeight);
  } else {
    setFixedSize(layout.clientWidth, layout.clientHeight);
  }
  move(layout.left, layout.top);
}

void ToolWindowView::closeEvent(QCloseEvent* event) {
  if (closable_ || views_.ShuttingDown())
    event->accept();
  else
    event->ignore();
}

void ToolWindowView::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous() || views_.ShuttingDown()) return;
  if (hidden_) hidden_();
}

}  // namespace mirasketch
