#pragma once

#include <QIcon>
#include <QImage>

namespace mirasketch {

// The tool panel's 20 × 20 glyphs (shown on 24 × 24 buttons), by tool code (tkPen, tkErase …
// tkPenki). A code without a button gives a null image.
QImage ToolGlyphImage(int toolCode);
QIcon ToolGlyph(int toolCode);

// The mask window's tool buttons, by mask tool (dropper, pen, box, region fill); null for others.
QIcon MaskToolGlyph(int maskTool);

// The colour window's palette switch: a small grid of colour swatches, 16 × 16.
QImage PaletteGlyphImage();
QIcon PaletteGlyph();

}  // namespace mirasketch
