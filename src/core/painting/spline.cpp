#include "painting/spline.h"

#include <cmath>

namespace mirasketch {

namespace {

// The spline of values v with coefficients z over knots t, at u.
double Evaluate(const SplinePoints::Column& t, const SplinePoints::Column& v,
                const SplinePoints::Column& z, int n, double u) {
  int lo = 0;
  int hi = n - 1;
  while (lo < hi) {
    const int k = (lo + hi) / 2;
    if (u <= t[k])
      hi = k;
    else
      lo = k + 1;
  }
  if (lo > 0) --lo;
  const auto i = static_cast<std::size_t>(lo);
  const double h = t[i + 1] - t[i];
  const double d = u - t[i];
  return v[i] + d * (d * (d * (z[i + 1] - z[i]) / h + 3.0 * z[i]) +
                     ((v[i + 1] - v[i]) / h - h * (z[i + 1] + 2.0 * z[i])));
}

}  // namespace

bool SplinePoints::AppendPoint(double x, double y) {
  if (count >= kCapacity) return false;
  X[static_cast<std::size_t>(count)] = x;
  Y[static_cast<std::size_t>(count)] = y;
  ++count;
  return true;
}

void SplinePoints::AppendPointNudged(double x, double y) {
  if (count > 0) {
    const auto last = static_cast<std::size_t>(count - 1);
    if (X[last] - x < 0.1) x += 0.4;
    if (Y[last] - y < 0.1) y += 0.4;
  }
  AppendPoint(x, y);
}

void SplinePoints::ReplaceLastPointNudged(double x, double y) {
  if (count <= 0) return;
  if (count > 1) {
    const auto before = static_cast<std::size_t>(count - 2);
    if (X[before] - x < 0.1) x += 0.4;
    if (Y[before] - y < 0.1) y += 0.4;
  }
  X[static_cast<std::size_t>(count - 1)] = x;
  Y[static_cast<std::size_t>(count - 1)] = y;
}

bool SplinePoints::FitSpline() {
  if (count < 5 || count > kCapacity) return false;
  const auto n = static_cast<std::size_t>(count);
  T[0] = 0.0;
  for (std::size_t i = 1; i < n; ++i) {
    const double chord = std::hypot(X[i] - X[i - 1], Y[i] - Y[i - 1]);
    // Coinciding points would give a knot interval of zero and the solver would divide by it.
    if (!(chord > 0.0) || !std::isfinite(chord)) return false;
    T[i] = T[i - 1] + chord;
  }
  const double length = T[n - 1];
  if (!std::isfinite(length)) return false;
  for (std::size_t i = 1; i < n; ++i) T[i] /= length;
  // Scaling can make two knots equal again when one chord is negligible against the whole.
  for (std::size_t i = 1; i < n; ++i)
    if (!(T[i] > T[i - 1])) return false;
  Solve(X, Zx);
  Solve(Y, Zy);
  // Points spread over more than a double's range overflow the solver.
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isfinite(Zx[i]) || !std::isfinite(Zy[i])) return false;
  return true;
}

void SplinePoints::Solve(const Column& v, Column& z) {
  const auto n = static_cast<std::size_t>(count);
  const Column& t = T;
  z[0] = 0.0;
  z[n - 1] = 0.0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    h[i] = t[i + 1] - t[i];
    slope[i] = (v[i + 1] - v[i]) / h[i];
  }
  z[1] = slope[1] - slope[0] - h[0] * z[0];
  diagonal[1] = 2.0 * (t[2] - t[0]);
  for (std::size_t i = 1; i + 3 <= n; ++i) {
    const double q = h[i] / diagonal[i];
    z[i + 1] = slope[i + 1] - slope[i] - z[i] * q;
    diagonal[i + 1] = 2.0 * (t[i + 2] - t[i]) - h[i] * q;
  }
  z[n - 2] -= h[n - 2] * z[n - 1];
  for (std::size_t i = n - 2; i >= 1; --i) z[i] = (z[i] - h[i] * z[i + 1]) / diagonal[i];
}

SplinePoint SplinePoints::EvalSpline(double t) const {
  return {Evaluate(T, X, Zx, count, t), Evaluate(T, Y, Zy, count, t)};
}

}  // namespace mirasketch
