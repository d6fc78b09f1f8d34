#pragma once

#include <array>
#include <cstdint>

namespace mirasketch {

// What the mask tools need from the windows around them: the mask window's colour-range table,
// dropper width and strength bar, the canvas window's display, and the mask effects' centre.
// The Studio implements it.
class MaskLinks {
 public:
  virtual ~MaskLinks() = default;

  // Mask window: the colour-range table (bit 0 red, bit 1 green, bit 2 blue of each value), told
  // when it changed; the dropper width; the strength bar moved to a value with its change event.
  virtual std::array<std::uint8_t, 256>& ColourRange() = 0;
  virtual void ColourRangeChanged() = 0;
  virtual int DropperWidth() const = 0;
  virtual void SetStrengthBar(int value) = 0;
  // Canvas window: what it shows (1 the picture, 2 the active mask), and a repaint with the
  // mask shown once.
  virtual void SetDisplayMode(int mode) = 0;
  virtual void RedrawCanvasWithMode(int mode) = 0;
  // Mask effects: the gradation or light effect's centre moves by (dx, dy); their window is
  // shown.
  virtual void MoveEffectCentre(int dx, int dy) = 0;
  virtual void ShowMaskEffectWindow() = 0;
};

}  // namespace mirasketch
