#pragma once

#include "buffers/dib_surface.h"
#include "buffers/dib_true.h"
#include "platform/surface.h"

namespace mirasketch {

// A scrolled paint box's surface: the core draws in paint-box pixels; this draws into the
// viewport's buffer, shifted by the scroll position it reads at each call, so only the visible
// part is kept.
class ScrolledSurface : public Surface {
 public:
  ScrolledSurface(CDibTrue& viewport, const int& scrollX, const int& scrollY)
      : target_(viewport), scrollX_(scrollX), scrollY_(scrollY) {}
  void StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) override;
  void FrameRect(const PixelRect& r) override;
  void Line(int x1, int y1, int x2, int y2) override;

  // Paint-box rectangle to viewport rectangle.
  PixelRect Shifted(const PixelRect& r) const;

 private:
  DibSurface target_;
  const int& scrollX_;
  const int& scrollY_;
};

}  // namespace mirasketch
