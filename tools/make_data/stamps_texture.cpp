// Page 3 of the brush sheet: dry media and textures. The grain is fixed-seed noise, so the sheet
// is the same every time it is generated.

#include <cmath>

#include "brush_stamps.h"

namespace mirasketch::brushes {

namespace {

// One random value per pixel, the lattice of `ValueNoise` taken at the pixel's corner.
double PixelNoise(double x, double y, std::uint32_t seed) {
  return ValueNoise(std::floor(x), std::floor(y), seed);
}

double Radius(double x, double y, double c) {
  return std::sqrt((x - c) * (x - c) + (y - c) * (y - c));
}

// Chalk catches on the tooth of the paper: fine grain mixed with per-pixel dust. The gaps grow
// towards the rim. Drawn per pixel so the grain stays crisp.
double Tooth(double x, double y, std::uint32_t seed) {
  return 0.5 * ValueNoise(x * 1.4, y * 1.4, seed) + 0.5 * PixelNoise(x, y, seed + 1);
}

Stamp RoundChalk(int diameter, std::uint32_t seed) {
  const double c = diameter % 2 == 1 ? kOnPixel : kOnCorner;
  const double r = diameter / 2.0;
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double t = Radius(x, y, c) / r;
        if (t >= 1) return 0.0;
        const double threshold = 0.22 + 0.4 * t * t;
        return 0.95 * SmoothStep(threshold, threshold + 0.12, Tooth(x, y, seed));
      },
      1);
  return stamp;
}

// The side of a chalk stick drawn flat: a bar with the same tooth and broken ends.
Stamp ChalkStick(double degrees, std::uint32_t seed) {
  const Heading h(degrees);
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double along = std::fabs(h.Along(x - kOnPixel, y - kOnPixel)) / 6.5;
        const double across = std::fabs(h.Across(x - kOnPixel, y - kOnPixel)) / 2.2;
        if (along >= 1 || across >= 1) return 0.0;
        const double threshold = 0.22 + 0.3 * along * along * along + 0.15 * across;
        return 0.95 * SmoothStep(threshold, threshold + 0.12, Tooth(x, y, seed));
      },
      1);
  return stamp;
}

// Charcoal is darker than chalk, with a ragged outline and a few pale flecks.
Stamp RoundCharcoal(int diameter, std::uint32_t seed) {
  const double c = diameter % 2 == 1 ? kOnPixel : kOnCorner;
  const double r = diameter / 2.0;
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double d = Radius(x, y, c);
        if (d >= r) return 0.0;
        // The outline wanders with noise sampled around a circle, so it closes without a seam.
        const double ux = d > 0 ? (x - c) / d : 0;
        const double uy = d > 0 ? (y - c) / d : 0;
        const double rim = r * (0.72 + 0.28 * ValueNoise(4 + 2.5 * ux, 4 + 2.5 * uy, seed));
        const double body = 0.6 + 0.4 * ValueNoise(x * 0.7, y * 0.7, seed + 1);
        const double fleck = PixelNoise(x, y, seed + 2) < 0.12 ? 0.35 : 1.0;
        return SmoothStep(rim, rim - 1.2, d) * body * fleck;
      },
      2);
  return stamp;
}

// A charcoal stick laid on its side: streaks run along the stick.
Stamp CharcoalStick(double degrees, std::uint32_t seed) {
  const Heading h(degrees);
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double along = h.Along(x - kOnPixel, y - kOnPixel);
        const double across = h.Across(x - kOnPixel, y - kOnPixel);
        const double end = 6.5 - 1.5 * ValueNoise(across * 0.9, along > 0 ? 3 : 7, seed);
        if (std::fabs(across) >= 2.2 || std::fabs(along) >= end) return 0.0;
        const double streak = ValueNoise(along * 0.3 + 20, across * 1.7 + 20, seed + 1);
        const double fleck = PixelNoise(x, y, seed + 2) < 0.1 ? 0.4 : 1.0;
        return (0.35 + 0.65 * streak) * fleck;
      },
      2);
  return stamp;
}

// Hair tips on a jittered grid inside a disc: dragged, each tip leaves its own streak.
Stamp RoundBristle(int diameter, std::uint32_t seed) {
  Xorshift random(seed);
  const double r = diameter / 2.0;
  Stamp stamp;
  for (double gy = -r; gy <= r; gy += 1.6) {
    for (double gx = -r; gx <= r; gx += 1.6) {
      const double tx = kOnPixel + gx + random.Between(-0.5, 0.5);
      const double ty = kOnPixel + gy + random.Between(-0.5, 0.5);
      const double size = random.Between(0.55, 0.9);
      const double strength = random.Between(0.6, 1);
      if (Radius(tx, ty, kOnPixel) > r - 0.5) continue;
      FillDisc(stamp, tx, ty, size, strength);
    }
  }
  return stamp;
}

