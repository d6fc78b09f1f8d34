#include "mask/mask_window.h"

#include <algorithm>

#include "buffers/dib_surface.h"
#include "mask/mask_links.h"
#include "mask/mask_tools.h"
#include "platform/views.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"pbxA", K::kPaintBox, "", 2, 4, 256, 64, ""},
    {"btnClear", K::kButton, "", 8, 72, 56, 22, "クリア"},
    {"pnlMaskTool", K::kPanel, "", 72, 70, 100, 28, ""},
    {"spbSpoite", K::kSpeedButton, "pnlMaskTool", 2, 2, 24, 24, "", 0, 0, 1, mtSpoit},
    {"spbPen", K::kSpeedButton, "pnlMaskTool", 26, 2, 24, 24, "", 0, 0, 1, mtPen},
    {"spbBox", K::kSpeedButton, "pnlMaskTool", 50, 2, 24, 24, "", 0, 0, 1, mtBox},
    {"spbMaskPaint", K::kSpeedButton, "pnlMaskTool", 74, 2, 24, 24, "", 0, 0, 1, mtFill},
    {"btnMaskUndo", K::kButton, "", 208, 72, 44, 22, "Undo"},
    {"btnMaskRedo", K::kButton, "", 256, 72, 52, 22, "やり直し"},
    {"lblSpoite", K::kLabel, "", 8, 102, 92, 13, "ｽﾎﾟｲﾄ色幅 3"},
    {"sbSpoite", K::kScrollBar, "", 8, 118, 90, 17, "", 0, 99, 5},
    {"lblDwPow", K::kLabel, "", 119, 102, 90, 13, "描画強度 255"},
    {"sbDwPow", K::kScrollBar, "", 104, 118, 100, 17, "", 0, 255, 10},
    {"pbxMaskBrush", K::kPaintBox, "", 216, 104, 24, 24, ""},
    {"udMaskBrush", K::kUpDown, "", 240, 104, 16, 24, "", 8, 15, 1},
    {"btnMaskClear", K::kButton, "", 8, 140, 56, 20, "クリア"},
    {"btnMaskExtract", K::kButton, "", 72, 140, 50, 20, "抽出"},
    {"btnMaskInvert", K::kButton, "", 128, 140, 50, 20, "反転"},
    {"btnMaskEffShow", K::kButton, "", 200, 142, 50, 18, "効果"},
};

constexpr int kPanelFace = 0xF0F0F0;
constexpr int kStripHeight = 24;

}  // namespace

TfrmMaskSet::TfrmMaskSet(MaskTools& tools, ToolEngine& engine, MaskLinks& links, Views& views)
    : controls(kControls),
      toolBeforeMask(tkMask),
      tools_(tools),
      engine_(engine),
      links_(links),
      views_(views) {
  controls.SetChecked("spbPen", true);
  controls.SetPosition("sbSpoite", 3);
  controls.SetPosition("udMaskBrush", 8);
  controls.Bind("sbDwPow", tools_.maskStrength);
}

void TfrmMaskSet::Changed() {
  views_.WindowChanged(WindowId::frmMaskSet);
}

