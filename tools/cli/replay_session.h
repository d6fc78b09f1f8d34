#pragma once

#include <string>

#include "replay_platform.h"
#include "replay_script.h"
#include "shell/studio.h"
#include "controls/window_controls.h"

namespace mirasketch::cli {

// A studio started as the program starts, driven by script steps as the windows drive it.
class ReplaySession {
 public:
  // `programDir`: the folder of the data files, with a trailing separator.
  explicit ReplaySession(const std::string& programDir);
  ReplaySession(const ReplaySession&) = delete;
  ReplaySession& operator=(const ReplaySession&) = delete;

  // Throws ReplayError when a step names a control no window has, names one that several
  // windows have without saying which, asks a control for an action it does not take, gives a
  // value outside the control's range, or a point further than a screen from the paint box.
  void Check(const ReplayStep& step);
  // Carries out a checked step; throws ReplayError for a canvas point further than a screen from
  // the paint box as it is sized then. A new, open or save that the program refuses (it shows its
  // message), or a step ended by an input/output error (shown as a message), is reported and
  // counted in `refused`; the replay goes on as the program would.
  void Run(const ReplayStep& step);

  Studio& studio() { return studio_; }
  int refused = 0;

 private:
  struct Target {
    const char* window;
    ControlWindow* controls;
    const ControlSpec* design;  // the control as designed
    std::string name;           // the control's own name, without the window
  };
  Target Resolve(const ReplayStep& step);
  // Carry out a step; false when a new, open or save did not get its answer taken and accepted.
  bool RunStep(const ReplayStep& step);
  bool RunFileCommand(const ReplayStep& step);

  ReplayPlatform platform_;
  ReplayViews views_;
  Studio studio_;
};

}  // namespace mirasketch::cli
