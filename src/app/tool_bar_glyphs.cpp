#include "tool_bar_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace mirasketch {

namespace {

const QColor kOutline(40, 40, 40);

void DrawNew(QPainter& p) {
  // A sheet with its top-right corner folded down.
  QPolygon sheet;
  sheet << QPoint(3, 1) << QPoint(10, 1) << QPoint(13, 4) << QPoint(13, 14) << QPoint(3, 14);
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawPolygon(sheet);
  QPolygon fold;
  fold << QPoint(10, 1) << QPoint(10, 4) << QPoint(13, 4);
  p.setBrush(QColor(200, 200, 200));
  p.drawPolygon(fold);
}

void DrawOpen(QPainter& p) {
  // A folder: the back with its tab, and the front flap tilted open.
  p.setPen(kOutline);
  p.setBrush(QColor(214, 170, 60));
  QPolygon back;
  back << QPoint(1, 3) << QPoint(6, 3) << QPoint(7, 5) << QPoint(13, 5) << QPoint(13, 13)
       << QPoint(1, 13);
  p.drawPolygon(back);
  p.setBrush(QColor(250, 212, 100));
  QPolygon front;
  front << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 13) << QPoint(1, 13);
  p.drawPolygon(front);
}

void DrawSave(QPainter& p) {
  // A floppy disk: body, metal shutter and label.
  p.setPen(kOutline);
  p.setBrush(QColor(50, 80, 160));
  p.drawRect(1, 1, 13, 13);
  p.setBrush(QColor(210, 210, 215));
  p.drawRect(4, 1, 7, 5);
  p.fillRect(8, 2, 2, 3, kOutline);
  p.setBrush(Qt::white);
  p.drawRect(3, 8, 9, 6);
  p.setPen(QColor(150, 150, 150));
  p.drawLine(5, 10, 10, 10);
  p.drawLine(5, 12, 10, 12);
}

void DrawPaint(QPainter& p) {
  // A brush: a wooden handle, the ferrule and a painted tip, drawn diagonally.
  p.setPen(QPen(QColor(150, 90, 40), 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(13, 2, 8, 7);
  p.setPen(QPen(QColor(160, 160, 170), 3, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(8, 7, 6, 9);
  p.setPen(kOutline);
  p.setBrush(QColor(220, 40, 40));
  QPainterPath tip;
  tip.moveTo(7, 9);
  tip.cubicTo(6, 12, 4, 13, 1, 15);
  tip.cubicTo(3, 12, 3, 10, 5, 8);
  tip.closeSubpath();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.drawPath(tip);
}

void DrawColour(QPainter& p) {
  // Three colour dots: red, green and blue.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(kOutline);
  p.setBrush(QColor(230, 40, 40));
  p.drawEllipse(QRectF(4.5, 0.5, 7, 7));
  p.setBrush(QColor(40, 180, 60));
  p.drawEllipse(QRectF(0.5, 7.5, 7, 7));
  p.setBrush(QColor(50, 90, 230));
  p.drawEllipse(QRectF(8.5, 7.5, 7, 7));
}

void DrawPosition(QPainter& p) {
  // A crosshair inside a frame.
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawRect(1, 1, 13, 13);
  p.setPen(QColor(200, 30, 30));
  p.drawLine(8, 3, 8, 13);
  p.drawLine(3, 8, 13, 8);
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(5, 5, 6, 6);
}

void DrawOption(QPainter& p) {
  // Three sliders with their knobs at different places.
  p.setPen(kOutline);
  for (int i = 0; i < 3; ++i) p.drawLine(1, 3 + i * 5, 14, 3 + i * 5);
  p.setBrush(QColor(90, 140, 220));
  const int knob[3] = {9, 3, 7};
  for (int i = 0; i < 3; ++i) p.drawRect(knob[i], 1 + i * 5, 3, 4);
}

void DrawLayer(QPainter& p) {
  // Three stacked sheets seen at an angle.
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor fills[3] = {QColor(120, 160, 230), QColor(150, 200, 150), QColor(250, 230, 140)};
  for (int i = 0; i < 3; ++i) {
    const double y = 10.5 - i * 4;
    QPolygonF sheet;
    sheet << QPointF(8, y - 3) << QPointF(15, y) << QPointF(8, y + 3) << QPointF(1, y);
    p.setPen(kOutline);
    p.setBrush(fills[i]);
    p.drawPolygon(sheet);
  }
}

}  // namespace

QImage ToolBarGlyphImage(int index) {
  if (index < 0 || index > 7) return {};
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  switch (index) {
    case 0:
      DrawNew(p);
      break;
    case 1:
      DrawOpen(p);
      break;
    case 2:
      DrawSave(p);
      break;
    case 3:
      DrawPaint(p);
      break;
    case 4:
      DrawColour(p);
      break;
    case 5:
      DrawPosition(p);
      break;
    case 6:
      DrawOption(p);
      break;
    case 7:
      DrawLayer(p);
      break;
  }
  return image;
}

QIcon ToolBarGlyph(int index) {
  const QImage image = ToolBarGlyphImage(index);
  if (image.isNull()) return {};
  return QIcon(QPixmap::fromImage(image));
}

}  // namespace mirasketch
