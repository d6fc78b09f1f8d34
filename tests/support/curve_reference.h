#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

namespace mirasketch::test {

// A parametric natural cubic spline in its textbook form, over the chord length scaled to 0 … 1:
// second derivatives M from h[i−1]·M[i−1] + 2(h[i−1] + h[i])·M[i] + h[i]·M[i+1] =
// 6·(slope[i] − slope[i−1]) with M = 0 at both ends, solved by Gaussian elimination.
class NaturalSpline {
 public:
  NaturalSpline(const std::vector<double>& xs, const std::vector<double>& ys)
      : x_(xs), y_(ys), t_(xs.size()) {
    for (std::size_t i = 1; i < xs.size(); ++i)
      t_[i] = t_[i - 1] + std::hypot(xs[i] - xs[i - 1], ys[i] - ys[i - 1]);
    const double length = t_.back();
    for (double& t : t_) t /= length;
    mx_ = SecondDerivatives(x_);
    my_ = SecondDerivatives(y_);
  }

  double X(double u) const { return At(x_, mx_, u); }
  double Y(double u) const { return At(y_, my_, u); }
  const std::vector<double>& Knots() const { return t_; }

 private:
  std::vector<double> SecondDerivatives(const std::vector<double>& v) const {
    const std::size_t n = v.size();
    std::vector<std::vector<double>> a(n, std::vector<double>(n + 1, 0.0));
    a[0][0] = a[n - 1][n - 1] = 1.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
      const double h0 = t_[i] - t_[i - 1], h1 = t_[i + 1] - t_[i];
      a[i][i - 1] = h0;
      a[i][i] = 2.0 * (h0 + h1);
      a[i][i + 1] = h1;
      a[i][n] = 6.0 * ((v[i + 1] - v[i]) / h1 - (v[i] - v[i - 1]) / h0);
    }
    for (std::size_t c = 0; c < n; ++c)
      for (std::size_t r = c + 1; r < n; ++r) {
        const double f = a[r][c] / a[c][c];
        for (std::size_t k = c; k <= n; ++k) a[r][k] -= f * a[c][k];
      }
    std::vector<double> m(n);
    for (std::size_t r = n; r-- > 0;) {
      double sum = a[r][n];
      for (std::size_t k = r + 1; k < n; ++k) sum -= a[r][k] * m[k];
      m[r] = sum / a[r][r];
    }
    return m;
  }

  double At(const std::vector<double>& v, const std::vector<double>& m, double u) const {
    std::size_t i = 0;
    while (i + 2 < t_.size() && u > t_[i + 1]) ++i;
    const double h = t_[i + 1] - t_[i], a = t_[i + 1] - u, b = u - t_[i];
    return m[i] * a * a * a / (6 * h) + m[i + 1] * b * b * b / (6 * h) +
           (v[i] / h - m[i] * h / 6) * a + (v[i + 1] / h - m[i + 1] * h / 6) * b;
  }

  std::vector<double> x_, y_, t_, mx_, my_;
};

// The program's line walk from (x0, y0) to (x1, y1), the end left out (a zero-length line gives
// its one point): one pixel along the longer axis each step, one along the shorter one whenever
// the slope accumulated reaches 1.
template <typename PointOp>
void WalkSegment(int x0, int y0, int x1, int y1, PointOp&& op) {
  const int dx = x1 - x0, dy = y1 - y0;
  const int sx = (dx > 0) - (dx < 0), sy = (dy > 0) - (dy < 0);
  const bool xMajor = std::abs(dy) <= std::abs(dx);
  const int major = xMajor ? std::abs(dx) : std::abs(dy);
  const double slope =
      major == 0 ? 0.0 : (xMajor ? std::abs(dy) : std::abs(dx)) / static_cast<double>(major);
  int x = x0, y = y0;
  double e = 0.0;
  do {
    op(x, y);
    e += slope;
    const bool minor = e >= 1.0;
    if (minor) e -= 1.0;
    if (xMajor) {
      x += sx;
      y += minor ? sy : 0;
    } else {
      y += sy;
      x += minor ? sx : 0;
    }
  } while (xMajor ? x != x1 : y != y1);
}

// The one-coordinate nudge that keeps a curve's consecutive points apart.
inline double Nudged(double previous, double v) {
  return previous - v < 0.1 ? v + 0.4 : v;
}

}  // namespace mirasketch::test
