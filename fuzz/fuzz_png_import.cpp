// Feeds arbitrary bytes to the PNG picture decoder.

#include <cstddef>
#include <cstdint>

#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "project/png_codec.h"

// A picture may rightly be up to 30000 × 30000, which is then allocated and decoded in full; that
// is working as intended but too large for a fuzzing loop. The decoder is told that only 36 MB
// are free, which it must then refuse to exceed.
constexpr std::int64_t kFuzzMemory = 36 << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirasketch::InFile file(data, size, "fuzz.png");
  mirasketch::CDibTrue picture;
  int width = 0;
  int height = 0;
  try {
    if (mirasketch::DecodePng(file, picture, width, height, kFuzzMemory) ==
        mirasketch::ImportResult::kOk) {
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
