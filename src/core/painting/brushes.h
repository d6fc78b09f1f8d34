#pragma once

#include "painting/tool_settings.h"

namespace mirasketch {

class ToolEngine;

// The brush: a coverage-mode stroke of the panel's stamp, so overlapping stamps of a
// semi-transparent stroke give one even tint; optionally interpolated between events.
void BrushTool(ToolEngine& engine, ToolEvent event);
// The air brush: as the brush, but in direct mode, so overlapping passes build up.
void AirBrushTool(ToolEngine& engine, ToolEvent event);
// The blur brush: every stamp pixel moves toward the mean of its 3 × 3 neighbourhood.
void AverageBrushTool(ToolEngine& engine, ToolEvent event);
// The big round brush (a disc of the drawing colour) and the undo brush (a disc that brings back
// the layer as it was before the previous stroke).
void BigBrushTool(ToolEngine& engine, ToolEvent event);

// One blur stamp at (x, y): each stamp pixel below 255 is blended toward its neighbourhood's mean.
void BlurStampAt(ToolEngine& engine, int x, int y);
// One disc of radius r at (x, y): painted in coverage mode, or copied from the snapshot for the
// undo brush.
void DiscAt(ToolEngine& engine, int x, int y, int r);

}  // namespace mirasketch
