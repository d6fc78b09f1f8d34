#include "buffers/copy_block.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "buffers/dib256.h"
#include "buffers/dib_true.h"

namespace mirasketch {
namespace {

// Copies h rows of `rowBytes` bytes, both pointers at the top row and stepping one stored row
// back per image row. Rows that may overlap inside one buffer are copied byte by byte forwards,
// so the result is the one of a plain left-to-right walk.
void CopyRows(std::uint8_t* dst, std::ptrdiff_t dstStride, const std::uint8_t* src,
              std::ptrdiff_t srcStride, std::size_t rowBytes, int h, bool sameBuffer) {
  if (!sameBuffer && dstStride == static_cast<std::ptrdiff_t>(rowBytes) && srcStride == dstStride) {
    // Whole rows of equally wide buffers form one contiguous range, from the bottom row of the
    // block up to the end of its top row: one copy lets the library stream it.
    const std::size_t below = static_cast<std::size_t>(h - 1) * rowBytes;
    std::memcpy(dst - below, src - below, below + rowBytes);
    return;
  }
  for (int row = 0; row < h; ++row, dst -= dstStride, src -= srcStride) {
    if (sameBuffer && dst > src && dst < src + rowBytes) {
      for (std::size_t n = 0; n < rowBytes; ++n) dst[n] = src[n];
    } else {
      std::memmove(dst, src, rowBytes);
    }
  }
}

}  // namespace

bool ClipBlock(int& dx, int& dy, int& sx, int& sy, int& w, int& h, int dstW, int dstH, int srcW,
               int srcH) {
  // Wide arithmetic so that no argument can overflow the sums.
  long long cdx = dx, cdy = dy, csx = sx, csy = sy, cw = w, ch = h;
  if (cdx < 0) {
    csx -= cdx;
    cw += cdx;
    cdx = 0;
  }
  if (cdy < 0) {
    csy -= cdy;
    ch += cdy;
    cdy = 0;
  }
  if (cdx + cw > dstW) cw = dstW - cdx;
  if (cdy + ch > dstH) ch = dstH - cdy;
  if (cdx >= dstW || cdy >= dstH || cw <= 0 || ch <= 0) return false;
  if (csx < 0 || csy < 0 || csx + cw > srcW || csy + ch > srcH) return false;
  dx = static_cast<int>(cdx);
  dy = static_cast<int>(cdy);
  sx = static_cast<int>(csx);
  sy = static_cast<int>(csy);
  w = static_cast<int>(cw);
  h = static_cast<int>(ch);
  return true;
}

bool CopyBlock(CDibTrue& dst, int dx, int dy, const CDibTrue& src, int sx, int sy, int w, int h) {
  if (dst.Bits() == nullptr || src.Bits() == nullptr ||
      !ClipBlock(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), src.Width(), src.Height()))
    return false;
  CopyRows(dst.Bits() + dst.PixelOffset(dx, dy), static_cast<std::ptrdiff_t>(dst.Width()) * 3,
           src.Bits() + src.PixelOffset(sx, sy), static_cast<std::ptrdiff_t>(src.Width()) * 3,
           static_cast<std::size_t>(w) * 3, h, &dst == &src);
  return true;
}

bool CopyBlock256(CDib256& dst, int dx, int dy, const CDib256& src, int sx, int sy, int w, int h) {
  if (dst.Bits() == nullptr || src.Bits() == nullptr ||
      !ClipBlock(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), src.Width(), src.Height()))
    return false;
  CopyRows(dst.Bits() + dst.PixelOffset(dx, dy), dst.Width(), src.Bits() + src.PixelOffset(sx, sy),
           src.Width(), static_cast<std::size_t>(w), h, &dst == &src);
  return true;
}

bool CopyBlock256ToTrue(CDibTrue& dst, int dx, int dy, const CDib256& src, int sx, int sy, int w,
                        int h) {
  if (dst.Bits() == nullptr || src.Bits() == nullptr ||
      !ClipBlock(dx, dy, sx, sy, w, h, dst.Width(), dst.Height(), src.Width(), src.Height()))
    return false;
  const RgbQuad* palette = src.PaletteEntries();
  const std::ptrdiff_t dstStep = static_cast<std::ptrdiff_t>(dst.Width() + w) * 3;
  const std::ptrdiff_t srcStep = static_cast<std::ptrdiff_t>(src.Width()) + w;
  std::uint8_t* d = dst.Bits() + dst.PixelOffset(dx, dy);
  const std::uint8_t* s = src.Bits() + src.PixelOffset(sx, sy);
  for (int row = 0; row < h; ++row, d -= dstStep, s -= srcStep) {
    for (int n = 0; n < w; ++n, d += 3, ++s) {
      const RgbQuad& c = palette[*s];
      d[0] = c.blue;
      d[1] = c.green;
      d[2] = c.red;
    }
  }
  return true;
}

}  // namespace mirasketch
