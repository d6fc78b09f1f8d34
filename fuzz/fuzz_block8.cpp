// Feeds arbitrary bytes to the reader of 8-bit blocks from old project files.

#include <cstddef>
#include <cstdint>

#include "buffers/dib256.h"
#include "platform/files.h"
#include "platform/io_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirasketch::InFile file(data, size, "fuzz.block");
  mirasketch::CDib256 plane;
  try {
    // Blocks follow one another in a project file; read until one is refused.
    // A few input bytes can describe a plane of hundreds of megabytes; touching the first and
    // last byte of every row checks the whole extent without spending the run on one plane.
    while (plane.LoadFromStream(file)) {
      volatile std::uint8_t sum = 0;
      const std::size_t width = static_cast<std::size_t>(plane.Width());
      for (std::size_t row = 0; width > 0 && row < static_cast<std::size_t>(plane.Height()); ++row)
        sum = sum + plane.Bits()[row * width] + plane.Bits()[row * width + width - 1];
    }
  } catch (const mirasketch::IoError&) {
  }
  return 0;
}
