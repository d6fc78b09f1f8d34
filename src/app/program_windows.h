#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "canvas_window_view.h"
#include "colour_window_view.h"
#include "layer_window_view.h"
#include "main_window_view.h"
#include "mask_window_view.h"
#include "option_window_view.h"
#include "platform/window_table.h"
#include "position_window_view.h"
#include "tool_panel_view.h"
#include "tool_window_views.h"
#include "transform_window_view.h"

namespace mirasketch {

class AppViews;
class Studio;

// Every window of the program, created from the window table in its start-up order and
// registered with the views; each one's activation is reported to the core. A window whose core
// class has a view of its own gets that view; the others are shown as their designed frames. None
// is shown yet; the main window's first show brings up the others.
class ProgramWindows {
  // Reports each window's activation to the core.
  class ActivationWatcher : public QObject {
   public:
    ActivationWatcher(Studio& studio, AppViews& views) : studio_(studio), views_(views) {}
    // Watches a window that has id `window`.
    void Watch(WindowId window, QWidget& widget);

   protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

   private:
    Studio& studio_;
    AppViews& views_;
  };

 public:
  ProgramWindows(Studio& studio, AppViews& views);
  // Tells the views that the windows are going away before any of them is destroyed.
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  // The top-level widget of a window.
  QWidget& Window(WindowId window) const { return *windows_[static_cast<std::size_t>(window)]; }

  AppViews& views;

 private:
  std::array<std::unique_ptr<QWidget>, kWindowCount> windows_;
  ActivationWatcher activation_;

 public:
  MainWindowView& main;
  CanvasWindowView& canvas;
  ToolPanelView& toolPanel;
  ColourWindowView& colour;
  PositionWindowView& position;
  LayerWindowView& layer;
  MaskWindowView& mask;
  OptionWindowView& option;
  TransformWindowView& transform;
};

}  // namespace mirasketch
