#include "app_views.h"

#include <QCoreApplication>
#include <QEvent>

#include "canvas_window_view.h"
#include "dialog_views.h"
#include "shell/studio.h"

namespace mirasketch {

// exit() rather than quit(): Qt's quit() first asks every window to close, and the tool panel
// refuses, which would keep the program running after a confirmed close.
AppViews::AppViews(Platform& platform)
    : quit([] { QCoreApplication::exit(0); }), platform_(platform) {}

// Watches a window for moves, resizes and state changes and reports them.
class PlaceWatcher : public QObject {
 public:
  PlaceWatcher(AppViews& views, WindowId window, QObject* parent)
      : QObject(parent), views_(views), window_(window) {}

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange)
      views_.ReportPlace(window_);
    return QObject::eventFilter(object, event);
  }

 private:
  AppViews& views_;
  WindowId window_;
};

void AppViews::Attach(WindowId window, QWidget* widget, std::function<void()> reread) {
  Entry& entry = windows_[static_cast<std::size_t>(window)];
  entry.widget = widget;
  entry.reread = std::move(reread);
  widget->installEventFilter(new PlaceWatcher(*this, window, widget));
}

void AppViews::ReportPlace(WindowId window) {
  if (shuttingDown_ || placing_ || studio_ == nullptr) return;
  QWidget* widget = windows_[static_cast<std::size_t>(window)].widget;
  if (widget == nullptr || !widget->isVisible()) return;
  WindowBounds bounds = studio_->places.Of(window);
  bounds.normal = !widget->isMinimized() && !widget->isMaximized();
  // A minimised or maximised window keeps the place it had in its normal state.
  if (bounds.normal) bounds = {widget->x(), widget->y(), widget->width(), widget->height(), true};
  Forward([&] { studio_->WindowMoved(window, bounds); });
}

void AppViews::WindowPlaced(WindowId window) {
  if (shuttingDown_ || studio_ == nullptr) return;
  QWidget* widget = windows_[static_cast<std::size_t>(window)].widget;
  if (widget == nullptr) return;
  const WindowBounds& bounds = studio_->places.Of(window);
  placing_ = true;
  widget->move(bounds.left, bounds.top);
  if (WindowInfo(window).placement.storesSize) widget->resize(bounds.width, bounds.height);
  placing_ = false;
}

void AppViews::AttachCanvas(CanvasWindowView* canvas) {
  canvas_ = canvas;
}

void AppViews::WindowChanged(WindowId window) {
  if (shuttingDown_) return;
  const Entry& entry = windows_[static_cast<std::size_t>(window)];
  if (entry.widget && entry.reread) entry.reread();
}

void AppViews::ShowWindow(WindowId window, bool visible) {
  if (shuttingDown_) return;
  QWidget* widget = windows_[static_cast<std::size_t>(window)].widget;
  if (widget == nullptr) return;
  if (visible) {
    // Showing a window that is already up brings it to the front.
    if (widget->isVisible())
      widget->raise();
    else
      widget->show();
  } else {
    widget->hide();
  }
}

void AppViews::CanvasGeometryChanged() {
  if (!shuttingDown_ && canvas_) canvas_->ApplyGeometry();
}

void AppViews::CanvasPainted() {
  if (!shuttingDown_ && canvas_) canvas_->ShowPainted();
}

void AppViews::Quit() {
  // The windows close with the program; their hide events are no longer the user's doing.
  shuttingDown_ = true;
  if (quit) quit();
}

bool AppViews::RunSizeDialog(TfrmDlgSize& dialog) {
  SizeDialogView view(dialog, platform_);
  return view.exec() == QDialog::Accepted;
}

bool AppViews::RunSettingsDialog(TfrmDlgSetting& dialog) {
  SettingsDialogView view(dialog);
  return view.exec() == QDialog::Accepted;
}

void AppViews::RunVersionDialog() {
  VersionDialogView view;
  view.exec();
}

}  // namespace mirasketch
