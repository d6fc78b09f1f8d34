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
    while (plane.LoadFromStream(file)) {
      volatile std::uint8_t sum = 0;
      const std::size_t bytes = static_cast<std::size_t>(plane.Width()) * plane.Height();
      for (std::size_t i = 0; i < bytes; ++i) sum = sum + plane.Bits()[i];
    }
  } catch (const mirasketch::IoError&) {
  }
  return 0;
}
