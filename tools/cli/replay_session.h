#pragma once

#include <string>

#include "freetype_font_engine.h"
#include "replay_names.h"
#include "replay_platform.h"
#include "replay_script.h"
#include "shell/studio.h"

namespace mirasketch::cli {

// A studio started as the program starts, driven by script steps as the windows drive it.
class ReplaySession {
 public:
  // `programDir`: the folder of the data files, with a trailing separator.
  explicit ReplaySession(const std::string& programDir);
  ReplaySession(const ReplaySession&) = delete;
  ReplaySession& operator=(const ReplaySession&) = delete;

  // Throws ReplayError when a step names a window or control that does not exist, names a
  // control that several windows have without saying which, asks a control for an action it does
  // not take, gives a value outside the control's range, or a point further than a screen from
  // the paint box.
  void Check(const ReplayStep& step);
  // Carries out a checked step. Throws ReplayError for a canvas point further than a screen from
  // the paint box as it is sized then, a press a paint box does not take and a drop it does not
  // accept. A new, open, save or paint that the program refuses (it shows its message), or a step
  // ended by an input/output error (shown as a message), is reported and counted in `refused`;
  // the replay goes on as the program would.
  void Run(const ReplayStep& step);
  // After the last step: reports every queued answer that no dialog took, naming its line, and
  // counts each in `refused`.
  void ReportUnusedAnswers();

  Studio& studio() { return studio_; }
  int refused = 0;
  // An `exit` line closed the program: no further line runs.
  bool ended = false;

 private:
  // The paint box a line names; throws ReplayError when the control is not one.
  ControlTarget FindPaintBox(const std::string& name, int line) const;
  // The window a click, set, pointer, drop or key line acts on.
  WindowId EventWindow(const ReplayStep& step) const;
  // Carry out a step; false when a new, open, save or paint did not complete.
  bool RunStep(const ReplayStep& step);
  bool RunFileCommand(const ReplayStep& step);
  void RunMouse(const ReplayStep& step);
  void RunDrop(const ReplayStep& step);
  bool RunPaint(const ReplayStep& step);
  // The line `print` writes: "WINDOW = CAPTION" or "WINDOW.NAME = VALUE".
  std::string Printed(const ReplayStep& step) const;

  ReplayPlatform platform_;
  ReplayViews views_;
  FreeTypeFontEngine fonts_;  // the transform window's text
  Studio studio_;
};

}  // namespace mirasketch::cli
