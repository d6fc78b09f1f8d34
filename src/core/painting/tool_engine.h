#pragma once

#include <cstdint>

#include "buffers/dib256.h"
#include "buffers/dib_tm.h"
#include "platform/surface.h"

namespace mirasketch {

class LayerProject;

// Tool event codes.
enum ToolEvent : int {
  teActivate = 1,
  teDeactivate = 2,
  teDown = 4,
  teMove = 5,
  teUp = 6,
  teRefresh = 128,
  teUndone = 129,
};

// The tool engine: the current tool, the stroke state the canvas window drives, and the two
// scratch buffers the rest of the program shares (`workPlane` follows the canvas size;
// `workLayer` is borrowed as scratch). Tools register with `Dispatch`; until a tool module is
// present for the current tool its events do nothing and strokes are not accepted.
class ToolEngine {
 public:
  explicit ToolEngine(LayerProject& project) : project_(project) {}

  // Resumes the current tool after a file or layer operation; the first repaint after it lays
  // the checkerboard under recomposed regions again.
  void ActivateCurrentTool();
  // Suspends the current tool before a file or layer operation.
  void DeactivateCurrentTool();
  // Pointer press, move and release in active-layer coordinates; true when the canvas should
  // repaint `dirtyRect`.
  bool BeginStroke(int x, int y, int buttonCode);
  bool MoveStroke(int x, int y);
  bool EndStroke(int x, int y, int buttonCode);
  // After an undo: the current tool drops any state that referred to the undone pixels.
  void NotifyUndone();

  // The visible part of the active layer, which the canvas window keeps up to date.
  PixelRect visibleArea;

  int currentTool = 1;  // the pen
  std::int32_t drawColor = 0;
  bool shiftConstrain = false;
  int curX = 0, curY = 0, prevX = 0, prevY = 0;
  int buttonCode = 0;
  bool strokeActive = false;
  PixelRect dirtyRect;
  bool wideRefresh = false;
  CDib256 workPlane;
  CDibTM workLayer;

 private:
  // Sends an event to the current tool's module; false when there is none.
  bool Dispatch(ToolEvent event);

  LayerProject& project_;
};

}  // namespace mirasketch
