#pragma once

#include "platform/window_table.h"

namespace mirasketch {

class TfrmDlgSetting;
class TfrmDlgSize;

// How the core tells the views that something changed; the views then read the state again.
// Every call may come at any time on the user-interface thread.
class Views {
 public:
  virtual ~Views() = default;
  // A window's caption, its controls' values or its menu and tool bar changed.
  virtual void WindowChanged(WindowId window) = 0;
  // A window is to be shown or hidden.
  virtual void ShowWindow(WindowId window, bool visible) = 0;
  // A window's place or size was set (see `WindowPlaces`): its view moves it there.
  virtual void WindowPlaced(WindowId window) = 0;
  // The canvas paint box changed size (zoom, canvas size) or its scroll position was set.
  virtual void CanvasGeometryChanged() = 0;
  // The canvas surface received new pixels and should reach the screen.
  virtual void CanvasPainted() = 0;
  // Ends the program's event loop (after a confirmed close of the main window).
  virtual void Quit() = 0;
  // Runs a modal dialog whose state and checks live in `dialog`; true when it closed with OK.
  virtual bool RunSizeDialog(TfrmDlgSize& dialog) = 0;
  // Runs the settings dialog over fields the core filled; true when it closed with OK (the core
  // then takes the fields).
  virtual bool RunSettingsDialog(TfrmDlgSetting& dialog) = 0;
  virtual void RunVersionDialog() = 0;
};

// Views that ignore everything: the headless tool and most tests.
class NoViews : public Views {
 public:
  void WindowChanged(WindowId) override {}
  void ShowWindow(WindowId, bool) override {}
  void WindowPlaced(WindowId) override {}
  void CanvasGeometryChanged() override {}
  void CanvasPainted() override {}
  void Quit() override {}
  bool RunSizeDialog(TfrmDlgSize&) override { return false; }
  bool RunSettingsDialog(TfrmDlgSetting&) override { return false; }
  void RunVersionDialog() override {}
};

}  // namespace mirasketch
