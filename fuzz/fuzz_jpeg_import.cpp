// Feeds arbitrary bytes to the JPEG picture decoder.

#include <cstddef>
#include <cstdint>

#include "picture_decoder_fuzzing.h"
#include "project/jpeg_codec.h"

// A frame may rightly be up to 30000 × 30000, which is then allocated and decoded in full; that is
// working as intended but too large for a fuzzing loop. The decoder is told that only 36 MB are
// free, which it must then refuse to exceed: 4 Mpixels with the coefficients of a progressive
// file of three full-resolution components.
constexpr std::int64_t kFuzzMemory = 36 << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureDecoder(data, size, "fuzz.jpg", kFuzzMemory, mirasketch::DecodeJpeg);
}
