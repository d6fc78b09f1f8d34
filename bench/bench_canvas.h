#pragma once

#include <cmath>
#include <numbers>
#include <utility>

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

// Point i of `events` along a figure of eight around (cx, cy) reaching rx and ry from it.
inline std::pair<int, int> FigureEight(int i, int events, int cx, int cy, int rx, int ry) {
  const double a = 2.0 * std::numbers::pi * i / events;
  return {static_cast<int>(cx + rx * std::sin(a)), static_cast<int>(cy + ry * std::sin(2 * a))};
}

// Event i of a drag of `events` pointer events on the canvas window: the left button pressed at
// the first, released at the last, moves in between.
inline void DragEvent(TfrmM& canvas, int i, int events, int x, int y) {
  if (i == 0)
    canvas.pbxAMouseDown(MouseButton::kLeft, x, y);
  else if (i == events - 1)
    canvas.pbxAMouseUp(MouseButton::kLeft, x, y);
  else
    canvas.pbxAMouseMove(x, y);
}

}  // namespace mirasketch::bench
