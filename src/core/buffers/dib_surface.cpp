#include "buffers/dib_surface.h"

#include <algorithm>
#include <cstdint>

namespace mirasketch {

void DibSurface::StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) {
  if (dib.bits == nullptr || target_.Bits() == nullptr) return;
  if (dst.width <= 0 || dst.height <= 0 || src.width <= 0 || src.height <= 0) return;
  const int bytesPerPixel = dib.bitCount / 8;
  // The source rectangle counts rows from the bottom; turn it into a top row.
  const long long srcTop = static_cast<long long>(dib.height) - src.y - src.height;
  const int x0 = std::max(dst.x, 0);
  const int y0 = std::max(dst.y, 0);
  const int x1 = static_cast<int>(std::min<long long>(1LL * dst.x + dst.width, target_.Width()));
  const int y1 = static_cast<int>(std::min<long long>(1LL * dst.y + dst.height, target_.Height()));
  for (int y = y0; y < y1; ++y) {
    const long long sy = srcTop + (1LL * (y - dst.y) * src.height) / dst.height;
    if (sy < 0 || sy >= dib.height) continue;
    const std::uint8_t* srcRow =
        dib.bits + (dib.height - 1 - sy) * static_cast<long long>(dib.width) * bytesPerPixel;
    std::uint8_t* out = target_.Bits() + target_.PixelOffset(x0, y);
    for (int x = x0; x < x1; ++x, out += 3) {
      const long long sx = src.x + (1LL * (x - dst.x) * src.width) / dst.width;
      if (sx < 0 || sx >= dib.width) continue;
      if (bytesPerPixel == 3) {
        const std::uint8_t* p = srcRow + sx * 3;
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
      } else {
        const RgbQuad& c = dib.palette[srcRow[sx]];
        out[0] = c.blue;
        out[1] = c.green;
        out[2] = c.red;
      }
    }
  }
}

void DibSurface::FrameRect(const PixelRect& r) {
  if (r.width <= 0 || r.height <= 0) return;
  target_.FillRect(r.x, r.y, r.width, 1, brushColour);
  target_.FillRect(r.x, r.y + r.height - 1, r.width, 1, brushColour);
  target_.FillRect(r.x, r.y, 1, r.height, brushColour);
  target_.FillRect(r.x + r.width - 1, r.y, 1, r.height, brushColour);
}

void DibSurface::Line(int x1, int y1, int x2, int y2) {
  WalkPlainLine(x1, y1, x2, y2, [this](int x, int y) { target_.SetPixel(x, y, penColour); });
  target_.SetPixel(x2, y2, penColour);
}

}  // namespace mirasketch
