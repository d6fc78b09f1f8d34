#pragma once

#include <array>

namespace mirasketch {

// A point of a fitted curve.
struct SplinePoint {
  double x = 0.0;
  double y = 0.0;
};

// A curve coordinate truncated to a pixel, held within ±2^24 (NaN at the low end) so that the
// conversion is always defined whatever the curve did.
inline int TruncToPixel(double v) {
  constexpr double kReach = 1 << 24;
  return static_cast<int>(v > -kReach ? (v < kReach ? v : kReach) : -kReach);
}

// Up to 64 control points and the parametric natural cubic spline through them, over the chord
// length scaled to 0 … 1. The polyline's curves, the cloud ruler and the inking tool share one
// list (only one of them is current at a time).
struct SplinePoints {
  static constexpr int kCapacity = 64;
  using Column = std::array<double, kCapacity>;

  void ClearPoints() { count = 0; }
  // Appends a point; false, with nothing stored, when the list is full.
  bool AppendPoint(double x, double y);
  // Appends a point raised by 0.4 in each coordinate that is not at least 0.1 below the last
  // point's, so that no two consecutive points coincide.
  void AppendPointNudged(double x, double y);
  // Moves the last point, with the same nudge against the point before it.
  void ReplaceLastPointNudged(double x, double y);
  // Fits the curve through 5 … 64 points; false (nothing fitted) for other counts and for points
  // whose chords are zero or not finite, which would divide by zero.
  bool FitSpline();
  // The fitted curve at parameter t, 0 at the first point and 1 at the last.
  SplinePoint EvalSpline(double t) const;

  Column X{}, Y{};
  int count = 0;
  Column T{};                       // chord-length parameter of each point
  Column Zx{}, Zy{};                // the solver's coefficients for x(t) and y(t)
  Column h{}, diagonal{}, slope{};  // the solver's work arrays

 private:
  // The natural-spline coefficients z of the values v over the knots T.
  void Solve(const Column& v, Column& z);
};

}  // namespace mirasketch
