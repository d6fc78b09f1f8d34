#pragma once

#include <QIcon>
#include <QImage>

namespace mirasketch {

// The main tool bar's 16 × 16 glyphs, by image index: 0 new, 1 open, 2 save, 3 paint window,
// 4 colour, 5 position, 6 option, 7 layer. Any other index gives a null image.
QImage ToolBarGlyphImage(int index);
QIcon ToolBarGlyph(int index);

}  // namespace mirasketch
