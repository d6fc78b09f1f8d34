#pragma once

#include <QImage>
#include <QRect>
#include <Qt>

namespace mirasketch {

class CDibTrue;

// A rectangle of a picture (top-left origin, clipped to the picture) as a top-down image; null for
// an empty picture or rectangle.
QImage ImageFromDib(const CDibTrue& picture, const QRect& area);
// The top-left width × height of a picture as an image (clamped to the picture).
QImage ImageFromDib(const CDibTrue& picture, int width, int height);
// Sizes `target` to (image width + extraColumns) × (image height + extraRows), white, with the
// image at its top-left (transparent parts of the image white too); false when it cannot be sized.
bool DibFromImage(const QImage& image, CDibTrue& target, int extraColumns, int extraRows);

// The button number the core's pointer handlers take: 1 left, 2 right, 0 middle, −1 for any
// other button.
int CoreButton(Qt::MouseButton button);
// The modifier bits the core's handlers take: Shift 1, Alt 2, Ctrl 4. The key of a key event is
// counted as held when it is a modifier key itself.
int CoreShiftState(Qt::KeyboardModifiers modifiers, int key = Qt::Key_unknown);

}  // namespace mirasketch
