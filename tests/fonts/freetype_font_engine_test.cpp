#include "freetype_font_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "buffers/dib_true.h"
#include "transform/glyphs.h"

namespace mirasketch::test {
namespace {

const FontChoice kDefaultFont{"ＭＳ Ｐゴシック", 16, true, false};
constexpr char kText[] = "文字列";
constexpr char32_t kTextCodes[] = {U'文', U'字', U'列'};

// Set pixels in a glyph bitmap of the interface's layout.
int InkBits(const std::vector<std::uint8_t>& buffer, const GlyphMetrics& m) {
  const std::size_t rowBytes = (m.width + 31) / 32 * 4;
  int n = 0;
  for (unsigned r = 0; r < m.height; ++r)
    for (unsigned x = 0; x < m.width; ++x) n += (buffer[r * rowBytes + x / 8] >> (7 - x % 8)) & 1;
  return n;
}

TEST(FreeTypeFontEngine, TheDefaultFontIsFound) {
  FreeTypeFontEngine engine;
  ASSERT_TRUE(engine.SelectFont(kDefaultFont));
  EXPECT_EQ(engine.SelectedFamily(), "IPAPGothic");
  EXPECT_GT(engine.FontHeight(), 8);
  EXPECT_LE(engine.FontHeight(), 16);
}

TEST(FreeTypeFontEngine, TextMeasuresItsCellsAndEachGlyphFitsTheCanvasBuffer) {
  FreeTypeFontEngine engine;
  ASSERT_TRUE(engine.SelectFont(kDefaultFont));
  int width = 0, height = 0;
  engine.MeasureText(kText, width, height);
  EXPECT_NEAR(width, 3 * 16, 6);
  EXPECT_GE(height, 16);
  EXPECT_LE(height, 20);
  for (char32_t code : kTextCodes) {
    std::vector<std::uint8_t> buffer(GlyphCanvas::kGlyphBufferSize);
    GlyphMetrics m;
    ASSERT_TRUE(engine.Glyph(code, buffer.data(), buffer.size(), m)) << unsigned(code);
    EXPECT_GT(InkBits(buffer, m), 20);
  }
}

// With the pen's y at the top of the line, the drawn text lies within the measured box plus a
// small margin; none of it rises above the pen or reaches past the line.
TEST(FreeTypeFontEngine, DrawnTextStaysInsideTheLineBelowThePen) {
  FreeTypeFontEngine engine;
  ASSERT_TRUE(engine.SelectFont(kDefaultFont));
  int width = 0, height = 0;
  engine.MeasureText(kText, width, height);
  CDibTrue dib;
  ASSERT_TRUE(dib.Alloc(100, 60));
  GlyphCanvas canvas;
  canvas.SetGlyphCanvas(engine);
  constexpr int kPenX = 10, kPenY = 20;
  ASSERT_TRUE(canvas.DrawString(dib, kPenX, kPenY, 0xFFFFFF, kText));
  int top = dib.Height(), bottom = -1, left = dib.Width(), right = -1;
  for (int y = 0; y < dib.Height(); ++y)
    for (int x = 0; x < dib.Width(); ++x)
      if (dib.GetPixel(x, y) != 0) {
        top = std::min(top, y), bottom = std::max(bottom, y);
        left = std::min(left, x), right = std::max(right, x);
      }
  ASSERT_GE(bottom, 0);
  EXPECT_GE(top, kPenY);
  EXPECT_LT(bottom, kPenY + height + 6);
  EXPECT_GE(left, kPenX - 2);
  EXPECT_LT(right, kPenX + width + 4);
  EXPECT_GT(bottom - top, 10);  // the characters are whole, not cut at the baseline
}

TEST(FreeTypeFontEngine, ALargeWideGlyphDoesNotFitTheCanvasBuffer) {
  FreeTypeFontEngine engine;
  ASSERT_TRUE(engine.SelectFont({"ＭＳ Ｐゴシック", 200, true, false}));
  std::vector<std::uint8_t> buffer(GlyphCanvas::kGlyphBufferSize);
  GlyphMetrics m;
  EXPECT_FALSE(engine.Glyph(U'文', buffer.data(), buffer.size(), m));
  // Given room, the same glyph renders: it was refused for its size alone.
  buffer.resize(200 * 200);
  ASSERT_TRUE(engine.Glyph(U'文', buffer.data(), buffer.size(), m));
  EXPECT_GT(m.width, 150u);
  EXPECT_GT(m.advanceX, 180);
}

TEST(FreeTypeFontEngine, AnUnknownFamilyRendersInTheBestMatch) {
  FreeTypeFontEngine engine;
  ASSERT_TRUE(engine.SelectFont({"No Such Family: 9-x", 16, false, false}));
  EXPECT_FALSE(engine.SelectedFamily().empty());
  std::vector<std::uint8_t> buffer(GlyphCanvas::kGlyphBufferSize);
  GlyphMetrics m;
  ASSERT_TRUE(engine.Glyph(U'A', buffer.data(), buffer.size(), m));
  EXPECT_GT(InkBits(buffer, m), 10);
  EXPECT_GT(m.advanceX, 4);
}

TEST(FreeTypeFontEngine, ARefusedSizeKeepsTheFontBefore) {
  FreeTypeFontEngine engine;
  EXPECT_FALSE(engine.SelectFont({"IPAGothic", 0, false, false}));  // nothing selected yet
  GlyphMetrics m;
  std::uint8_t buffer[GlyphCanvas::kGlyphBufferSize];
  EXPECT_FALSE(engine.Glyph(U'A', buffer, sizeof buffer, m));

  ASSERT_TRUE(engine.SelectFont(kDefaultFont));
  const int fontHeight = engine.FontHeight();
  EXPECT_FALSE(engine.SelectFont({"IPAGothic", -5, false, false}));
  EXPECT_EQ(engine.FontHeight(), fontHeight);
  EXPECT_EQ(engine.SelectedFamily(), "IPAPGothic");
  EXPECT_TRUE(engine.Glyph(U'A', buffer, sizeof buffer, m));
}

TEST(FreeTypeFontEngine, BoldIsHeavierThanRegular) {
  FreeTypeFontEngine engine;
  std::vector<std::uint8_t> buffer(GlyphCanvas::kGlyphBufferSize);
  GlyphMetrics m;
  ASSERT_TRUE(engine.SelectFont({"IPAPGothic", 16, false, false}));
  ASSERT_TRUE(engine.Glyph(U'文', buffer.data(), buffer.size(), m));
  const int regular = InkBits(buffer, m);
  ASSERT_TRUE(engine.SelectFont({"IPAPGothic", 16, true, false}));
  ASSERT_TRUE(engine.Glyph(U'文', buffer.data(), buffer.size(), m));
  EXPECT_GT(InkBits(buffer, m), regular + regular / 5);
}

}  // namespace
}  // namespace mirasketch::test
