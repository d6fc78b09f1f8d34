#pragma once

#include <cstddef>
#include <cstdint>

namespace mirasketch {

// The 40-byte information header of a Windows device-independent bitmap (BITMAPINFOHEADER).
struct BitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// One colour-table entry, in file and memory order.
struct RgbQuad {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
};
static_assert(sizeof(RgbQuad) == 4);

// Size limits shared by every pixel buffer; widths are always a multiple of 4.
inline constexpr int kMinDibSide = 4;
inline constexpr int kMaxDibSide = 30000;

// The width a buffer really gets for a requested width: the next multiple of 4.
constexpr long long RoundDibWidth(long long width) {
  return (width + 3) / 4 * 4;
}

// Whether a rounded width and a height lie within the buffer limits.
constexpr bool DibSizeAllowed(long long width, long long height) {
  return width >= kMinDibSide && height >= kMinDibSide && width <= kMaxDibSide &&
         height <= kMaxDibSide;
}

// Little-endian field access for the file formats.
inline std::uint16_t ReadLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t ReadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline void WriteLe16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void WriteLe32(std::uint8_t* p, std::uint32_t v) {
  WriteLe16(p, v);
  WriteLe16(p + 2, v >> 16);
}

// The header in its 40 little-endian file bytes, and back.
void EncodeInfoHeader(const BitmapInfoHeader& header, std::uint8_t out[40]);
BitmapInfoHeader DecodeInfoHeader(const std::uint8_t in[40]);

}  // namespace mirasketch
