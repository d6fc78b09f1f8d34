#pragma once

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "project/layer_project.h"
#include "project/layer_window.h"
#include "project/project_links.h"

namespace mirasketch {

class MessageSink;

// Owns the state of every module and wires them together. Tests and the command-line tool create
// a fresh one with their own message sink and drive it as the windows do.
class Studio : private ProjectLinks {
 public:
  explicit Studio(MessageSink& messages);
  Studio(const Studio&) = delete;
  Studio& operator=(const Studio&) = delete;

  MessageSink& messages;
  LayerProject project;
  ToolEngine toolEngine;
  TfrmM frmM;
  TfrmL frmL;

 private:
  CanvasViewState& CanvasView() override { return frmM.view; }
  Surface* CanvasPaintBox() override { return frmM.paintBox; }
  void SetDrawTarget(CDibTM& layer) override { frmM.SetDrawTarget(layer); }
  void ResetCanvasView() override { frmM.ResetView(); }
  void RestartUndo() override { frmM.SetUndoLevels(frmM.undoLevels); }
  void SetCanvasCaption(const std::string& caption) override { frmM.caption = caption; }
  int CurrentTool() const override { return toolEngine.currentTool; }
  CDib256& WorkPlane() override { return toolEngine.workPlane; }
  const CDibTM& WorkLayer() const override { return toolEngine.workLayer; }
  void DeactivateCurrentTool() override { toolEngine.DeactivateCurrentTool(); }
  void ActivateCurrentTool() override { toolEngine.ActivateCurrentTool(); }
  void RefreshLayerWindow() override { frmL.RefreshLayerWindow(); }
};

}  // namespace mirasketch
