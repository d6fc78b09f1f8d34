#pragma once

#include <array>
#include <cstdint>

namespace mirasketch {

// One of the program's pointer cursors over the canvas: 32 × 32 pixels, each either clear or
// painted black or white, with the pixel that lies on the pointer's point.
struct CanvasCursor {
  static constexpr int kSize = 32;
  // Row y, bit (31 − x): the pixel is painted.
  std::array<std::uint32_t, kSize> mask{};
  // Row y, bit (31 − x): a painted pixel is black (else white).
  std::array<std::uint32_t, kSize> black{};
  int hotX = 0;
  int hotY = 0;

  bool Painted(int x, int y) const { return Bit(mask, x, y); }
  bool Black(int x, int y) const { return Bit(black, x, y); }

 private:
  static bool Bit(const std::array<std::uint32_t, kSize>& rows, int x, int y) {
    return x >= 0 && x < kSize && y >= 0 && y < kSize &&
           (rows[static_cast<std::size_t>(y)] >> (kSize - 1 - x) & 1u) != 0;
  }
};

// The number of cursors the user can choose for the canvas.
inline constexpr int kCanvasCursorCount = 8;

// The program's cursors, drawn by its own code: 0 arrow pointing up-left, 1 pen pointing up-left,
// 2 small triangular arrow pointing up-left, 3 pen pointing down-left, 4 … 7 small pens pointing
// left, down, right and up. Each has its tip on its hot spot.
const std::array<CanvasCursor, kCanvasCursorCount>& CanvasCursors();

}  // namespace mirasketch
