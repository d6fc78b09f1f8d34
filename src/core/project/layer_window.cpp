#include "project/layer_window.h"

#include <algorithm>
#include <string>

#include "buffers/copy_block.h"
#include "platform/platform.h"
#include "platform/views.h"
#include "project/compositor.h"
#include "project/layer_project.h"
#include "project/project_links.h"
#include "project/size_dialog.h"
#include "project/size_ops.h"

namespace mirasketch {

namespace {

using K = ControlKind;

constexpr ControlSpec kControls[] = {
    {"grpActiveLay", K::kGroup, "", 2, 0, 194, 42, "Layer No."},
    {"cboGeneLay", K::kComboBox, "grpActiveLay", 4, 16, 136, 20,
     "単純\nマスクブレンド\nマスク閾値以下単純\nマスク閾値以上単純\n色明度閾値以下単純\n色明度閾値"
     "以上単純"},
    {"btnThreshold", K::kButton, "grpActiveLay", 148, 16, 36, 20, "閾値"},
    {"btnDoLayerAction", K::kButton, "", 1, 44, 36, 20, "実行"},
    {"cboDoLayerAction", K::kComboBox, "", 38, 44, 158, 20,
     "-------- New Layer\n新規レイヤ\nレイヤ削除\n合成画像を新規レイヤ\nマスク部分を新規レイヤ\n"
     "非マスク部分を新規レイヤ\n-------- Size\n大きさ変更\n選択範囲の大きさに\n位置指定"},
    {"pbxA", K::kPaintBox, "", 0, TfrmL::kStripTop, 196, 49, ""},
};

// The actions of the action list, by item.
enum Action {
  kNewLayer = 1,
  kDeleteLayer = 2,
  kCompositeToLayer = 3,
  kMaskedToLayer = 4,
  kUnmaskedToLayer = 5,
  kResizeLayer = 7,
  kCropLayer = 8,
  kMoveLayer = 9,
};

// The tool that moves a layer on the canvas; it has no button on the tool panel.
constexpr int kLayerMoveTool = 127;

constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 4;

}  // namespace

TfrmL::TfrmL(LayerProject& project, Platform& platform, Views& views)
    : controls(kControls), project_(project), platform_(platform), views_(views) {}

void TfrmL::Changed() {
  views_.WindowChanged(WindowId::frmL);
}

void TfrmL::InitLayerWindow() {
  updating = true;
  controls.SetPosition("cboDoLayerAction", 0);
  controls.SetCaption("grpActiveLay", "Layer No.0");
  controls.SetPosition("cboGeneLay", 0);
  updating = false;
  Changed();
}

void TfrmL::RefreshLayerWindow() {
  // The canvas is composed from the layers as they are now. A composition that is shown composes
  // once; only while the canvas shows its picture without composing is it composed here first.
  if (project_.composeEnabled) {
    RefreshComposite(project_);
  } else {
    const int w = project_.CanvasWidth();
    const int h = project_.CanvasHeight();
    if (!project_.backgroundRefresh) DrawChecker(project_, 0, 0, w, h);
    ComposeRect(project_, 0, 0, w, h);
    RefreshComposite(project_);
  }
  views_.CanvasPainted();
  updating = true;
  controls.SetCaption("grpActiveLay", "Layer No." + std::to_string(project_.activeLayer));
  controls.SetPosition("cboGeneLay", project_.Active().composeMode);
  updating = false;
  if (visible) Changed();
  project_.Links().RefreshPosition();
}

bool TfrmL::pbxAMouseDown(int button, int x, int y, int shiftState) {
  dragSource = CellAt(x, y);
  if (button != 2 && dragSource >= 0 && dragSource < project_.layerCount) {
    dragMode = 0;
    if (x % kCellWidth <= 13 && y % kCellHeight <= 15) {
      CDibTM& layer = project_.Layer(dragSource);
      layer.visible = !layer.visible;
    } else if ((shiftState & (kCtrlKey | kShiftKey)) != 0) {
      dragMode = (shiftState & kCtrlKey) != 0 ? 1 : 2;
      return true;
    } else if (dragSource != project_.activeLayer) {
      project_.ChangeActiveLayer(dragSource);
    }
  }
  RefreshLayerWindow();
  return false;
}

void TfrmL::pbxADragDrop(int x, int y) {
  const int target = CellAt(x, y);
  const int count = project_.layerCount;
  if (dragMode == 0 || target == dragSource || target < 0 || target >= count || dragSource < 0 ||
      dragSource >= count)
    return;
  project_.Links().DeactivateCurrentTool();
  if (dragMode == 1) {
    project_.SwapLayers(target, dragSource);
  } else if (project_.DeleteLayer(dragSource, false)) {
    // The same layer object is taken out and put back at the target; those between shift by one.
    project_.InsertLayer(target, false, 0, 0);
  }
  project_.ChangeActiveLayer(target);
  dragSource = -1;
  dragMode = 0;
  RefreshLayerWindow();
}

void TfrmL::cboGeneLayChange(int index) {
  if (updating) return;
  project_.Active().composeMode = index;
  RefreshLayerWindow();
}

void TfrmL::btnThresholdClick() {
  CDibTM& layer = project_.Active();
  const char* title = "現在の設定では必要ありません";
  int maximum = 765;
  if (layer.composeMode == 2 || layer.composeMode == 3) {
    title = "マスク閾値";
    maximum = 255;
  } else if (layer.composeMode == 4 || layer.composeMode == 5) {
    title = "色明度閾値";
  }
  const std::string initial = std::to_string(layer.threshold);
  const std::string typed =
      platform_.InputBox(title, "有効な範囲 0～" + std::to_string(maximum), initial)
          .value_or(initial);
  bool wellFormed = false;
  layer.threshold = std::clamp(ReadLeadingInt(typed, wellFormed), 0, maximum);
  RefreshLayerWindow();
}

void TfrmL::btnDoLayerActionClick() {
  if (project_.activeLayer < 0 || project_.activeLayer >= project_.layerCount) return;
  const int item = controls.Position("cboDoLayerAction");
  RunAction(item);
  // The layer-move tool shows its outline over the canvas; a refresh would compose it away.
  if (item != kMoveLayer) RefreshLayerWindow();
}

void TfrmL::RunAction(int item) {
  LayerProject& p = project_;
  ProjectLinks& links = p.Links();
  const int a = p.activeLayer;
  switch (item) {
    case kNewLayer:
    case kDeleteLayer:
    case kCompositeToLayer:
    case kMaskedToLayer:
    case kUnmaskedToLayer: {
      // The tool is suspended around the change and resumed whether or not it was made.
      ToolSuspension tool(links);
      if (item == kDeleteLayer) {
        if (p.DeleteLayer(a, true)) p.SetActiveLayer(std::max(a - 1, 0));
        break;
      }
      const bool split = item == kMaskedToLayer || item == kUnmaskedToLayer;
      const int w = split ? p.Layer(a).Width() : p.CanvasWidth();
      const int h = split ? p.Layer(a).Height() : p.CanvasHeight();
      if (item == kCompositeToLayer && p.compositeStale) {
        // The picture copied is the composition of the layers as they are, not what was last
        // laid over it for display.
        DrawChecker(p, 0, 0, p.CanvasWidth(), p.CanvasHeight());
        ComposeRect(p, 0, 0, p.CanvasWidth(), p.CanvasHeight());
        p.compositeStale = false;
      }
      if (!p.InsertLayer(a + 1, true, w, h)) break;
      if (item == kCompositeToLayer)
        CopyBlock(p.Layer(a + 1), 0, 0, p.compositeDib, 0, 0, w, h);
      else if (split)
        p.SplitByMask(a, item == kMaskedToLayer);
      p.SetActiveLayer(a + 1);
      break;
    }
    case kResizeLayer: {
      TfrmDlgSize dialog;
      dialog.SetValues(p.Layer(a).Width(), p.Layer(a).Height());
      if (views_.RunSizeDialog(dialog)) ResizeLayer(p, a, dialog.resultWidth, dialog.resultHeight);
      p.ChangeActiveLayer(a);
      break;
    }
    case kCropLayer:
      CropLayerToSelection(p);
      p.ChangeActiveLayer(a);
      break;
    case kMoveLayer:
      links.SelectTool(kLayerMoveTool);
      p.ChangeActiveLayer(a);
      break;
    default:
      break;  // the headings
  }
}

void TfrmL::FormResize(int clientWidth, int clientHeight) {
  stripWidth = std::max(clientWidth, 0);
  stripHeight = std::max(clientHeight - kStripTop, 0);
  Changed();
}

void TfrmL::FormShow() {
  Changed();
}

void TfrmL::FormHide() {
  project_.Links().WindowHidden(WindowId::frmL);
}

bool TfrmL::Click(std::string_view name) {
  if (name == "btnThreshold")
    btnThresholdClick();
  else if (name == "btnDoLayerAction")
    btnDoLayerActionClick();
  else
    return false;
  return true;
}

bool TfrmL::Change(std::string_view name, int value) {
  if (name != "cboGeneLay" && name != "cboDoLayerAction") return false;
  controls.SetPosition(name, value);
  if (name == "cboGeneLay") cboGeneLayChange(controls.Position(name));
  Changed();
  return true;
}

const PaintBox* TfrmL::Paint(std::string_view name) {
  return name == "pbxA" ? &PaintLayerList() : nullptr;
}

bool TfrmL::MouseDown(std::string_view name, int button, int x, int y, int shiftState) {
  if (name != "pbxA") return false;
  pbxAMouseDown(button, x, y, shiftState);
  return true;
}

bool TfrmL::AcceptsDrop(std::string_view name, std::string_view sourceWindow,
                        std::string_view sourceName) const {
  return name == "pbxA" && sourceWindow == "TfrmL" && sourceName == "pbxA" && dragMode > 0;
}

bool TfrmL::Drop(std::string_view name, std::string_view sourceWindow, std::string_view sourceName,
                 int x, int y) {
  if (!AcceptsDrop(name, sourceWindow, sourceName)) return false;
  pbxADragDrop(x, y);
  return true;
}

}  // namespace mirasketch
