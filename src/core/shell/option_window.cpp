#include "shell/option_window.h"

#include <algorithm>

#include "buffers/copy_block.h"
#include "controls/window_controls.h"
#include "painting/canvas_cursors.h"
#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/views.h"
#include "project/size_dialog.h"
#include "shell/shell_links.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"rgOption", K::kRadioGroup, "", 0, 0, 64, 64, "ｶｰｿﾙ\n位置\nｽﾅｯﾌﾟ"},
    {"pnlCursor", K::kPanel, "", 64, 2, 136, 57, ""},
    {"pbxCursor", K::kPaintBox, "pnlCursor", 4, 4, 128, 48, ""},
    {"pnlPosition", K::kPanel, "", 64, 0, 136, 64, ""},
    {"lblPosX", K::kLabel, "pnlPosition", 24, 10, 49, 13, "X: 000"},
    {"lblPosY", K::kLabel, "pnlPosition", 81, 10, 48, 13, "Y: 000"},
    {"lblA", K::kLabel, "pnlPosition", 6, 24, 122, 13, ""},
    {"lblB", K::kLabel, "pnlPosition", 8, 40, 124, 13, ""},
    {"grpSnap", K::kGroup, "", 64, 0, 136, 64, "グリッドスナップ"},
    {"chkSnap", K::kCheckBox, "grpSnap", 48, 16, 57, 17, "する"},
    {"Label2", K::kLabel, "grpSnap", 8, 40, 12, 13, "横"},
    {"edtSnapW", K::kEdit, "grpSnap", 24, 36, 38, 20, "32"},
    {"Label1", K::kLabel, "grpSnap", 72, 40, 12, 13, "縦"},
    {"edtSnapH", K::kEdit, "grpSnap", 88, 36, 38, 20, "32"},
};

// The pages in the order of the radio group's items.
constexpr const char* kPages[] = {"pnlCursor", "pnlPosition", "grpSnap"};

constexpr int kCell = CanvasCursor::kSize;
constexpr int kFace = 0xF0F0F0;
constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0;

std::string Pair(int a, int b) {
  std::string text = "(";
  text += std::to_string(a);
  text += ',';
  text += std::to_string(b);
  text += ')';
  return text;
}

// A field's step: the number its text begins with, at least 1.
int SnapStep(const std::string& text) {
  bool wellFormed = false;
  return std::max(ReadLeadingInt(text, wellFormed), 1);
}

}  // namespace

TfrmOpt::TfrmOpt(TfrmM& canvas, ToolEngine& tools, Views& views, ShellLinks& links)
    : controls(kControls), canvas_(canvas), tools_(tools), views_(views), links_(links) {
  controls.Bind("rgOption", optionPage);
  rgOptionClick();
  imgCurList.Alloc(4 * kCell, 2 * kCell);
  imgCurList.FillRect(0, 0, imgCurList.Width(), imgCurList.Height(), kFace);
  for (int i = 0; i < kCanvasCursorCount; ++i) {
    const CanvasCursor& cursor = CanvasCursors()[static_cast<std::size_t>(i)];
    const int left = i % 4 * kCell;
    const int top = i / 4 * kCell;
    for (int y = 0; y < kCell; ++y)
      for (int x = 0; x < kCell; ++x)
        if (cursor.Painted(x, y))
          imgCurList.SetPixel(left + x, top + y, cursor.Black(x, y) ? kBlack : kWhite);
  }
}

void TfrmOpt::Changed() {
  views_.WindowChanged(WindowId::frmOpt);
}

void TfrmOpt::LoadCursors() {
  // The settings file is read as it stands; a value no control can show falls back to the
  // default rather than choosing a page or cursor that does not exist.
  if (optionPage < 0 || optionPage > 2) optionPage = 0;
  if (cursorNumber < 0 || cursorNumber >= kCanvasCursorCount) cursorNumber = 1;
  rgOptionClick();
  cursorPage = 0;
  SetCursorNumber(cursorNumber);
}

