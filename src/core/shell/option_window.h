#pragma once

#include <string>

namespace mirasketch {

class Views;

// The option window's position readout: the pointer position and two lines that the tools fill
// with the shape being dragged. Readouts show only while the window is visible on its position
// page; otherwise the labels keep their last texts.
class TfrmOpt {
 public:
  explicit TfrmOpt(Views& views) : views_(views) {}

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

  bool visible = false;
  int optionPage = 0;  // 0 cursor, 1 position, 2 snap
  std::string lblPosX = "X: 000";
  std::string lblPosY = "Y: 000";
  std::string lblA;
  std::string lblB;

 private:
  Views& views_;
};

}  // namespace mirasketch
