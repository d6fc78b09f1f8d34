#include "stamp_canvas.h"

#include <cmath>

namespace mirasketch::brushes {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A 32-bit integer mix with good avalanche, for the noise lattice.
std::uint32_t Mix(std::uint32_t v) {
  v ^= v >> 16;
  v *= 0x7FEB352Du;
  v ^= v >> 15;
  v *= 0x846CA68Bu;
  v ^= v >> 16;
  return v;
}

double LatticeValue(int x, int y, std::uint32_t seed) {
  const std::uint32_t h = Mix(static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                              static_cast<std::uint32_t>(y) * 0xD8163841u ^ Mix(seed));
  return (h >> 8) * (1.0 / 16777216.0);
}

}  // namespace

void Stamp::Lay(int x, int y, double amount) {
  if (x < 0 || y < 0 || x >= kStampSide || y >= kStampSide) return;
  double& p = paint_[Index(x, y)];
  p = 1 - (1 - p) * (1 - Clamp01(amount));
}

void Stamp::Keep(int x, int y, double keep) {
  if (x < 0 || y < 0 || x >= kStampSide || y >= kStampSide) return;
  paint_[Index(x, y)] *= Clamp01(keep);
}

std::uint8_t Stamp::Value(int x, int y) const {
  const double paint = Clamp01(Paint(x, y));
  return static_cast<std::uint8_t>(255 - static_cast<int>(255 * paint + 0.5));
}

double Sine(double radians) {
  // Reduce to [−π, π], then fold onto [−π/2, π/2] where the series converges fast.
  double x = radians - 2 * kPi * std::floor(radians / (2 * kPi) + 0.5);
  if (x > kPi / 2) x = kPi - x;
  if (x < -kPi / 2) x = -kPi - x;
  const double x2 = x * x;
  // Taylor series to x^19 in Horner form; the first omitted term is below 1e-13 at π/2.
  double sum = 1.0;
  for (int n = 19; n >= 3; n -= 2) sum = 1.0 - x2 / (n * (n - 1)) * sum;
  return x * sum;
}

double Cosine(double radians) {
  return Sine(radians + kPi / 2);
}

Heading::Heading(double degrees) {
  const double radians = degrees * (kPi / 180);
  c = Cosine(radians);
  s = Sine(radians);
}

Xorshift::Xorshift(std::uint32_t seed) : state_(Mix(seed ^ 0x9E3779B9u)) {
  // Xorshift stays at zero for ever once there.
  if (state_ == 0) state_ = 0x6D2B79F5u;
}

std::uint32_t Xorshift::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Xorshift::Unit() {
  return (Next() >> 8) * (1.0 / 16777216.0);
}

double ValueNoise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x);
  const double fy = std::floor(y);
  const int ix = static_cast<int>(fx);
  const int iy = static_cast<int>(fy);
  const double tx = SmoothStep(0, 1, x - fx);
  const double ty = SmoothStep(0, 1, y - fy);
  const double top = LatticeValue(ix, iy, seed) +
                     (LatticeValue(ix + 1, iy, seed) - LatticeValue(ix, iy, seed)) * tx;
  const double bottom = LatticeValue(ix, iy + 1, seed) +
                        (LatticeValue(ix + 1, iy + 1, seed) - LatticeValue(ix, iy + 1, seed)) * tx;
  return top + (bottom - top) * ty;
}

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double ex = bx - ax;
  const double ey = by - ay;
  const double length2 = ex * ex + ey * ey;
  double t = 0;
  if (length2 > 0) t = Clamp01(((px - ax) * ex + (py - ay) * ey) / length2);
  const double dx = px - (ax + t * ex);
  const double dy = py - (ay + t * ey);
  return std::sqrt(dx * dx + dy * dy);
}

bool InPolygon(double px, double py, const double (*vertices)[2], int count) {
  bool inside = false;
  for (int i = 0, j = count - 1; i < count; j = i++) {
    const double xi = vertices[i][0], yi = vertices[i][1];
    const double xj = vertices[j][0], yj = vertices[j][1];
    if ((yi > py) != (yj > py) && px < xj + (py - yj) * (xi - xj) / (yi - yj)) inside = !inside;
  }
  return inside;
}

double Clamp01(double v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}

double SmoothStep(double edge0, double edge1, double v) {
  const double t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

void FillDisc(Stamp& stamp, double cx, double cy, double radius, double strength) {
  Render(stamp, [&](double x, double y) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius ? strength : 0.0;
  });
}

void FillCapsule(Stamp& stamp, double ax, double ay, double bx, double by, double radius,
                 double strength) {
  Render(stamp, [&](double x, double y) {
    return SegmentDistance(x, y, ax, ay, bx, by) <= radius ? strength : 0.0;
  });
}

void FillPolygon(Stamp& stamp, const double (*vertices)[2], int count, double strength) {
  Render(stamp,
         [&](double x, double y) { return InPolygon(x, y, vertices, count) ? strength : 0.0; });
}

}  // namespace mirasketch::brushes
