#pragma once

#include "painting/tool_engine.h"

namespace mirasketch {

// The painting tools as one tool family: pen, eraser, box, ellipse, line, brush, air brush,
// blur brush, big round / undo brush, polyline, paint bucket and the layer-move tool.
class PaintingTools : public ToolHandler {
 public:
  // Registers the family with the engine under the codes of its tools.
  void Register(ToolEngine& engine);
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override;
};

}  // namespace mirasketch
