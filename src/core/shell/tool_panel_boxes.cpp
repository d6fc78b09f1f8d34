// The tool panel's three paint boxes: the brush strip, the brush grid of the brush and air brush,
// and the eraser's size and colour chooser.
#include <algorithm>
#include <string>

#include "painting/tool_engine.h"
#include "platform/platform.h"
#include "shell/tool_panel.h"

namespace mirasketch {

namespace {

constexpr int kFrameColour = MakeColour(64, 255, 64);
constexpr int kWhite = 0xFFFFFF;
constexpr int kPanelFace = 0xF0F0F0;
constexpr int kSizeDown = MakeColour(0, 128, 0);
constexpr int kSizeUp = 0xE0E0E0;

}  // namespace

void TfrmC::pbxABrushMouseDown(int x, int) {
  selectedBrush = controls.Position("trkABrush") * 8 + std::clamp(x, 0, 127) / 16;
  Changed();
}

void TfrmC::pbxBrushMouseDown(int x, int y) {
  x = std::clamp(x, 0, 127);
  if (y > 11) {
    selectedBrush = std::min((y - 12) / 16, 3) * 8 + x / 16 + brushPageStart;
    if (tools_.settings.currentTool == tkBrush)
      tools_.settings.brushBrush = selectedBrush;
    else
      tools_.settings.airBrush = selectedBrush;
  } else {
    brushPageStart = x / 32 * 32;
  }
  Changed();
}

void TfrmC::pbxEraserMouseDown(int x, int y) {
  ToolSettings& s = tools_.settings;
  if (x >= 96 && x < 116 && y >= 1 && y < 15) {
    if (const auto colour = platform_.ChooseColour(static_cast<int>(s.eraseColor)))
      s.eraseColor = static_cast<std::uint32_t>(*colour) & 0xFFFFFF;
  } else if (x >= 4 && x < 124 && y >= 16 && y < 36) {
    s.eraseSize = (x - 4) / 20 + 1;
    if (s.rightButtonMode == 1) SelectTool(tkErase);
  }
  Changed();
}

void TfrmC::DrawSheetBand(PaintBox& box, int top, int sheetRow, int rows) const {
  const CDib256& sheet = tools_.brushImage;
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < 128; ++x) {
      const int value = sheet.GetPixel(x, sheetRow + r);
      int colour = kWhite;
      if (value >= 0) {
        const RgbQuad& entry = sheet.palette[value];
        colour = MakeColour(entry.red, entry.green, entry.blue);
      }
      box.image.SetPixel(x, top + r, colour);
    }
  }
}

const PaintBox& TfrmC::pbxABrushPaint() {
  strip_.Begin(128, 16);
  const int row = controls.Position("trkABrush");
  DrawSheetBand(strip_, 0, row * 16, 16);
  if (selectedBrush >= row * 8 && selectedBrush < row * 8 + 8) {
    const int left = selectedBrush % 8 * 16;
    strip_.Frame(left, 0, left + 16, 16, kFrameColour);
  }
  return strip_;
}

const PaintBox& TfrmC::pbxBrushPaint() {
  grid_.Begin(128, 76);
  const int page = brushPageStart / 32;
  grid_.PageTabs(4, page, 32, 12, 12, 1);
  DrawSheetBand(grid_, 12, page * 64, 64);
  const int onPage = selectedBrush - brushPageStart;
  if (onPage >= 0 && onPage < 32) {
    const int left = onPage % 8 * 16;
    const int top = onPage / 8 * 16 + 12;
    grid_.Frame(left, top, left + 16, top + 16, kFrameColour);
  }
  return grid_;
}

const PaintBox& TfrmC::pbxEraserPaint() {
  const ToolSettings& s = tools_.settings;
  eraser_.Begin(128, 38);
  eraser_.Fill(0, 0, 128, 38, kPanelFace);
  eraser_.Text(4, 4, "消しゴム");
  eraser_.Fill(96, 1, 116, 15, kWhite);
  eraser_.Text(100, 3, "色");
  const int erase = static_cast<int>(s.eraseColor & 0xFFFFFF);
  for (int i = 0; i < 6; ++i) {
    eraser_.Fill(4 + 20 * i, 16, 24 + 20 * i, 36, i + 1 == s.eraseSize ? kSizeDown : kSizeUp);
    eraser_.Fill(13 + 19 * i, 26 - i, 15 + 21 * i, 28 + i, erase);
  }
  return eraser_;
}

}  // namespace mirasketch
