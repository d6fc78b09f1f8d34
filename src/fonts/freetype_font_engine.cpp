#include "freetype_font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstring>
#include <limits>

#include "transform/glyphs.h"

namespace mirasketch {

namespace {

// The program's default fonts are the Windows Japanese Gothic faces; the IPA Gothic fonts are their
// metric-compatible stand-ins here. fontconfig is not relied on to know these aliases.
struct FamilyAlias {
  const char* name;
  const char* replacement;
};
constexpr FamilyAlias kFamilyAliases[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"},
    {"MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},
    {"MS Gothic", "IPAGothic"},
};

std::string FamilyFor(const std::string& requested) {
  for (const FamilyAlias& alias : kFamilyAliases)
    if (requested == alias.name) return alias.replacement;
  return requested;
}

// Pixel sizes past this give advances outside the 16-bit range the metrics carry.
constexpr int kLargestPixelHeight = 16384;

int ClampTo16Bits(long value) {
  return static_cast<int>(std::clamp<long>(value, std::numeric_limits<std::int16_t>::min(),
                                           std::numeric_limits<std::int16_t>::max()));
}

// 26.6 fixed point to whole pixels, rounded up.
int CeilPixels(long value) {
  return static_cast<int>((value + 63) >> 6);
}

// Where fontconfig found the best font for a request.
struct MatchedFont {
  std::string file;
  std::string family;
  int index = 0;
  bool embolden = false;
  bool oblique = false;
};

bool MatchFont(const FontChoice& font, MatchedFont& matched) {
  // The pattern is built from its parts rather than parsed from a name, so a family containing
  // the name syntax's separators (':', '-', ',') is still looked up as written.
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return false;
  const std::string family = FamilyFor(font.family);
  if (!family.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, font.pixelHeight);
  FcPatternAddInteger(pattern, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;

  FcChar8* file = nullptr;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (found) {
    matched.file = reinterpret_cast<const char*>(file);
    FcChar8* name = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
      matched.family = reinterpret_cast<const char*>(name);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &matched.index) != FcResultMatch) matched.index = 0;
    // fontconfig's own rules ask for emboldening when a bold request got a lighter face; the
    // weight is checked too in case those rules are not installed.
    FcBool embolden = FcFalse;
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    matched.embolden = embolden == FcTrue || (font.bold && weight < FC_WEIGHT_DEMIBOLD);
    matched.oblique = font.italic && slant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  return found;
}

// Copies a rendered bitmap into rows of whole 32-bit words, most significant bit leftmost, the
// padding cleared. Grey bitmaps (embolden turns an embedded monochrome bitmap into one) are
// thresholded at half coverage.
void CopyBitmap(const FT_Bitmap& bitmap, std::uint8_t* buffer, std::size_t rowBytes) {
  const int pitch = bitmap.pitch;
  // A negative pitch runs bottom-up: the top row lies last in memory.
  const unsigned char* source =
      pitch >= 0 ? bitmap.buffer
                 : bitmap.buffer + static_cast<std::ptrdiff_t>(bitmap.rows - 1) * -pitch;
  for (unsigned r = 0; r < bitmap.rows; ++r, source += pitch) {
    std::uint8_t* row = buffer + r * rowBytes;
    std::memset(row, 0, rowBytes);
    for (unsigned x = 0; x < bitmap.width; ++x) {
      const bool set = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (source[x / 8] & (0x80 >> x % 8))
                                                               : source[x] >= 128;
      if (set) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> x % 8);
    }
  }
}

}  // namespace

FreeTypeFontEngine::FreeTypeFontEngine() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) == 0) library_ = library;
}

FreeTypeFontEngine::~FreeTypeFontEngine() {
  // fontconfig's configuration is shared with the rest of the process (the toolkit uses it), so
  // only what this engine opened is released.
  if (face_ != nullptr) FT_Done_Face(face_);
  if (library_ != nullptr) FT_Done_FreeType(library_);
}

bool FreeTypeFontEngine::SelectFont(const FontChoice& font) {
  if (library_ == nullptr || font.pixelHeight < 1 || font.pixelHeight > kLargestPixelHeight)
    return false;
  MatchedFont matched;
  if (!MatchFont(font, matched)) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(library_, matched.file.c_str(), matched.index, &face) != 0) return false;
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 ||
      FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(font.pixelHeight)) != 0) {
    FT_Done_Face(face);
    return false;
  }
  if (face_ != nullptr) FT_Done_Face(face_);
  face_ = face;
  family_ = matched.family;
  embolden_ = matched.embolden;
  oblique_ = matched.oblique;
  ascender_ = CeilPixels(face->size->metrics.ascender);
  lineHeight_ = ascender_ + CeilPixels(-face->size->metrics.descender);
  return true;
}

bool FreeTypeFontEngine::LoadGlyph(unsigned index) {
  if (FT_Load_Glyph(face_, index, FT_LOAD_TARGET_MONO) != 0) return false;
  if (oblique_) FT_GlyphSlot_Oblique(face_->glyph);
  if (embolden_) FT_GlyphSlot_Embolden(face_->glyph);
  return true;
}

bool FreeTypeFontEngine::Glyph(char32_t code, std::uint8_t* buffer, std::size_t size,
                               GlyphMetrics& metrics) {
  if (face_ == nullptr) return false;
  const FT_UInt index = FT_Get_Char_Index(face_, code);
  if (index == 0 || !LoadGlyph(index)) return false;
  FT_GlyphSlot slot = face_->glyph;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
    return false;
  const FT_Bitmap& bitmap = slot->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY)
    return false;
  const std::size_t rowBytes = (static_cast<std::size_t>(bitmap.width) + 31) / 32 * 4;
  if (rowBytes * bitmap.rows > size) return false;
  CopyBitmap(bitmap, buffer, rowBytes);
  metrics.width = bitmap.width;
  metrics.height = bitmap.rows;
  metrics.originX = slot->bitmap_left;
  metrics.originY = slot->bitmap_top;
  metrics.advanceX = ClampTo16Bits(slot->advance.x >> 6);
  // FreeType's y grows upwards, the pen's downwards.
  metrics.advanceY = ClampTo16Bits(-(slot->advance.y >> 6));
  return true;
}

void FreeTypeFontEngine::MeasureText(const std::string& text, int& width, int& height) {
  width = height = 0;
  if (face_ == nullptr) return;
  // Laid out as the glyph canvas draws it: the same characters, the same whole-pixel advances.
  long sum = 0;
  std::size_t pos = 0;
  char32_t code = 0;
  while (NextCodePoint(text, pos, code)) {
    const FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index != 0 && LoadGlyph(index)) sum += ClampTo16Bits(face_->glyph->advance.x >> 6);
  }
  width = static_cast<int>(std::clamp<long>(sum, 0, std::numeric_limits<int>::max()));
  height = lineHeight_;
}

}  // namespace mirasketch
