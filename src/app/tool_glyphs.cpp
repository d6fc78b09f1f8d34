#include "tool_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include "painting/tool_settings.h"

namespace mirasketch {

namespace {

constexpr int kGlyphSize = 20;
const QColor kOutline(40, 40, 40);
const QColor kInk(20, 20, 120);

void DrawPen(QPainter& p) {
  // A pencil lying from the top right to its point at the bottom left.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(245, 200, 60));
  QPolygonF body;
  body << QPointF(14.5, 1.5) << QPointF(18.5, 5.5) << QPointF(7.5, 16.5) << QPointF(3.5, 12.5);
  p.drawPolygon(body);
  p.setBrush(QColor(240, 205, 160));
  QPolygonF wood;
  wood << QPointF(3.5, 12.5) << QPointF(7.5, 16.5) << QPointF(1.5, 18.5);
  p.drawPolygon(wood);
  p.setBrush(kOutline);
  QPolygonF lead;
  lead << QPointF(1.5, 18.5) << QPointF(2.5, 15.5) << QPointF(4.5, 17.5);
  p.drawPolygon(lead);
  p.setBrush(QColor(230, 120, 140));
  QPolygonF cap;
  cap << QPointF(14.5, 1.5) << QPointF(18.5, 5.5) << QPointF(16.5, 7.5) << QPointF(12.5, 3.5);
  p.drawPolygon(cap);
}

void DrawEraser(QPainter& p) {
  // A rubber block tilted on the page with a paper sleeve, over a rubbed-out streak.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(180, 180, 180), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(2, 18), QPointF(10, 18));
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(250, 250, 250));
  QPolygonF rubber;
  rubber << QPointF(2.5, 12.5) << QPointF(9.5, 5.5) << QPointF(14.5, 10.5) << QPointF(7.5, 17.5);
  p.drawPolygon(rubber);
  p.setBrush(QColor(70, 110, 200));
  QPolygonF sleeve;
  sleeve << QPointF(9.5, 5.5) << QPointF(13.5, 1.5) << QPointF(18.5, 6.5) << QPointF(14.5, 10.5);
  p.drawPolygon(sleeve);
}

void DrawInkingNib(QPainter& p) {
  // A dip pen's nib pointing down to the left, with its slit and breather hole, at the end of
  // the inked stroke it has drawn.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath stroke;
  stroke.moveTo(17, 18.5);
  stroke.cubicTo(12, 19.5, 7, 19, 4.5, 16);
  p.drawPath(stroke);
  p.translate(11.5, 8.5);
  p.rotate(45);
  // Drawn pointing down, then turned.
  QPainterPath nib;
  nib.moveTo(0, 10);
  nib.cubicTo(-2, 6, -5, 2, -5, -2);
  nib.lineTo(-4, -6);
  nib.lineTo(4, -6);
  nib.lineTo(5, -2);
  nib.cubicTo(5, 2, 2, 6, 0, 10);
  nib.closeSubpath();
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(215, 175, 70));
  p.drawPath(nib);
  p.setBrush(QColor(90, 90, 100));
  p.drawRect(QRectF(-4.5, -9, 9, 3.5));
  p.drawLine(QPointF(0, 10), QPointF(0, 0));
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(0, -1), 1.4, 1.4);
}

void DrawSelect(QPainter& p) {
  // The marching-ants frame of a selection.
  p.setPen(QPen(Qt::white, 1));
  p.drawRect(2, 3, 15, 13);
  QPen dashes(kOutline, 1);
  dashes.setDashPattern({2, 2});
  p.setPen(dashes);
  p.drawRect(2, 3, 15, 13);
}

void DrawMask(QPainter& p) {
  // A square whose lower-left half is covered.
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawRect(2, 2, 15, 15);
  QPolygon covered;
  covered << QPoint(2, 2) << QPoint(17, 17) << QPoint(2, 17);
  p.setBrush(QColor(60, 130, 200));
  p.drawPolygon(covered);
}

