#include "buffers/rle.h"

#include <cstring>

namespace mirasketch {

long long DecodeRun8(const std::uint8_t* in, std::size_t length, std::uint8_t* out,
                     std::size_t outSize) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < outSize && j < length) {
    const std::uint8_t b = in[j];
    out[i] = b;
    if (j + 1 < length && in[j + 1] == b) {
      if (j + 2 >= length) return kRunRefused;
      const std::size_t extra = static_cast<std::size_t>(in[j + 2]) + 1;
      if (extra > outSize - i - 1) return kRunRefused;
      std::memset(out + i + 1, b, extra);
      i += extra;
      j += 2;
    }
    ++i;
    ++j;
  }
  return static_cast<long long>(j);
}

}  // namespace mirasketch
