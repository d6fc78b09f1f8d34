#include "shell/tool_panel.h"

#include <string>

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/platform.h"
#include "platform/views.h"
#include "shell/tool_panel_controls.h"

namespace mirasketch {

namespace {

constexpr int kFrameColour = MakeColour(64, 255, 64);
constexpr int kGrey = 0x808080;
constexpr int kWhite = 0xFFFFFF;
constexpr int kPanelFace = 0xF0F0F0;
constexpr int kSizeDown = MakeColour(0, 128, 0);
constexpr int kSizeUp = 0xE0E0E0;

constexpr const char* kGroups[] = {"grpPenEraser", "grpShape",  "grpBrush",  "grpAveBrush",
                                   "grpBrushBig",  "grpPenki",  "grpSelect", "grpCountLine",
                                   "grpRuler",     "grpPenLine"};

bool IsPenOrEraser(int code) {
  return code == tkPen || code == tkErase;
}

}  // namespace

TfrmC::TfrmC(ToolEngine& tools, TfrmM& canvas, Platform& platform, Views& views)
    : controls(ToolPanelControls()),
      tools_(tools),
      canvas_(canvas),
      platform_(platform),
      views_(views) {
  for (const char* group : kGroups) controls.SetVisible(group, false);
  controls.SetVisible("grpPenEraser", true);
  controls.SetChecked("spbPen", true);
  for (const char* on : {"chkBrushSpace", "chkAveBrushOnPut", "chkPenLineSpline", "rdiAveBrush0",
                         "rdiBrushBig1", "rdiCountLine", "rdiRulerTriangle"})
    controls.SetChecked(on, true);
  controls.SetPosition("sbBrushBigSize", 10);
  controls.SetPosition("sbRulerSize", 100);
  controls.SetPosition("sbPenLineHook", 7);
}

const char* TfrmC::GroupOf(int code) {
  switch (code) {
    case tkPen:
    case tkErase:
      return "grpPenEraser";
    case tkBox:
    case tkCircle:
    case tkLine:
      return "grpShape";
    case tkBrush:
    case tkAirBrush:
      return "grpBrush";
    case tkAverageBrush:
      return "grpAveBrush";
    case tkBrushBig:
      return "grpBrushBig";
    case tkPenki:
      return "grpPenki";
    case tkSelect:
      return "grpSelect";
    case tkOresen:
      return "grpCountLine";
    case tkRuler:
      return "grpRuler";
    case tkPenLine:
      return "grpPenLine";
    default:
      return nullptr;
  }
}

void TfrmC::Changed() {
  views_.WindowChanged(WindowId::frmC);
}

void TfrmC::InitToolPanel() {
  clientWidth = 136;
  clientHeight = 244;
  brushPageStart = 0;
  const ToolSettings& s = tools_.settings;
  if (s.bigBrushMode == 1) {
    controls.SetChecked("rdiBrushBig2", true);
    rdiBrushBig1Click(1);
  }
  controls.SetPosition("cboPenErase", s.rightButtonMode);
  controls.SetChecked("chkShapeFill", s.shapeFill);
  controls.SetChecked("chkShapeCenter", s.shapeCenter);
  Changed();
}

void TfrmC::SelectTool(int code) {
  for (const ControlSpec& spec : controls.Specs()) {
    if (spec.kind == ControlKind::kSpeedButton && spec.tag == code) {
      controls.SetChecked(spec.name, true);
      break;
    }
  }
  SetCurrentTool(code);
}

void TfrmC::SetCurrentTool(int code) {
  ToolSettings& s = tools_.settings;
  const int old = s.currentTool;
  tools_.DeactivateCurrentTool();
  if (const char* group = GroupOf(old); group != nullptr) {
    if (!IsPenOrEraser(old) || !IsPenOrEraser(code)) controls.SetVisible(group, false);
  }
  if (old == tkMask) controls.SetVisible("pnlABrush", true);
  canvas_.view.selectionVisible = false;
  canvas_.rubberBandOn = false;
  canvas_.view.displayMode = 1;
  if (hooks.endFloatingPiece) hooks.endFloatingPiece();
  s.currentTool = static_cast<std::int16_t>(code);
  if (const char* group = GroupOf(code); group != nullptr) {
    if (!IsPenOrEraser(code) || !IsPenOrEraser(old)) controls.SetVisible(group, true);
  }
  if (code == tkBrush || code == tkAirBrush) {
    selectedBrush = code == tkBrush ? s.brushBrush : s.airBrush;
    brushPageStart = selectedBrush / 32 * 32;
  }
  if (code == tkMask) {
    controls.SetVisible("pnlABrush", false);
    if (hooks.showMaskWindow) hooks.showMaskWindow();
    canvas_.view.displayMode = 2;
  }
  tools_.ActivateCurrentTool();
  Changed();
}

void TfrmC::SetBrushIndex(int n) {
  selectedBrush = n;
  controls.SetPosition("trkABrush", n / 8);
  Changed();
}

void TfrmC::btnUndoClick() {
  canvas_.Undo();
}

void TfrmC::chkMaskClick() {
  tools_.settings.maskEnabled = controls.Checked("chkMask");
  tools_.RefreshTool();
}

void TfrmC::sbZoomChange(int position) {
  controls.SetPosition("sbZoom", position);
  const int zoom = controls.Position("sbZoom");
  canvas_.SetZoom(zoom);
  controls.SetCaption("lblZoom", Labelled("ｽﾞｰﾑ", zoom));
  tools_.RefreshTool();
  Changed();
}

void TfrmC::ToolChange(int tag) {
  SetCurrentTool(tag);
  if (hooks.refreshPosition) hooks.refreshPosition();
  canvas_.Redraw();
}

void TfrmC::cboPenEraseClick(int index) {
  controls.SetPosition("cboPenErase", index);
  tools_.settings.rightButtonMode = controls.Position("cboPenErase");
}

void TfrmC::ShapeSettingChange(int tag) {
  if (tag == 2) tools_.settings.shapeCenter = controls.Checked("chkShapeCenter");
  if (tag == 1) tools_.settings.shapeFill = controls.Checked("chkShapeFill");
}

void TfrmC::rdiAveBrush0Click(int tag) {
  tools_.settings.averageMode = tag;
}

void TfrmC::rdiBrushBig1Click(int tag) {
  ToolSettings& s = tools_.settings;
  s.bigBrushMode = tag;
  // One slider edits the radius of the selected mode; each mode keeps its own.
  if (controls.SetPosition("sbBrushBigSize", tag == 0 ? s.bigBrushRadius : s.undoBrushRadius))
    sbBrushBigSizeChange(controls.Position("sbBrushBigSize"));
  Changed();
}

void TfrmC::sbBrushBigSizeChange(int position) {
  controls.SetPosition("sbBrushBigSize", position);
  const int radius = controls.Position("sbBrushBigSize");
  ToolSettings& s = tools_.settings;
  if (s.bigBrushMode != 0)
    s.undoBrushRadius = radius;
  else
    s.bigBrushRadius = radius;
  controls.SetCaption("lblBrushBigSize", Labelled("半径", radius));
  Changed();
}

void TfrmC::sbPenkiRangeChange(int position) {
  controls.SetPosition("sbPenkiRange", position);
  tools_.settings.fillRange = controls.Position("sbPenkiRange");
  controls.SetCaption("lblPenkiRange", Labelled("対象色幅", tools_.settings.fillRange));
  Changed();
}

void TfrmC::SelectDoAction(int tag) {
  if (hooks.selectAction) hooks.selectAction(tag);
}

void TfrmC::btnSelectTransClick() {
  if (hooks.openTransform) hooks.openTransform();
}

void TfrmC::chkSelectMaskClick() {
  if (hooks.pieceMaskTransparent) hooks.pieceMaskTransparent(controls.Checked("chkSelectMask"));
  tools_.RefreshTool();
}

void TfrmC::rdiCountLineClick(int tag) {
  tools_.settings.contMode = tag;
  tools_.RefreshTool();
}

void TfrmC::rdiRulerTriangleClick(int tag) {
  tools_.settings.rulerKind = tag;
  tools_.RefreshTool();
}

void TfrmC::sbRulerSizeChange(int position) {
  controls.SetPosition("sbRulerSize", position);
  const int size = controls.Position("sbRulerSize");
  tools_.settings.rulerScale = static_cast<float>(size) / 100.0f;
  controls.SetCaption("lblRulerSize", Labelled("大きさ", size, "%"));
  tools_.RefreshTool();
  Changed();
}

void TfrmC::chkRulerInvertClick() {
  tools_.settings.rulerInvert = controls.Checked("chkRulerInvert");
  tools_.RefreshTool();
}

void TfrmC::sbPenLineHookChange(int position) {
  controls.SetPosition("sbPenLineHook", position);
  tools_.settings.penLineInterval = controls.Position("sbPenLineHook");
  controls.SetCaption("lblPenLineHook", Labelled("更新間隔", tools_.settings.penLineInterval));
  Changed();
}

void TfrmC::trkABrushChange(int position) {
  controls.SetPosition("trkABrush", position);
  Changed();
}

void TfrmC::pbxABrushMouseDown(int x, int) {
  selectedBrush = controls.Position("trkABrush") * 8 + std::clamp(x, 0, 127) / 16;
  Changed();
}

void TfrmC::pbxBrushMouseDown(int x, int y) {
  x = std::clamp(x, 0, 127);
  if (y > 11) {
    selectedBrush = std::min((y - 12) / 16, 3) * 8 + x / 16 + brushPageStart;
    if (tools_.settings.currentTool == tkBrush)
      tools_.settings.brushBrush = selectedBrush;
    else
      tools_.settings.airBrush = selectedBrush;
  } else {
    brushPageStart = x / 32 * 32;
  }
  Changed();
}

void TfrmC::pbxEraserMouseDown(int x, int y) {
  ToolSettings& s = tools_.settings;
  if (x >= 96 && x < 116 && y >= 1 && y < 15) {
    if (const auto colour = platform_.ChooseColour(static_cast<int>(s.eraseColor)))
      s.eraseColor = static_cast<std::uint32_t>(*colour) & 0xFFFFFF;
  } else if (x >= 4 && x < 124 && y >= 16 && y < 36) {
    s.eraseSize = (x - 4) / 20 + 1;
    if (s.rightButtonMode == 1) SelectTool(tkErase);
  }
  Changed();
}

void TfrmC::DrawSheetBand(PaintBox& box, int top, int sheetRow, int rows) const {
  const CDib256& sheet = tools_.brushImage;
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < 128; ++x) {
      const int value = sheet.GetPixel(x, sheetRow + r);
      int colour = kWhite;
      if (value >= 0) {
        const RgbQuad& entry = sheet.palette[value];
        colour = MakeColour(entry.red, entry.green, entry.blue);
      }
      box.image.SetPixel(x, top + r, colour);
    }
  }
}

