#include "shell/position_window.h"

#include <algorithm>

#include "buffers/dib_format.h"
#include "buffers/dib_surface.h"
#include "platform/surface.h"
#include "platform/views.h"
#include "project/compositor.h"
#include "project/layer_project.h"
#include "shell/shell_links.h"

namespace mirasketch {

namespace {

// The paint box follows the canvas, so its design allows the largest canvas: points sent to it
// are measured against what it can become.
constexpr ControlSpec kControls[] = {
    {"pbxA", ControlKind::kPaintBox, "", 0, 0, kMaxDibSide, kMaxDibSide, ""},
};

}  // namespace

TfrmPos::TfrmPos(LayerProject& project, TfrmM& canvas, Views& views, ShellLinks& links)
    : controls(kControls), project_(project), canvas_(canvas), views_(views), links_(links) {}

void TfrmPos::Changed() {
  views_.WindowChanged(WindowId::frmPos);
}

void TfrmPos::ResizeToCanvas() {
  positionScale = 1;
  paintBoxWidth = project_.CanvasWidth() * positionScale;
  paintBoxHeight = project_.CanvasHeight() * positionScale;
  // The view learns the new size even while hidden, so it comes up with the right scroll range.
  Changed();
  RefreshPosition();
}

void TfrmPos::RefreshPosition() {
  if (!visible || paintBox == nullptr) return;
  DrawWhole(*paintBox);
  Changed();
}

void TfrmPos::RefreshPositionRect(int x, int y, int w, int h) {
  if (!visible || paintBox == nullptr) return;
  const CDibTM& active = project_.Active();
  DrawCanvasRect(*paintBox, 1LL * x + active.offsetX, 1LL * y + active.offsetY, w, h);
  Changed();
}

void TfrmPos::RecomposeAndRefreshPosition() {
  if (!visible) return;
  RefreshComposite(project_);
  views_.CanvasPainted();
  RefreshPosition();
}

void TfrmPos::FormShow() {
  ResizeToCanvas();
}

void TfrmPos::FormHide() {
  links_.WindowHidden(WindowId::frmPos);
}

void TfrmPos::pbxAPaint() {
  if (paintBox != nullptr) DrawWhole(*paintBox);
}

void TfrmPos::pbxAMouseDown(MouseButton button, int x, int y) {
  if (button != MouseButton::kLeft) return;
  // The paint box shows the canvas at the position scale, so its point is a canvas point.
  canvas_.CenterOn(x / positionScale, y / positionScale);
}

const PaintBox* TfrmPos::Paint(std::string_view name) {
  if (name != "pbxA") return nullptr;
  picture_.Begin(paintBoxWidth, paintBoxHeight);
  DibSurface surface(picture_.image);
  DrawWhole(surface);
  return &picture_;
}

bool TfrmPos::MouseDown(std::string_view name, int button, int x, int y, int) {
  if (name != "pbxA") return false;
  pbxAMouseDown(ButtonOfNumber(button), x, y);
  return true;
}

void TfrmPos::DrawWhole(Surface& surface) {
  DrawCanvasRect(surface, 0, 0, project_.CanvasWidth(), project_.CanvasHeight());
}

void TfrmPos::DrawCanvasRect(Surface& surface, long long x, long long y, long long w, long long h) {
  const CDibTrue& picture = project_.compositeDib;
  const long long left = std::max(x, 0LL);
  const long long top = std::max(y, 0LL);
  const long long right = std::min(x + w, static_cast<long long>(picture.Width()));
  const long long bottom = std::min(y + h, static_cast<long long>(picture.Height()));
  if (left >= right || top >= bottom) return;
  // Inside the picture every value fits an int.
  const int s = positionScale;
  const int cx = static_cast<int>(left);
  const int cy = static_cast<int>(top);
  const int cw = static_cast<int>(right - left);
  const int ch = static_cast<int>(bottom - top);
  picture.StretchDraw(surface, cx * s, cy * s, cw * s, ch * s, cx, cy, cw, ch);
}

}  // namespace mirasketch
