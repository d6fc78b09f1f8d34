#pragma once

#include "platform/window_table.h"

namespace mirasketch {

// What the main window, the tool panel and the colour window need from the program around them:
// start-up and exit, the showing of windows, and the operations of modules built beside the shell
// (selection, canvas size, mask window, position window). The Studio implements it.
class ShellLinks {
 public:
  virtual ~ShellLinks() = default;

  // The main window's first show: the start-up project, settings, data files and windows.
  virtual void StartUp() = 0;
  // A confirmed exit: what is kept between runs is written.
  virtual void SaveSettings() = 0;
  // A window's switch was set: its module learns that it is shown or hidden.
  virtual void WindowSwitched(WindowId window, bool visible) = 0;
  // A window was hidden by the user; its switch on the main window goes off.
  virtual void WindowHidden(WindowId window) = 0;

  // Selection: cut (1) or copy (2) of the floating piece, paste from the clipboard, the panel's
  // actions (1 flip left–right, 2 flip top–bottom, 3 select all), the transform window, the
  // piece's mask switch and the end of a floating piece.
  virtual void CutOrCopy(int mode) = 0;
  virtual void PasteFromClipboard() = 0;
  virtual void SelectAction(int action) = 0;
  virtual void OpenTransform() = 0;
  virtual void SetPieceMaskTransparent(bool transparent) = 0;
  virtual void EndFloatingPiece() = 0;
  // Canvas size: the canvas takes a new size.
  virtual void ResizeCanvas(int width, int height) = 0;
  // Mask window: shown when it is hidden.
  virtual void ShowMaskWindow() = 0;
  // Position window: redraws its view of the canvas.
  virtual void RefreshPosition() = 0;
};

}  // namespace mirasketch
