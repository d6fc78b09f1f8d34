#pragma once

#include <span>

#include "painting/tool_settings.h"
#include "controls/window_controls.h"

namespace mirasketch {

// The tool panel's controls in their design layout; the speed buttons' Tags are tool codes.
std::span<const ControlSpec> ToolPanelControls();

}  // namespace mirasketch
