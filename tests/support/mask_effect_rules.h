#pragma once

// The mask effects pixel by pixel, written directly from their rules, for checking the passes and
// the sessions that run them. Files that use the gradation and light rules are built with
// -ffp-contract=off, as the effects are, so that the single-precision steps round alike.

#include <cmath>
#include <cstdint>
#include <functional>

#include "mask/mask_effects.h"

namespace mirasketch::test {

using Rule = std::function<std::uint8_t(const MaskPlane&, int x, int y)>;

// The sum of the 3 × 3 block around (x, y) on the torus, or the count of its bytes of 128 or more.
inline int TorusSum(const MaskPlane& p, int x, int y, bool countBright) {
  int sum = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const std::uint8_t v = WrapRead(p, x + dx, y + dy);
      sum += countBright ? (v >= 128 ? 1 : 0) : v;
    }
  return sum;
}

inline Rule MeltRule(bool keep255) {
  return [keep255](const MaskPlane& p, int x, int y) {
    if (keep255 && p.Row(y)[x] == 255) return std::uint8_t{255};
    return static_cast<std::uint8_t>(TorusSum(p, x, y, false) / 9);
  };
}

inline std::uint8_t RugRule(const MaskPlane& p, int x, int y) {
  const int m = TorusSum(p, x, y, false) / 9;
  return static_cast<std::uint8_t>(m < 255 ? m + 1 : 0);
}

inline std::uint8_t VoteRule(const MaskPlane& p, int x, int y) {
  const int k = TorusSum(p, x, y, true);
  return k == 4 || k >= 6 ? 255 : 0;
}

inline std::uint8_t ClampedFloor(float v) {
  return static_cast<std::uint8_t>(std::floor(std::fmax(0.0f, std::fmin(v, 255.0f))));
}

// The gradation's byte at (x, y): the distance from the line through (cx, cy) at `degrees`
// (89.995° for 90 and 270) times incline / 100.
inline std::uint8_t GradationByte(int x, int y, int cx, int cy, int degrees, int incline) {
  const float pi = 3.14159265358979323846f;
  const float theta = degrees == 90 || degrees == 270 ? 1.5707090603322968f
                                                      : static_cast<float>(degrees) * pi / 180.0f;
  const float s = std::tan(theta);
  const float off = -(static_cast<float>(cx) * s + static_cast<float>(cy) * 1.0f);
  const float norm = std::sqrt(s * s + 1.0f);
  const float along = s * static_cast<float>(x);
  const float d = std::fabs(along + static_cast<float>(y) + off) / norm;
  return ClampedFloor(static_cast<float>(incline) / 100.0f * d);
}

// The light's byte at (x, y): its distance from (cx, cy) times incline / 100 plus its angle from
// the nearest of `division` rays times arc · 10.
inline std::uint8_t LightByte(int x, int y, int cx, int cy, int degrees, int incline, int arc,
                              int division) {
  const float pi = 3.14159265358979323846f;
  const float dx = static_cast<float>(x - cx), dy = static_cast<float>(y - cy);
  const float sector = 2.0f * pi / static_cast<float>(division);
  const float t = NormAngle(std::atan2(dy, dx) + static_cast<float>(degrees) * pi / 180.0f);
  const float ray = std::floor(NormAngle(sector / 2.0f + t) / sector);
  const float e = std::fabs(AngleDiff(t, NormAngle(ray * sector)));
  return ClampedFloor(e * (static_cast<float>(arc) * 10.0f) +
                      std::sqrt(dx * dx + dy * dy) * (static_cast<float>(incline) / 100.0f));
}

}  // namespace mirasketch::test
