#pragma once

#include "buffers/dib256.h"
#include "buffers/dib_tm.h"

namespace mirasketch {

class LayerProject;

// The tool engine's state that the rest of the program shares: the current tool and the two
// scratch buffers (`workPlane` follows the canvas size; `workLayer` is borrowed as scratch).
class ToolEngine {
 public:
  explicit ToolEngine(LayerProject& project) : project_(project) {}

  // Resumes the current tool after a file or layer operation; the first repaint after it lays
  // the checkerboard under recomposed regions again.
  void ActivateCurrentTool();
  // Suspends the current tool before a file or layer operation.
  void DeactivateCurrentTool();

  int currentTool = 1;  // the pen
  bool shiftConstrain = false;
  CDib256 workPlane;
  CDibTM workLayer;

 private:
  LayerProject& project_;
};

}  // namespace mirasketch
