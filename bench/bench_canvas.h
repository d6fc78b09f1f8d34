#pragma once

#include "buffers/dib_surface.h"
#include "buffers/dib_true.h"
#include "painting/canvas_window.h"
#include "project/layer_project.h"

namespace mirasketch::bench {

// Gives the canvas window a width × height view painted into `viewport` through `surface`, two
// undo levels and its start-up settings, and shows it, as the program's first show does.
inline void ShowCanvasIn(TfrmM& canvas, CDibTrue& viewport, DibSurface& surface, int width,
                         int height) {
  viewport.Alloc(width, height);
  canvas.paintBox = &surface;
  canvas.view.clientWidth = width;
  canvas.view.clientHeight = height;
  canvas.SetUndoLevels(2);
  canvas.InitAfterSettings();
  canvas.visible = true;
}

// Makes the project `count` white side × side layers, layer 0 active, as the new command and the
// layer window's inserts would.
inline void SquareLayers(LayerProject& project, int side, int count) {
  project.NewProject(1, side, side);
  project.AfterNewProject();
  for (int i = 1; i < count; ++i) project.InsertLayer(i, true, side, side);
}

}  // namespace mirasketch::bench