void DrawBox(QPainter& p) {
  p.setPen(QPen(kOutline, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(3, 4, 14, 12));
}

void DrawEllipse(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOutline, 2));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QRectF(2, 4, 16, 12));
}

void DrawLine(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOutline, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(3, 17), QPointF(17, 3));
}

void DrawPolyline(QPainter& p) {
  // Joined straight pieces with their corner points.
  p.setRenderHint(QPainter::Antialiasing, true);
  const QPointF corners[] = {{2, 16}, {7, 5}, {12, 14}, {17, 4}};
  p.setPen(QPen(kOutline, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(corners, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 40, 40));
  for (const QPointF& corner : corners)
    p.drawRect(QRectF(corner.x() - 1.5, corner.y() - 1.5, 3, 3));
}

void DrawRuler(QPainter& p) {
  // A set square: a right triangle with its inner cut-out and scale marks.
  p.setRenderHint(QPainter::Antialiasing, true);
  QPainterPath square;
  square.moveTo(2.5, 2.5);
  square.lineTo(2.5, 17.5);
  square.lineTo(17.5, 17.5);
  square.closeSubpath();
  QPainterPath hole;
  hole.moveTo(5.5, 9.5);
  hole.lineTo(5.5, 14.5);
  hole.lineTo(10.5, 14.5);
  hole.closeSubpath();
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(120, 200, 220, 200));
  p.drawPath(square.subtracted(hole));
  for (int i = 0; i < 4; ++i) p.drawLine(QPointF(2.5, 5 + 3 * i), QPointF(4, 5 + 3 * i));
}

void DrawBrush(QPainter& p) {
  // A round brush: wooden handle, metal ferrule and a tip loaded with paint.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(150, 90, 40), 3.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(17.5, 2.5), QPointF(11, 9));
  p.setPen(QPen(QColor(160, 160, 170), 4, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(11, 9), QPointF(8.5, 11.5));
  p.setPen(kOutline);
  p.setBrush(QColor(220, 40, 40));
  QPainterPath tip;
  tip.moveTo(10, 12);
  tip.cubicTo(8.5, 15.5, 5.5, 17.5, 1.5, 18.5);
  tip.cubicTo(3, 14.5, 4.5, 11.5, 7.5, 9.5);
  tip.closeSubpath();
  p.drawPath(tip);
}

void DrawAirBrush(QPainter& p) {
  // A spray can with its nozzle, and the dots of its spray.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(kOutline);
  p.setBrush(QColor(70, 150, 90));
  p.drawRoundedRect(QRectF(11.5, 6.5, 7, 12), 1.5, 1.5);
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(13.5, 3.5, 3, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 40, 40));
  const QPointF dots[] = {{9, 4},  {7, 2}, {6, 6},  {4, 3},  {3, 8},  {8, 8},
                          {5, 10}, {2, 5}, {1, 11}, {6, 13}, {3, 14}, {9, 11}};
  for (const QPointF& dot : dots) p.drawEllipse(dot, 0.9, 0.9);
}

