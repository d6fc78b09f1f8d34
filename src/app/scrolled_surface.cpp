#include "scrolled_surface.h"

namespace mirasketch {

PixelRect ScrolledSurface::Shifted(const PixelRect& r) const {
  return {r.x - scrollX_, r.y - scrollY_, r.width, r.height};
}

void ScrolledSurface::StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) {
  target_.StretchBits(dib, Shifted(dst), src);
}

void ScrolledSurface::FrameRect(const PixelRect& r) {
  target_.FrameRect(Shifted(r));
}

void ScrolledSurface::Line(int x1, int y1, int x2, int y2) {
  target_.Line(x1 - scrollX_, y1 - scrollY_, x2 - scrollX_, y2 - scrollY_);
}

}  // namespace mirasketch