void TfrmMaskSet::ToolChange(int kind) {
  tools_.maskTool = kind;
  links_.SetDisplayMode(kind == mtSpoit ? 1 : 2);
  engine_.links().RedrawCanvas();
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::EnterCentreDrag() {
  toolBeforeCentreDrag = tools_.maskTool;
  tools_.maskTool = mtCentreDrag;
  links_.SetDisplayMode(2);
  engine_.links().RedrawCanvas();
}

void TfrmMaskSet::FormActivate() {
  visible = true;
  // Showing and focusing the window both activate it; only the first counts.
  if (active) return;
  active = true;
  rangeDrag = 0;
  if (tools_.maskTool == mtCentreDrag) tools_.maskTool = toolBeforeCentreDrag;
  toolBeforeMask = engine_.settings.currentTool;
  if (toolBeforeMask != tkMask) engine_.links().SelectTool(tkMask);
  engine_.links().RefreshPosition();
  Changed();
}

void TfrmMaskSet::FormDeactivate() {
  active = false;
}

void TfrmMaskSet::FormHide() {
  if (!visible) return;
  visible = false;
  active = false;
  if (toolBeforeMask != tkMask) engine_.links().SelectTool(toolBeforeMask);
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::FormMouseMove() {
  rangeDrag = 0;
}

void TfrmMaskSet::ApplyRange(int x, int y) {
  int p = std::clamp(x, 0, 255);
  const int row = y / kStripHeight;  // truncating: a little above the box still counts as row 0
  if (row >= 0 && row <= 2) {
    const auto bit = static_cast<std::uint8_t>(1 << row);
    // From the pointer back to the anchor, which the press itself handled.
    do {
      std::uint8_t& entry = colourRange[static_cast<std::size_t>(p)];
      entry = rangeDrag == 1 ? static_cast<std::uint8_t>(entry | bit)
                             : static_cast<std::uint8_t>(entry & ~bit);
      p += p < rangeAnchor ? 1 : p > rangeAnchor ? -1 : 0;
    } while (p != rangeAnchor);
    Changed();
  }
  if (x < 0 || y < 0 || x > 256 || y > 64) rangeDrag = 0;
}

void TfrmMaskSet::pbxAMouseDown(int button, int x, int y) {
  rangeDrag = button == 1 ? 1 : 2;
  rangeAnchor = std::clamp(x, 0, 255);
  ApplyRange(x, y);
}

void TfrmMaskSet::pbxAMouseMove(int x, int y) {
  if (rangeDrag != 0) ApplyRange(x, y);
}

void TfrmMaskSet::pbxAMouseUp() {
  rangeDrag = 0;
}

void TfrmMaskSet::btnClearClick() {
  colourRange.fill(0);
  Changed();
}

void TfrmMaskSet::btnMaskUndoClick() {
  tools_.UndoMask();
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::btnMaskRedoClick() {
  tools_.RedoMask();
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::btnMaskClearClick() {
  tools_.ClearMask();
  links_.RedrawCanvasWithMode(2);
}

void TfrmMaskSet::btnMaskExtractClick() {
  tools_.ExtractMaskByColour();
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::btnMaskInvertClick() {
  tools_.InvertMask();
  links_.RedrawCanvasWithMode(2);
  engine_.links().RefreshPosition();
}

void TfrmMaskSet::sbSpoiteChange(int position) {
  controls.SetPosition("sbSpoite", position);
  controls.SetCaption("lblSpoite", Labelled("ｽﾎﾟｲﾄ色幅: ", controls.Position("sbSpoite") + 1));
  Changed();
}

void TfrmMaskSet::sbDwPowChange(int position) {
  controls.SetPosition("sbDwPow", position);
  controls.SetCaption("lblDwPow", Labelled("描画強度 ", tools_.maskStrength));
  Changed();
}

void TfrmMaskSet::udMaskBrushChange(int position) {
  controls.SetPosition("udMaskBrush", position);
  tools_.maskBrush = controls.Position("udMaskBrush");
  Changed();
}

const PaintBox& TfrmMaskSet::pbxAPaint() {
  ranges_.Begin(256, 64);
  ranges_.Fill(0, 0, 256, 64, kPanelFace);
  for (int j = 0; j < 3; ++j) {
    const int top = kStripHeight * j;
    for (int i = 0; i < 256; ++i) {
      ranges_.Fill(i, top, i + 1, top + 8, i << (8 * j));
      const bool selected = (colourRange[static_cast<std::size_t>(i)] & (1 << j)) != 0;
      ranges_.Fill(i, top + 8, i + 1, top + 16, selected ? 0x000000 : 0xFFFFFF);
    }
  }
  return ranges_;
}

const PaintBox& TfrmMaskSet::pbxMaskBrushPaint() {
  brush_.Begin(24, 24);
  brush_.Fill(0, 0, 24, 24, kPanelFace);
  const int k = tools_.maskBrush;
  if (k >= 0 && k < 128) {
    DibSurface surface(brush_.image);
    engine_.brushImage.StretchDraw(surface, 4, 4, 16, 16, k % 8 * 16, k / 8 * 16, 16, 16);
  }
  return brush_;
}

bool TfrmMaskSet::Click(std::string_view name) {
  const int index = controls.Find(name);
  if (index < 0) return false;
  const ControlSpec& spec = controls.Specs()[static_cast<std::size_t>(index)];
  if (spec.kind == ControlKind::kSpeedButton) {
    controls.SetChecked(name, true);
    ToolChange(spec.tag);
  } else if (name == "btnClear") {
    btnClearClick();
  } else if (name == "btnMaskUndo") {
    btnMaskUndoClick();
  } else if (name == "btnMaskRedo") {
    btnMaskRedoClick();
  } else if (name == "btnMaskClear") {
    btnMaskClearClick();
  } else if (name == "btnMaskExtract") {
    btnMaskExtractClick();
  } else if (name == "btnMaskInvert") {
    btnMaskInvertClick();
  } else if (name == "btnMaskEffShow") {
    links_.ShowMaskEffectWindow();
  } else {
    return false;
  }
  Changed();
  return true;
}

bool TfrmMaskSet::Change(std::string_view name, int value) {
  if (name == "sbSpoite")
    sbSpoiteChange(value);
  else if (name == "sbDwPow")
    sbDwPowChange(value);
  else if (name == "udMaskBrush")
    udMaskBrushChange(value);
  else
    return false;
  return true;
}

const PaintBox* TfrmMaskSet::Paint(std::string_view name) {
  if (name == "pbxA") return &pbxAPaint();
  if (name == "pbxMaskBrush") return &pbxMaskBrushPaint();
  return nullptr;
}

bool TfrmMaskSet::MouseDown(std::string_view name, int button, int x, int y, int) {
  if (name == "pbxMaskBrush") return true;
  if (name != "pbxA") return false;
  pbxAMouseDown(button, x, y);
  return true;
}

bool TfrmMaskSet::MouseMove(std::string_view name, int x, int y, int) {
  if (name != "pbxA") return false;
  pbxAMouseMove(x, y);
  return true;
}

bool TfrmMaskSet::MouseUp(std::string_view name, int, int, int, int) {
  if (name != "pbxA") return false;
  pbxAMouseUp();
  return true;
}

}  // namespace mirasketch