const PaintBox& TfrmC::pbxABrushPaint() {
  strip_.Begin(128, 16);
  const int row = controls.Position("trkABrush");
  DrawSheetBand(strip_, 0, row * 16, 16);
  if (selectedBrush >= row * 8 && selectedBrush < row * 8 + 8) {
    const int left = selectedBrush % 8 * 16;
    strip_.Frame(left, 0, left + 16, 16, kFrameColour);
  }
  return strip_;
}

const PaintBox& TfrmC::pbxBrushPaint() {
  grid_.Begin(128, 76);
  const int page = brushPageStart / 32;
  for (int i = 0; i < 4; ++i) {
    grid_.Fill(32 * i, 0, 32 * i + 32, 12, i == page ? kWhite : kGrey);
    grid_.Text(32 * i + 12, 1, std::to_string(i + 1));
  }
  DrawSheetBand(grid_, 12, page * 64, 64);
  const int onPage = selectedBrush - brushPageStart;
  if (onPage >= 0 && onPage < 32) {
    const int left = onPage % 8 * 16;
    const int top = onPage / 8 * 16 + 12;
    grid_.Frame(left, top, left + 16, top + 16, kFrameColour);
  }
  return grid_;
}

const PaintBox& TfrmC::pbxEraserPaint() {
  const ToolSettings& s = tools_.settings;
  eraser_.Begin(128, 38);
  eraser_.Fill(0, 0, 128, 38, kPanelFace);
  eraser_.Text(4, 4, "消しゴム");
  eraser_.Fill(96, 1, 116, 15, kWhite);
  eraser_.Text(100, 3, "色");
  const int erase = static_cast<int>(s.eraseColor & 0xFFFFFF);
  for (int i = 0; i < 6; ++i) {
    eraser_.Fill(4 + 20 * i, 16, 24 + 20 * i, 36, i + 1 == s.eraseSize ? kSizeDown : kSizeUp);
    eraser_.Fill(13 + 19 * i, 26 - i, 15 + 21 * i, 28 + i, erase);
  }
  return eraser_;
}

