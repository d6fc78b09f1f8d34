#include "buffers/dib_storage.h"

#include <cstdlib>
#include <cstring>

namespace mirasketch {

DibStorage::~DibStorage() {
  std::free(data_);
}

bool DibStorage::Resize(std::size_t bytes) {
  if (data_ == nullptr) {
    data_ = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (data_ == nullptr) return false;
    bytes_ = bytes;
    return true;
  }
  if (bytes == bytes_) return true;
  auto* grown = static_cast<std::uint8_t*>(std::realloc(data_, bytes));
  if (grown == nullptr) return false;
  if (bytes > bytes_) std::memset(grown + bytes_, 0, bytes - bytes_);
  data_ = grown;
  bytes_ = bytes;
  return true;
}

std::uint64_t DibBytes(long long width, long long height, int bitCount) {
  if (width < 0 || height < 0) return 0;
  return static_cast<std::uint64_t>(RoundDibWidth(width)) * static_cast<std::uint64_t>(height) *
         static_cast<std::uint64_t>(bitCount / 8);
}

bool AllocDib(BitmapInfoHeader& header, DibStorage& storage, int width, int height, int bitCount) {
  header.width = 0;
  header.height = 0;
  long long w = RoundDibWidth(width);
  if (!DibSizeAllowed(w, height)) return false;
  const auto bytes = static_cast<std::size_t>(DibBytes(w, height, bitCount));
  if (!storage.Resize(bytes)) return false;
  header = BitmapInfoHeader{};
  header.width = static_cast<std::int32_t>(w);
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(bitCount);
  header.sizeImage = static_cast<std::uint32_t>(bytes);
  return true;
}

bool ClipFillRect(int& x, int& y, int& w, int& h, int bufferWidth, int bufferHeight) {
  // Wide arithmetic: callers may pass any int, and the sums must not overflow.
  long long cx = x, cy = y, cw = w, ch = h;
  if (cx < 0) {
    cw += cx;
    cx = 0;
  }
  if (cy < 0) {
    ch += cy;
    cy = 0;
  }
  if (cx + cw >= bufferWidth) cw = bufferWidth - cx;
  if (cy + ch >= bufferHeight) ch = bufferHeight - cy;
  if (cw < 1 || ch < 1 || cx >= bufferWidth || cy >= bufferHeight) return false;
  x = static_cast<int>(cx);
  y = static_cast<int>(cy);
  w = static_cast<int>(cw);
  h = static_cast<int>(ch);
  return true;
}

}  // namespace mirasketch
