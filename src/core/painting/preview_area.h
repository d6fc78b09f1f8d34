#pragma once

#include <cstdint>
#include <vector>

namespace mirasketch {

// The parts of a layer a figure preview has drawn on, kept as a grid of 64 × 64 tiles, so the
// next preview has to put back only those parts instead of the whole layer.
class PreviewArea {
 public:
  static constexpr int kTile = 64;

  // Forgets every mark and fits the grid to a layer of width × height pixels.
  void Reset(int width, int height);
  // Marks the tiles that meet the pixel rectangle x0 … x1, y0 … y1 (inclusive; clipped).
  void Mark(int x0, int y0, int x1, int y1) {
    if (x1 < 0 || y1 < 0 || x0 >= width_ || y0 >= height_ || x0 > x1 || y0 > y1) return;
    const int c0 = x0 < 0 ? 0 : x0 / kTile;
    const int c1 = (x1 >= width_ ? width_ - 1 : x1) / kTile;
    const int r0 = y0 < 0 ? 0 : y0 / kTile;
    const int r1 = (y1 >= height_ ? height_ - 1 : y1) / kTile;
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) marks_[static_cast<std::size_t>(r * columns_ + c)] = 1;
  }
  // Calls op(x, y, width, height) for each run of marked tiles along a tile row, clipped to the
  // layer, and clears the marks.
  template <typename Op>
  void TakeRuns(Op&& op) {
    for (int r = 0; r < rows_; ++r) {
      std::uint8_t* row = marks_.data() + static_cast<std::size_t>(r) * columns_;
      for (int c = 0; c < columns_;) {
        if (row[c] == 0) {
          ++c;
          continue;
        }
        const int first = c;
        while (c < columns_ && row[c] != 0) row[c++] = 0;
        const int x = first * kTile;
        const int y = r * kTile;
        const int right = c * kTile < width_ ? c * kTile : width_;
        const int bottom = y + kTile < height_ ? y + kTile : height_;
        op(x, y, right - x, bottom - y);
      }
    }
  }

 private:
  int width_ = 0;
  int height_ = 0;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::uint8_t> marks_;
};

}  // namespace mirasketch
