// Feeds arbitrary bytes to the 8-bit BMP plane reader.

#include <cstddef>
#include <cstdint>
#include <string>

#include "buffers/dib256.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "platform/message_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  mirasketch::SilentMessages messages;
  mirasketch::InFile file(data, size, "fuzz.bmp");
  mirasketch::CDib256 plane;
  try {
    if (plane.LoadFromBmpFile(file, messages)) {
      // Touch every byte the reader claims to have filled.
      volatile std::uint8_t sum = 0;
      const std::size_t bytes = static_cast<std::size_t>(plane.Width()) * plane.Height();
      for (std::size_t i = 0; i < bytes; ++i) sum = sum + plane.Bits()[i];
    }
  } catch (const mirasketch::IoError&) {
    // A read failure is reported to the user; it is not a fault of the reader.
  }
  return 0;
}
