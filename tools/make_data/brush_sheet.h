#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "brush_stamps.h"

namespace mirasketch::brushes {

// The brush sheet "brush.bmp": an 8-bit BMP of 8 × 16 cells of 16 × 16 pixels, stamp k in
// column k mod 8 and row k div 8 counted from the top-left. A byte is the stamp's transparency
// (0 full paint, 255 none); the palette is the grey ramp, so the sheet shows dark stamps on white.
inline constexpr int kSheetWidth = kStampsPerRow * kStampSide;  // 128
inline constexpr int kSheetHeight = kStampRows * kStampSide;    // 256

// Every stamp, in sheet order.
std::vector<Stamp> MakeBrushStamps();

// The sheet's pixel bytes as the BMP stores them: rows bottom-up, 128 bytes each (no padding).
std::vector<std::uint8_t> BrushSheetBits(const std::vector<Stamp>& stamps);

// Draws every stamp and writes the sheet to `fileName`; failures throw IoError and leave an
// existing file as it was.
void WriteBrushSheet(const std::string& fileName);

}  // namespace mirasketch::brushes
