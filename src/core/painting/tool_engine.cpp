#include "painting/tool_engine.h"

#include "project/layer_project.h"

namespace mirasketch {

void ToolEngine::ActivateCurrentTool() {
  shiftConstrain = false;
  project_.backgroundRefresh = true;
}

void ToolEngine::DeactivateCurrentTool() {}

}  // namespace mirasketch
