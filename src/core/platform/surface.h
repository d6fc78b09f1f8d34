#pragma once

#include <cstdint>

namespace mirasketch {

struct RgbQuad;

// A read-only view of a bottom-up device-independent bitmap: 24-bit pixels (blue, green, red) or
// 8-bit indices into `palette`. Rows are `width` × bytes-per-pixel long, with no padding.
struct DibView {
  const std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int bitCount = 24;                 // 24 or 8
  const RgbQuad* palette = nullptr;  // 256 entries when bitCount is 8
};

// A rectangle in pixels; for a surface y grows downwards.
struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Something a bitmap can be drawn on: a window's viewport, or a buffer in tests.
class Surface {
 public:
  virtual ~Surface() = default;
  // Copies `src` (y measured from the bitmap's bottom row, as device-independent bitmap drawing
  // does) scaled by nearest pixel into `dst`; parts outside the surface are dropped.
  virtual void StretchBits(const DibView& dib, const PixelRect& dst, const PixelRect& src) = 0;
  // Draws a one-pixel frame just inside `r` in the surface's current brush colour.
  virtual void FrameRect(const PixelRect& r) = 0;
  // Draws a one-pixel line in the surface's pen colour (black), the end point included.
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
};

}  // namespace mirasketch
