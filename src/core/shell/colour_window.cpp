#include "shell/colour_window.h"

#include <algorithm>

#include "painting/tool_engine.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/views.h"
#include "shell/shell_links.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"lblCol", K::kLabel, "", 8, 4, 97, 14, "R0 G0 B0"},
    {"pbxCol", K::kPaintBox, "", 4, 18, 82, 20, "", 0, 0, 1, 1},
    {"btnMakeColor", K::kButton, "", 88, 16, 38, 20, "作成"},
    {"sbColRed", K::kScrollBar, "", 0, 40, 127, 15, "", 0, 255, 10},
    {"sbColGreen", K::kScrollBar, "", 0, 56, 127, 15, "", 0, 255, 10},
    {"sbColBlue", K::kScrollBar, "", 0, 72, 127, 15, "", 0, 255, 10},
    {"chkTranspearPow", K::kCheckBox, "", 4, 94, 81, 17, "透明度0"},
    {"spbPalShow", K::kToggleButton, "", 88, 90, 28, 22, ""},
    {"sbTranspearPow", K::kScrollBar, "", 0, 112, 127, 15, "", 0, 253, 4},
    {"pbxPalette", K::kPaintBox, "", 0, 134, 128, 64, ""},
};

constexpr std::size_t kPaletteBytes = 1024;

}  // namespace

TfrmCol::TfrmCol(ToolEngine& tools, Platform& platform, Views& views, ShellLinks& links)
    : controls(kControls), tools_(tools), platform_(platform), views_(views), links_(links) {
  controls.SetChecked("chkTranspearPow", true);
  for (int i = 0; i < 256; ++i) paletteColours[static_cast<std::size_t>(i)] = MakeColour(i, i, i);
}

void TfrmCol::Changed() {
  views_.WindowChanged(WindowId::frmCol);
}

int TfrmCol::SliderColour() const {
  return controls.Position("sbColBlue") * 65536 + controls.Position("sbColGreen") * 256 +
         controls.Position("sbColRed");
}

void TfrmCol::ColChange() {
  if (updatingSliders) return;
  std::string text = "R";
  text += std::to_string(controls.Position("sbColRed"));
  text += " G";
  text += std::to_string(controls.Position("sbColGreen"));
  text += " B";
  text += std::to_string(controls.Position("sbColBlue"));
  controls.SetCaption("lblCol", std::move(text));
  tools_.settings.drawColor = static_cast<std::uint32_t>(SliderColour());
  Changed();
  tools_.RefreshTool();
}

void TfrmCol::SetDrawColour(int colour) {
  if (colour < 0) return;
  updatingSliders = true;
  controls.SetPosition("sbColBlue", (colour >> 16) & 0xFF);
  controls.SetPosition("sbColGreen", (colour >> 8) & 0xFF);
  controls.SetPosition("sbColRed", colour & 0xFF);
  updatingSliders = false;
  ColChange();
}

void TfrmCol::btnMakeColorClick() {
  if (const auto colour = platform_.ChooseColour(static_cast<int>(tools_.settings.drawColor)))
    SetDrawColour(*colour & 0xFFFFFF);
}

void TfrmCol::SetTransparencySlider(int t) {
  if (controls.SetPosition("sbTranspearPow", std::clamp(t, 0, 255)))
    sbTranspearPowChange(controls.Position("sbTranspearPow"));
}

void TfrmCol::sbTranspearPowChange(int position) {
  controls.SetPosition("sbTranspearPow", position);
  const int t = controls.Position("sbTranspearPow");
  controls.SetCaption("chkTranspearPow", Labelled("透明度", t));
  tools_.SetTransparency(t);
  Changed();
  tools_.RefreshTool();
}

void TfrmCol::chkTranspearPowClick() {
  tools_.settings.transparencyOff = !controls.Checked("chkTranspearPow");
  tools_.RefreshTool();
}

void TfrmCol::spbPalShowClick() {
  clientHeight = controls.Checked("spbPalShow") ? 198 : 134;
  Changed();
}

int TfrmCol::PaletteIndexAt(int x, int y) const {
  // Division truncates toward zero: a drop on the tab row lands in the first row of swatches.
  const int index = (y - 12) / 13 * 8 + palettePage + x / 16;
  return std::clamp(index, palettePage, palettePage + 31);
}

bool TfrmCol::pbxPaletteMouseDown(int x, int y, int shiftState) {
  const int column = std::clamp(x, 0, 127) / 16;
  if (y < 12) {
    palettePage = 32 * column;
    Changed();
    return false;
  }
  const int index = PaletteIndexAt(x, y);
  paletteSelected = index;
  SetDrawColour(static_cast<int>(paletteColours[static_cast<std::size_t>(index)]));
  paletteDragIndex = index;
  return (shiftState & 4) != 0;
}

void TfrmCol::pbxPaletteDblClick() {
  std::uint32_t& entry = paletteColours[static_cast<std::size_t>(paletteSelected)];
  if (const auto colour = platform_.ChooseColour(static_cast<int>(entry))) {
    entry = static_cast<std::uint32_t>(*colour) & 0xFFFFFF;
    SetDrawColour(static_cast<int>(entry));
    Changed();
  }
}