void DrawBlurBrush(QPainter& p) {
  // A blob whose edge fades out.
  p.setRenderHint(QPainter::Antialiasing, true);
  QRadialGradient soft(QPointF(10, 10), 9);
  soft.setColorAt(0, QColor(60, 90, 170, 255));
  soft.setColorAt(0.45, QColor(90, 120, 200, 200));
  soft.setColorAt(1, QColor(150, 170, 230, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(soft);
  p.drawEllipse(QPointF(10, 10), 9, 9);
}

void DrawBigBrush(QPainter& p) {
  // A large solid dab.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(200, 60, 60));
  p.drawEllipse(QPointF(10, 10), 8.5, 8.5);
}

void DrawPaintBucket(QPainter& p) {
  // A tipped paint can pouring out a pool of paint.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 110, 220));
  QPainterPath pool;
  pool.moveTo(1.5, 12);
  pool.cubicTo(0.5, 15, 1, 19, 4, 18.5);
  pool.cubicTo(8, 18.5, 12, 18.5, 13, 17);
  pool.lineTo(3, 10);
  pool.closeSubpath();
  p.drawPath(pool);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(210, 210, 215));
  p.save();
  p.translate(11, 9);
  p.rotate(-40);
  p.drawRect(QRectF(-5, -5, 10, 10));
  p.setBrush(QColor(40, 110, 220));
  p.drawEllipse(QRectF(-5, -7, 10, 4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(-4, -10, 8, 8), 0, 180 * 16);
  p.restore();
}

void DrawDropper(QPainter& p) {
  // A pipette from the top right down to its tip at the bottom left, with a drop under it.
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kOutline, 1));
  p.setBrush(QColor(200, 225, 245));
  QPolygonF tube;
  tube << QPointF(11.5, 5.5) << QPointF(14.5, 8.5) << QPointF(5.5, 17.5) << QPointF(2.5, 14.5);
  p.drawPolygon(tube);
  p.setBrush(QColor(60, 60, 70));
  p.drawEllipse(QPointF(15.5, 4.5), 3.5, 3.5);
  p.setBrush(QColor(60, 120, 220));
  p.drawEllipse(QPointF(3, 18.5), 1.5, 1.5);
}

QImage Glyph(void (*draw)(QPainter&)) {
  QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  draw(painter);
  return image;
}

}  // namespace

QIcon MaskToolGlyph(int maskTool) {
  void (*draw)(QPainter&) = nullptr;
  switch (maskTool) {
    case 1:
      draw = DrawDropper;
      break;
    case 4:
      draw = DrawPen;
      break;
    case 5:
      draw = DrawBox;
      break;
    case 6:
      draw = DrawPaintBucket;
      break;
    default:
      return {};
  }
  return QIcon(QPixmap::fromImage(Glyph(draw)));
}

QImage ToolGlyphImage(int toolCode) {
  void (*draw)(QPainter&) = nullptr;
  switch (toolCode) {
    case tkPen:
      draw = DrawPen;
      break;
    case tkErase:
      draw = DrawEraser;
      break;
    case tkPenLine:
      draw = DrawInkingNib;
      break;
    case tkSelect:
      draw = DrawSelect;
      break;
    case tkMask:
      draw = DrawMask;
      break;
    case tkBox:
      draw = DrawBox;
      break;
    case tkCircle:
      draw = DrawEllipse;
      break;
    case tkLine:
      draw = DrawLine;
      break;
    case tkOresen:
      draw = DrawPolyline;
      break;
    case tkRuler:
      draw = DrawRuler;
      break;
    case tkBrush:
      draw = DrawBrush;
      break;
    case tkAirBrush:
      draw = DrawAirBrush;
      break;
    case tkAverageBrush:
      draw = DrawBlurBrush;
      break;
    case tkBrushBig:
      draw = DrawBigBrush;
      break;
    case tkPenki:
      draw = DrawPaintBucket;
      break;
    default:
      return {};
  }
  return Glyph(draw);
}

QIcon ToolGlyph(int toolCode) {
  const QImage image = ToolGlyphImage(toolCode);
  if (image.isNull()) return {};
  return QIcon(QPixmap::fromImage(image));
}

QImage PaletteGlyphImage() {
  QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  const QColor swatches[] = {QColor(230, 40, 40), QColor(250, 200, 40),  QColor(40, 170, 60),
                             QColor(40, 90, 230), QColor(255, 255, 255), QColor(150, 60, 200),
                             QColor(0, 0, 0),     QColor(130, 130, 130), QColor(240, 130, 30)};
  p.setPen(kOutline);
  for (int i = 0; i < 9; ++i) {
    p.setBrush(swatches[i]);
    p.drawRect(1 + i % 3 * 5, 1 + i / 3 * 5, 4, 4);
  }
  return image;
}

QIcon PaletteGlyph() {
  return QIcon(QPixmap::fromImage(PaletteGlyphImage()));
}

}  // namespace mirasketch
