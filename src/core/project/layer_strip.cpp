// The layer window's strip: where its cells lie and how each is painted.
#include <algorithm>
#include <cmath>

#include "buffers/dib_surface.h"
#include "project/layer_project.h"
#include "project/layer_window.h"

namespace mirasketch {

namespace {

constexpr int kGrey = 0xC0C0C0;
constexpr int kActiveStrip = 0xFFFF00;  // cyan
constexpr int kActiveFrame = 0x00FF00;  // green
constexpr int kInactiveStrip = 0x808080;
constexpr int kVisibleDiamond = 0xFF0000;  // blue
constexpr int kHiddenDiamond = 0x000000;
constexpr int kWhite = 0xFFFFFF;
// The cells the strip lays out at most.
constexpr int kMaxCells = 64;

}  // namespace

int TfrmL::CellAt(int x, int y) const {
  const int columns = stripWidth / kCellWidth;
  if (columns == 0 || x < 0 || y < 0 || x >= columns * kCellWidth) return -1;
  return y / kCellHeight * columns + x / kCellWidth;
}

const PaintBox& TfrmL::PaintLayerList() {
  const int width = std::max(stripWidth, 1);
  const int height = std::max(stripHeight, 1);
  strip_.Begin(width, height);
  strip_.Fill(0, 0, strip_.image.Width(), height, kGrey);
  int x = 0;
  int y = 0;
  for (int i = 0; i < kMaxCells; ++i) {
    if (x > width - kCellWidth) {
      strip_.Fill(x, y, width, y + kCellHeight, kGrey);
      x = 0;
      y += kCellHeight;
    }
    if (y > height) break;
    if (i < project_.layerCount)
      PaintLayerCell(x, y, i);
    else
      strip_.Fill(x, y, x + kCellWidth, y + kCellHeight, kGrey);
    x += kCellWidth;
  }
  return strip_;
}

void TfrmL::PaintLayerCell(int x, int y, int index) {
  const CDibTM& layer = project_.Layer(index);
  strip_.Fill(x, y, x + kCellWidth, y + kCellHeight, kGrey);
  // The thumbnail keeps the layer's proportions inside 64 × 48, centred; the scale is single
  // precision, as the cells have always been drawn.
  if (layer.Width() > 0 && layer.Height() > 0) {
    const float scale = std::min(64.0f / static_cast<float>(layer.Width()),
                                 48.0f / static_cast<float>(layer.Height()));
    const int tw = static_cast<int>(std::floor(static_cast<float>(layer.Width()) * scale));
    const int th = static_cast<int>(std::floor(static_cast<float>(layer.Height()) * scale));
    DibSurface surface(strip_.image);
    layer.StretchDraw(surface, x + 8 + (64 - tw) / 2, y + (48 - th) / 2, tw, th, 0, 0,
                      layer.Width(), layer.Height());
  }
  if (index == project_.activeLayer) {
    strip_.Fill(x, y, x + 8, y + kCellHeight, kActiveStrip);
    strip_.Frame(x + 8, y, x + kCellWidth, y + kCellHeight, kActiveFrame);
  } else {
    strip_.Fill(x, y, x + 8, y + kCellHeight, kInactiveStrip);
  }
  // The visibility diamond, corners (x + 5, y), (x + 10, y + 5), (x + 5, y + 10), (x, y + 5).
  const int fill = layer.visible ? kVisibleDiamond : kHiddenDiamond;
  for (int row = 0; row <= 10; ++row) {
    const int half = 5 - std::abs(row - 5);
    strip_.Fill(x + 5 - half, y + row, x + 6 + half, y + row + 1, fill);
  }
  CDibTrue& image = strip_.image;
  image.Line(x + 5, y, x + 10, y + 5, kWhite);
  image.Line(x + 10, y + 5, x + 5, y + 10, kWhite);
  image.Line(x + 5, y + 10, x, y + 5, kWhite);
  image.Line(x, y + 5, x + 5, y, kWhite);
}

}  // namespace mirasketch
