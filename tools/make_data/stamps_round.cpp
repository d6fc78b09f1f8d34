// Page 1 of the brush sheet: the pen, the eraser sizes, hard discs, soft round brushes and
// air-brush sprays.

#include <cmath>

#include "brush_stamps.h"

namespace mirasketch::brushes {

namespace {

// Every pixel of the square [first, first + side)² fully painted.
Stamp SolidSquare(int first, int side) {
  Stamp stamp;
  for (int y = first; y < first + side; ++y)
    for (int x = first; x < first + side; ++x) stamp.Lay(x, y, 1);
  return stamp;
}

double CentreFor(int diameter) {
  return diameter % 2 == 1 ? kOnPixel : kOnCorner;
}

double Distance(double x, double y, double cx, double cy) {
  return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
}

Stamp HardDisc(int diameter) {
  const double c = CentreFor(diameter);
  const double r = diameter / 2.0;
  Stamp stamp;
  Render(stamp, [&](double x, double y) { return Distance(x, y, c, c) <= r ? 1.0 : 0.0; });
  return stamp;
}

// Full paint inside `hardness` × the radius, fading smoothly to none at the rim; `peak` scales
// the whole stamp for brushes that build up slowly.
Stamp SoftRound(int diameter, double hardness, double peak) {
  const double c = CentreFor(diameter);
  const double r = diameter / 2.0;
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double d = Distance(x, y, c, c);
        return peak * SmoothStep(r, r * hardness, d);
      },
      4);
  return stamp;
}

// Single-pixel droplets whose chance falls from `density` at the centre to nothing at
// `radius`; each droplet gets a random strength between `lightest` and 1.
Stamp Spray(double radius, double density, double lightest, std::uint32_t seed) {
  Xorshift random(seed);
  Stamp stamp;
  for (int y = 0; y < kStampSide; ++y) {
    for (int x = 0; x < kStampSide; ++x) {
      const double t = Distance(x + 0.5, y + 0.5, kOnPixel, kOnPixel) / radius;
      const double chance = random.Unit();
      const double strength = random.Between(lightest, 1);
      if (t >= 1) continue;
      const double falloff = 1 - t * t;
      if (chance < density * falloff) stamp.Lay(x, y, strength);
    }
  }
  return stamp;
}

// Round droplets of radius 0.5 … 1.1 thrown in random directions, most of them near the centre.
Stamp Spatter(int drops, double reach, std::uint32_t seed) {
  Xorshift random(seed);
  Stamp stamp;
  for (int n = 0; n < drops; ++n) {
    const Heading h(random.Between(0, 360));
    const double at = reach * random.Unit() * random.Unit() + 0.8 * random.Unit();
    const double size = random.Between(0.5, 1.1);
    FillDisc(stamp, kOnPixel + at * h.c, kOnPixel - at * h.s, size, random.Between(0.6, 1));
  }
  return stamp;
}

}  // namespace

StampRow PenAndEraserRow() {
  StampRow row;
  row[0].Lay(8, 8, 1);
  // The eraser of side 2i covers 8 − i … 8 + i − 1, so it sits on the pointer as the pen does.
  for (int i = 1; i <= 6; ++i) row[i] = SolidSquare(8 - i, 2 * i);
  row[7] = SolidSquare(7, 3);
  return row;
}

StampRow HardDiscRow() {
  StampRow row;
  for (int i = 0; i < kStampsPerRow; ++i) row[i] = HardDisc(kHardDiscDiameters[i]);
  return row;
}

StampRow SoftRoundRow() {
  StampRow row;
  for (int i = 0; i < 7; ++i) row[i] = SoftRound(3 + 2 * i, 0.25, 1);
  // A wide feather with no hard core and half strength, for glazing.
  row[7] = SoftRound(15, 0, 0.6);
  return row;
}

StampRow SprayRow() {
  StampRow row;
  const double radii[6] = {3, 4, 5, 6, 7, 7.5};
  for (int i = 0; i < 6; ++i)
    row[i] = Spray(radii[i], 0.7, 0.45, 0x5EED0100u + static_cast<std::uint32_t>(i));
  row[6] = Spray(7.5, 0.3, 0.2, 0x5EED0106u);  // fine mist
  row[7] = Spatter(18, 6.2, 0x5EED0107u);      // coarse spatter
  return row;
}

}  // namespace mirasketch::brushes
