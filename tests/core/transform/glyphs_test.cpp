#include "transform/glyphs.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <vector>

#include "buffers/dib_true.h"

namespace mirasketch::test {
namespace {

constexpr int kBlack = 0x000000;
constexpr int kInk = 0x0000FF;

// A glyph of the fake font: its bitmap as rows of '#' (set) and '.' (clear), or only a size when
// `rows` is empty (a bitmap of that size without ink).
struct FakeGlyph {
  std::vector<std::string> rows;
  GlyphMetrics metrics;
};

// A font engine with a fixed table of glyphs. It records every code point asked for and packs the
// bitmaps as the interface lays them out. `honest` off, it reports the box even when the bitmap
// did not fit, as a faulty engine might.
class FakeFontEngine : public FontEngine {
 public:
  bool SelectFont(const FontChoice&) override { return true; }
  int FontHeight() const override { return fontHeight; }
  bool Glyph(char32_t code, std::uint8_t* buffer, std::size_t size,
             GlyphMetrics& metrics) override {
    requests.push_back(code);
    const auto found = glyphs.find(code);
    if (found == glyphs.end()) return false;
    metrics = found->second.metrics;
    const std::size_t rowBytes = (metrics.width + 31) / 32 * 4;
    if (rowBytes * metrics.height > size) return !honest;
    std::fill(buffer, buffer + rowBytes * metrics.height, 0);
    const auto& rows = found->second.rows;
    for (std::size_t r = 0; r < rows.size(); ++r)
      for (std::size_t c = 0; c < rows[r].size(); ++c)
        if (rows[r][c] == '#') buffer[r * rowBytes + c / 8] |= 0x80 >> c % 8;
    return true;
  }
  void MeasureText(const std::string&, int& width, int& height) override { width = height = 0; }

  int fontHeight = -10;  // the magnitude counts
  bool honest = true;
  std::map<char32_t, FakeGlyph> glyphs;
  std::vector<char32_t> requests;
};

GlyphMetrics Metrics(unsigned w, unsigned h, int ox, int oy, int ax, int ay = 0) {
  return {w, h, ox, oy, ax, ay};
}

class GlyphsTest : public ::testing::Test {
 protected:
  GlyphsTest() {
    dib.Alloc(64, 32);
    // 'A': a 2 × 2 block on the baseline; U+6587: a 3 × 3 frame, twice as wide a cell.
    engine.glyphs['A'] = {{"##", "##"}, Metrics(2, 2, 0, 2, 4)};
    engine.glyphs[U'文'] = {{"###", "#.#", "###"}, Metrics(3, 3, 1, 3, 8)};
    engine.glyphs[' '] = {{}, Metrics(0, 0, 0, 0, 5, 1)};
    canvas.SetGlyphCanvas(engine);
  }
  // The w × h rectangle at (x, y) as rows of '#' (ink) and ' '.
  std::vector<std::string> Picture(int x, int y, int w, int h) const {
    std::vector<std::string> rows(h, std::string(w, ' '));
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c)
        if (dib.GetPixel(x + c, y + r) != kBlack) rows[r][c] = '#';
    return rows;
  }
  int InkCount() const {
    int n = 0;
    for (int y = 0; y < dib.Height(); ++y)
      for (int x = 0; x < dib.Width(); ++x) n += dib.GetPixel(x, y) != kBlack;
    return n;
  }

