#pragma once

#include <span>
#include <string_view>

namespace mirasketch {

// The program's windows, in the order they are created at start-up.
enum class WindowId {
  frmMain,
  frmM,
  frmC,
  frmCol,
  frmMaskEff,
  frmOpt,
  frmPos,
  frmMaskSet,
  frmL,
  frmT,
};
inline constexpr int kWindowCount = static_cast<int>(WindowId::frmT) + 1;

// How a window is framed: the main window, a slim tool-window frame, or an ordinary window.
enum class WindowFrame { kMain, kTool, kPlain };

// A window's switch on the main window: the item of the window menu and the toggle button of the
// tool bar that show and hide it, both carrying `index` as their Tag.
struct WindowSwitch {
  int index = -1;  // −1: the window has no switch
  const char* menuItem = "";
  const char* menuCaption = "";
  const char* toolButton = "";
  int glyph = -1;  // the tool-bar image
  bool onAtStart = false;
};

// Where a window's placement is kept in the settings file: the placement name, whether its size
// is stored besides its position, and the key of its visibility ("" when not stored).
struct WindowPlacement {
  const char* name = "";
  bool storesSize = false;
  const char* visibleKey = "";
};

// One window as designed. Views create their windows from these rows, the main window's switches
// and the settings file find them here, and the command-line replay looks windows up by name.
struct WindowRow {
  WindowId id;
  const char* designName;  // "TfrmL"
  const char* objectName;  // the view's object name, "frmL"
  const char* caption;
  int clientWidth;
  int clientHeight;
  int minimumWidth;  // of the client area when resizable; 0 for none
  int minimumHeight;
  int left;  // design position
  int top;
  WindowFrame frame;
  bool resizable;
  bool closable;  // false: a close request from the user is refused
  WindowSwitch windowSwitch;
  WindowPlacement placement;
};

// Every window in creation order; row i has id i.
std::span<const WindowRow> WindowTable();
// The row of a window.
const WindowRow& WindowInfo(WindowId id);
// The window of a design name ("TfrmL"), or null.
const WindowRow* FindWindow(std::string_view designName);
// The window switched by Tag `index` of the window menu and tool bar, or null.
const WindowRow* SwitchedWindow(int index);
// The number of windows that have a switch; their Tags are 0 … count − 1.
int WindowSwitchCount();

}  // namespace mirasketch
