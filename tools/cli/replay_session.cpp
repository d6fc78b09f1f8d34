#include "replay_session.h"

#include <iostream>
#include <string>
#include <utility>

#include "painting/canvas_window.h"
#include "platform/io_error.h"
#include "platform/window_table.h"

namespace mirasketch::cli {
namespace {

using Kind = ReplayStep::Kind;

// The commands whose refusal the program shows with a message and the replay reports as not
// completed.
bool Completes(Kind kind) {
  return kind == Kind::kNew || kind == Kind::kOpen || kind == Kind::kSave || kind == Kind::kPaint;
}

const char* CommandName(Kind kind) {
  return kind == Kind::kNew    ? "new"
         : kind == Kind::kOpen ? "open"
         : kind == Kind::kSave ? "save"
                               : "paint";
}

bool IsMouse(Kind kind) {
  return kind == Kind::kMouseDown || kind == Kind::kMouseMove || kind == Kind::kMouseUp ||
         kind == Kind::kMouseClick;
}

// An answer as the report of an answer no dialog took names it: the dialogs it waits for and the
// answer as written ("input box", "text \"128\"").
std::pair<const char*, std::string> Described(const DialogAnswer& answer) {
  switch (answer.kind) {
    case DialogAnswer::Kind::kYes:
      return {"question", "yes"};
    case DialogAnswer::Kind::kNo:
      return {"question", "no"};
    case DialogAnswer::Kind::kText:
      return {"input box", "text \"" + answer.text + "\""};
    case DialogAnswer::Kind::kSize:
      return {"size dialog",
              "size " + std::to_string(answer.width) + " " + std::to_string(answer.height)};
    case DialogAnswer::Kind::kFont:
      return {"font dialog", "font " + answer.text + " " + std::to_string(answer.width) +
                                 (answer.bold ? " bold" : "")};
    case DialogAnswer::Kind::kFile:
      return {"file dialog", "file " + answer.text};
    case DialogAnswer::Kind::kSetting:
      return {"settings dialog", "setting " + answer.text + " " + answer.second};
    case DialogAnswer::Kind::kCancel:
      return {"input box or size dialog", "cancel"};
  }
  return {"dialog", ""};
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
    : views_(platform_, platform_.answers), studio_(platform_, views_) {
  studio_.programDir = programDir;
  studio_.frmT.SetFontEngine(&fonts_);
  views_.AttachCanvas(studio_.frmM);
  // The main window's first show starts the program: project, settings, windows.
  studio_.frmMain.FormShow();
}

ControlTarget ReplaySession::FindPaintBox(const std::string& name, int line) const {
  ControlTarget target = FindControl(studio_, name, line);
  if (target.design->kind != ControlKind::kPaintBox)
    throw ReplayError(line,
                      target.name + " is a " + KindName(target.design->kind) + ", not a paint box");
  return target;
}

void ReplaySession::Check(const ReplayStep& step) {
  if (step.kind == Kind::kClick || step.kind == Kind::kSet) {
    const ControlTarget target = FindControl(studio_, step.name, step.line);
    const ControlSpec& design = *target.design;
    const std::string what = target.name + " is a " + KindName(design.kind);
    if (step.kind == Kind::kClick && !Clickable(design.kind))
      throw ReplayError(step.line, what + " and cannot be clicked");
    // Closing the program ends the replay: the `exit` line says so where it stands.
    if (step.kind == Kind::kClick && target.Qualified() == "TfrmMain.mnuExit")
      throw ReplayError(step.line, "mnuExit closes the program: write exit instead");
    if (step.kind == Kind::kSet && design.kind != ControlKind::kEdit) {
      const std::optional<std::pair<int, int>> range = Range(design);
      if (!range) throw ReplayError(step.line, what + " and is not settable");
      if (!ReadNumber(step.argument)) throw ReplayError(step.line, MalformedNumber(step.argument));
      if (step.value < range->first || step.value > range->second)
        throw ReplayError(step.line, std::to_string(step.value) + " is outside " + target.name +
                                         "'s range " + std::to_string(range->first) + " … " +
                                         std::to_string(range->second));
    }
  } else if ((IsMouse(step.kind) && !step.name.empty()) || step.kind == Kind::kDrop) {
    const ControlTarget box = FindPaintBox(step.name, step.line);
    if (step.kind == Kind::kDrop) FindPaintBox(step.argument, step.line);
    if (box.IsCanvas() && step.shiftState != 0)
      throw ReplayError(step.line, "the canvas takes no modifiers with the pointer (use key down)");
    // Canvas points are measured when they come, against the paint box as it is then.
    if (!box.IsCanvas() && !WithinReach(step.x, step.y, box.design->width, box.design->height))
      throw OutOfReach(step);
  } else if (step.kind == Kind::kShow || step.kind == Kind::kHide) {
    FindShownWindow(step.name, step.line);
  } else if (step.kind == Kind::kPrint) {
    Printed(step);
  } else if (step.kind == Kind::kPaint) {
    FindPaintBox(step.name, step.line);
  }
}

bool ReplaySession::RunFileCommand(const ReplayStep& step) {
  TfrmMain& frmMain = studio_.frmMain;
  // A question the script answered No ends the command as the user chose: that is no failure.
  const int declinedBefore = platform_.answeredNo;
  bool taken = false;
  if (step.kind == Kind::kNew) {
    views_.sizeAnswer = std::pair{step.x, step.y};
    views_.sizeAccepted = false;
    frmMain.mnuNewBmpClick();
    taken = !std::exchange(views_.sizeAnswer, std::nullopt);
    if (taken) return views_.sizeAccepted;
  } else {
    platform_.fileAnswer = step.name;
    if (step.kind == Kind::kOpen)
      frmMain.mnuOpenFileClick();
    else
      frmMain.mnuSaveFileAsClick();
    // The dialog took the answer when it was asked.
    taken = !std::exchange(platform_.fileAnswer, std::nullopt);
  }
  return taken || platform_.answeredNo != declinedBefore;
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
  const bool completes = Completes(step.kind);
  // The program reports a refused new, open or save, and a picture it cannot write, with a
  // message.
  if (completed && !(completes && platform_.shownMessages != messagesBefore)) return;
  ++refused;
  std::cerr << "replay: line " << step.line << ": "
            << (completes ? std::string(CommandName(step.kind)) + " did not complete"
                          : std::string("the command failed"))
            << '\n';
}

void ReplaySession::ReportUnusedAnswers() {
  for (const DialogAnswer& answer : platform_.answers.Left()) {
    ++refused;
    const auto [dialogs, written] = Described(answer);
    std::cerr << "replay: line " << answer.line << ": no " << dialogs << " took the answer "
              << written << '\n';
  }
}

WindowId ReplaySession::EventWindow(const ReplayStep& step) const {
  if (step.kind == Kind::kKeyDown || step.kind == Kind::kKeyUp || step.name.empty())
    return WindowId::frmM;
  return FindControl(studio_, step.name, step.line).window->id;
}

bool ReplaySession::RunStep(const ReplayStep& step) {
  TfrmM& canvas = studio_.frmM;
  // The pointer or the keyboard acting on a window makes it the active one first.
  if (step.kind == Kind::kClick || step.kind == Kind::kSet || step.kind == Kind::kDrop ||
      step.kind == Kind::kKeyDown || step.kind == Kind::kKeyUp || IsMouse(step.kind))
    studio_.WindowActivated(EventWindow(step));
  switch (step.kind) {
    case Kind::kNew:
    case Kind::kOpen:
    case Kind::kSave:
      return RunFileCommand(step);
    case Kind::kMouseDown:
    case Kind::kMouseMove:
    case Kind::kMouseUp:
    case Kind::kMouseClick:
      RunMouse(step);
      return true;
    case Kind::kKeyDown:
      canvas.FormKeyDown(step.value, step.shiftState);
      return true;
    case Kind::kKeyUp:
      canvas.FormKeyUp(step.value, step.shiftState);
      return true;
    case Kind::kDrop:
      RunDrop(step);
      return true;
    case Kind::kAnswer:
      platform_.answers.Push(step.answer);
      return true;
    case Kind::kShow:
    case Kind::kHide:
      studio_.ShowWindow(FindShownWindow(step.name, step.line).id, step.kind == Kind::kShow);
      return true;
    case Kind::kPrint:
      std::cout << Printed(step) << '\n';
      return true;
    case Kind::kPaint:
      return RunPaint(step);
    case Kind::kSeed:
      studio_.random.Seed(static_cast<std::uint64_t>(step.value));
      studio_.random.fixedSeed = true;
      return true;
    case Kind::kExit:
      // The main window's close: the discard question, then the settings written.
      ended = studio_.frmMain.FormClose();
      return true;
    case Kind::kClick:
    case Kind::kSet:
      break;
  }
  const ControlTarget target = FindControl(studio_, step.name, step.line);
  const bool taken = step.kind == Kind::kClick ? target.controls->Click(target.name)
                     : target.design->kind == ControlKind::kEdit
                         ? target.controls->Edit(target.name, step.argument)
                         : target.controls->Change(target.name, step.value);
  if (!taken)
    throw ReplayError(step.line, std::string(target.window->designName) +
                                     " did not take the event of " + target.name);
  return true;
}

void ReplaySession::RunMouse(const ReplayStep& step) {
  const std::optional<ControlTarget> box =
      step.name.empty() ? std::nullopt : std::optional(FindControl(studio_, step.name, step.line));
  if (!box || box->IsCanvas()) {
    TfrmM& canvas = studio_.frmM;
    if (!WithinReach(step.x, step.y, canvas.paintBoxWidth, canvas.paintBoxHeight))
      throw OutOfReach(step);
    const MouseButton button = ButtonOfNumber(step.button);
    if (step.kind == Kind::kMouseDown || step.kind == Kind::kMouseClick)
      canvas.pbxAMouseDown(button, step.x, step.y);
    if (step.kind == Kind::kMouseMove) canvas.pbxAMouseMove(step.x, step.y);
    if (step.kind == Kind::kMouseUp || step.kind == Kind::kMouseClick)
      canvas.pbxAMouseUp(button, step.x, step.y);
    return;
  }
  ControlWindow& window = *box->controls;
  // A press must be taken; moves and releases a paint box has no use for are ignored, as a
  // window ignores them.
  bool taken = true;
  if (step.kind == Kind::kMouseDown || step.kind == Kind::kMouseClick)
    taken = window.MouseDown(box->name, step.button, step.x, step.y, step.shiftState);
  if (step.kind == Kind::kMouseMove) window.MouseMove(box->name, step.x, step.y, step.shiftState);
  if (taken && (step.kind == Kind::kMouseUp || step.kind == Kind::kMouseClick))
    window.MouseUp(box->name, step.button, step.x, step.y, step.shiftState);
  if (!taken)
    throw ReplayError(step.line, std::string(box->window->designName) +
                                     " did not take the event of " + box->name);
}

void ReplaySession::RunDrop(const ReplayStep& step) {
  const ControlTarget target = FindControl(studio_, step.name, step.line);
  const ControlTarget source = FindControl(studio_, step.argument, step.line);
  const std::string_view sourceWindow = source.window->designName;
  // The canvas takes no drops from paint boxes.
  const bool accepted =
      !target.IsCanvas() && target.controls->AcceptsDrop(target.name, sourceWindow, source.name) &&
      target.controls->Drop(target.name, sourceWindow, source.name, step.x, step.y);
  if (!accepted)
    throw ReplayError(step.line,
                      target.Qualified() + " does not accept a drop from " + source.Qualified());
}

bool ReplaySession::RunPaint(const ReplayStep& step) {
  const ControlTarget box = FindControl(studio_, step.name, step.line);
  if (box.IsCanvas()) {
    // The paint event shows the canvas as it is before the client area is written.
    studio_.frmM.pbxAPaint();
    return views_.SaveClientArea(step.argument);
  }
  const PaintBox* picture = box.controls->Paint(box.name);
  return picture != nullptr && picture->image.SaveToBmp(step.argument, platform_);
}

std::string ReplaySession::Printed(const ReplayStep& step) const {
  if (step.name.find('.') == std::string::npos) {
    if (const WindowRow* window = FindWindow(step.name))
      return std::string(window->designName) + " = " + studio_.Caption(window->id);
  }
  const ControlTarget target = FindControl(studio_, step.name, step.line);
  if (target.IsCanvas() || !Printable(target.design->kind))
    throw ReplayError(step.line, target.name + " is a " + KindName(target.design->kind) +
                                     " and has no value to print");
  return target.Qualified() + " = " + PrintedValue(target);
}

}  // namespace mirasketch::cli
