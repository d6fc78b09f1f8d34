#include "painting/undo_tiles.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "buffers/dib_true.h"

namespace mirasketch {

void UndoTiles::SetShift(int shift) {
  shift_ = shift;
  Reset(gridWidth_, gridHeight_);
}

void UndoTiles::Reset(int width, int height) {
  for (Slot& s : slots_) s = Slot{};
  gridWidth_ = std::max(width, 0);
  gridHeight_ = std::max(height, 0);
  tilesX_ = (gridWidth_ + Side() - 1) >> shift_;
  tilesY_ = (gridHeight_ + Side() - 1) >> shift_;
}

void UndoTiles::Clear(int slot) {
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  if (s.index)
    for (const std::uint32_t tile : s.numbers) s.index.get()[tile] = 0;
  s.tiles.clear();
  s.numbers.clear();
}

template <typename RowOp>
void UndoTiles::ForEachRow(int tile, const CDibTrue& layer, std::uint8_t* copy, RowOp&& op) const {
  const int x0 = (tile % tilesX_) << shift_;
  const int y0 = (tile / tilesX_) << shift_;
  const int x1 = std::min(x0 + Side(), layer.Width());
  const int y1 = std::min(y0 + Side(), layer.Height());
  if (x0 >= x1 || y0 >= y1 || layer.Bits() == nullptr) return;
  const std::size_t bytes = static_cast<std::size_t>(x1 - x0) * 3;
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(layer.Width()) * 3;
  std::uint8_t* row = layer.Bits() + layer.PixelOffset(x0, y0);
  for (int y = y0; y < y1; ++y, row -= stride, copy += static_cast<std::ptrdiff_t>(Side()) * 3)
    op(row, copy, bytes);
}

bool UndoTiles::Reserve(Slot& s) {
  if (!s.index) {
    const auto count = static_cast<std::size_t>(tilesX_) * static_cast<std::size_t>(tilesY_);
    s.index.reset(static_cast<std::uint32_t*>(std::calloc(count, sizeof(std::uint32_t))));
    if (!s.index) return false;
  }
  try {
    s.tiles.reserve(s.tiles.size() + 1);
    s.numbers.reserve(s.numbers.size() + 1);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void UndoTiles::Add(Slot& s, int tile, std::unique_ptr<std::uint8_t[]> copy) {
  s.tiles.push_back(std::move(copy));
  s.numbers.push_back(static_cast<std::uint32_t>(tile));
  s.index.get()[tile] = static_cast<std::uint32_t>(s.tiles.size());
}

bool UndoTiles::Save(int slot, int tile, const CDibTrue& layer, const std::uint8_t* source) {
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  std::unique_ptr<std::uint8_t[]> copy(new (std::nothrow) std::uint8_t[TileBytes()]);
  if (!copy || !Reserve(s)) return false;
  if (source != nullptr)
    std::memcpy(copy.get(), source, TileBytes());
  else
    ForEachRow(tile, layer, copy.get(),
               [](const std::uint8_t* row, std::uint8_t* out, std::size_t bytes) {
                 std::memcpy(out, row, bytes);
               });
  Add(s, tile, std::move(copy));
  return true;
}

bool UndoTiles::Move(int to, int from, int tile) {
  Slot& target = slots_[static_cast<std::size_t>(to)];
  Slot& source = slots_[static_cast<std::size_t>(from)];
  if (!Reserve(target)) return false;
  std::uint32_t& k = source.index.get()[tile];
  Add(target, tile, std::move(source.tiles[k - 1]));
  k = 0;
  return true;
}

void UndoTiles::Swap(int slot, CDibTrue& layer) {
  const Slot& s = slots_[static_cast<std::size_t>(slot)];
  for (std::size_t i = 0; i < s.numbers.size(); ++i)
    if (s.tiles[i])
      ForEachRow(static_cast<int>(s.numbers[i]), layer, s.tiles[i].get(),
                 [](std::uint8_t* row, std::uint8_t* copy, std::size_t bytes) {
                   std::swap_ranges(row, row + bytes, copy);
                 });
}

void UndoTiles::CopyOut(const std::uint8_t* copy, int tile, CDibTrue& layer, int x0, int y0, int x1,
                        int y1) const {
  const int tx = (tile % tilesX_) << shift_;
  const int ty = (tile / tilesX_) << shift_;
  x0 = std::max(x0, tx);
  y0 = std::max(y0, ty);
  x1 = std::min({x1, tx + Side() - 1, layer.Width() - 1});
  y1 = std::min({y1, ty + Side() - 1, layer.Height() - 1});
  if (x0 > x1 || y0 > y1 || layer.Bits() == nullptr) return;
  const std::size_t bytes = static_cast<std::size_t>(x1 - x0 + 1) * 3;
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(layer.Width()) * 3;
  const std::ptrdiff_t copyStride = static_cast<std::ptrdiff_t>(Side()) * 3;
  const std::uint8_t* from = copy + static_cast<std::ptrdiff_t>(y0 - ty) * copyStride +
                             static_cast<std::ptrdiff_t>(x0 - tx) * 3;
  std::uint8_t* to = layer.Bits() + layer.PixelOffset(x0, y0);
  for (int y = y0; y <= y1; ++y, from += copyStride, to -= stride) std::memcpy(to, from, bytes);
}

std::size_t UndoTiles::Bytes() const {
  std::size_t bytes = 0;
  for (const Slot& s : slots_)
    for (const auto& copy : s.tiles) bytes += copy ? TileBytes() : 0;
  return bytes;
}

}  // namespace mirasketch
