#pragma once

#include <span>

#include "controls/window_controls.h"
#include "painting/tool_settings.h"

namespace mirasketch {

// The tool panel's controls in their design layout; the speed buttons' Tags are tool codes.
std::span<const ControlSpec> ToolPanelControls();

}  // namespace mirasketch
