// Page 4 of the brush sheet, first half: dot patterns, stars and sparkles.

#include <cmath>

#include "brush_stamps.h"

namespace mirasketch::brushes {

namespace {

// A star of `points` tips on `outer`, its notches on `inner`, the first tip straight up.
Stamp Star(int points, double outer, double inner, double cx = kOnPixel, double cy = kOnPixel) {
  double vertices[24][2];
  const int count = 2 * points;
  for (int k = 0; k < count; ++k) {
    const Heading h(90 + 180.0 * k / points);
    const double r = k % 2 == 0 ? outer : inner;
    vertices[k][0] = cx + r * h.c;
    vertices[k][1] = cy - r * h.s;
  }
  Stamp stamp;
  FillPolygon(stamp, vertices, count);
  return stamp;
}

Stamp DotGrid(int spacing, int reach) {
  Stamp stamp;
  for (int j = -reach; j <= reach; ++j)
    for (int i = -reach; i <= reach; ++i) stamp.Lay(8 + i * spacing, 8 + j * spacing, 1);
  return stamp;
}

// Round dots on a hexagonal grid, cut to a disc.
Stamp HexDots(double spacing, double dotRadius, double reach) {
  Stamp stamp;
  const double rowStep = spacing * 0.8660254037844386;  // √3 / 2
  for (int j = -3; j <= 3; ++j) {
    const double y = kOnPixel + j * rowStep;
    const double shift = (j % 2 == 0) ? 0 : spacing / 2;
    for (int i = -3; i <= 3; ++i) {
      const double x = kOnPixel + i * spacing + shift;
      const double dx = x - kOnPixel;
      const double dy = y - kOnPixel;
      if (dx * dx + dy * dy <= reach * reach) FillDisc(stamp, x, y, dotRadius);
    }
  }
  return stamp;
}

// Printed halftone: dots on a square grid that shrink away from the centre.
Stamp Halftone() {
  Stamp stamp;
  for (int j = -2; j <= 2; ++j) {
    for (int i = -2; i <= 2; ++i) {
      const double dx = 3 * i;
      const double dy = 3 * j;
      const double t = std::sqrt(dx * dx + dy * dy) / 8.5;
      if (t < 1) FillDisc(stamp, kOnPixel + dx, kOnPixel + dy, 0.35 + 1.35 * (1 - t));
    }
  }
  return stamp;
}

Stamp DotRing(int dots, double ringRadius, double dotRadius) {
  Stamp stamp;
  for (int k = 0; k < dots; ++k) {
    const Heading h(360.0 * k / dots);
    FillDisc(stamp, kOnPixel + ringRadius * h.c, kOnPixel - ringRadius * h.s, dotRadius);
  }
  return stamp;
}

// `count` dots evenly along a line through the centre.
Stamp DotLine(int count, double spacing, double dotRadius, double degrees) {
  const Heading h(degrees);
  Stamp stamp;
  for (int k = 0; k < count; ++k) {
    const double at = (k - (count - 1) / 2.0) * spacing;
    FillDisc(stamp, kOnPixel + at * h.c, kOnPixel - at * h.s, dotRadius);
  }
  return stamp;
}

// Dots of random size spread evenly over a disc (uniform over its area, not its radius).
Stamp ScatteredDots(int count, double reach, std::uint32_t seed) {
  Xorshift random(seed);
  Stamp stamp;
  for (int placed = 0; placed < count;) {
    const double dx = random.Between(-reach, reach);
    const double dy = random.Between(-reach, reach);
    const double size = random.Between(0.55, 1.3);
    if (dx * dx + dy * dy > (reach - size) * (reach - size)) continue;
    FillDisc(stamp, kOnPixel + dx, kOnPixel + dy, size);
    ++placed;
  }
  return stamp;
}

// Single pixels at an even chance all over a disc: a grainy fill that stays sharp.
Stamp Pepper(double reach, double chance, std::uint32_t seed) {
  Xorshift random(seed);
  Stamp stamp;
  for (int y = 0; y < kStampSide; ++y) {
    for (int x = 0; x < kStampSide; ++x) {
      const double dx = x + 0.5 - kOnPixel;
      const double dy = y + 0.5 - kOnPixel;
      const bool hit = random.Unit() < chance;
      if (hit && dx * dx + dy * dy < reach * reach) stamp.Lay(x, y, 1);
    }
  }
  return stamp;
}

Stamp Asterisk(int spokes, double length, double width) {
  Stamp stamp;
  for (int k = 0; k < spokes; ++k) {
    const Heading h(90 + 180.0 * k / spokes);
    FillCapsule(stamp, kOnPixel - length * h.c, kOnPixel + length * h.s, kOnPixel + length * h.c,
                kOnPixel - length * h.s, width / 2);
  }
  return stamp;
}

Stamp Diamond(double halfWidth, double halfHeight) {
  const double vertices[4][2] = {{kOnPixel, kOnPixel - halfHeight},
                                 {kOnPixel + halfWidth, kOnPixel},
                                 {kOnPixel, kOnPixel + halfHeight},
                                 {kOnPixel - halfWidth, kOnPixel}};
  Stamp stamp;
  FillPolygon(stamp, vertices, 4);
  return stamp;
}

// The heart curve (u² + v² − 1)³ ≤ u² v³, scaled to `size` and centred on the pointer.
Stamp Heart(double size) {
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    const double u = (x - kOnPixel) / size;
    const double v = (kOnPixel - y) / size + 0.12;
    const double a = u * u + v * v - 1;
    return a * a * a - u * u * v * v * v <= 0 ? 1.0 : 0.0;
  });
  return stamp;
}

}  // namespace

StampRow DottedRow() {
  StampRow row;
  row[0] = DotGrid(3, 2);
  row[1] = HexDots(3.5, 0.85, 6.6);
  row[2] = Halftone();
  row[3] = DotRing(8, 5.5, 1.1);
  row[4] = DotLine(3, 4.5, 1.3, 0);
  row[5] = DotLine(5, 2.8, 0.75, 45);
  row[6] = ScatteredDots(10, 7, 0xD0770006u);
  row[7] = Pepper(7.5, 0.22, 0xD0770007u);
  return row;
}

StampRow StarRow() {
  StampRow row;
  row[0] = Star(5, 4.6, 1.9);
  row[1] = Star(5, 7.4, 3.0, kOnPixel, kOnPixel + 0.6);
  row[2] = Star(4, 7.2, 1.3);
  row[3] = Star(6, 7.0, 3.6);
  // A glint: a thin four-point sparkle in a soft glow.
  row[4] = Star(4, 7.2, 0.8);
  Render(
      row[4],
      [](double x, double y) {
        const double d =
            std::sqrt((x - kOnPixel) * (x - kOnPixel) + (y - kOnPixel) * (y - kOnPixel));
        return 0.55 * SmoothStep(3.8, 0, d);
      },
      4);
  row[5] = Asterisk(3, 6.6, 1.2);
  row[6] = Diamond(4.6, 7.2);
  row[7] = Heart(6.0);
  return row;
}

}  // namespace mirasketch::brushes
