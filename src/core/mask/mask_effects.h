#pragma once

#include <cstddef>
#include <cstdint>

namespace mirasketch {

// A mask plane seen top row first: row y (0 at the top) starts at `top` + y × `stride`. The
// stride is negative for the buffers' bottom-up storage.
struct MaskPlane {
  std::uint8_t* top;
  std::ptrdiff_t stride;
  int width, height;
  std::uint8_t* Row(int y) const { return top + static_cast<std::ptrdiff_t>(y) * stride; }
};

// `sum` / 9, truncated, without a division, for every sum of nine bytes (0 … 2295). 7282 / 65536
// is 1/9 + 2 / (9 × 65536): for sum = 9q + r the product is q + r/9 + 2 sum / (9 × 65536), and with
// r ≤ 8 and sum ≤ 2295 the fraction stays below 8/9 + 0.008 < 1. In 16-bit lanes it is one high
// multiply. The 3 × 3 means use it.
inline std::uint16_t DivideBy9(std::uint16_t sum) {
  return static_cast<std::uint16_t>((static_cast<std::uint32_t>(sum) * 7282u) >> 16);
}

// The byte at (x, y) with the plane taken as a torus: a coordinate one step outside wraps once to
// the opposite edge.
std::uint8_t WrapRead(const MaskPlane& plane, int x, int y);
// `a` brought into [0, 2π).
float NormAngle(float a);
// The difference of two angles, each brought into [0, 2π) first, as a value in (−π, π].
float AngleDiff(float a, float b);

// One pass of each neighbourhood effect: reads every byte of `from` and writes every byte of
// `to`, a distinct plane of the same size. Rows are visited from the top, columns from the left.

// The 3 × 3 mean (the plane a torus), truncated; with `keep255` a byte of 255 stays 255.
void MeltPass(const MaskPlane& from, const MaskPlane& to, bool keep255);
// The falling dilation: each byte becomes the larger of itself and the largest of its four edge
// neighbours (those inside the plane) less `fall`, clamped to 0 … 255.
void HaloPass(const MaskPlane& from, const MaskPlane& to, int fall);
// The old halo's step: a byte f grows by one (up to 255) when a byte of its 3 × 3 block inside
// the plane exceeds f + `a`.
void HaloOldPass(const MaskPlane& from, const MaskPlane& to, int a);
// The twisted vote: with k the bytes of 128 or more in the 3 × 3 block (the plane a torus), 255
// when k is 4 or at least 6, else 0.
void VotePass(const MaskPlane& from, const MaskPlane& to);
// The rug: the 3 × 3 mean (the plane a torus), truncated, plus one modulo 256.
void RugPass(const MaskPlane& from, const MaskPlane& to);

// Whole-plane effects, in place.

// With `lower`, bytes at or below `strength` fall by `count`; otherwise bytes at or above it rise
// by `count`; clamped to 0 … 255.
void ShiftMaskLevels(const MaskPlane& plane, int count, bool lower, int strength);
// The V-shaped ramp away from the line through (cx, cy) at `degrees` (0–359, counter-clockwise
// on the screen from the x axis): the distance from the line times `incline` / 100, clamped and
// floored, in single precision. 90 and 270 take 89.995°.
void GradationMask(const MaskPlane& plane, int cx, int cy, int degrees, int incline);
// Rays around (cx, cy): `division` rays from the angle −`degrees`; each byte grows with the
// angular distance to the nearest ray (`arcIncline` × 10 a radian) and with the distance from the
// centre (`incline` / 100 a pixel), clamped and floored.
void LightMask(const MaskPlane& plane, int cx, int cy, int degrees, int incline, int arcIncline,
               int division);

}  // namespace mirasketch
