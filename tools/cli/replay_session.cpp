#include "replay_session.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include "painting/canvas_window.h"
#include "platform/io_error.h"
#include "platform/window_table.h"

namespace mirasketch::cli {
namespace {

using Kind = ReplayStep::Kind;

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
  }
  return "control";
}

bool Clickable(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kSpeedButton ||
         kind == ControlKind::kToggleButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kRadio || kind == ControlKind::kMenuItem;
}

// The positions a settable control can take, or nothing for one that cannot be set.
std::optional<std::pair<int, int>> Range(const ControlSpec& design) {
  if (design.kind == ControlKind::kScrollBar || design.kind == ControlKind::kTrackBar)
    return std::pair{design.minimum, design.maximum};
  if (design.kind == ControlKind::kComboBox) {
    const std::string_view items = design.caption;
    return std::pair{0, static_cast<int>(std::count(items.begin(), items.end(), '\n'))};
  }
  return std::nullopt;
}

const char* CommandName(ReplayStep::Kind kind) {
  return kind == Kind::kNew ? "new" : kind == Kind::kOpen ? "open" : "save";
}

// A pointer event lies on the screen: at most a screen's width and height beyond the paint box
// it is sent to. Points further out would come from no window and could overflow the tools'
// arithmetic.
bool WithinReach(int x, int y, int boxWidth, int boxHeight) {
  return x >= -kScreenWidth && y >= -kScreenHeight && x - boxWidth <= kScreenWidth &&
         y - boxHeight <= kScreenHeight;
}

ReplayError OutOfReach(const ReplayStep& step) {
  return ReplayError(step.line, "point (" + std::to_string(step.x) + ", " + std::to_string(step.y) +
                                    ") is further than a screen from the paint box");
}

}  // namespace

ReplaySession::ReplaySession(const std::string& programDir)
    : views_(platform_), studio_(platform_, views_) {
  studio_.programDir = programDir;
  views_.AttachCanvas(studio_.frmM);
  // The main window's first show starts the program: project, settings, windows.
  studio_.frmMain.FormShow();
}

ReplaySession::Target ReplaySession::Resolve(const ReplayStep& step) {
  std::string windowName;
  std::string name = step.name;
  if (const std::size_t dot = name.find('.'); dot != std::string::npos) {
    windowName = name.substr(0, dot);
    name.erase(0, dot + 1);
  }
  if (!windowName.empty()) {
    const WindowRow* window = FindWindow(windowName);
    if (window == nullptr || studio_.Controls(window->id) == nullptr) {
      std::vector<std::string> known;
      for (const WindowRow& row : WindowTable())
        if (studio_.Controls(row.id) != nullptr) known.emplace_back(row.designName);
      std::string list;
      for (std::size_t i = 0; i < known.size(); ++i)
        list += (i == 0 ? "" : i + 1 == known.size() ? " or " : ", ") + known[i];
      throw ReplayError(step.line, "unknown window '" + windowName + "' (" + list + ")");
    }
  }
  std::optional<Target> found;
  for (const WindowRow& window : WindowTable()) {
    ControlWindow* controls = studio_.Controls(window.id);
    if (controls == nullptr || (!windowName.empty() && windowName != window.designName)) continue;
    if (!controls->Controls().Has(name)) continue;
    if (found)
      throw ReplayError(step.line, "'" + name + "' is in " + found->window + " and " +
                                       window.designName + "; write " + found->window + "." + name +
                                       " or " + window.designName + "." + name);
    found = Target{window.designName, controls, &controls->Controls().Spec(name), name};
  }
  if (!found) {
    throw ReplayError(step.line, windowName.empty()
                                     ? "unknown control '" + name + "'"
                                     : windowName + " has no control '" + name + "'");
  }
  return *found;
}

