#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

#include "platform/views.h"

namespace mirasketch {

class CanvasWindowView;
class Platform;

// Routes the core's change notices to the window widgets: which window re-reads its state, which
// one is shown or hidden, when the canvas geometry or pixels changed, and the modal dialogs.
class AppViews : public Views {
 public:
  explicit AppViews(Platform& platform);

  // Registers the top-level widget of a window and how it re-reads the core's state.
  void Attach(WindowId window, QWidget* widget, std::function<void()> reread);
  void AttachCanvas(CanvasWindowView* canvas);
  // From now on the windows are being torn down: hide events no longer reach the core and
  // notices are dropped.
  void BeginShutdown() { shuttingDown_ = true; }
  bool ShuttingDown() const { return shuttingDown_; }

  void WindowChanged(WindowId window) override;
  void ShowWindow(WindowId window, bool visible) override;
  void CanvasGeometryChanged() override;
  void CanvasPainted() override;
  void Quit() override;
  bool RunSizeDialog(TfrmDlgSize& dialog) override;
  void RunSettingsDialog() override;
  void RunVersionDialog() override;

  // What `Quit` does; ends the application's event loop unless a test replaces it.
  std::function<void()> quit;

 private:
  struct Entry {
    QPointer<QWidget> widget;
    std::function<void()> reread;
  };
  static constexpr int kWindows = 7;
  Entry* Find(WindowId window);

  Platform& platform_;
  std::array<Entry, kWindows> windows_;
  QPointer<CanvasWindowView> canvas_;
  bool shuttingDown_ = false;
};

}  // namespace mirasketch
