#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace mirasketch {

class CDibTrue;

// The pixels the undo slots of the canvas window hold, as square tiles of the active layer: a
// slot holds a copy of a tile only once something was about to write into that tile, so a slot
// costs memory in proportion to the area drawn, not to the layer. Tile t covers the layer pixels
// x in [tx · side, (tx + 1) · side), y in [ty · side, (ty + 1) · side) (y from the top), with
// t = ty · TilesX() + tx; a tile's copy holds its rows from the top, `side` × 3 bytes a row, of
// which only the part inside the layer is meaningful.
class UndoTiles {
 public:
  static constexpr int kSlots = 16;
  // 64 × 64 pixels (12 KB a tile): measured against 16 … 256 by bench_undo.
  static constexpr int kDefaultShift = 6;

  explicit UndoTiles(int shift = kDefaultShift) : shift_(shift) {}

  // The side is 1 << shift pixels; every slot is emptied.
  void SetShift(int shift);
  // Lays the grid over a layer of width × height and empties every slot.
  void Reset(int width, int height);
  // Forgets every tile the slot holds.
  void Clear(int slot);

  int Shift() const { return shift_; }
  int Side() const { return 1 << shift_; }
  int GridWidth() const { return gridWidth_; }
  int GridHeight() const { return gridHeight_; }
  int TilesX() const { return tilesX_; }
  int TileAt(int x, int y) const { return (y >> shift_) * tilesX_ + (x >> shift_); }
  std::size_t TileBytes() const { return static_cast<std::size_t>(3) << (2 * shift_); }

  // The slot's copy of the tile, or null when the slot holds none.
  const std::uint8_t* Saved(int slot, int tile) const {
    const Slot& s = slots_[static_cast<std::size_t>(slot)];
    if (!s.index) return nullptr;
    const std::uint32_t k = s.index.get()[tile];
    return k == 0 ? nullptr : s.tiles[k - 1].get();
  }
  // Gives the slot a copy of the tile: from `source` (another copy) or, when it is null, from
  // the part of `layer` inside the tile. False, the slot unchanged, when memory is refused.
  bool Save(int slot, int tile, const CDibTrue& layer, const std::uint8_t* source);
  // Moves the copy of the tile that slot `from` holds to slot `to`, which holds none; false when
  // memory for the bookkeeping is refused.
  bool Move(int to, int from, int tile);
  // Exchanges every tile the slot holds with the layer's pixels (the part inside the layer).
  void Swap(int slot, CDibTrue& layer);
  // Copies the part of `copy` (a copy of tile `tile`) inside x0 … x1, y0 … y1 into the layer.
  void CopyOut(const std::uint8_t* copy, int tile, CDibTrue& layer, int x0, int y0, int x1,
               int y1) const;
  // The bytes the slots' copies take.
  std::size_t Bytes() const;

 private:
  struct FreeDeleter {
    void operator()(std::uint32_t* p) const { std::free(p); }
  };
  struct Slot {
    // Tile number → 1 + the copy's place in `tiles`, 0 when unsaved; made at the first copy, so
    // an unused slot costs nothing (its pages are the system's zero pages until written).
    std::unique_ptr<std::uint32_t, FreeDeleter> index;
    // The copies, in the order saved; a copy moved to another slot leaves an empty place.
    std::vector<std::unique_ptr<std::uint8_t[]>> tiles;
    std::vector<std::uint32_t> numbers;  // the tile numbers saved, to clear the index quickly
  };
  // Calls op(pointer to the layer's row of the tile, pointer to the copy's row, bytes) for each
  // row of the tile inside the layer.
  // Makes room for one more copy in the slot (and its index); false when memory is refused.
  bool Reserve(Slot& s);
  void Add(Slot& s, int tile, std::unique_ptr<std::uint8_t[]> copy);
  template <typename RowOp>
  void ForEachRow(int tile, const CDibTrue& layer, std::uint8_t* copy, RowOp&& op) const;

  int shift_;
  int gridWidth_ = 0;
  int gridHeight_ = 0;
  int tilesX_ = 0;
  int tilesY_ = 0;
  std::array<Slot, kSlots> slots_;
};

}  // namespace mirasketch