void TfrmCol::pbxPaletteDragDrop(int sourceTag, int x, int y) {
  const int target = PaletteIndexAt(std::clamp(x, 0, 127), y);
  if (sourceTag == 1) {
    paletteColours[static_cast<std::size_t>(target)] = tools_.settings.drawColor;
  } else if (paletteDragIndex >= 0) {
    paletteColours[static_cast<std::size_t>(target)] =
        paletteColours[static_cast<std::size_t>(paletteDragIndex)];
    paletteDragIndex = -1;
  }
  Changed();
}

const PaintBox& TfrmCol::pbxColPaint() {
  swatch_.Begin(84, 20);
  swatch_.Fill(0, 0, 84, 20, static_cast<int>(tools_.settings.drawColor & 0xFFFFFF));
  return swatch_;
}

const PaintBox& TfrmCol::pbxPalettePaint() {
  palette_.Begin(128, 64);
  const int page = palettePage / 32;
  palette_.PageTabs(8, page, 16, 12, 4, 1);
  for (int j = 0; j < 32; ++j) {
    const int left = j % 8 * 16;
    const int top = j / 8 * 13 + 12;
    palette_.Fill(left, top, left + 16, top + 13,
                  static_cast<int>(paletteColours[static_cast<std::size_t>(palettePage + j)]));
  }
  return palette_;
}

void TfrmCol::LoadPalette(const std::string& programDir, bool paletteShown) {
  updatingSliders = false;
  palettePage = 0;
  tools_.settings.transparencyOff = false;
  controls.SetChecked("chkTranspearPow", true);
  for (int i = 0; i < 256; ++i) paletteColours[static_cast<std::size_t>(i)] = MakeColour(i, i, i);
  const std::string path = programDir + "palcol.dat";
  if (InFile::Exists(path)) {
    InFile file(path);
    std::uint8_t bytes[kPaletteBytes];
    if (file.Size() == kPaletteBytes && file.ReadExact(bytes, kPaletteBytes)) {
      for (std::size_t i = 0; i < 256; ++i)
        paletteColours[i] =
            (bytes[4 * i] | bytes[4 * i + 1] << 8 | bytes[4 * i + 2] << 16) & 0xFFFFFFu;
    } else {
      platform_.ShowMessage("パレットファイルが壊れているので読めません。-" + path);
    }
  }
  SetDrawColour(static_cast<int>(tools_.settings.drawColor & 0xFFFFFF));
  controls.SetChecked("spbPalShow", paletteShown);
  spbPalShowClick();
}

void TfrmCol::SavePalette(const std::string& programDir) const {
  std::uint8_t bytes[kPaletteBytes];
  for (std::size_t i = 0; i < 256; ++i) {
    const std::uint32_t colour = paletteColours[i];
    bytes[4 * i] = static_cast<std::uint8_t>(colour);
    bytes[4 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
    bytes[4 * i + 2] = static_cast<std::uint8_t>(colour >> 16);
    bytes[4 * i + 3] = 0;
  }
  SafeFileWriter writer(programDir + "palcol.dat");
  writer.Write(bytes, kPaletteBytes);
  writer.Commit();
}

void TfrmCol::FormShow() {
  updatingSliders = false;
  paletteDragIndex = -1;
}

void TfrmCol::FormHide() {
  links_.WindowHidden(WindowId::frmCol);
}

bool TfrmCol::Click(std::string_view name) {
  if (name == "btnMakeColor") {
    btnMakeColorClick();
  } else if (name == "chkTranspearPow") {
    controls.SetChecked(name, !controls.Checked(name));
    chkTranspearPowClick();
    Changed();
  } else if (name == "spbPalShow") {
    controls.SetChecked(name, !controls.Checked(name));
    spbPalShowClick();
  } else {
    return false;
  }
  return true;
}

bool TfrmCol::Change(std::string_view name, int value) {
  if (name == "sbColRed" || name == "sbColGreen" || name == "sbColBlue") {
    if (controls.SetPosition(name, value)) ColChange();
  } else if (name == "sbTranspearPow") {
    if (value != controls.Position(name)) sbTranspearPowChange(value);
  } else {
    return false;
  }
  return true;
}

const PaintBox* TfrmCol::Paint(std::string_view name) {
  if (name == "pbxCol") return &pbxColPaint();
  if (name == "pbxPalette") return &pbxPalettePaint();
  return nullptr;
}

bool TfrmCol::MouseDown(std::string_view name, int, int x, int y, int shiftState) {
  if (name != "pbxPalette") return name == "pbxCol";
  pbxPaletteMouseDown(x, y, shiftState);
  return true;
}

bool TfrmCol::AcceptsDrop(std::string_view name, std::string_view sourceWindow,
                          std::string_view sourceName) const {
  return name == "pbxPalette" && sourceWindow == "TfrmCol" &&
         (sourceName == "pbxCol" || sourceName == "pbxPalette");
}

bool TfrmCol::Drop(std::string_view name, std::string_view sourceWindow,
                   std::string_view sourceName, int x, int y) {
  if (!AcceptsDrop(name, sourceWindow, sourceName)) return false;
  pbxPaletteDragDrop(controls.Spec(sourceName).tag, x, y);
  return true;
}

}  // namespace mirasketch
