#include "tool_window_views.h"

#include <QCloseEvent>
#include <QHideEvent>

#include "app_views.h"

namespace mirasketch {

namespace {

Qt::WindowFlags FlagsFor(const WindowRow& design) {
  if (design.frame != WindowFrame::kTool) return Qt::Window;
  Qt::WindowFlags flags = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (design.closable) flags |= Qt::WindowCloseButtonHint;
  return flags;
}

}  // namespace

void ApplyDesign(QWidget& window, const WindowRow& design) {
  window.setObjectName(design.objectName);
  window.setWindowTitle(QString::fromUtf8(design.caption));
  if (design.resizable) {
    window.resize(design.clientWidth, design.clientHeight);
    if (design.minimumWidth > 0 || design.minimumHeight > 0)
      window.setMinimumSize(design.minimumWidth, design.minimumHeight);
  } else {
    window.setFixedSize(design.clientWidth, design.clientHeight);
  }
  window.move(design.left, design.top);
}

ToolWindowView::ToolWindowView(const WindowRow& design, AppViews& views,
                               std::function<void()> hidden)
    : QWidget(nullptr, FlagsFor(design)),
      views_(views),
      hidden_(std::move(hidden)),
      closable_(design.closable) {
  ApplyDesign(*this, design);
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
  if (hidden_) views_.Forward(hidden_);
}

}  // namespace mirasketch
