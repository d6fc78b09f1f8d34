#include "painting/painting_tools.h"

#include "painting/brushes.h"
#include "painting/layer_move_tool.h"
#include "painting/paint_bucket.h"
#include "painting/pen_tools.h"
#include "painting/polyline.h"

namespace mirasketch {

namespace {

struct ToolFunction {
  int code;
  void (*handle)(ToolEngine&, ToolEvent);
};

constexpr ToolFunction kTools[] = {
    {tkPen, PenTool},           {tkErase, EraseTool},       {tkBox, ShapeTool},
    {tkCircle, ShapeTool},      {tkLine, ShapeTool},        {tkOresen, PolylineTool},
    {tkBrush, BrushTool},       {tkAirBrush, AirBrushTool}, {tkAverageBrush, AverageBrushTool},
    {tkBrushBig, BigBrushTool}, {tkPenki, PaintBucketTool}, {tkLayerMove, LayerMoveTool},
};

}  // namespace

void PaintingTools::Register(ToolEngine& engine) {
  for (const ToolFunction& tool : kTools) engine.RegisterTool(tool.code, *this);
}

void PaintingTools::ToolEventOccurred(ToolEngine& engine, ToolEvent event) {
  for (const ToolFunction& tool : kTools) {
    if (tool.code == engine.settings.currentTool) {
      tool.handle(engine, event);
      return;
    }
  }
}

}  // namespace mirasketch