void ReplaySession::Check(const ReplayStep& step) {
  if (step.kind != Kind::kClick && step.kind != Kind::kSet && step.kind != Kind::kMouseClick &&
      step.kind != Kind::kDrop)
    return;
  const Target target = Resolve(step);
  const ControlSpec& design = *target.design;
  const std::string what = target.name + " is a " + KindName(design.kind);
  if (step.kind == Kind::kClick && !Clickable(design.kind))
    throw ReplayError(step.line, what + " and cannot be clicked");
  if (step.kind == Kind::kSet) {
    const std::optional<std::pair<int, int>> range = Range(design);
    if (!range) throw ReplayError(step.line, what + " and is not settable");
    if (step.value < range->first || step.value > range->second)
      throw ReplayError(step.line, std::to_string(step.value) + " is outside " + target.name +
                                       "'s range " + std::to_string(range->first) + " … " +
                                       std::to_string(range->second));
  }
  if (step.kind == Kind::kMouseClick && design.kind != ControlKind::kPaintBox)
    throw ReplayError(step.line, what + ", not a paint box");
  if ((step.kind == Kind::kMouseClick || step.kind == Kind::kDrop) &&
      !WithinReach(step.x, step.y, design.width, design.height))
    throw OutOfReach(step);
  if (step.kind == Kind::kDrop &&
      (target.controls != &studio_.frmCol || target.name != "pbxPalette"))
    throw ReplayError(step.line, target.name + " does not take drops (only pbxPalette does)");
}

bool ReplaySession::RunFileCommand(const ReplayStep& step) {
  TfrmMain& frmMain = studio_.frmMain;
  if (step.kind == Kind::kNew) {
    views_.sizeAnswer = std::pair{step.x, step.y};
    views_.sizeAccepted = false;
    frmMain.mnuNewBmpClick();
    const bool accepted = views_.sizeAccepted && !views_.sizeAnswer;
    views_.sizeAnswer.reset();
    return accepted;
  }
  platform_.fileAnswer = step.name;
  if (step.kind == Kind::kOpen)
    frmMain.mnuOpenFileClick();
  else
    frmMain.mnuSaveFileAsClick();
  // The dialog took the answer when it was asked.
  return !std::exchange(platform_.fileAnswer, std::nullopt);
}

void ReplaySession::Run(const ReplayStep& step) {
  const int messagesBefore = platform_.shownMessages;
  bool completed = true;
  try {
    completed = RunStep(step);
  } catch (const IoError& error) {
    // As at the program's event loop: the failure is shown and the program goes on.
    platform_.ShowMessage(error.what());
    completed = false;
  }
  const bool fileCommand =
      step.kind == Kind::kNew || step.kind == Kind::kOpen || step.kind == Kind::kSave;
  // The program reports a refused new, open or save with a message.
  if (completed && !(fileCommand && platform_.shownMessages != messagesBefore)) return;
  ++refused;
  std::cerr << "replay: line " << step.line << ": "
            << (fileCommand ? std::string(CommandName(step.kind)) + " did not complete"
                            : std::string("the command failed"))
            << '\n';
}

bool ReplaySession::RunStep(const ReplayStep& step) {
  TfrmM& canvas = studio_.frmM;
  const bool onCanvas =
      step.kind == Kind::kMouseDown || step.kind == Kind::kMouseMove || step.kind == Kind::kMouseUp;
  if (onCanvas && !WithinReach(step.x, step.y, canvas.paintBoxWidth, canvas.paintBoxHeight))
    throw OutOfReach(step);
  switch (step.kind) {
    case Kind::kNew:
    case Kind::kOpen:
    case Kind::kSave:
      return RunFileCommand(step);
    case Kind::kMouseDown:
      canvas.pbxAMouseDown(ButtonOfNumber(step.button), step.x, step.y);
      return true;
    case Kind::kMouseMove:
      canvas.pbxAMouseMove(step.x, step.y);
      return true;
    case Kind::kMouseUp:
      canvas.pbxAMouseUp(ButtonOfNumber(step.button), step.x, step.y);
      return true;
    case Kind::kKeyDown:
      canvas.FormKeyDown(step.value, step.shiftState);
      return true;
    case Kind::kKeyUp:
      canvas.FormKeyUp(step.value, step.shiftState);
      return true;
    case Kind::kDrop:
      studio_.frmCol.pbxPaletteDragDrop(step.value, step.x, step.y);
      return true;
    case Kind::kClick:
    case Kind::kSet:
    case Kind::kMouseClick:
      break;
  }
  const Target target = Resolve(step);
  bool taken = false;
  if (step.kind == Kind::kClick)
    taken = target.controls->Click(target.name);
  else if (step.kind == Kind::kSet)
    taken = target.controls->Change(target.name, step.value);
  else
    taken = target.controls->MouseDown(target.name, step.button, step.x, step.y, step.shiftState);
  if (!taken)
    throw ReplayError(step.line,
                      std::string(target.window) + " did not take the event of " + target.name);
  return true;
}

}  // namespace mirasketch::cli
