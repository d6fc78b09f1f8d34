#pragma once

#include <string>
#include <string_view>

#include "buffers/dib_true.h"
#include "controls/window_controls.h"

namespace mirasketch {

class ShellLinks;
class TfrmM;
class ToolEngine;
class Views;

// The option window ("オプション"), three pages chosen by a radio group: the cursor shown over
// the canvas, the position readout (the pointer position and two lines that the tools fill with
// the shape being dragged), and the grid snap. Readouts show only while the window is visible on
// its position page; otherwise the labels keep their last texts.
class TfrmOpt : public ControlWindow {
 public:
  TfrmOpt(TfrmM& canvas, ToolEngine& tools, Views& views, ShellLinks& links);

  // After the settings were read: shows page `optionPage`, the first cursor page, and gives the
  // canvas cursor `cursorNumber`. Values outside their ranges count as the defaults (cursor 1,
  // the cursor page).
  void LoadCursors();
  // Chooses cursor n (0 … 7) for the canvas.
  void SetCursorNumber(int n);
  // Copies the snap fields and switch into the tool engine: steps below 1 and texts that are
  // no number give a step of 1.
  void ApplySnapSettings();

  // True when the window is visible with its position page shown.
  bool PositionReadoutOn() const { return visible && optionPage == 1; }
  // The unsnapped active-layer point under the pointer.
  void ShowPointer(int x, int y);
  // Line 1 goes to `lblA`, any other line to `lblB`.
  void ShowReadout(int line, const std::string& text);
  // "(x1,y1)-(x2,y2)".
  void ShowRectReadout(int line, int x1, int y1, int x2, int y2);
  // "XY(x,y)-WH(w,h)".
  void ShowBoxReadout(int line, int x, int y, int w, int h);
  // prefix + "(a,b)".
  void ShowPointReadout(int line, const std::string& prefix, int a, int b);
  void ClearReadouts();

  // Event handlers.
  void rgOptionClick();
  void chkSnapClick();
  // A press on the chooser: the two page tabs, or a cursor below them.
  void pbxCursorMouseDown(int x, int y);
  const PaintBox& pbxCursorPaint();
  // The window was hidden: its switch on the main window goes off.
  void FormHide();

  // ControlWindow.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view name, int value) override;
  bool Edit(std::string_view name, const std::string& text) override;
  const PaintBox* Paint(std::string_view name) override;
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;

  ControlSet controls;
  bool visible = false;
  int optionPage = 0;    // 0 cursor, 1 position, 2 snap
  int cursorNumber = 1;  // 0 … 7
  int cursorPage = 0;    // the first cursor of the chooser page shown: 0 or 4
  // The eight cursor pictures for the chooser, 32 × 32 each, four a row.
  CDibTrue imgCurList;
  std::string lblPosX = "X: 000";
  std::string lblPosY = "Y: 000";
  std::string lblA;
  std::string lblB;

 private:
  // The readout labels show the texts above.
  void ReadoutChanged();
  void Changed();

  TfrmM& canvas_;
  ToolEngine& tools_;
  Views& views_;
  ShellLinks& links_;
  PaintBox chooser_;
};

}  // namespace mirasketch
