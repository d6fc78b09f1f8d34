#pragma once

#include <array>
#include <cstdint>

namespace mirasketch::brushes {

// One brush stamp is a 16 × 16 cell. Cell pixel (8, 8) lands on the pointer, so a stamp covers
// x − 8 … x + 7. Shapes are drawn in continuous cell coordinates: pixel (x, y) is the square
// [x, x + 1) × [y, y + 1), y growing downwards.
inline constexpr int kStampSide = 16;
// The middle of cell pixel (8, 8): the centre of shapes an odd number of pixels across.
inline constexpr double kOnPixel = 8.5;
// The corner shared by pixels (7, 7) … (8, 8): the centre of shapes an even number across.
inline constexpr double kOnCorner = 8.0;

// The paint a stamp lays, 0 (none) … 1 (full) per pixel, turned into the sheet's transparency
// bytes (0 full paint, 255 none) at the end.
class Stamp {
 public:
  double Paint(int x, int y) const { return paint_[Index(x, y)]; }
  // Lays `amount` over what is there, as a second coat of translucent paint would.
  void Lay(int x, int y, double amount);
  // Takes paint away: what is left is the paint times `keep`.
  void Keep(int x, int y, double keep);
  // The transparency byte: 255 − 255 × paint, rounded.
  std::uint8_t Value(int x, int y) const;

 private:
  static int Index(int x, int y) { return y * kStampSide + x; }
  std::array<double, kStampSide * kStampSide> paint_{};
};

// The sheet must come out byte for byte the same on every compiler and C library, so the
// generator uses no library transcendental: these sines are plain polynomials (error < 1e-13).
double Sine(double radians);
double Cosine(double radians);

// A unit direction `degrees` counter-clockwise from the positive x axis as seen on screen.
struct Heading {
  explicit Heading(double degrees);
  double c = 1;  // x step
  double s = 0;  // upward step (screen y decreases)
  // Position of (dx, dy), relative to a centre, along the heading and across it.
  double Along(double dx, double dy) const { return dx * c - dy * s; }
  double Across(double dx, double dy) const { return dx * s + dy * c; }
};

// A small fixed-seed generator (xorshift32), so that sprayed and grainy stamps are reproducible.
class Xorshift {
 public:
  // The seed is scrambled first: xorshift's early outputs from nearby seeds are alike.
  explicit Xorshift(std::uint32_t seed);
  std::uint32_t Next();
  // Uniform in [0, 1).
  double Unit();
  // Uniform in [low, high).
  double Between(double low, double high) { return low + (high - low) * Unit(); }

 private:
  std::uint32_t state_;
};

// Smooth value noise in [0, 1): random values on the integer lattice, blended with smoothstep.
// Different seeds give unrelated patterns.
double ValueNoise(double x, double y, std::uint32_t seed);

// Distance from (px, py) to the segment (ax, ay) – (bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);

// Whether (px, py) lies inside the polygon of `count` vertices (even-odd rule).
bool InPolygon(double px, double py, const double (*vertices)[2], int count);

double Clamp01(double v);
// 0 below `edge0`, 1 above `edge1`, a smooth ramp between.
double SmoothStep(double edge0, double edge1, double v);

// Lays `amount(x, y)` averaged over n × n sample points inside each pixel. A shape is an amount
// of 0 or 1, so its rim pixels get the share of the pixel it covers.
template <class Amount>
void Render(Stamp& stamp, Amount amount, int samples = 8) {
  const double step = 1.0 / samples;
  for (int y = 0; y < kStampSide; ++y) {
    for (int x = 0; x < kStampSide; ++x) {
      double sum = 0;
      for (int j = 0; j < samples; ++j)
        for (int i = 0; i < samples; ++i) sum += amount(x + (i + 0.5) * step, y + (j + 0.5) * step);
      const double paint = sum / (samples * samples);
      if (paint > 0) stamp.Lay(x, y, paint);
    }
  }
}

// Shapes laid with `strength`, their rims antialiased.
void FillDisc(Stamp& stamp, double cx, double cy, double radius, double strength = 1);
// The points within `radius` of the segment (ax, ay) – (bx, by): a stroke with round ends.
void FillCapsule(Stamp& stamp, double ax, double ay, double bx, double by, double radius,
                 double strength = 1);
void FillPolygon(Stamp& stamp, const double (*vertices)[2], int count, double strength = 1);

}  // namespace mirasketch::brushes
