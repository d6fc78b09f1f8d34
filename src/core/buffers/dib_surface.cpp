#include "buffers/dib_surface.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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
  if (x0 >= x1) return;
  // Source column of x0 and the stepping of the nearest-pixel rule sx = src.x + (x − dst.x) ·
  // src.width div dst.width: whole columns and a remainder per target column.
  const long long first = 1LL * (x0 - dst.x) * src.width;
  const long long firstColumn = src.x + first / dst.width;
  const long long firstRemainder = first % dst.width;
  const long long wholeStep = src.width / dst.width;
  const long long partStep = src.width % dst.width;
  long long previousRow = -1;
  std::uint8_t* previousOut = nullptr;
  int copiedFrom = 0, copiedTo = 0;  // the columns the previous row wrote
  for (int y = y0; y < y1; ++y) {
    const long long sy = srcTop + (1LL * (y - dst.y) * src.height) / dst.height;
    if (sy < 0 || sy >= dib.height) continue;
    std::uint8_t* out = target_.Bits() + target_.PixelOffset(x0, y);
    if (sy == previousRow) {
      // A magnified row repeats the one above it.
      std::memcpy(out + 3 * (copiedFrom - x0), previousOut + 3 * (copiedFrom - x0),
                  3 * static_cast<std::size_t>(copiedTo - copiedFrom));
      continue;
    }
    const std::uint8_t* srcRow =
        dib.bits + (dib.height - 1 - sy) * static_cast<long long>(dib.width) * bytesPerPixel;
    long long sx = firstColumn;
    long long remainder = firstRemainder;
    int x = x0;
    // Columns left of the bitmap are skipped, then the row is written up to its right edge.
    for (; x < x1 && sx < 0; ++x) {
      sx += wholeStep;
      remainder += partStep;
      if (remainder >= dst.width) remainder -= dst.width, ++sx;
    }
    const int from = x;
    std::uint8_t* o = out + 3 * (x - x0);
    if (bytesPerPixel == 3 && wholeStep == 1 && partStep == 0) {
      const int count = static_cast<int>(std::min<long long>(x1 - x, dib.width - sx));
      if (count > 0) {
        std::memcpy(o, srcRow + sx * 3, 3 * static_cast<std::size_t>(count));
        x += count;
      }
    } else {
      for (; x < x1 && sx < dib.width; ++x, o += 3) {
        if (bytesPerPixel == 3) {
          const std::uint8_t* p = srcRow + sx * 3;
          o[0] = p[0];
          o[1] = p[1];
          o[2] = p[2];
        } else {
          const RgbQuad& c = dib.palette[srcRow[sx]];
          o[0] = c.blue;
          o[1] = c.green;
          o[2] = c.red;
        }
        sx += wholeStep;
        remainder += partStep;
        if (remainder >= dst.width) remainder -= dst.width, ++sx;
      }
    }
    previousRow = sy;
    previousOut = out;
    copiedFrom = from;
    copiedTo = std::max(x, from);
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
