#include "support/brush_sheet.h"

namespace mirasketch::test {

void SetStamp(CDib256& sheet, int k, const std::function<int(int, int)>& value) {
  const int x0 = k % 8 * 16;
  const int y0 = k / 8 * 16;
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) sheet.SetPixel(x0 + c, y0 + r, value(c, r));
}

void MakeTestBrushSheet(CDib256& sheet) {
  sheet.Alloc(128, 256);
  sheet.FillRect(0, 0, 128, 256, 255);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    sheet.SetPaletteEntry(i, v, v, v);
  }
  SetStamp(sheet, 0, [](int c, int r) { return c == 8 && r == 8 ? 0 : 255; });
  for (int k = 1; k <= 6; ++k) {
    SetStamp(sheet, k, [k](int c, int r) {
      const bool inside = c >= 8 - k && c < 8 + k && r >= 8 - k && r < 8 + k;
      return inside ? 0 : 255;
    });
  }
}

}  // namespace mirasketch::test
