#include "app_views.h"

#include <QCoreApplication>

#include "canvas_window_view.h"
#include "size_dialog_view.h"

#ifndef MIRASKETCH_VERSION
#define MIRASKETCH_VERSION "0"
#endif

namespace mirasketch {

// exit() rather than quit(): Qt's quit() first asks every window to close, and the tool panel
// refuses, which would keep the program running after a confirmed close.
AppViews::AppViews(Platform& platform)
    : quit([] { QCoreApplication::exit(0); }), platform_(platform) {}

void AppViews::Attach(WindowId window, QWidget* widget, std::function<void()> reread) {
  Entry& entry = windows_[static_cast<std::size_t>(window)];
  entry.widget = widget;
  entry.reread = std::move(reread);
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

// The settings and version dialogs get their own windows later; until then they say what they
// are in a message box.
void AppViews::RunSettingsDialog() {
  platform_.ShowMessage("設定");
}

void AppViews::RunVersionDialog() {
  platform_.ShowMessage(std::string("Mirasketch\nVersion ") + MIRASKETCH_VERSION);
}

}  // namespace mirasketch
