#include "platform/window_table.h"

#include <iterator>

namespace mirasketch {

namespace {

using F = WindowFrame;

// id, design name, object name, caption, client size, minimum client size, design position,
// frame, resizable, closable, switch (Tag, menu item and caption, tool button, glyph, on at
// start),
// placement (settings name, size stored, visibility key).
constexpr WindowRow kWindows[] = {
    {WindowId::frmMain,
     "TfrmMain",
     "frmMain",
     "Mirasketch",
     220,
     26,
     0,
     0,
     453,
     46,
     F::kMain,
     false,
     true,
     {},
     {"Main", false, ""}},
    {WindowId::frmM,
     "TfrmM",
     "frmM",
     "(New Layer Project)",
     279,
     295,
     0,
     0,
     380,
     130,
     F::kPlain,
     true,
     true,
     {0, "mnuWinPaint", "ペイント(&A)", "tlbWinPaint", 3, true},
     {"Draw", true, ""}},
    {WindowId::frmC,
     "TfrmC",
     "frmC",
     "Tool",
     136,
     244,
     0,
     0,
     222,
     10,
     F::kTool,
     false,
     false,
     {},
     {"Tool", false, ""}},
    {WindowId::frmCol,
     "TfrmCol",
     "frmCol",
     "色",
     128,
     134,
     0,
     0,
     292,
     120,
     F::kTool,
     false,
     true,
     {1, "mnuWinColor", "カラー(&C)", "tlbWinColor", 4},
     {"Color", false, "ColorFormVisible"}},
    {WindowId::frmMaskEff,
     "TfrmMaskEff",
     "frmMaskEff",
     "マスク効果",
     166,
     146,
     0,
     0,
     8,
     300,
     F::kTool,
     false,
     true,
     {},
     {"MaskEff", false, ""}},
    {WindowId::frmOpt,
     "TfrmOpt",
     "frmOpt",
     "オプション",
     200,
     65,
     0,
     0,
     165,
     304,
     F::kTool,
     false,
     true,
     {3, "mnuWinOption", "オプション(&O)", "tlbWinOption", 6},
     {"Option", false, "OptionFormVisible"}},
    {WindowId::frmPos,
     "TfrmPos",
     "frmPos",
     "位置",
     153,
     187,
     0,
     0,
     138,
     187,
     F::kPlain,
     true,
     true,
     {2, "mnuWinPosition", "位置(&P)", "tlbWinPosition", 5},
     {"Position", true, "PositionFormVisible"}},
    {WindowId::frmMaskSet,
     "TfrmMaskSet",
     "frmMaskSet",
     "マスク",
     312,
     162,
     0,
     0,
     8,
     480,
     F::kTool,
     false,
     true,
     {},
     {"Mask", false, ""}},
    {WindowId::frmL,
     "TfrmL",
     "frmL",
     "レイヤ",
     196,
     117,
     196,
     117,
     680,
     130,
     F::kTool,
     true,
     true,
     {4, "mnuWinLayer", "レイヤ(&L)", "tlbWinLayer", 7},
     {"Layer", true, "LayerFormVisible"}},
    {WindowId::frmT,
     "TfrmT",
     "frmT",
     "拡大縮小回転変形",
     400,
     427,
     64,
     192,
     700,
     300,
     F::kPlain,
     true,
     true,
     {},
     {}},
};

// WindowInfo indexes the table by id.
constexpr bool RowsInIdOrder() {
  for (std::size_t i = 0; i < std::size(kWindows); ++i)
    if (static_cast<std::size_t>(kWindows[i].id) != i) return false;
  return true;
}
static_assert(RowsInIdOrder() && std::size(kWindows) == kWindowCount);

}  // namespace

std::span<const WindowRow> WindowTable() {
  return kWindows;
}

const WindowRow& WindowInfo(WindowId id) {
  return kWindows[static_cast<std::size_t>(id)];
}

const WindowRow* FindWindow(std::string_view designName) {
  for (const WindowRow& row : kWindows)
    if (designName == row.designName) return &row;
  return nullptr;
}

const WindowRow* SwitchedWindow(int index) {
  if (index < 0) return nullptr;
  for (const WindowRow& row : kWindows)
    if (row.windowSwitch.index == index) return &row;
  return nullptr;
}

int WindowSwitchCount() {
  int count = 0;
  for (const WindowRow& row : kWindows) count += row.windowSwitch.index >= 0 ? 1 : 0;
  return count;
}

}  // namespace mirasketch
