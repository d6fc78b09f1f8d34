#include "painting/layer_move_tool.h"

#include "painting/tool_engine.h"
#include "project/compositor.h"
#include "project/layer_project.h"

namespace mirasketch {

namespace {

constexpr int kOutlineColour = 0x402040;

// The whole canvas composed afresh, whatever composing is set to, with the active layer's outline
// at (px, py) drawn into the composed picture, and shown.
void ShowOutline(ToolEngine& e, int px, int py) {
  LayerProject& project = e.project();
  const int w = project.CanvasWidth();
  const int h = project.CanvasHeight();
  DrawChecker(project, 0, 0, w, h);
  ComposeRect(project, 0, 0, w, h);
  const CDibTM& layer = project.Active();
  const int right = px + layer.Width();
  const int bottom = py + layer.Height();
  CDibTrue& picture = project.compositeDib;
  picture.Line(px, py, right, py, kOutlineColour);
  picture.Line(right, py, right, bottom, kOutlineColour);
  picture.Line(right, bottom, px, bottom, kOutlineColour);
  picture.Line(px, bottom, px, py, kOutlineColour);
  // The outline is not part of the composition: the next composing paint takes it away.
  project.compositeStale = true;
  e.dirtyRect = e.visibleArea;
  e.links().RedrawCanvas();
}

}  // namespace

void LayerMoveTool(ToolEngine& e, ToolEvent event) {
  LayerProject& project = e.project();
  CDibTM& layer = project.Active();
  // Where the layer's top-left corner would be if the drag ended now.
  const int px = layer.offsetX + (e.curX - e.prevX);
  const int py = layer.offsetY + (e.curY - e.prevY);
  switch (event) {
    case teActivate:
      project.composeEnabled = false;
      ShowOutline(e, layer.offsetX, layer.offsetY);
      break;
    case teDeactivate:
      project.composeEnabled = true;
      break;
    case teDown:
      e.strokeActive = true;
      ShowOutline(e, layer.offsetX, layer.offsetY);
      break;
    case teMove:
      ShowOutline(e, px, py);
      break;
    case teUp:
      // The layer takes its new place and is shown there under its outline.
      layer.offsetX = px;
      layer.offsetY = py;
      ShowOutline(e, px, py);
      break;
    default:
      ShowOutline(e, layer.offsetX, layer.offsetY);
      break;
  }
}

}  // namespace mirasketch
