#include "qt_convert.h"

#include <QPainter>
#include <cstring>

#include "buffers/dib_true.h"
#include "painting/canvas_window.h"

namespace mirasketch {

QImage ImageFromDib(const CDibTrue& picture, const QRect& area) {
  const QRect part = area & QRect(0, 0, picture.Width(), picture.Height());
  if (part.isEmpty() || picture.Bits() == nullptr) return {};
  QImage image(part.width(), part.height(), QImage::Format_BGR888);
  if (image.isNull()) return {};
  // The picture is bottom-up with blue, green, red bytes and no row padding.
  const std::size_t rowBytes = static_cast<std::size_t>(picture.Width()) * 3;
  const std::uint8_t* first = picture.Bits() + static_cast<std::size_t>(part.x()) * 3;
  for (int y = 0; y < part.height(); ++y) {
    const std::size_t row = static_cast<std::size_t>(picture.Height() - 1 - (part.y() + y));
    std::memcpy(image.scanLine(y), first + row * rowBytes,
                static_cast<std::size_t>(part.width()) * 3);
  }
  return image;
}

QImage ImageFromDib(const CDibTrue& picture, int width, int height) {
  return ImageFromDib(picture, QRect(0, 0, std::max(width, 0), std::max(height, 0)));
}

bool DibFromImage(const QImage& image, CDibTrue& target, int extraColumns, int extraRows) {
  if (image.isNull()) return false;
  const int width = image.width();
  const int height = image.height();
  if (!target.Alloc(width + extraColumns, height + extraRows)) return false;
  target.FillRect(0, 0, target.Width(), target.Height(), 0xFFFFFF);
  // Laid over white, so transparent parts come out white like the uncovered margin.
  QImage opaque(width, height, QImage::Format_BGR888);
  if (opaque.isNull()) return false;
  opaque.fill(Qt::white);
  {
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(target.Width()) * 3;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row =
        target.Bits() + static_cast<std::size_t>(target.Height() - 1 - y) * rowBytes;
    std::memcpy(row, opaque.constScanLine(y), static_cast<std::size_t>(width) * 3);
  }
  return true;
}

int CoreButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return 1;
    case Qt::RightButton:
      return 2;
    case Qt::MiddleButton:
      return 0;
    default:
      return -1;
  }
}

int CoreShiftState(Qt::KeyboardModifiers modifiers, int key) {
  int state = 0;
  if ((modifiers & Qt::ShiftModifier) || key == Qt::Key_Shift) state |= kShiftKey;
  if ((modifiers & Qt::AltModifier) || key == Qt::Key_Alt) state |= kAltKey;
  if ((modifiers & Qt::ControlModifier) || key == Qt::Key_Control) state |= kCtrlKey;
  return state;
}

}  // namespace mirasketch
