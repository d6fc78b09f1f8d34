#pragma once

#include <cstdint>

namespace mirasketch {

// Selection rectangle, inclusive, in active-layer coordinates.
struct SelectionRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// What the compositor reads of the canvas window to show the picture: magnification, what is
// shown, where the window is scrolled to and how large its client area is, and the selection
// frame. The canvas window owns it; the compositor only reads it.
struct CanvasViewState {
  int zoom = 1;         // 1 … 16
  int displayMode = 1;  // 1 picture, 2 picture with the active mask, 3 the tool engine's scratch
  int scrollX = 0;      // scroll positions in paint-box pixels
  int scrollY = 0;
  int clientWidth = 0;  // client area in paint-box pixels
  int clientHeight = 0;
  bool selectionVisible = false;
  SelectionRect selectionRect;
};

}  // namespace mirasketch
