#include "project/size_ops.h"

#include <algorithm>

#include "buffers/copy_block.h"
#include "buffers/dib_format.h"
#include "buffers/dib_tm.h"
#include "platform/message_sink.h"
#include "project/canvas_view_state.h"
#include "project/layer_project.h"
#include "project/project_links.h"

namespace mirasketch {

namespace {

constexpr const char* kLargerThanCanvas = "カンバスより大きくすることはできません。";
constexpr const char* kOutsideLayer = "はみだしています。";

// The memory a layer's refit newly takes: the scratch copy of its present size and the layer at
// its new size.
std::uint64_t RefitGrowth(LayerProject& project, const CDibTM& layer, int width, int height) {
  return project.Links().WorkLayer().GrowthFor(layer.Width(), layer.Height()) +
         layer.GrowthFor(width, height);
}

// Sizes `layer` anew to width × height (white, mask 0) with the width × height block at (x, y) of
// its old pixels and mask at its top-left, through a copy in the scratch layer. False, the layer
// untouched, when the copy could not be made.
bool Refit(LayerProject& project, CDibTM& layer, int x, int y, int width, int height) {
  CDibTM& scratch = project.Links().WorkLayer();
  scratch.Assign(layer, project.Messages());
  if (scratch.Width() != layer.Width() || scratch.Height() != layer.Height() ||
      scratch.mask.Width() != layer.Width() || scratch.mask.Height() != layer.Height())
    return false;
  if (!layer.SetSize(width, height, project.Messages())) return false;
  const int w = std::min(width, scratch.Width() - x);
  const int h = std::min(height, scratch.Height() - y);
  CopyBlock(layer, 0, 0, scratch, x, y, w, h);
  CopyBlock256(layer.mask, 0, 0, scratch.mask, x, y, w, h);
  return true;
}

}  // namespace

bool ResizeCanvas(LayerProject& project, int width, int height) {
  ProjectLinks& links = project.Links();
  // Everything the new size takes is measured first: the composed picture and work plane, and
  // the scratch copy of the largest layer to be cut.
  std::uint64_t growth = project.CanvasGrowth(width, height);
  std::uint64_t scratch = 0;
  for (int i = 0; i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    if (width < layer.Width() || height < layer.Height())
      scratch = std::max(scratch, links.WorkLayer().GrowthFor(layer.Width(), layer.Height()));
  }
  if (!project.FitsInMemory(growth + scratch)) return false;
  ToolSuspension tool(links);
  if (!project.compositeDib.SetSize(width, height, project.Messages())) return false;
  project.compositeStale = true;
  links.WorkPlane().SetSize(width, height);
  for (int i = 0; i < project.layerCount; ++i) {
    const CDibTM& layer = project.Layer(i);
    if (width < layer.Width() || height < layer.Height())
      ResizeLayer(project, i, std::min(width, layer.Width()), std::min(height, layer.Height()));
  }
  links.CanvasResized();
  links.RefreshLayerWindow();
  return true;
}

bool ResizeLayer(LayerProject& project, int index, int width, int height) {
  if (index < 0 || index >= project.layerCount) return false;
  ToolSuspension tool(project.Links());
  if (width > project.CanvasWidth() || height > project.CanvasHeight()) {
    project.Messages().ShowMessage(kLargerThanCanvas);
    return false;
  }
  CDibTM& layer = project.Layer(index);
  if (!project.FitsInMemory(RefitGrowth(project, layer, width, height))) return false;
  // The pixels the old layer does not supply (the new area, and the columns that round the width
  // up) change; the undo snapshots of the active layer keep what lay there.
  const auto roundedWidth = static_cast<int>(RoundDibWidth(width));
  const int keptWidth = std::min(width, layer.Width());
  const int keptHeight = std::min(height, layer.Height());
  if (!project.Links().SaveBeforeLayerWrite(layer, keptWidth, 0, roundedWidth - keptWidth,
                                            height) ||
      !project.Links().SaveBeforeLayerWrite(layer, 0, keptHeight, roundedWidth,
                                            height - keptHeight))
    return false;
  return Refit(project, layer, 0, 0, width, height);
}

bool CropLayerToSelection(LayerProject& project) {
  const CanvasViewState& view = project.Links().CanvasView();
  if (!view.selectionVisible) return false;
  const SelectionRect& s = view.selectionRect;
  CDibTM& layer = project.Active();
  if (s.left < 0 || s.top < 0 || s.right + 1 > layer.Width() || s.bottom + 1 > layer.Height() ||
      s.left > s.right || s.top > s.bottom) {
    project.Messages().ShowMessage(kOutsideLayer);
    return false;
  }
  const int width = s.right + 1 - s.left;
  const int height = s.bottom + 1 - s.top;
  if (!project.FitsInMemory(RefitGrowth(project, layer, width, height))) return false;
  ToolSuspension tool(project.Links());
  if (!Refit(project, layer, s.left, s.top, width, height)) return false;
  layer.offsetX += s.left;
  layer.offsetY += s.top;
  return true;
}

}  // namespace mirasketch
