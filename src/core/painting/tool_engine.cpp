#include "painting/tool_engine.h"

#include "project/layer_project.h"

namespace mirasketch {

bool ToolEngine::Dispatch(ToolEvent) {
  // No tool module is present yet for any tool code: events reach nobody and strokes are not
  // taken up, so the canvas neither repaints nor counts as modified.
  return false;
}

void ToolEngine::ActivateCurrentTool() {
  shiftConstrain = false;
  project_.backgroundRefresh = true;
  Dispatch(teActivate);
}

void ToolEngine::DeactivateCurrentTool() {
  Dispatch(teDeactivate);
}

bool ToolEngine::BeginStroke(int x, int y, int code) {
  dirtyRect = visibleArea;
  curX = x;
  curY = y;
  prevX = curX;
  prevY = curY;
  buttonCode = code;
  return Dispatch(teDown);
}

bool ToolEngine::MoveStroke(int x, int y) {
  if (!strokeActive) return false;
  curX = x;
  curY = y;
  return Dispatch(teMove);
}

bool ToolEngine::EndStroke(int x, int y, int code) {
  if (!strokeActive) return false;
  dirtyRect = visibleArea;
  curX = x;
  curY = y;
  buttonCode = code;
  const bool repaint = strokeActive && Dispatch(teUp);
  strokeActive = false;
  return repaint;
}

void ToolEngine::NotifyUndone() {
  Dispatch(teUndone);
}

}  // namespace mirasketch
