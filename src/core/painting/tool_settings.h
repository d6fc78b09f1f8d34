#pragma once

#include <cstdint>

namespace mirasketch {

// Tool codes; each is the Tag of its tool-panel button.
enum ToolKind : int {
  tkPen = 1,
  tkErase = 2,
  tkPenLine = 4,
  tkMask = 7,
  tkSelect = 8,
  tkBox = 16,
  tkCircle = 17,
  tkLine = 32,
  tkOresen = 33,
  tkRuler = 34,
  tkBrush = 48,
  tkAirBrush = 49,
  tkAverageBrush = 50,
  tkBrushBig = 51,
  tkPenki = 64,
  tkLayerMove = 127,
};

// Tool event codes.
enum ToolEvent : int {
  teActivate = 1,
  teDeactivate = 2,
  teDown = 4,
  teMove = 5,
  teUp = 6,
  teRefresh = 128,
  teUndone = 129,
};

// The current tool and every tool option, with their start values. Stamp indices are 0 … 127;
// transparencies 0 (opaque) … 255 (no paint).
struct ToolSettings {
  std::int16_t currentTool = tkPen;
  std::uint32_t drawColor = 0;  // 0x00BBGGRR
  std::int32_t transparency = 0;
  bool transparencyOff = false;
  bool maskEnabled = false;
  bool shiftConstrain = false;

  std::int32_t penBrush = 0, penTransparency = 0;
  std::int32_t rightButtonMode = 0;  // 0 pick colour, 1 switch pen/eraser, 2 erase
  std::int32_t eraseSize = 2;        // 1 … 6, also the eraser's stamp index
  std::uint32_t eraseColor = 0xFFFFFF;

  std::int32_t shapeBrush = 0, shapeTransparency = 0;
  bool shapeCenter = false, shapeFill = false;

  std::int32_t brushBrush = 0, brushTransparency = 0;
  bool brushInterpolate = true;
  std::int32_t airBrush = 0, airTransparency = 0;
  bool airInterpolate = false;
  std::int32_t averageBrush = 8, averageTransparency = 0;
  std::int32_t averageMode = 0;  // 0 plain blur, 1 the drawing colour counts as a sample
  bool averageDrag = true;
  std::int32_t bigBrushMode = 0;  // 0 big round brush, 1 undo brush
  std::int32_t bigBrushTransparency = 0;
  std::int32_t bigBrushRadius = 10, undoBrushRadius = 4;

  std::int32_t fillRange = 1, fillTransparency = 0;
  std::int32_t contBrush = 0, contTransparency = 0, contMode = 0;
  std::int32_t rulerBrush = 0, rulerTransparency = 0, rulerKind = 1;
  float rulerScale = 1.0f;
  bool rulerInvert = false;
  std::int32_t penLineBrush = 0, penLineTransparency = 0;
  bool penLineSpline = true, penLineNoLook = false;
  std::int32_t penLineInterval = 7;
};

}  // namespace mirasketch
