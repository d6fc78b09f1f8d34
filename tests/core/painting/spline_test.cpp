#include "painting/spline.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "support/curve_reference.h"

namespace mirasketch::test {
namespace {

TEST(SplineTest, FitIsTheNaturalSplineThroughThePointsOverChordLength) {
  const std::array<double, 5> xs = {0, 10, 20, 35, 50};
  const std::array<double, 5> ys = {0, 5, -3, 8, 0};
  SplinePoints p;
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(p.AppendPoint(xs[i], ys[i]));
  ASSERT_TRUE(p.FitSpline());
  const NaturalSpline reference({xs.begin(), xs.end()}, {ys.begin(), ys.end()});
  for (int i = 0; i <= 200; ++i) {
    const double u = i / 200.0;
    const SplinePoint s = p.EvalSpline(u);
    EXPECT_NEAR(s.x, reference.X(u), 1e-9) << u;
    EXPECT_NEAR(s.y, reference.Y(u), 1e-9) << u;
  }
  // The ends are the first and the last point.
  EXPECT_NEAR(p.EvalSpline(0).x, 0, 1e-12);
  EXPECT_NEAR(p.EvalSpline(0).y, 0, 1e-12);
  EXPECT_NEAR(p.EvalSpline(1).x, 50, 1e-9);
  EXPECT_NEAR(p.EvalSpline(1).y, 0, 1e-9);
}

TEST(SplineTest, NudgesKeepConsecutivePointsApart) {
  SplinePoints p;
  p.AppendPointNudged(10, 10);  // the first point is taken as it is
  p.AppendPointNudged(10, 10);  // not 0.1 below: raised in both coordinates
  EXPECT_DOUBLE_EQ(p.X[1], 10.4);
  EXPECT_DOUBLE_EQ(p.Y[1], 10.4);
  p.AppendPointNudged(10.35, 5);  // x only 0.05 below the last point: raised; y well below
  EXPECT_DOUBLE_EQ(p.X[2], 10.75);
  EXPECT_DOUBLE_EQ(p.Y[2], 5);
  // The last point is tested against the one before it.
  p.ReplaceLastPointNudged(10.4, 4);
  EXPECT_DOUBLE_EQ(p.X[2], 10.8);
  EXPECT_DOUBLE_EQ(p.Y[2], 4);
  EXPECT_EQ(p.count, 3);
  SplinePoints one;
  one.AppendPoint(1, 1);
  one.ReplaceLastPointNudged(1, 1);
  EXPECT_DOUBLE_EQ(one.X[0], 1);
}

TEST(SplineTest, RefusesWhatWouldOverflowOrDivideByZero) {
  SplinePoints p;
  for (int i = 0; i < 4; ++i) p.AppendPoint(i, i * i);
  EXPECT_FALSE(p.FitSpline());  // four points are too few
  while (p.count < 64) ASSERT_TRUE(p.AppendPoint(p.count, 0));
  EXPECT_FALSE(p.AppendPoint(99, 99));  // full: nothing written past the list
  EXPECT_EQ(p.count, 64);
  EXPECT_TRUE(p.FitSpline());
  // Coinciding consecutive points, and points far beyond any layer, give no curve, not NaN.
  SplinePoints same;
  for (int i = 0; i < 5; ++i) same.AppendPoint(7, 7);
  EXPECT_FALSE(same.FitSpline());
  SplinePoints dup;
  for (double x : {0.0, 5.0, 5.0, 9.0, 12.0}) dup.AppendPoint(x, 0);
  EXPECT_FALSE(dup.FitSpline());
  // Points far beyond any layer still give pixels an int can hold.
  SplinePoints far;
  for (double x : {0.0, 1.0, 2.0, 3.0, 1e300}) far.AppendPoint(x, -1e300);
  if (far.FitSpline()) {
    for (int i = 0; i <= 10; ++i) {
      const int px = TruncToPixel(far.EvalSpline(i / 10.0).x);
      EXPECT_LE(std::abs(px), 1 << 24);
    }
  }
  EXPECT_EQ(TruncToPixel(std::nan("")), -(1 << 24));
  EXPECT_EQ(TruncToPixel(-2.7), -2);
}

}  // namespace
}  // namespace mirasketch::test
