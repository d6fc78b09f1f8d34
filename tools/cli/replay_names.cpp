#include "replay_names.h"

#include <algorithm>
#include <vector>

#include "replay_script.h"
#include "shell/studio.h"

namespace mirasketch::cli {
namespace {

// The canvas window's paint box. It follows the canvas's size and zoom, so its design has none:
// points sent to it are measured against the paint box as it is when they come.
constexpr ControlSpec kCanvasPaintBox{"pbxA", ControlKind::kPaintBox, "", 0, 0, 0, 0, ""};

// The controls of a window as the replay sees them: the window's control set, the canvas
// window's paint box, or nothing.
struct WindowControls {
  ControlWindow* window = nullptr;
  bool canvas = false;

  bool Any() const { return window != nullptr || canvas; }
  const ControlSpec* Find(std::string_view name) const {
    if (window != nullptr)
      return window->Controls().Has(name) ? &window->Controls().Spec(name) : nullptr;
    return canvas && name == kCanvasPaintBox.name ? &kCanvasPaintBox : nullptr;
  }
};

WindowControls ControlsOf(const Studio& studio, WindowId id) {
  ControlWindow* window = studio.Controls(id);
  return {window, window == nullptr && id == WindowId::frmM};
}

// "A, B or C".
std::string Listed(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i)
    list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  return list;
}

bool IsWindowSwitchItem(std::string_view name) {
  return std::any_of(WindowTable().begin(), WindowTable().end(), [name](const WindowRow& row) {
    return row.windowSwitch.index >= 0 && name == row.windowSwitch.menuItem;
  });
}

}  // namespace

ControlTarget FindControl(const Studio& studio, std::string_view fullName, int line) {
  std::string_view windowName;
  std::string_view name = fullName;
  if (const std::size_t dot = name.find('.'); dot != std::string_view::npos) {
    windowName = name.substr(0, dot);
    name.remove_prefix(dot + 1);
  }
  if (!windowName.empty()) {
    const WindowRow* window = FindWindow(windowName);
    if (window == nullptr || !ControlsOf(studio, window->id).Any()) {
      std::vector<std::string> known;
      for (const WindowRow& row : WindowTable())
        if (ControlsOf(studio, row.id).Any()) known.emplace_back(row.designName);
      throw ReplayError(line,
                        "unknown window '" + std::string(windowName) + "' (" + Listed(known) + ")");
    }
  }
  std::optional<ControlTarget> found;
  for (const WindowRow& window : WindowTable()) {
    if (!windowName.empty() && windowName != window.designName) continue;
    const WindowControls controls = ControlsOf(studio, window.id);
    const ControlSpec* design = controls.Find(name);
    if (design == nullptr) continue;
    // A bare name that several windows have is the control of the window created first.
    found = ControlTarget{&window, controls.window, design, std::string(name)};
    break;
  }
  if (!found) {
    throw ReplayError(line, windowName.empty() ? "unknown control '" + std::string(name) + "'"
                                               : std::string(windowName) + " has no control '" +
                                                     std::string(name) + "'");
  }
  return *found;
}

const WindowRow& FindShownWindow(std::string_view name, int line) {
  if (const WindowRow* window = FindWindow(name)) return *window;
  std::vector<std::string> known;
  for (const WindowRow& row : WindowTable()) known.emplace_back(row.designName);
  throw ReplayError(line, "unknown window '" + std::string(name) + "' (" + Listed(known) + ")");
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
      return "button";
    case ControlKind::kSpeedButton:
      return "speed button";
    case ControlKind::kToggleButton:
      return "toggle button";
    case ControlKind::kCheckBox:
      return "check box";
    case ControlKind::kRadio:
      return "radio button";
    case ControlKind::kScrollBar:
      return "scroll bar";
    case ControlKind::kTrackBar:
      return "track bar";
    case ControlKind::kComboBox:
      return "combo box";
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kPaintBox:
      return "paint box";
    case ControlKind::kGroup:
      return "group";
    case ControlKind::kPanel:
      return "panel";
    case ControlKind::kMenuItem:
      return "menu item";
    case ControlKind::kUpDown:
      return "up-down";
    case ControlKind::kRadioGroup:
      return "radio group";
    case ControlKind::kEdit:
      return "edit field";
  }
  return "control";
}

bool Clickable(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kSpeedButton ||
         kind == ControlKind::kToggleButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kRadio || kind == ControlKind::kMenuItem;
}

std::optional<std::pair<int, int>> Range(const ControlSpec& design) {
  if (design.kind == ControlKind::kScrollBar || design.kind == ControlKind::kTrackBar ||
      design.kind == ControlKind::kUpDown)
    return std::pair{design.minimum, design.maximum};
  if (design.kind == ControlKind::kComboBox || design.kind == ControlKind::kRadioGroup) {
    const std::string_view items = design.caption;
    return std::pair{0, static_cast<int>(std::count(items.begin(), items.end(), '\n'))};
  }
  return std::nullopt;
}

bool Printable(ControlKind kind) {
  return kind != ControlKind::kPaintBox;
}

std::string PrintedValue(const ControlTarget& target) {
  const ControlState& state = target.controls->Controls().State(target.name);
  switch (target.design->kind) {
    case ControlKind::kSpeedButton:
    case ControlKind::kToggleButton:
    case ControlKind::kCheckBox:
    case ControlKind::kRadio:
      return state.checked ? "1" : "0";
    case ControlKind::kScrollBar:
    case ControlKind::kTrackBar:
    case ControlKind::kUpDown:
    case ControlKind::kComboBox:
    case ControlKind::kRadioGroup:
      return std::to_string(state.position);
    case ControlKind::kMenuItem:
      // A window switch's item carries a check mark; the others show only their caption.
      if (IsWindowSwitchItem(target.name)) return state.checked ? "1" : "0";
      return state.caption;
    default:
      return state.caption;
  }
}

}  // namespace mirasketch::cli
