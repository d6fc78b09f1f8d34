#pragma once

#include <array>

#include "stamp_canvas.h"

namespace mirasketch::brushes {

// The brush grid shows eight stamps to a row and four rows to a page. Each function below draws
// one row; the sheet holds them in this order, top row first.
inline constexpr int kStampsPerRow = 8;
inline constexpr int kStampRows = 16;
inline constexpr int kStampCount = kStampsPerRow * kStampRows;
using StampRow = std::array<Stamp, kStampsPerRow>;

// First index of each row. The pen and the eraser sizes are fixed by the program; the rest is
// grouped by what an illustrator reaches for together.
enum StampIndex : int {
  kSinglePixel = 0,      // the one-pixel pen
  kFirstEraser = 1,      // 1 … 6: solid squares of side 2, 4, … 12
  kSolidDot = 7,         // a 3 × 3 solid square
  kFirstHardDisc = 8,    // hard round discs, growing
  kFirstSoftRound = 16,  // soft round brushes, growing
  kFirstSpray = 24,      // air-brush sprays
  kFirstFlatNib = 32,    // broad flat nibs at eight angles
  kFirstPenNib = 40,     // thin calligraphy nibs at eight angles
  kFirstOvalNib = 48,    // hard oval nibs at eight angles
  kFirstSoftFlat = 56,   // soft flat brushes at eight angles
  kFirstChalk = 64,
  kFirstCharcoal = 72,
  kFirstBristle = 80,
  kFirstGrain = 88,  // canvas, paper, sponge and hatching
  kFirstDotted = 96,
  kFirstStar = 104,
  kFirstNature = 112,  // leaves, grass, flowers, snow
  kFirstOutline = 120,
};

// Page 1: pens and round brushes.
StampRow PenAndEraserRow();
StampRow HardDiscRow();
StampRow SoftRoundRow();
StampRow SprayRow();
// Page 2: nibs. The eight columns are 0°, 22.5°, … 157.5° counter-clockwise from horizontal.
StampRow FlatNibRow();
StampRow CalligraphyNibRow();
StampRow OvalNibRow();
StampRow SoftFlatRow();
// Page 3: dry media and textures.
StampRow ChalkRow();
StampRow CharcoalRow();
StampRow BristleRow();
StampRow GrainRow();
// Page 4: patterns and shapes.
StampRow DottedRow();
StampRow StarRow();
StampRow NatureRow();
StampRow OutlineRow();

// Diameters of the hard discs, in order; odd ones are centred on pixel (8, 8), even ones on the
// corner above and left of it.
inline constexpr std::array<int, kStampsPerRow> kHardDiscDiameters = {3, 4, 6, 7, 9, 11, 13, 15};

}  // namespace mirasketch::brushes
