#pragma once

#include "canvas_window_view.h"
#include "colour_window_view.h"
#include "main_window_view.h"
#include "tool_panel_view.h"
#include "tool_window_views.h"

namespace mirasketch {

class AppViews;
class Studio;

// Every window of the program, created in the start-up order (main, canvas, tool panel, colour,
// mask effect, option, position, mask, layer, transform) and registered with the views. None is
// shown yet; the main window's first show brings up the others.
class ProgramWindows {
 public:
  ProgramWindows(Studio& studio, AppViews& views);
  // Tells the views that the windows are going away before any of them is destroyed.
  ~ProgramWindows();
  ProgramWindows(const ProgramWindows&) = delete;
  ProgramWindows& operator=(const ProgramWindows&) = delete;

  AppViews& views;
  MainWindowView main;
  CanvasWindowView canvas;
  ToolPanelView toolPanel;
  ColourWindowView colour;
  ToolWindowView maskEffect;
  ToolWindowView option;
  ToolWindowView position;
  ToolWindowView mask;
  ToolWindowView layer;
  ToolWindowView transform;
};

}  // namespace mirasketch