bool TfrmC::Click(std::string_view name) {
  const int index = controls.Find(name);
  if (index < 0) return false;
  const ControlSpec& spec = controls.Specs()[static_cast<std::size_t>(index)];
  switch (spec.kind) {
    case ControlKind::kSpeedButton:
      controls.SetChecked(name, true);
      ToolChange(spec.tag);
      return true;
    case ControlKind::kRadio:
      controls.SetChecked(name, true);
      break;
    case ControlKind::kCheckBox:
      controls.SetChecked(name, !controls.Checked(name));
      break;
    case ControlKind::kButton:
      break;
    default:
      return false;
  }
  if (name == "btnUndo") {
    btnUndoClick();
  } else if (name == "chkMask") {
    chkMaskClick();
  } else if (name == "chkShapeCenter" || name == "chkShapeFill") {
    ShapeSettingChange(spec.tag);
  } else if (name == "rdiAveBrush0" || name == "rdiAveBrush1") {
    rdiAveBrush0Click(spec.tag);
  } else if (name == "rdiBrushBig1" || name == "rdiBrushBig2") {
    rdiBrushBig1Click(spec.tag);
  } else if (name == "btnSelectAll" || name == "btnSelectFlipLeftRight" ||
             name == "btnSelectFlipUpDown") {
    SelectDoAction(spec.tag);
  } else if (name == "btnSelectTrans") {
    btnSelectTransClick();
  } else if (name == "chkSelectMask") {
    chkSelectMaskClick();
  } else if (name == "rdiCountLine" || name == "rdiCountSpline") {
    rdiCountLineClick(spec.tag);
  } else if (name == "rdiRulerTriangle" || name == "rdiRulerCloud") {
    rdiRulerTriangleClick(spec.tag);
  } else if (name == "chkRulerInvert") {
    chkRulerInvertClick();
  }
  // The other check boxes have no event: the tools read them.
  Changed();
  return true;
}

