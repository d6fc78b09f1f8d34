// Page 4 of the brush sheet, second half: leaves, grass, flowers and snow; then outlines, simple
// figures and an ink splat.

#include <cmath>

#include "brush_stamps.h"

namespace mirasketch::brushes {

namespace {

double Radius(double x, double y, double cx, double cy) {
  return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
}

// A pointed leaf of half-length `length` and greatest half-width `width` along the heading,
// centred on (cx, cy), with a paler midrib when `vein` is set.
void Leaf(Stamp& stamp, double cx, double cy, double length, double width, double degrees,
          bool vein) {
  const Heading h(degrees);
  Render(stamp, [&](double x, double y) {
    const double t = h.Along(x - cx, y - cy) / length;
    const double across = std::fabs(h.Across(x - cx, y - cy));
    if (t <= -1 || t >= 1 || across > width * (1 - t * t)) return 0.0;
    return vein && across < 0.35 && t > -0.9 && t < 0.8 ? 0.45 : 1.0;
  });
}

// A grass blade: a slim triangle from a base on the ground to its tip.
void Blade(Stamp& stamp, double baseX, double baseY, double length, double baseWidth,
           double degrees) {
  const Heading h(degrees);
  const double vertices[3][2] = {{baseX - baseWidth / 2 * h.s, baseY - baseWidth / 2 * h.c},
                                 {baseX + baseWidth / 2 * h.s, baseY + baseWidth / 2 * h.c},
                                 {baseX + length * h.c, baseY - length * h.s}};
  FillPolygon(stamp, vertices, 3);
}

Stamp Flower() {
  Stamp stamp;
  for (int k = 0; k < 5; ++k) {
    const Heading h(90 + 72.0 * k);
    Render(stamp, [&](double x, double y) {
      const double cx = kOnPixel + 3.9 * h.c;
      const double cy = kOnPixel - 3.9 * h.s;
      const double a = h.Along(x - cx, y - cy) / 3.3;
      const double b = h.Across(x - cx, y - cy) / 2.3;
      return a * a + b * b <= 1 && Radius(x, y, kOnPixel, kOnPixel) > 2.1 ? 1.0 : 0.0;
    });
  }
  FillDisc(stamp, kOnPixel, kOnPixel, 1.3, 0.8);
  return stamp;
}

Stamp Snowflake() {
  Stamp stamp;
  for (int k = 0; k < 6; ++k) {
    const Heading h(90 + 60.0 * k);
    const double tipX = kOnPixel + 6.8 * h.c;
    const double tipY = kOnPixel - 6.8 * h.s;
    FillCapsule(stamp, kOnPixel, kOnPixel, tipX, tipY, 0.5);
    // Two side branches two thirds of the way out, at 45° to the spoke.
    const double forkX = kOnPixel + 4.2 * h.c;
    const double forkY = kOnPixel - 4.2 * h.s;
    for (double turn : {-45.0, 45.0}) {
      const Heading b(90 + 60.0 * k + turn);
      FillCapsule(stamp, forkX, forkY, forkX + 2.4 * b.c, forkY - 2.4 * b.s, 0.45);
    }
  }
  return stamp;
}

Stamp Ring(double outer, double thickness) {
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    const double d = Radius(x, y, kOnPixel, kOnPixel);
    return d <= outer && d >= outer - thickness ? 1.0 : 0.0;
  });
  return stamp;
}

// An ink splat: a ragged blob with a few droplets thrown off around it.
Stamp Splat(std::uint32_t seed) {
  Xorshift random(seed);
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    const double d = Radius(x, y, kOnPixel, kOnPixel);
    if (d == 0) return 1.0;
    const double ux = (x - kOnPixel) / d;
    const double uy = (y - kOnPixel) / d;
    return d <= 3.2 + 2.0 * ValueNoise(5 + 2.2 * ux, 5 + 2.2 * uy, seed) ? 1.0 : 0.0;
  });
  for (int k = 0; k < 7; ++k) {
    const Heading h(360.0 * k / 7 + random.Between(0, 40));
    const double at = random.Between(5.6, 6.8);
    FillDisc(stamp, kOnPixel + at * h.c, kOnPixel - at * h.s, random.Between(0.5, 1.0));
  }
  return stamp;
}

}  // namespace

