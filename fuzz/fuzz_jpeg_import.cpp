// Feeds arbitrary bytes to the JPEG picture decoder.

#include <cstddef>
#include <cstdint>

#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "project/jpeg_codec.h"

namespace {

// Whether any frame header in the data (a marker 0xFFC0 … 0xFFCF other than the table and
// arithmetic-conditioning markers C4, C8 and CC) gives more than `limit` pixels. The decoder can
// only learn the size from such bytes, so looking at every position misses none.
bool AsksForMoreThan(const std::uint8_t* data, std::size_t size, long long limit) {
  for (std::size_t i = 0; i + 9 <= size; ++i) {
    const std::uint8_t m = data[i + 1];
    if (data[i] != 0xFF || (m & 0xF0) != 0xC0 || m == 0xC4 || m == 0xC8 || m == 0xCC) continue;
    const long long h = data[i + 5] << 8 | data[i + 6];
    const long long w = data[i + 7] << 8 | data[i + 8];
    if (w * h > limit) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A frame may rightly be up to 30000 × 30000, which is then allocated and decoded in full; that
  // is working as intended but too large for a fuzzing loop.
  if (AsksForMoreThan(data, size, 1 << 22)) return 0;
  mirasketch::InFile file(data, size, "fuzz.jpg");
  mirasketch::CDibTrue picture;
  int width = 0;
  int height = 0;
  try {
    if (mirasketch::DecodeJpeg(file, picture, width, height) == mirasketch::ImportResult::kOk) {
      // Touch every byte the decoder claims to have filled.
      volatile std::uint8_t sum = 0;
      const std::size_t bytes = 3ULL * picture.Width() * picture.Height();
      for (std::size_t i = 0; i < bytes; ++i) sum = sum + picture.Bits()[i];
    }
  } catch (const mirasketch::IoError&) {
    // A read failure is reported to the user; it is not a fault of the decoder.
  }
  return 0;
}
