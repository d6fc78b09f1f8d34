#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "buffers/dib_format.h"

namespace mirasketch {

class InFile;
class MessageSink;

// What the plane reader learned from a BMP file's headers, with the file positioned at the first
// pixel row. Every size here has been checked against the file's length.
struct BmpLayout {
  BitmapInfoHeader info{};
  RgbQuad palette[256]{};
  int paletteEntries = 0;      // 256 for 8-bit, 16 for 4-bit, 0 for 24-bit files
  std::uint64_t rowBytes = 0;  // one stored row, rounded up to a multiple of 4
};

// Reads the 14-byte file header (not examined), the 40-byte information header and the colour
// table of an 8-, 4- or 24-bit BMP, and checks that the file holds all its pixel rows.
// Refusals show "This file is not BmpFile. -" or "このビットマップには非対応 -" followed by
// the file name and give nothing.
std::optional<BmpLayout> ReadBmpLayout(InFile& file, MessageSink& messages);

// Writes a bottom-up BMP file: the 14-byte file header, `header` as held, `paletteEntries`
// colour-table entries, then header.sizeImage bytes of `bits`. The target is replaced only when
// every byte was written; failures throw IoError.
void WriteBmpFile(const std::string& fileName, const BitmapInfoHeader& header,
                  const RgbQuad* palette, int paletteEntries, const std::uint8_t* bits);

}  // namespace mirasketch
