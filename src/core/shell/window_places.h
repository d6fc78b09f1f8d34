#pragma once

#include <array>

#include "platform/window_table.h"

namespace mirasketch {

class SettingsFile;

// Where a window stands on the screen: the top-left corner of its frame and the size of its
// client area, and whether it is in its normal state (neither minimised nor maximised).
struct WindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool normal = true;
};

// The places of the program's windows: their designed places at first, then what the user made
// of them, read from and written to the settings file under each window's placement name.
class WindowPlaces {
 public:
  WindowPlaces();

  const WindowBounds& Of(WindowId window) const {
    return bounds_[static_cast<std::size_t>(window)];
  }
  // The view reports where the user moved or sized a window, or that its state changed.
  void Moved(WindowId window, const WindowBounds& bounds) {
    bounds_[static_cast<std::size_t>(window)] = bounds;
  }

  // Reads name + "FormLeft" and "FormTop" (the current place as default), each held at least 64
  // pixels inside the right and bottom edges of a screen of the given size; off the left and top
  // edges they are kept, up to 16384 pixels.
  void RestorePosition(WindowId window, const SettingsFile& file, int screenWidth,
                       int screenHeight);
  // `RestorePosition`, then name + "FormWidth" and "FormHeight" taken as read within 1 … 16384.
  void RestoreBounds(WindowId window, const SettingsFile& file, int screenWidth, int screenHeight);
  // Writes left and top when the window is in its normal state; false (nothing written) else.
  bool StorePosition(WindowId window, SettingsFile& file) const;
  // `StorePosition`, and the size when that wrote.
  void StoreBounds(WindowId window, SettingsFile& file) const;

 private:
  std::array<WindowBounds, kWindowCount> bounds_{};
};

}  // namespace mirasketch
