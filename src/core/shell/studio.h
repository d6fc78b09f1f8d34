#pragma once

#include <string>

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/platform.h"
#include "platform/views.h"
#include "project/layer_project.h"
#include "project/layer_window.h"
#include "project/picture_file.h"
#include "project/project_links.h"
#include "shell/main_window.h"

namespace mirasketch {

// Owns the state of every module and wires them together in the start-up order. Tests and the
// command-line tool create a fresh one with their own platform and drive it as the windows do.
class Studio : private ProjectLinks {
 public:
  Studio(Platform& platform, Views& views);
  Studio(const Studio&) = delete;
  Studio& operator=(const Studio&) = delete;

  // The main window's first show: the start-up project, the settings (defaults until the settings
  // file is read), the recent lists, and the canvas window and tool panel shown.
  void StartUp();

  Platform& platform;
  Views& views;
  LayerProject project;
  ToolEngine toolEngine;
  TfrmM frmM;
  TfrmL frmL;
  PictureFiles pictureFiles;
  TfrmMain frmMain;

 private:
  CanvasViewState& CanvasView() override { return frmM.view; }
  Surface* CanvasPaintBox() override { return frmM.paintBox; }
  void SetDrawTarget(CDibTM& layer) override { frmM.SetDrawTarget(layer); }
  void ResetCanvasView() override { frmM.ResetView(); }
  void RestartUndo() override { frmM.SetUndoLevels(frmM.undoLevels); }
  void SetCanvasCaption(const std::string& caption) override;
  int CurrentTool() const override { return toolEngine.currentTool; }
  CDib256& WorkPlane() override { return toolEngine.workPlane; }
  CDibTM& WorkLayer() override { return toolEngine.workLayer; }
  void DeactivateCurrentTool() override { toolEngine.DeactivateCurrentTool(); }
  void ActivateCurrentTool() override { toolEngine.ActivateCurrentTool(); }
  void RefreshLayerWindow() override { frmL.RefreshLayerWindow(); }
};

}  // namespace mirasketch
