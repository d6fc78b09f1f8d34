#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/font_engine.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace mirasketch {

// The font engine of the program on Linux: fontconfig finds the font file for a family, weight,
// slant and pixel size, FreeType renders its glyphs in monochrome. A bold or italic request that
// the matched file has no face for is synthesised (emboldened or slanted outlines).
//
// The pen's y is the top of the line: FontHeight is the font's ascender at the selected pixel
// size, rounded up, so a glyph's top row lies FontHeight − originY below the pen and everything
// above the baseline that the font reserves room for stays below the pen. The line height is the
// ascender plus the descender, both rounded up, so a line drawn from the pen fits in that height.
class FreeTypeFontEngine : public FontEngine {
 public:
  FreeTypeFontEngine();
  ~FreeTypeFontEngine() override;
  FreeTypeFontEngine(const FreeTypeFontEngine&) = delete;
  FreeTypeFontEngine& operator=(const FreeTypeFontEngine&) = delete;

  bool SelectFont(const FontChoice& font) override;
  int FontHeight() const override { return ascender_; }
  bool Glyph(char32_t code, std::uint8_t* buffer, std::size_t size, GlyphMetrics& metrics) override;
  void MeasureText(const std::string& text, int& width, int& height) override;

  // The family of the font file selected ("" before any), for telling which font was matched.
  const std::string& SelectedFamily() const { return family_; }

 private:
  // Loads the outline (or embedded bitmap) of the glyph `index` into the face's slot, synthesised
  // bold or slanted as selected. False when FreeType fails.
  bool LoadGlyph(unsigned index);

  FT_LibraryRec_* library_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
  std::string family_;
  bool embolden_ = false;
  bool oblique_ = false;
  int ascender_ = 0;
  int lineHeight_ = 0;
};

}  // namespace mirasketch
