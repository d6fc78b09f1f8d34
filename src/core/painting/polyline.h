#pragma once

#include "painting/tool_settings.h"

namespace mirasketch {

class ToolEngine;

// The polyline: a figure of connected segments, one point a press, either straight or a smooth
// curve through every point, redrawn from the figure's snapshot on every move, with the guide
// line from its last point to the pointer between presses. A right or middle press ends it as
// drawn; a refresh (a colour or mode change) takes it away.
void PolylineTool(ToolEngine& engine, ToolEvent event);

}  // namespace mirasketch