void TfrmOpt::SetCursorNumber(int n) {
  cursorNumber = std::clamp(n, 0, kCanvasCursorCount - 1);
  canvas_.pbxACursor = cursorNumber + 1;
  views_.WindowChanged(WindowId::frmM);
  Changed();
}

void TfrmOpt::rgOptionClick() {
  for (int page = 0; page < 3; ++page) controls.SetVisible(kPages[page], page == optionPage);
  Changed();
}

void TfrmOpt::chkSnapClick() {
  ApplySnapSettings();
}

void TfrmOpt::ApplySnapSettings() {
  tools_.snapWidth = SnapStep(controls.State("edtSnapW").caption);
  tools_.snapHeight = SnapStep(controls.State("edtSnapH").caption);
  tools_.snapEnabled = controls.Checked("chkSnap");
}

void TfrmOpt::pbxCursorMouseDown(int x, int y) {
  // A press held down and dragged can report points outside the box: they count at its edge.
  x = std::clamp(x, 0, 4 * kCell - 1);
  if (y < 16) {
    if (x < 32) cursorPage = std::min(x / 16, 1) * 4;
  } else {
    SetCursorNumber(x / kCell + cursorPage);
  }
  Changed();
}

const PaintBox& TfrmOpt::pbxCursorPaint() {
  chooser_.Begin(4 * kCell, 48);
  chooser_.Fill(0, 0, 4 * kCell, 16, kFace);
  chooser_.PageTabs(2, cursorPage / 4, 16, 16, 4, 2);
  CopyBlock(chooser_.image, 0, 16, imgCurList, 0, cursorPage / 4 * kCell, 4 * kCell, kCell);
  if (cursorNumber >= cursorPage && cursorNumber < cursorPage + 4) {
    const int left = cursorNumber % 4 * kCell;
    chooser_.Frame(left, 16, left + kCell, 16 + kCell, kBlack);
  }
  return chooser_;
}

void TfrmOpt::FormHide() {
  links_.WindowHidden(WindowId::frmOpt);
}

void TfrmOpt::ReadoutChanged() {
  controls.SetCaption("lblPosX", lblPosX);
  controls.SetCaption("lblPosY", lblPosY);
  controls.SetCaption("lblA", lblA);
  controls.SetCaption("lblB", lblB);
  Changed();
}

void TfrmOpt::ShowPointer(int x, int y) {
  if (!PositionReadoutOn()) return;
  lblPosX = Labelled("X: ", x);
  lblPosY = Labelled("Y: ", y);
  ReadoutChanged();
}

void TfrmOpt::ShowReadout(int line, const std::string& text) {
  if (!PositionReadoutOn()) return;
  (line == 1 ? lblA : lblB) = text;
  ReadoutChanged();
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
  ReadoutChanged();
}

bool TfrmOpt::Click(std::string_view name) {
  if (name != "chkSnap") return false;
  controls.SetChecked(name, !controls.Checked(name));
  chkSnapClick();
  Changed();
  return true;
}

bool TfrmOpt::Change(std::string_view name, int value) {
  if (name != "rgOption") return false;
  if (controls.SetPosition(name, value)) rgOptionClick();
  return true;
}

bool TfrmOpt::Edit(std::string_view name, const std::string& text) {
  if (name != "edtSnapW" && name != "edtSnapH") return false;
  // The steps take effect only at the next click of the switch or when another window becomes
  // active.
  controls.SetCaption(name, text);
  return true;
}

const PaintBox* TfrmOpt::Paint(std::string_view name) {
  return name == "pbxCursor" ? &pbxCursorPaint() : nullptr;
}

bool TfrmOpt::MouseDown(std::string_view name, int, int x, int y, int) {
  if (name != "pbxCursor") return false;
  pbxCursorMouseDown(x, y);
  return true;
}

}  // namespace mirasketch
