#pragma once

namespace mirasketch {

// What the canvas window needs from the windows above it: the colour window takes a colour picked
// with the S key, the selection its cut, copy and paste keys, the main window its switch when the
// canvas window is hidden, the option window the pointer readout, and the position window what the
// canvas window repainted. The Studio implements it.
class CanvasLinks {
 public:
  virtual ~CanvasLinks() = default;

  // Colour window: the drawing colour (0x00BBGGRR).
  virtual void SetDrawColour(int colour) = 0;
  // Selection: cut (1) or copy (2) of the floating piece, and paste from the clipboard.
  virtual void CutOrCopy(int mode) = 0;
  virtual void PasteFromClipboard() = 0;
  // Main window: the canvas window was hidden; its switch goes off.
  virtual void CanvasHidden() = 0;
  // Option window: the pointer position in active-layer pixels, and clearing the shape readouts.
  virtual void ShowPointer(int x, int y) = 0;
  virtual void ClearReadouts() = 0;
  // Position window: redraws the whole picture, or one rectangle in active-layer coordinates; and
  // follows the canvas's size.
  virtual void RefreshPosition() = 0;
  virtual void RefreshPositionRect(int x, int y, int w, int h) = 0;
  virtual void ResizePositionToCanvas() = 0;
  // Recovery copies: a change of the project has ended (a stroke, an undo or a redo); or no
  // change is left that a file does not hold (the project was saved, opened or made new, or the
  // user agreed to discard its changes).
  virtual void ProjectChangeEnded() = 0;
  virtual void ProjectChangesGone() = 0;
};

}  // namespace mirasketch