StampRow NatureRow() {
  StampRow row;
  Leaf(row[0], kOnPixel, kOnPixel, 7, 2.8, 45, true);
  Leaf(row[1], kOnPixel, kOnPixel, 7, 2.8, 135, true);
  Leaf(row[2], kOnPixel, kOnPixel, 7, 3.8, 90, true);
  // A sprig: a stem with two pairs of small leaves and one at the top.
  FillCapsule(row[3], kOnPixel, 15, kOnPixel, 4, 0.45);
  for (double at : {11.5, 7.5}) {
    Leaf(row[3], kOnPixel - 2.4, at - 1.4, 2.9, 1.3, 150, false);
    Leaf(row[3], kOnPixel + 2.4, at - 1.4, 2.9, 1.3, 30, false);
  }
  Leaf(row[3], kOnPixel, 3.4, 2.6, 1.3, 90, false);
  // A tuft of grass fanning out from one base.
  const double blades[5][2] = {{58, 8}, {76, 11.5}, {93, 13.5}, {108, 11}, {124, 8.5}};
  for (const auto& blade : blades)
    Blade(row[4], kOnPixel + (90 - blade[0]) / 14, 15.2, blade[1], 2.4, blade[0]);
  row[5] = Flower();
  row[6] = Snowflake();
  // A three-leaf clover on a short curved stem, a pale seam between the leaves.
  FillCapsule(row[7], kOnPixel, kOnPixel, kOnPixel + 1.2, 12, 0.5);
  FillCapsule(row[7], kOnPixel + 1.2, 12, kOnPixel + 3, 15, 0.5);
  for (int k = 0; k < 3; ++k) {
    const Heading h(90 + 120.0 * k);
    FillDisc(row[7], kOnPixel + 3.1 * h.c, kOnPixel - 0.8 - 3.1 * h.s, 2.6);
  }
  for (int k = 0; k < 3; ++k) {
    const Heading seam(30 + 120.0 * k);
    for (double at = 1.0; at < 3.2; at += 0.5) {
      const double x = kOnPixel + at * seam.c;
      const double y = kOnPixel - 0.8 - at * seam.s;
      row[7].Keep(static_cast<int>(x), static_cast<int>(y), 0.3);
    }
  }
  return row;
}

StampRow OutlineRow() {
  StampRow row;
  row[0] = Ring(3.5, 1.0);
  row[1] = Ring(5.5, 1.1);
  row[2] = Ring(7.5, 1.2);
  // A square frame one pixel thick, 12 pixels across like the largest eraser.
  for (int i = 2; i <= 13; ++i) {
    row[3].Lay(i, 2, 1);
    row[3].Lay(i, 13, 1);
    row[3].Lay(2, i, 1);
    row[3].Lay(13, i, 1);
  }
  const double triangle[3][2] = {{kOnPixel, 1.5}, {15.2, 14.2}, {1.8, 14.2}};
  FillPolygon(row[4], triangle, 3);
  // A crescent moon: a disc with an offset disc taken out of it.
  Render(row[5], [](double x, double y) {
    return Radius(x, y, kOnPixel, kOnPixel) <= 6.6 && Radius(x, y, 11.3, 6.6) > 5.4 ? 1.0 : 0.0;
  });
  // A raindrop: a disc and the triangle to its tip, joined along the tangents.
  {
    const double cy = 10.6;
    const double r = 4.1;
    const double tipY = 1.4;
    const double d = cy - tipY;
    const double sine = std::sqrt(d * d - r * r) / d;  // of the angle at the disc's centre
    const double drop[3][2] = {{kOnPixel, tipY},
                               {kOnPixel + r * sine, cy - r * r / d},
                               {kOnPixel - r * sine, cy - r * r / d}};
    FillPolygon(row[6], drop, 3);
    FillDisc(row[6], kOnPixel, cy, r);
  }
  row[7] = Splat(0x5B1A7007u);
  return row;
}

}  // namespace mirasketch::brushes