// A flat brush's hair tips: two staggered rows along the heading.
Stamp FlatBristle(double degrees, std::uint32_t seed) {
  Xorshift random(seed);
  const Heading h(degrees);
  Stamp stamp;
  for (int rowIndex = 0; rowIndex < 2; ++rowIndex) {
    for (double along = -6 + 0.6 * rowIndex; along <= 6; along += 1.25) {
      const double across = (rowIndex == 0 ? -0.9 : 0.9) + random.Between(-0.35, 0.35);
      const double at = along + random.Between(-0.2, 0.2);
      const double tx = kOnPixel + at * h.c + across * h.s;
      const double ty = kOnPixel - at * h.s + across * h.c;
      const double size = random.Between(0.45, 0.8);
      const double strength = random.Between(0.5, 1);
      FillDisc(stamp, tx, ty, size, strength);
    }
  }
  return stamp;
}

// Woven canvas: two-pixel threads passing over and under each other.
double Weave(double x, double y) {
  const int ix = static_cast<int>(x);
  const int iy = static_cast<int>(y);
  if ((ix / 2 + iy / 2) % 2 == 0) return iy % 2 == 0 ? 1.0 : 0.75;
  return ix % 2 == 0 ? 0.55 : 0.35;
}

Stamp Textured(double (*texture)(double, double, std::uint32_t), bool square, double size,
               std::uint32_t seed) {
  Stamp stamp;
  Render(
      stamp,
      [&](double x, double y) {
        const double dx = std::fabs(x - kOnPixel);
        const double dy = std::fabs(y - kOnPixel);
        const bool inside =
            square ? dx < size / 2 && dy < size / 2 : Radius(x, y, kOnPixel) < size / 2;
        return inside ? texture(x, y, seed) : 0.0;
      },
      1);
  return stamp;
}

double CanvasTexture(double x, double y, std::uint32_t) {
  return Weave(x, y);
}

// Rough paper: soft grain with a grain of dust in every pixel.
double PaperTexture(double x, double y, std::uint32_t seed) {
  const double n = 0.5 * ValueNoise(x * 1.2, y * 1.2, seed) + 0.5 * PixelNoise(x, y, seed + 1);
  return 0.9 * SmoothStep(0.25, 0.75, n);
}

// Sponge: holes of many sizes, from two scales of noise.
double Sponge(double x, double y, std::uint32_t seed, double scale) {
  const double n = 0.6 * ValueNoise(x * scale, y * scale, seed) +
                   0.4 * ValueNoise(x * scale * 2.3, y * scale * 2.3, seed + 1);
  return n > 0.48 ? 0.85 : 0.0;
}

double CoarseSponge(double x, double y, std::uint32_t seed) {
  return Sponge(x, y, seed, 0.7);
}

double FineSponge(double x, double y, std::uint32_t seed) {
  return Sponge(x, y, seed, 1.2);
}

// Wood grain: lines three pixels apart, bent by slow noise.
double WoodTexture(double x, double y, std::uint32_t seed) {
  const double v = (y + 4 * ValueNoise(x * 0.3, y * 0.12, seed)) / 3;
  return v - std::floor(v) < 0.4 ? 0.9 : 0.12;
}

// Diagonal lines three pixels apart inside a disc; `both` adds the other diagonal.
Stamp Hatching(bool both) {
  Stamp stamp;
  Render(stamp, [&](double x, double y) {
    if (Radius(x, y, kOnPixel) >= 6.5) return 0.0;
    const auto onLine = [](double v) { return std::fabs(v - 3 * std::floor(v / 3 + 0.5)) < 0.55; };
    return onLine(x + y - 2 * kOnPixel) || (both && onLine(x - y)) ? 1.0 : 0.0;
  });
  return stamp;
}

}  // namespace

StampRow ChalkRow() {
  StampRow row;
  for (int i = 0; i < 6; ++i) row[i] = RoundChalk(5 + 2 * i, 0xC4A1C000u + 16 * i);
  row[6] = ChalkStick(0, 0xC4A1C060u);
  row[7] = ChalkStick(45, 0xC4A1C070u);
  return row;
}

StampRow CharcoalRow() {
  StampRow row;
  const int diameters[4] = {7, 10, 13, 15};
  for (int i = 0; i < 4; ++i) row[i] = RoundCharcoal(diameters[i], 0xC0A10000u + 16 * i);
  for (int i = 0; i < 4; ++i) row[4 + i] = CharcoalStick(45.0 * i, 0xC0A10040u + 16 * i);
  return row;
}

StampRow BristleRow() {
  StampRow row;
  const int diameters[4] = {7, 10, 13, 15};
  for (int i = 0; i < 4; ++i) row[i] = RoundBristle(diameters[i], 0xB1257000u + i);
  for (int i = 0; i < 4; ++i) row[4 + i] = FlatBristle(45.0 * i, 0xB1257010u + i);
  return row;
}

StampRow GrainRow() {
  StampRow row;
  row[0] = Textured(CanvasTexture, false, 15, 0);
  row[1] = Textured(CanvasTexture, true, 13, 0);
  row[2] = Textured(PaperTexture, false, 15, 0x9A9E0000u);
  row[3] = Textured(WoodTexture, false, 15, 0x9A9E0010u);
  row[4] = Textured(CoarseSponge, false, 15, 0x9A9E0020u);
  row[5] = Textured(FineSponge, false, 11, 0x9A9E0030u);
  row[6] = Hatching(false);
  row[7] = Hatching(true);
  return row;
}

}  // namespace mirasketch::brushes
