#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/font_engine.h"

namespace mirasketch {

class CDibTrue;

// Reads the character starting at or after `pos` in the UTF-8 `text` into `code` and moves `pos`
// past it. A byte that cannot start or continue a well-formed sequence (a stray continuation byte,
// an overlong, surrogate, out-of-range or truncated sequence) is passed over without a character.
// False once the end is reached.
bool NextCodePoint(const std::string& text, std::size_t& pos, char32_t& code);

// Draws text into a true-colour picture glyph by glyph through a font engine. The pen's y is the
// top of the line: the baseline lies the font height below it.
class GlyphCanvas {
 public:
  // The largest glyph bitmap drawn, in bytes; larger glyphs are refused.
  static constexpr std::size_t kGlyphBufferSize = 512;

  // Draws with `engine`'s selected font from now on and takes its height.
  void SetGlyphCanvas(FontEngine& engine);

  // Draws the glyph of `code` in `colour` with the pen at (px, py), pixels outside the picture
  // skipped, and moves the pen by the glyph's advance. False (nothing drawn, the pen kept) when
  // there is no engine, no glyph, or its bitmap does not fit the glyph buffer.
  bool DrawGlyph(CDibTrue& dib, int& px, int& py, int colour, char32_t code);
  // Draws the UTF-8 `text` from the pen at (px, py). Stops at the first character that cannot be
  // drawn and returns false; the characters before it stay drawn. False without drawing when no
  // engine is set.
  bool DrawString(CDibTrue& dib, int px, int py, int colour, const std::string& text);

 private:
  FontEngine* engine_ = nullptr;
  std::int64_t fontHeight_ = 0;
  std::uint8_t glyph_[kGlyphBufferSize] = {};
};

}  // namespace mirasketch
