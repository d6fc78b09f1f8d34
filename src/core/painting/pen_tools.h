#pragma once

#include "painting/tool_settings.h"

namespace mirasketch {

class ToolEngine;

// The pen: stamps the panel's stamp in the drawing colour along the stroke; the right button
// picks a colour, switches to the eraser or erases, by the panel's right-button mode.
void PenTool(ToolEngine& engine, ToolEvent event);
// The eraser: paints the eraser colour with the eraser-size stamp, fully opaque.
void EraseTool(ToolEngine& engine, ToolEvent event);
// Box, ellipse and straight line (by the current tool): redrawn from the stroke's snapshot on
// every move, from a corner or the centre, filled or outlined, Shift-constrained.
void ShapeTool(ToolEngine& engine, ToolEvent event);

}  // namespace mirasketch
