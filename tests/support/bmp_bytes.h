#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirasketch::test {

// Describes a BMP file to build in memory for reader tests; the fields are written as given,
// so malformed files are as easy to make as good ones.
struct BmpSpec {
  int width = 4;
  int height = 4;
  int bitCount = 8;
  int planes = 1;
  int paletteEntries = -1;  // -1: what the bit count implies (256, 16 or 0)
  // Pixel rows as stored (bottom-up, each padded to 4 bytes); empty: a ramp of row-major bytes.
  std::vector<std::uint8_t> rows;
  // Information header size: 40, 52, 56, 108 or 124, or 12 for the OS/2 core header with 16-bit
  // sizes and 3-byte colour entries.
  int headerBytes = 40;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  // Channel masks, written at file offset 54: after a 40-byte header, inside a longer one.
  std::vector<std::uint32_t> masks;
  // Bytes of 0xEE between the colour table and the rows; the pixel offset points past them.
  std::size_t gapBytes = 0;
};

// The 14-byte file header, the information header, any masks, the colour table (entry i is
// blue = i, green = 255 − i, red = i / 2), the gap and the rows.
std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec);

// The bytes of one 8-bit block as old project files hold it.
std::vector<std::uint8_t> MakeBlock8(int width, int height, int compression,
                                     const std::vector<std::uint8_t>& data, int magic = 0x5D05,
                                     int version = 200);

// A format-100 project file with a 256 × 256 canvas whose `layers` layers each declare
// width × height but hold only a few bytes of run-length pixel and mask code.
std::vector<std::uint8_t> MakeSparseKvl(int layers, int width, int height);

}  // namespace mirasketch::test
