#pragma once

#include "painting/tool_settings.h"

namespace mirasketch {

class ToolEngine;

// The layer-move tool: while it is current the canvas shows the composed picture without
// composing it anew; a drag shows the active layer's outline at the place it would take, and the
// release moves the layer there (its offsets change by the pointer's displacement).
void LayerMoveTool(ToolEngine& engine, ToolEvent event);

}  // namespace mirasketch
