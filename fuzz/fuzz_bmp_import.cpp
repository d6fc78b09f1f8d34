// Feeds arbitrary bytes to the BMP picture decoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "buffers/dib_format.h"
#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "project/bmp_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A header may rightly ask for a picture of up to 30000 × 30000, which run-length codes fill
  // from a few bytes; that is working as intended but too large for a fuzzing loop. The sizes are
  // read as the decoder reads them: 16-bit in the 12-byte OS/2 header, signed 32-bit otherwise.
  if (size >= 26) {
    const bool core = mirasketch::ReadLe32(data + 14) == 12;
    const long long w = core ? mirasketch::ReadLe16(data + 18)
                             : static_cast<std::int32_t>(mirasketch::ReadLe32(data + 18));
    const long long h = core ? mirasketch::ReadLe16(data + 20)
                             : static_cast<std::int32_t>(mirasketch::ReadLe32(data + 22));
    if (std::llabs(w) * std::llabs(h) > 1 << 22) return 0;
  }
  mirasketch::InFile file(data, size, "fuzz.bmp");
  mirasketch::CDibTrue picture;
  int width = 0;
  int height = 0;
  try {
    if (mirasketch::DecodeBmp(file, picture, width, height) == mirasketch::ImportResult::kOk) {
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
