#pragma once

#include <string_view>

#include "controls/window_controls.h"
#include "painting/canvas_window.h"

namespace mirasketch {

class LayerProject;
class ShellLinks;
class Surface;
class Views;

// The position window ("位置"): the composed picture at full size in a scrolling window of its
// own, so the whole canvas can be seen while the canvas window is zoomed in. Its paint box is
// always exactly the canvas size; a left click in it scrolls the canvas window so that the
// clicked canvas point lies in the middle. While the window is hidden every refresh request is
// ignored, and showing it draws the whole picture again.
class TfrmPos : public ControlWindow {
 public:
  TfrmPos(LayerProject& project, TfrmM& canvas, Views& views, ShellLinks& links);

  // Sizes the paint box to the canvas at scale 1 and draws the whole picture.
  void ResizeToCanvas();
  // When shown: draws the whole composed picture into the paint box.
  void RefreshPosition();
  // When shown: draws one rectangle given in active-layer coordinates (shifted by the active
  // layer's offset, clipped to the picture) from the composed picture as it is.
  void RefreshPositionRect(int x, int y, int w, int h);
  // When shown: recomposes the whole canvas and shows it in the canvas window, then draws the
  // whole picture here.
  void RecomposeAndRefreshPosition();

  // Event handlers. The window was shown (it follows the canvas's size and redraws) or hidden
  // (its switch on the main window goes off).
  void FormShow();
  void FormHide();
  // The paint event: the whole picture drawn into the attached surface.
  void pbxAPaint();
  // A press at paint-box point (x, y), which is a canvas point: the left button centres the
  // canvas window on it, the other buttons do nothing.
  void pbxAMouseDown(MouseButton button, int x, int y);

  // ControlWindow: the paint box `pbxA`.
  const ControlSet& Controls() const override { return controls; }
  bool Click(std::string_view) override { return false; }
  bool Change(std::string_view, int) override { return false; }
  // Paints the whole picture afresh into a picture of the paint box's size.
  const PaintBox* Paint(std::string_view name) override;
  // A press in `pbxA`, as `pbxAMouseDown`.
  bool MouseDown(std::string_view name, int button, int x, int y, int shiftState) override;

  ControlSet controls;
  Surface* paintBox = nullptr;  // the view's drawing surface, null while none is attached
  int paintBoxWidth = 0;
  int paintBoxHeight = 0;
  int positionScale = 1;
  bool visible = false;

 private:
  // Draws canvas rectangle (x, y, w, h), clipped to the picture, at the paint box's scale.
  void DrawCanvasRect(Surface& surface, long long x, long long y, long long w, long long h);
  // The whole composed picture as it is.
  void DrawWhole(Surface& surface);
  void Changed();

  LayerProject& project_;
  TfrmM& canvas_;
  Views& views_;
  ShellLinks& links_;
  PaintBox picture_;
};

}  // namespace mirasketch
