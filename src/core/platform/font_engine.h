#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace mirasketch {

// A glyph's black box and cell advance in pixels.
struct GlyphMetrics {
  unsigned width = 0, height = 0;  // the black box
  int originX = 0, originY = 0;    // the black box's top-left from the pen; originY upwards from
                                   // the baseline
  int advanceX = 0, advanceY = 0;  // the cell advance (16-bit range)
};

// Renders text for the transform window's text mode. The core only draws through this interface;
// the font library behind it lives outside the core.
class FontEngine {
 public:
  virtual ~FontEngine() = default;

  // Chooses the font for the calls that follow; false (the previous font kept) when nothing fits.
  virtual bool SelectFont(const FontChoice& font) = 0;
  // The distance in pixels from the top of a line (the pen's y) down to the baseline in the
  // selected font; callers use its magnitude.
  virtual int FontHeight() const = 0;
  // The glyph of Unicode code point `code` as a monochrome bitmap: rows top first, each row
  // starting on a 4-byte boundary ((width + 31) / 32 * 4 bytes), most significant bit leftmost,
  // written into buffer[0, size). False when there is no glyph or the bitmap would not fit in
  // `size` bytes.
  virtual bool Glyph(char32_t code, std::uint8_t* buffer, std::size_t size,
                     GlyphMetrics& metrics) = 0;
  // The size of `text` (UTF-8) in the selected font as the program lays it out: the width is the
  // sum of the advances, the height the font's line height.
  virtual void MeasureText(const std::string& text, int& width, int& height) = 0;
};

}  // namespace mirasketch
