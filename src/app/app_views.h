#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <new>

#include "platform/io_error.h"
#include "platform/platform.h"
#include "platform/views.h"

namespace mirasketch {

class CanvasWindowView;
class Studio;

// The message shown when an event needed more memory than the system could give.
inline constexpr const char* kOutOfMemoryMessage = "メモリが足りないため、操作を中止しました。";

// Routes the core's change notices to the window widgets: which window re-reads its state, which
// one is shown or hidden, when the canvas geometry or pixels changed, and the modal dialogs. It is
// also the one door through which the views pass user events into the core.
class AppViews : public Views {
 public:
  explicit AppViews(Platform& platform);

  // Registers the top-level widget of a window and how it re-reads the core's state.
  void Attach(WindowId window, QWidget* widget, std::function<void()> reread);
  void AttachCanvas(CanvasWindowView* canvas);
  // The studio whose window places the views apply and report the user's moves to.
  void AttachStudio(Studio* studio) { studio_ = studio; }
  // From now on the windows are being torn down: hide events no longer reach the core and
  // notices are dropped.
  void BeginShutdown() { shuttingDown_ = true; }
  bool ShuttingDown() const { return shuttingDown_; }

  // Runs a core handler for a user event. An input/output error or memory that ran out ends the
  // event there: its message is shown and nothing unwinds into Qt's event dispatch. False when
  // the handler did not complete.
  template <typename Handler>
  bool Forward(Handler&& handler) noexcept {
    try {
      try {
        handler();
        return true;
      } catch (const IoError& error) {
        platform_.ShowMessage(error.what());
      } catch (const std::bad_alloc&) {
        platform_.ShowMessage(kOutOfMemoryMessage);
      }
    } catch (...) {
      // Showing the message failed as well; the event still ends here.
    }
    return false;
  }

  void WindowChanged(WindowId window) override;
  void ShowWindow(WindowId window, bool visible) override;
  void WindowPlaced(WindowId window) override;
  void CanvasGeometryChanged() override;
  void CanvasPainted() override;
  void Quit() override;
  bool RunSizeDialog(TfrmDlgSize& dialog) override;
  bool RunSettingsDialog(TfrmDlgSetting& dialog) override;
  void RunVersionDialog() override;

  // What `Quit` does; ends the application's event loop unless a test replaces it.
  std::function<void()> quit;

 private:
  struct Entry {
    QPointer<QWidget> widget;
    std::function<void()> reread;
  };
  // Tells the studio where the user moved or sized a window, and its state.
  void ReportPlace(WindowId window);
  friend class PlaceWatcher;

  Platform& platform_;
  std::array<Entry, kWindowCount> windows_;
  QPointer<CanvasWindowView> canvas_;
  Studio* studio_ = nullptr;
  bool placing_ = false;  // a place the core set is being applied
  bool shuttingDown_ = false;
};

}  // namespace mirasketch
