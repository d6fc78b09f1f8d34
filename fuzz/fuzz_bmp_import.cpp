// Feeds arbitrary bytes to the BMP picture decoder.

#include <cstddef>
#include <cstdint>

#include "picture_decoder_fuzzing.h"
#include "project/bmp_import.h"

// A header may rightly ask for a picture of up to 30000 × 30000, which run-length codes fill from
// a few bytes; that is working as intended but too large for a fuzzing loop. The decoder is told
// that only 12 MB are free, which it must then refuse to exceed: pictures up to 4 Mpixels.
constexpr std::int64_t kFuzzMemory = 12 << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureDecoder(data, size, "fuzz.bmp", kFuzzMemory, mirasketch::DecodeBmp);
}
