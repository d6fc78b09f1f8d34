#pragma once

#include <cstddef>
#include <cstdint>

#include "buffers/dib_format.h"

namespace mirasketch {

// Blocks of this size and more are mapped from the system on 2 MB boundaries and advised for
// huge pages, where the first touch of the memory costs a fraction of small pages' faults.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// The pixel block of a buffer: one contiguous allocation that is reused and resized in place.
// Large blocks start on a 2 MB boundary and move their pages rather than their bytes as they grow.
class DibStorage {
 public:
  DibStorage() = default;
  ~DibStorage();
  DibStorage(const DibStorage&) = delete;
  DibStorage& operator=(const DibStorage&) = delete;

  std::uint8_t* Data() const { return data_; }
  std::size_t Bytes() const { return bytes_; }

  // Makes the block `bytes` long. The first block is zero-filled; a resize keeps the old bytes
  // where they lie and zeroes the added tail. False (block unchanged) when memory runs out.
  bool Resize(std::size_t bytes);
  // Sets every byte to zero. A large block gives its pages back to the system instead of writing
  // them: they read as zeros and cost memory again only where they are written.
  void Zero();
  // The bytes a resize to `bytes` would newly take: a block grows in place, so only what it
  // adds to the bytes held now needs memory (0 for a block that shrinks or stays).
  std::uint64_t GrowthTo(std::uint64_t bytes) const { return bytes > bytes_ ? bytes - bytes_ : 0; }

 private:
  bool ResizeLarge(std::size_t bytes);
  void Release();

  std::uint8_t* data_ = nullptr;
  std::size_t bytes_ = 0;
  std::size_t mapped_ = 0;  // the length of a large block's mapping; 0 for a small block
};

// The storage bytes of a width × height buffer of `bitCount` bits per pixel, the width rounded up
// to a multiple of 4 as every buffer does (a negative side counts as 0).
std::uint64_t DibBytes(long long width, long long height, int bitCount);

// The sizing rule of every buffer: the header first reads 0 × 0, the width is rounded up to a
// multiple of 4, sizes outside 4 … 30000 and memory exhaustion are refused (false, the storage
// kept), otherwise the storage is resized and the whole header rewritten for `bitCount`.
bool AllocDib(BitmapInfoHeader& header, DibStorage& storage, int width, int height, int bitCount);

// Clips a rectangle to a width × height buffer as the fill operations do; false when nothing
// of it remains.
bool ClipFillRect(int& x, int& y, int& w, int& h, int bufferWidth, int bufferHeight);

// The one-pixel line of the buffers: incremental with a floating-point error term, the start
// point drawn and the end point not; `plot` receives every (x, y) along it, inside or not.
template <typename Plot>
void WalkPlainLine(int x1, int y1, int x2, int y2, Plot&& plot) {
  int dx = x2 > x1 ? x2 - x1 : x1 - x2;
  int dy = y2 > y1 ? y2 - y1 : y1 - y2;
  int sx = x2 < x1 ? -1 : 1;
  int sy = y2 < y1 ? -1 : 1;
  double e = 0.0;
  int x = x1;
  int y = y1;
  if (dx >= dy) {
    double slope = dx == 0 ? 0.0 : static_cast<double>(dy) / dx;
    for (int n = 0; n < dx; ++n) {
      plot(x, y);
      x += sx;
      e += slope;
      if (e >= 1.0) {
        y += sy;
        e -= 1.0;
      }
    }
  } else {
    double slope = static_cast<double>(dx) / dy;
    for (int n = 0; n < dy; ++n) {
      plot(x, y);
      y += sy;
      e += slope;
      if (e >= 1.0) {
        x += sx;
        e -= 1.0;
      }
    }
  }
}

}  // namespace mirasketch