bool TfrmC::Change(std::string_view name, int value) {
  if (name == "sbZoom") {
    if (value != controls.Position(name)) sbZoomChange(value);
  } else if (name == "cboPenErase") {
    cboPenEraseClick(value);
  } else if (name == "sbBrushBigSize") {
    if (value != controls.Position(name)) sbBrushBigSizeChange(value);
  } else if (name == "sbPenkiRange") {
    if (value != controls.Position(name)) sbPenkiRangeChange(value);
  } else if (name == "sbRulerSize") {
    if (value != controls.Position(name)) sbRulerSizeChange(value);
  } else if (name == "sbPenLineHook") {
    if (value != controls.Position(name)) sbPenLineHookChange(value);
  } else if (name == "trkABrush") {
    if (value != controls.Position(name)) trkABrushChange(value);
  } else {
    return false;
  }
  return true;
}

const PaintBox* TfrmC::Paint(std::string_view name) {
  if (name == "pbxABrush") return &pbxABrushPaint();
  if (name == "pbxBrush") return &pbxBrushPaint();
  if (name == "pbxEraser") return &pbxEraserPaint();
  return nullptr;
}

bool TfrmC::MouseDown(std::string_view name, int, int x, int y, int) {
  if (name == "pbxABrush")
    pbxABrushMouseDown(x, y);
  else if (name == "pbxBrush")
    pbxBrushMouseDown(x, y);
  else if (name == "pbxEraser")
    pbxEraserMouseDown(x, y);
  else
    return false;
  return true;
}

}  // namespace mirasketch
