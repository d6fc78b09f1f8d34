#pragma once

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
};

// The 14-byte file header, the 40-byte information header, the colour table (entry i is
// blue = i, green = 255 − i, red = i / 2) and the rows.
std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec);

// The bytes of one 8-bit block as old project files hold it.
std::vector<std::uint8_t> MakeBlock8(int width, int height, int compression,
                                     const std::vector<std::uint8_t>& data, int magic = 0x5D05,
                                     int version = 200);

}  // namespace mirasketch::test
