#include "brush_sheet.h"

#include "buffers/bmp_file.h"
#include "buffers/dib_format.h"

namespace mirasketch::brushes {

std::vector<Stamp> MakeBrushStamps() {
  using RowMaker = StampRow (*)();
  static constexpr RowMaker kRows[kStampRows] = {
      PenAndEraserRow, HardDiscRow, SoftRoundRow, SprayRow,    FlatNibRow, CalligraphyNibRow,
      OvalNibRow,      SoftFlatRow, ChalkRow,     CharcoalRow, BristleRow, GrainRow,
      DottedRow,       StarRow,     NatureRow,    OutlineRow,
  };
  std::vector<Stamp> stamps;
  stamps.reserve(kStampCount);
  for (RowMaker make : kRows)
    for (const Stamp& stamp : make()) stamps.push_back(stamp);
  return stamps;
}

std::vector<std::uint8_t> BrushSheetBits(const std::vector<Stamp>& stamps) {
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(kSheetWidth) * kSheetHeight, 255);
  for (std::size_t k = 0; k < stamps.size() && k < kStampCount; ++k) {
    const int left = static_cast<int>(k % kStampsPerRow) * kStampSide;
    const int top = static_cast<int>(k / kStampsPerRow) * kStampSide;
    for (int y = 0; y < kStampSide; ++y) {
      // Sheet row `top + y` counted from the top is stored that many rows from the end.
      const std::size_t stored = static_cast<std::size_t>(kSheetHeight - 1 - (top + y));
      for (int x = 0; x < kStampSide; ++x)
        bits[stored * kSheetWidth + static_cast<std::size_t>(left + x)] = stamps[k].Value(x, y);
    }
  }
  return bits;
}

void WriteBrushSheet(const std::string& fileName) {
  const std::vector<std::uint8_t> bits = BrushSheetBits(MakeBrushStamps());
  BitmapInfoHeader header;
  header.size = 40;
  header.width = kSheetWidth;
  header.height = kSheetHeight;
  header.planes = 1;
  header.bitCount = 8;
  header.compression = 0;
  header.sizeImage = static_cast<std::uint32_t>(bits.size());
  header.clrUsed = 256;
  header.clrImportant = 0;
  RgbQuad palette[256];
  for (int i = 0; i < 256; ++i) {
    const auto grey = static_cast<std::uint8_t>(i);
    palette[i] = RgbQuad{grey, grey, grey, 0};
  }
  WriteBmpFile(fileName, header, palette, 256, bits.data());
}

}  // namespace mirasketch::brushes