  CDibTrue dib;
  FakeFontEngine engine;
  GlyphCanvas canvas;
};

using Rows = std::vector<std::string>;

TEST_F(GlyphsTest, ASpaceDrawsNothingButMovesThePen) {
  int px = 3, py = 4;
  EXPECT_TRUE(canvas.DrawGlyph(dib, px, py, kInk, ' '));
  EXPECT_EQ(px, 8);
  EXPECT_EQ(py, 5);
  EXPECT_EQ(InkCount(), 0);
}

TEST_F(GlyphsTest, AWideCharacterIsAskedForOnceAndAdvancesByItsOwnCell) {
  EXPECT_TRUE(canvas.DrawString(dib, 0, 0, kInk, "A文A"));
  EXPECT_EQ(engine.requests, (std::vector<char32_t>{U'A', U'文', U'A'}));
  // Baseline at y = 10; the frame starts at x = 4 + 1, the second A at 4 + 8.
  EXPECT_EQ(Picture(0, 7, 15, 3), (Rows{"     ###       ",  //
                                        "##   # #    ## ",  //
                                        "##   ###    ## "}));
  EXPECT_EQ(InkCount(), 16);
}

TEST_F(GlyphsTest, AGlyphTooLargeForTheBufferStopsTheStringAfterTheCharactersBefore) {
  engine.glyphs['W'] = {{}, Metrics(40, 65, 0, 0, 4)};  // 8 bytes a row: 520 bytes
  EXPECT_FALSE(canvas.DrawString(dib, 0, 0, kInk, "AWA"));
  EXPECT_EQ(engine.requests, (std::vector<char32_t>{U'A', U'W'}));
  EXPECT_EQ(Picture(0, 8, 6, 2), (Rows{"##    ", "##    "}));
  EXPECT_EQ(InkCount(), 4);

  // An engine that reports such a box as drawn is not read past the buffer either.
  engine.honest = false;
  engine.glyphs['W'].metrics = Metrics(4000, 4000, 0, 0, 4);
  int px = 0, py = 0;
  EXPECT_FALSE(canvas.DrawGlyph(dib, px, py, kInk, 'W'));
  EXPECT_EQ(px, 0);
  EXPECT_EQ(InkCount(), 4);
}

TEST_F(GlyphsTest, BrokenUtf8BytesAreSkipped) {
  // A stray continuation byte, an overlong '/', an encoded surrogate, a code point past U+10FFFF,
  // a lead byte cut short by an ASCII letter, and a sequence truncated by the end.
  const std::string text =
      "\x80"
      "A\xC0\xAF"
      "\xED\xA0\x80"
      "\xF4\x90\x80\x80"
      "\xE6\x96"
      "A\xE6\x96\x87\xE6\x96";
  EXPECT_TRUE(canvas.DrawString(dib, 0, 0, kInk, text));
  EXPECT_EQ(engine.requests, (std::vector<char32_t>{U'A', U'A', U'文'}));
}

TEST_F(GlyphsTest, BitsAreLaidOutFromTheMostSignificantAndHangFromTheBaseline) {
  // 10 columns span two bytes of a 4-byte row; bits 0, 7, 8 and 9 set, then 1 and 8. The pen at
  // (20, 5), origin (-3, 4) with font height 10: the top row at y = 5 + 10 − 4 = 11, x from 17.
  engine.glyphs['b'] = {{"#......###", ".#......#."}, Metrics(10, 2, -3, 4, 12)};
  int px = 20, py = 5;
  EXPECT_TRUE(canvas.DrawGlyph(dib, px, py, kInk, 'b'));
  EXPECT_EQ(Picture(17, 11, 10, 2), (Rows{"#      ###", " #      # "}));
  EXPECT_EQ(InkCount(), 6);
  EXPECT_EQ(px, 32);

  // Past the left and bottom edges the rest of the glyph is still drawn.
  dib.FillRect(0, 0, 64, 32, kBlack);
  px = -4;
  py = 25;  // rows 31 and 32, columns from -7
  EXPECT_TRUE(canvas.DrawGlyph(dib, px, py, kInk, 'b'));
  EXPECT_EQ(Picture(0, 31, 4, 1), (Rows{"### "}));
  EXPECT_EQ(InkCount(), 3);
}

TEST_F(GlyphsTest, AFarPenOrOriginDoesNotWrapIntoThePicture) {
  engine.glyphs['f'] = {{"####"}, Metrics(4, 1, INT_MAX, 0, 30000)};
  int px = INT_MAX - 1, py = 0;
  EXPECT_TRUE(canvas.DrawGlyph(dib, px, py, kInk, 'f'));
  EXPECT_EQ(px, INT_MAX);  // the pen stops at the end of the range
  EXPECT_EQ(InkCount(), 0);
}

TEST(GlyphCanvasWithoutEngine, DrawsNothing) {
  CDibTrue dib;
  dib.Alloc(8, 8);
  GlyphCanvas canvas;
  int px = 0, py = 0;
  EXPECT_FALSE(canvas.DrawString(dib, 0, 0, kInk, "A"));
  EXPECT_FALSE(canvas.DrawGlyph(dib, px, py, kInk, 'A'));
  EXPECT_EQ(dib.GetPixel(0, 0), kBlack);
}

}  // namespace
}  // namespace mirasketch::test
