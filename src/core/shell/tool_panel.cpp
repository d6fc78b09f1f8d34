#include "shell/tool_panel.h"

#include <string>

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/views.h"
#include "shell/shell_links.h"
#include "shell/tool_panel_controls.h"

namespace mirasketch {

namespace {

constexpr const char* kGroups[] = {"grpPenEraser", "grpShape",  "grpBrush",  "grpAveBrush",
                                   "grpBrushBig",  "grpPenki",  "grpSelect", "grpCountLine",
                                   "grpRuler",     "grpPenLine"};

bool IsPenOrEraser(int code) {
  return code == tkPen || code == tkErase;
}

}  // namespace

TfrmC::TfrmC(ToolEngine& tools, TfrmM& canvas, Platform& platform, Views& views, ShellLinks& links)
    : controls(ToolPanelControls()),
      tools_(tools),
      canvas_(canvas),
      platform_(platform),
      views_(views),
      links_(links) {
  for (const char* group : kGroups) controls.SetVisible(group, false);
  controls.SetVisible("grpPenEraser", true);
  controls.SetChecked("spbPen", true);
  ToolSettings& s = tools_.settings;
  controls.Bind("chkMask", s.maskEnabled);
  controls.Bind("sbZoom", canvas_.view.zoom);
  controls.Bind("cboPenErase", s.rightButtonMode);
  controls.Bind("chkShapeCenter", s.shapeCenter);
  controls.Bind("chkShapeFill", s.shapeFill);
  controls.Bind("chkBrushSpace", s.brushInterpolate);
  for (const char* radio : {"rdiAveBrush0", "rdiAveBrush1"}) controls.Bind(radio, s.averageMode);
  controls.Bind("chkAveBrushOnPut", s.averageDrag);
  for (const char* radio : {"rdiBrushBig1", "rdiBrushBig2"}) controls.Bind(radio, s.bigBrushMode);
  controls.Bind("sbBrushBigSize", s.bigBrushMode == 0 ? s.bigBrushRadius : s.undoBrushRadius);
  controls.Bind("sbPenkiRange", s.fillRange);
  for (const char* radio : {"rdiCountLine", "rdiCountSpline"}) controls.Bind(radio, s.contMode);
  for (const char* radio : {"rdiRulerTriangle", "rdiRulerCloud"}) controls.Bind(radio, s.rulerKind);
  controls.Bind("sbRulerSize", s.rulerScale, 100);
  controls.Bind("chkRulerInvert", s.rulerInvert);
  controls.Bind("sbPenLineHook", s.penLineInterval);
  controls.Bind("chkPenLineSpline", s.penLineSpline);
  controls.Bind("chkPenLineNoLook", s.penLineNoLook);
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
  // The option controls show the settings as read; the big-brush radius follows the mode.
  rdiBrushBig1Click(s.bigBrushMode);
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
  links_.EndFloatingPiece();
  s.currentTool = static_cast<std::int16_t>(code);
  if (const char* group = GroupOf(code); group != nullptr) {
    if (!IsPenOrEraser(code) || !IsPenOrEraser(old)) controls.SetVisible(group, true);
  }
  if (code == tkBrush || code == tkAirBrush) {
    selectedBrush = code == tkBrush ? s.brushBrush : s.airBrush;
    brushPageStart = selectedBrush / 32 * 32;
    // One interpolation box shows the switch of whichever of the two is current.
    controls.Bind("chkBrushSpace", code == tkBrush ? s.brushInterpolate : s.airInterpolate);
  }
  if (code == tkMask) {
    controls.SetVisible("pnlABrush", false);
    links_.ShowMaskWindow();
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
  links_.RefreshPosition();
  canvas_.Redraw();
}

void TfrmC::cboPenEraseClick(int index) {
  controls.SetPosition("cboPenErase", index);
}

void TfrmC::rdiAveBrush0Click(int tag) {
  tools_.settings.averageMode = tag;
}

void TfrmC::rdiBrushBig1Click(int tag) {
  ToolSettings& s = tools_.settings;
  s.bigBrushMode = tag;
  // One slider edits the radius of the selected mode; each mode keeps its own.
  controls.Bind("sbBrushBigSize", tag == 0 ? s.bigBrushRadius : s.undoBrushRadius);
  controls.SetCaption("lblBrushBigSize", Labelled("半径", controls.Position("sbBrushBigSize")));
  Changed();
}

void TfrmC::sbBrushBigSizeChange(int position) {
  controls.SetPosition("sbBrushBigSize", position);
  controls.SetCaption("lblBrushBigSize", Labelled("半径", controls.Position("sbBrushBigSize")));
  Changed();
}

void TfrmC::sbPenkiRangeChange(int position) {
  controls.SetPosition("sbPenkiRange", position);
  controls.SetCaption("lblPenkiRange", Labelled("対象色幅", tools_.settings.fillRange));
  Changed();
}

void TfrmC::SelectDoAction(int tag) {
  links_.SelectAction(tag);
}

void TfrmC::btnSelectTransClick() {
  links_.OpenTransform();
}

void TfrmC::chkSelectMaskClick() {
  links_.SetPieceMaskTransparent(controls.Checked("chkSelectMask"));
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
  controls.SetCaption("lblRulerSize", Labelled("大きさ", controls.Position("sbRulerSize"), "%"));
  tools_.RefreshTool();
  Changed();
}

void TfrmC::chkRulerInvertClick() {
  tools_.RefreshTool();
}

void TfrmC::sbPenLineHookChange(int position) {
  controls.SetPosition("sbPenLineHook", position);
  controls.SetCaption("lblPenLineHook", Labelled("更新間隔", tools_.settings.penLineInterval));
  Changed();
}

void TfrmC::trkABrushChange(int position) {
  controls.SetPosition("trkABrush", position);
  Changed();
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
