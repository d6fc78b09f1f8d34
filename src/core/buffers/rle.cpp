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

namespace {

// Walks the records; with a null `out` it only measures. Returns the result and, through
// `written`, the number of output bytes the records produce.
Run24Result WalkRun24(const std::uint8_t* in, std::size_t length, std::uint8_t* out,
                      std::size_t outSize, std::size_t& written) {
  std::size_t pos = 0;
  written = 0;
  while (pos < length) {
    const std::uint8_t tag = in[pos];
    std::size_t recordBytes = 0;
    std::size_t produced = 0;
    switch (tag) {
      case 0:
        return Run24Result::kDecoded;
      case 1:
        if (pos + 1 >= length) return Run24Result::kFailed;
        produced = 3 * static_cast<std::size_t>(in[pos + 1]);
        recordBytes = 2 + produced;
        break;
      case 2:
        if (pos + 1 >= length) return Run24Result::kFailed;
        produced = 3 * static_cast<std::size_t>(in[pos + 1]);
        recordBytes = 5;
        break;
      case 3:
        produced = 6;
        recordBytes = 4;
        break;
      default:
        return Run24Result::kFailed;
    }
    // A record must lie wholly inside the data, and the terminating 0 after it as well.
    if (pos + recordBytes >= length) return Run24Result::kFailed;
    if (produced > outSize - written) return Run24Result::kOverflow;
    if (out != nullptr) {
      std::uint8_t* o = out + written;
      const std::uint8_t* p = in + pos;
      if (tag == 1) {
        std::memcpy(o, p + 2, produced);
      } else {
        const std::uint8_t* colour = tag == 2 ? p + 2 : p + 1;
        for (std::size_t n = 0; n < produced; n += 3) {
          o[n] = colour[0];
          o[n + 1] = colour[1];
          o[n + 2] = colour[2];
        }
      }
    }
    written += produced;
    pos += recordBytes;
  }
  return Run24Result::kFailed;
}

}  // namespace

Run24Result DecodeRun24(const std::uint8_t* in, std::size_t length, std::uint8_t* out,
                        std::size_t outSize) {
  std::size_t written = 0;
  const Run24Result check = WalkRun24(in, length, nullptr, outSize, written);
  if (check != Run24Result::kDecoded) return check;
  return WalkRun24(in, length, out, outSize, written);
}

}  // namespace mirasketch
