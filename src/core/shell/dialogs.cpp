#include "shell/dialogs.h"

#include <algorithm>
#include <cmath>

#include "buffers/dib_true.h"
#include "painting/canvas_window.h"
#include "project/picture_file.h"
#include "project/size_dialog.h"

namespace mirasketch {

void TfrmDlgSetting::FormShow() {
  edtUndoCount = std::to_string(canvas_.undoLevels);
  edtJPGSave = std::to_string(files_.jpegQuality);
}

void TfrmDlgSetting::OKBtnClick() {
  bool wellFormed = false;
  canvas_.SetUndoLevels(ReadLeadingInt(edtUndoCount, wellFormed));
  files_.jpegQuality = std::clamp(ReadLeadingInt(edtJPGSave, wellFormed), 1, 100);
}

namespace {

// A sheet of paper: a filled rectangle with a one-pixel outline.
void Sheet(CDibTrue& p, int x, int y, int w, int h, int fill, int outline) {
  p.FillRect(x, y, w, h, fill);
  p.Line(x, y, x + w - 1, y, outline);
  p.Line(x + w - 1, y, x + w - 1, y + h - 1, outline);
  p.Line(x + w - 1, y + h - 1, x, y + h - 1, outline);
  p.Line(x, y + h - 1, x, y, outline);
}

// A round dot of radius r.
void Dot(CDibTrue& p, double cx, double cy, double r, int colour) {
  for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r) + 1; ++y)
    for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r) + 1; ++x)
      if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r) p.SetPixel(x, y, colour);
}

}  // namespace

void TdlgVer::PaintEmblem(CDibTrue& picture) {
  if (!picture.Alloc(kEmblemWidth, kEmblemHeight)) return;
  picture.FillRect(0, 0, kEmblemWidth, kEmblemHeight, 0xFFFFFF);
  // Colours are 0x00BBGGRR.
  Sheet(picture, 40, 8, 64, 52, 0xF2DDB4, 0x9C7A4A);   // the back layer, pale blue
  Sheet(picture, 26, 22, 64, 52, 0xC8EBD2, 0x5A8C64);  // the middle layer, pale green
  Sheet(picture, 12, 36, 64, 52, 0xFFFFFF, 0x404040);  // the top layer
  // The stroke the pen has drawn: a wave across the top sheet, ending at the nib.
  for (double t = 0; t <= 1.0; t += 0.004)
    Dot(picture, 18 + 50 * t, 70 - 10 * std::sin(t * 6.0) - 8 * t, 1.6, 0x2020D0);
  // The pen from its nib up to the right: a dark barrel and a lighter grip.
  const double nibX = 68, nibY = 70 - 10 * std::sin(6.0) - 8;
  for (double t = 0; t <= 1.0; t += 0.01) {
    const double x = nibX + 36 * t, y = nibY - 50 * t;
    Dot(picture, x, y, 1.0 + 3.0 * std::min(t * 5, 1.0), t < 0.25 ? 0x909090 : 0x303030);
  }
}

}  // namespace mirasketch
