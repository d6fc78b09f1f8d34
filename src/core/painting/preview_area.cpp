#include "painting/preview_area.h"

#include <algorithm>

namespace mirasketch {

void PreviewArea::Reset(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  columns_ = (width_ + kTile - 1) / kTile;
  rows_ = (height_ + kTile - 1) / kTile;
  marks_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
}

}  // namespace mirasketch
