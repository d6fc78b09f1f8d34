#pragma once

#include "buffers/dib_true.h"
#include "platform/surface.h"

namespace mirasketch {

// A surface that draws into a true-colour buffer, pixel by nearest pixel, as the platform's
// device-independent-bitmap drawing does without smoothing. Used off screen and by the tests.
class DibSurface : public Surface {
 public:
  explicit DibSurface(CDibTrue& target) : target_(target) {}
  void StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) override;
  void FrameRect(const PixelRect& r) override;
  void Line(int x1, int y1, int x2, int y2) override;

  int brushColour = 0;  // 0x00BBGGRR
  int penColour = 0;

 private:
  CDibTrue& target_;
};

}  // namespace mirasketch
