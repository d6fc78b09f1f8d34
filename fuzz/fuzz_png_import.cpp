// Feeds arbitrary bytes to the PNG picture decoder.

#include <cstddef>
#include <cstdint>

#include "picture_decoder_fuzzing.h"
#include "project/png_codec.h"

// A picture may rightly be up to 30000 × 30000, which is then allocated and decoded in full; that
// is working as intended but too large for a fuzzing loop. The decoder is told that only 36 MB
// are free, which it must then refuse to exceed.
constexpr std::int64_t kFuzzMemory = 36 << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureDecoder(data, size, "fuzz.png", kFuzzMemory, mirasketch::DecodePng);
}
