#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "controls/window_controls.h"
#include "platform/window_table.h"

namespace mirasketch {
class Studio;
}  // namespace mirasketch

namespace mirasketch::cli {

// A control a script line names. The canvas window's paint box `pbxA` is named like the controls
// of the windows that keep theirs in a control set; it has no control window.
struct ControlTarget {
  const WindowRow* window;
  ControlWindow* controls;  // null for the canvas window's paint box
  const ControlSpec* design;
  std::string name;  // the control's own name, without the window

  bool IsCanvas() const { return controls == nullptr; }
  // "TfrmCol.pbxPalette".
  std::string Qualified() const { return std::string(window->designName) + "." + name; }
};

// The control `name` ("spbPen" or "TfrmC.spbPen") among the windows that have controls; a bare
// name that several windows have is the control of the window created first. Throws ReplayError
// naming `line` for an unknown window (listing the windows that have controls) or control.
ControlTarget FindControl(const Studio& studio, std::string_view name, int line);

// The window a show or hide line names; throws ReplayError naming `line` when there is no such
// window (listing the windows).
const WindowRow& FindShownWindow(std::string_view name, int line);

// "scroll bar", "menu item"… for messages.
const char* KindName(ControlKind kind);
// Whether a click is an event of the control: buttons, check boxes, radios and menu items.
bool Clickable(ControlKind kind);
// The positions a control set by number can take, or nothing for one that cannot be set so.
std::optional<std::pair<int, int>> Range(const ControlSpec& design);
// Whether `print` can show the control: every kind but paint boxes.
bool Printable(ControlKind kind);
// The value `print` shows for a control of a control window, as the window shows it now: 1 or 0
// for the down state of check boxes, radios, speed and toggle buttons and of the window switches'
// menu items; the position of scroll and track bars; the item index of combo boxes and radio
// groups; the text of edit fields; the caption of labels, buttons, groups, panels and other menu
// items.
std::string PrintedValue(const ControlTarget& target);

}  // namespace mirasketch::cli
