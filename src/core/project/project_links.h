#pragma once

#include <string>

#include "platform/window_table.h"

namespace mirasketch {

class CDib256;
class CDibTM;
class Surface;
struct CanvasViewState;

// What the layer project and the compositor need from the modules above them: the canvas window,
// the tool engine and the layer window. The Studio implements it, so the project module never
// depends on those modules directly.
class ProjectLinks {
 public:
  virtual ~ProjectLinks() = default;

  // Canvas window: its view state, its paint box (null while nothing shows the canvas), the
  // layer its tools draw into, and the calls the project makes after replacing its content.
  virtual CanvasViewState& CanvasView() = 0;
  virtual Surface* CanvasPaintBox() = 0;
  virtual void SetDrawTarget(CDibTM& layer) = 0;
  // Clears the modified flag and sizes the canvas view to the canvas.
  virtual void ResetCanvasView() = 0;
  // Restarts the undo ring on the current drawing target, keeping the number of levels.
  virtual void RestartUndo() = 0;
  // Whatever writes into a layer outside a tool calls this first with the rectangle it is about to
  // write; for the active layer the undo snapshots keep what was there. False when memory for that
  // is refused (the user has been told): nothing may be written then.
  virtual bool SaveBeforeLayerWrite(const CDibTM& layer, int x, int y, int width, int height) = 0;
  virtual void SetCanvasCaption(const std::string& caption) = 0;

  // Tool engine: the current tool's code, its canvas-sized plane and its scratch picture, and the
  // suspension of the current tool around operations that replace pixels.
  virtual int CurrentTool() const = 0;
  virtual CDib256& WorkPlane() = 0;
  virtual CDibTM& WorkLayer() = 0;
  virtual void DeactivateCurrentTool() = 0;
  virtual void ActivateCurrentTool() = 0;

  // Tool panel: makes a tool current (as its button would; the layer-move tool has none).
  virtual void SelectTool(int code) = 0;
  // Canvas window: the canvas took a new size; the paint box follows it at the current zoom.
  virtual void CanvasResized() = 0;

  // Layer window: recomposes, redisplays and shows the new layer state.
  virtual void RefreshLayerWindow() = 0;
  // Position window: redraws its view of the canvas.
  virtual void RefreshPosition() = 0;
  // Main window: a window was hidden by the user; its switch goes off.
  virtual void WindowHidden(WindowId window) = 0;
};

// Suspends the current tool for the length of an operation that replaces pixels and resumes it
// however the operation ends.
class ToolSuspension {
 public:
  explicit ToolSuspension(ProjectLinks& links) : links_(links) { links_.DeactivateCurrentTool(); }
  ~ToolSuspension() { links_.ActivateCurrentTool(); }
  ToolSuspension(const ToolSuspension&) = delete;
  ToolSuspension& operator=(const ToolSuspension&) = delete;

 private:
  ProjectLinks& links_;
};

}  // namespace mirasketch
