#pragma once

#include <cstddef>
#include <cstdint>

#include "buffers/dib_true.h"
#include "platform/files.h"
#include "platform/io_error.h"
#include "project/bmp_import.h"

// The run shared by the picture-decoder targets: `decode` reads arbitrary bytes as file `name`
// within `memory` bytes, and every byte it claims to have filled is touched.
template <typename Decode>
int FuzzPictureDecoder(const std::uint8_t* data, std::size_t size, const char* name,
                       std::int64_t memory, Decode decode) {
  mirasketch::InFile file(data, size, name);
  mirasketch::CDibTrue picture;
  int width = 0;
  int height = 0;
  try {
    if (decode(file, picture, width, height, memory) == mirasketch::ImportResult::kOk) {
      volatile std::uint8_t sum = 0;
      const std::size_t bytes = 3ULL * picture.Width() * picture.Height();
      for (std::size_t i = 0; i < bytes; ++i) sum = sum + picture.Bits()[i];
    }
  } catch (const mirasketch::IoError&) {
    // A read failure is reported to the user; it is not a fault of the decoder.
  }
  return 0;
}
