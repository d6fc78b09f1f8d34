// Page 2 of the brush sheet: nibs held at a fixed angle, so that the stroke's width follows its
// direction as with a real broad pen. Column i is turned 22.5° × i counter-clockwise.

#include <cmath>

#include "brush_stamps.h"

namespace mirasketch::brushes {

namespace {

double ColumnAngle(int column) {
  return 22.5 * column;
}

// A rectangle `length` × `width` along the heading, centred on pixel (8, 8).
Stamp Bar(double length, double width, double degrees) {
  const Heading h(degrees);
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    const double dx = x - kOnPixel;
    const double dy = y - kOnPixel;
    return std::fabs(h.Along(dx, dy)) <= length / 2 && std::fabs(h.Across(dx, dy)) <= width / 2
               ? 1.0
               : 0.0;
  });
  return stamp;
}

// Radius of (x, y) in the ellipse of the given axes along and across the heading: 1 on the rim.
double EllipseRadius(double x, double y, const Heading& h, double length, double width) {
  const double a = h.Along(x - kOnPixel, y - kOnPixel) / (length / 2);
  const double b = h.Across(x - kOnPixel, y - kOnPixel) / (width / 2);
  return std::sqrt(a * a + b * b);
}

Stamp Oval(double length, double width, double degrees) {
  const Heading h(degrees);
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    return EllipseRadius(x, y, h, length, width) <= 1 ? 1.0 : 0.0;
  });
  return stamp;
}

// An oval with a solid core of `hardness` × its size, feathered to nothing at the rim.
Stamp SoftOval(double length, double width, double hardness, double degrees) {
  const Heading h(degrees);
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        return SmoothStep(1, hardness, EllipseRadius(x, y, h, length, width));
      },
      4);
  return stamp;
}

}  // namespace

StampRow FlatNibRow() {
  StampRow row;
  for (int i = 0; i < kStampsPerRow; ++i) row[i] = Bar(13, 3, ColumnAngle(i));
  return row;
}

StampRow CalligraphyNibRow() {
  StampRow row;
  for (int i = 0; i < kStampsPerRow; ++i) row[i] = Bar(12, 1.5, ColumnAngle(i));
  return row;
}

StampRow OvalNibRow() {
  StampRow row;
  for (int i = 0; i < kStampsPerRow; ++i) row[i] = Oval(13, 5, ColumnAngle(i));
  return row;
}

StampRow SoftFlatRow() {
  StampRow row;
  for (int i = 0; i < kStampsPerRow; ++i) row[i] = SoftOval(14.5, 5.5, 0.35, ColumnAngle(i));
  return row;
}

}  // namespace mirasketch::brushes
