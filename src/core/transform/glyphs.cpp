#include "transform/glyphs.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "buffers/dib_true.h"

namespace mirasketch {

namespace {

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF) {
  return byte >= low && byte <= high;
}

// The pen may be moved past the range of an int by a long string or a far origin; it stops at the
// range's end instead of wrapping back into the picture.
int ClampToInt(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace

bool NextCodePoint(const std::string& text, std::size_t& pos, char32_t& code) {
  const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  while (pos < text.size()) {
    const unsigned char lead = at(pos);
    if (lead < 0x80) {
      code = lead;
      ++pos;
      return true;
    }
    // The length, the lead's payload and the range of the first continuation byte, which rules out
    // overlong forms, surrogates and code points past U+10FFFF.
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      value = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      value = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    }
    bool valid = length != 0 && text.size() - pos >= length;
    for (std::size_t i = 1; valid && i < length; ++i) {
      valid = i == 1 ? IsContinuation(at(pos + i), low, high) : IsContinuation(at(pos + i));
      value = value << 6 | (at(pos + i) & 0x3F);
    }
    if (valid) {
      code = value;
      pos += length;
      return true;
    }
    ++pos;  // not the start of a character: the bytes after it are looked at afresh
  }
  return false;
}

void GlyphCanvas::SetGlyphCanvas(FontEngine& engine) {
  engine_ = &engine;
  fontHeight_ = std::abs(static_cast<std::int64_t>(engine.FontHeight()));
}

bool GlyphCanvas::DrawGlyph(CDibTrue& dib, int& px, int& py, int colour, char32_t code) {
  if (engine_ == nullptr) return false;
  GlyphMetrics m;
  if (!engine_->Glyph(code, glyph_, sizeof glyph_, m)) return false;
  const std::size_t rowBytes = (static_cast<std::size_t>(m.width) + 31) / 32 * 4;
  // The engine promises to refuse a bitmap over the buffer; a box reported past it is refused
  // here too rather than read beyond the buffer.
  if (m.height != 0 && rowBytes > sizeof glyph_ / m.height) return false;

  // 64-bit positions: a far pen or origin lands outside the picture instead of wrapping into it.
  const std::int64_t left = static_cast<std::int64_t>(px) + m.originX;
  const std::int64_t top = static_cast<std::int64_t>(py) + fontHeight_ - m.originY;
  const std::int64_t width = dib.Width(), height = dib.Height();
  // An empty box (a space) has no rows to look at, however tall it is said to be.
  for (unsigned r = 0; m.width != 0 && r < m.height; ++r) {
    const std::int64_t y = top + r;
    if (y < 0 || y >= height) continue;
    const std::uint8_t* row = glyph_ + r * rowBytes;
    // Only the black box's columns: the padding bits at the end of a row are not part of it.
    for (unsigned column = 0; column < m.width; ++column) {
      if ((row[column / 8] & (0x80 >> column % 8)) == 0) continue;
      const std::int64_t x = left + column;
      if (x >= 0 && x < width) dib.SetPixel(static_cast<int>(x), static_cast<int>(y), colour);
    }
  }
  px = ClampToInt(static_cast<std::int64_t>(px) + m.advanceX);
  py = ClampToInt(static_cast<std::int64_t>(py) + m.advanceY);
  return true;
}

bool GlyphCanvas::DrawString(CDibTrue& dib, int px, int py, int colour, const std::string& text) {
  if (engine_ == nullptr) return false;
  std::size_t pos = 0;
  char32_t code = 0;
  while (NextCodePoint(text, pos, code))
    if (!DrawGlyph(dib, px, py, colour, code)) return false;
  return true;
}

}  // namespace mirasketch
