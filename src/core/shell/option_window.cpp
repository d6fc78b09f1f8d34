#include "shell/option_window.h"

#include "controls/window_controls.h"
#include "platform/views.h"

namespace mirasketch {

namespace {

std::string Pair(int a, int b) {
  std::string text = "(";
  text += std::to_string(a);
  text += ',';
  text += std::to_string(b);
  text += ')';
  return text;
}

}  // namespace

void TfrmOpt::ShowPointer(int x, int y) {
  if (!PositionReadoutOn()) return;
  lblPosX = Labelled("X: ", x);
  lblPosY = Labelled("Y: ", y);
  views_.WindowChanged(WindowId::frmOpt);
}

void TfrmOpt::ShowReadout(int line, const std::string& text) {
  if (!PositionReadoutOn()) return;
  (line == 1 ? lblA : lblB) = text;
  views_.WindowChanged(WindowId::frmOpt);
}

void TfrmOpt::ShowRectReadout(int line, int x1, int y1, int x2, int y2) {
  std::string text = Pair(x1, y1);
  text += '-';
  text += Pair(x2, y2);
  ShowReadout(line, text);
}

void TfrmOpt::ShowBoxReadout(int line, int x, int y, int w, int h) {
  std::string text = "XY";
  text += Pair(x, y);
  text += "-WH";
  text += Pair(w, h);
  ShowReadout(line, text);
}

void TfrmOpt::ShowPointReadout(int line, const std::string& prefix, int a, int b) {
  ShowReadout(line, prefix + Pair(a, b));
}

void TfrmOpt::ClearReadouts() {
  if (!PositionReadoutOn()) return;
  lblA.clear();
  lblB.clear();
  views_.WindowChanged(WindowId::frmOpt);
}

}  // namespace mirasketch
