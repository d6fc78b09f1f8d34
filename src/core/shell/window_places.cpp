#include "shell/window_places.h"

#include <algorithm>
#include <string>

#include "shell/settings_file.h"

namespace mirasketch {

namespace {

constexpr const char* kSection = "Window";
// Far beyond any arrangement of screens; values past it come from a damaged file and would only
// overflow the toolkit's arithmetic or ask it for a window of gigabytes.
constexpr int kFarOff = 16384;

std::string Key(WindowId window, const char* field) {
  return std::string(WindowInfo(window).placement.name) + field;
}

}  // namespace

WindowPlaces::WindowPlaces() {
  for (const WindowRow& row : WindowTable())
    bounds_[static_cast<std::size_t>(row.id)] = {row.left, row.top, row.clientWidth,
                                                 row.clientHeight, true};
}

void WindowPlaces::RestorePosition(WindowId window, const SettingsFile& file, int screenWidth,
                                   int screenHeight) {
  WindowBounds& b = bounds_[static_cast<std::size_t>(window)];
  b.left = std::clamp(file.ReadInteger(kSection, Key(window, "FormLeft"), b.left), -kFarOff,
                      std::max(screenWidth - 64, -kFarOff));
  b.top = std::clamp(file.ReadInteger(kSection, Key(window, "FormTop"), b.top), -kFarOff,
                     std::max(screenHeight - 64, -kFarOff));
}

void WindowPlaces::RestoreBounds(WindowId window, const SettingsFile& file, int screenWidth,
                                 int screenHeight) {
  RestorePosition(window, file, screenWidth, screenHeight);
  WindowBounds& b = bounds_[static_cast<std::size_t>(window)];
  b.width = std::clamp(file.ReadInteger(kSection, Key(window, "FormWidth"), b.width), 1, kFarOff);
  b.height =
      std::clamp(file.ReadInteger(kSection, Key(window, "FormHeight"), b.height), 1, kFarOff);
}

bool WindowPlaces::StorePosition(WindowId window, SettingsFile& file) const {
  const WindowBounds& b = Of(window);
  if (!b.normal) return false;
  file.WriteInteger(kSection, Key(window, "FormLeft"), b.left);
  file.WriteInteger(kSection, Key(window, "FormTop"), b.top);
  return true;
}

void WindowPlaces::StoreBounds(WindowId window, SettingsFile& file) const {
  if (!StorePosition(window, file)) return;
  const WindowBounds& b = Of(window);
  file.WriteInteger(kSection, Key(window, "FormWidth"), b.width);
  file.WriteInteger(kSection, Key(window, "FormHeight"), b.height);
}

}  // namespace mirasketch
