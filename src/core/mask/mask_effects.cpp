#include "mask/mask_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// Gradation and light are computed in single precision step by step. This file is built with
// -ffp-contract=off (src/core/CMakeLists.txt): a fused multiply-add rounds once where the separate
// multiply and add round twice, so contraction would change bytes between machines.

namespace mirasketch {

namespace {

using Byte = std::uint8_t;

constexpr float kPi = 3.14159265358979323846f;
constexpr float kTwoPi = 6.28318530717958647692f;

// The passes are vectorised by the compiler; x86-64's baseline gives 16-byte vectors, so where the
// processor has AVX2 a second copy of each pass, chosen when the program loads, uses 32 bytes.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MIRASKETCH_AVX2_CLONE __attribute__((target_clones("default", "avx2")))
#else
#define MIRASKETCH_AVX2_CLONE
#endif

// The row kernels are inlined into each copy of a pass so that each copy vectorises them for its
// own instruction set.
#if defined(__GNUC__) || defined(__clang__)
#define MIRASKETCH_INLINE [[gnu::always_inline]] inline
#else
#define MIRASKETCH_INLINE inline
#endif

// Columns per chunk of a row's vertical 3-sums: the sums sit in a fixed stack array (about 1 KB),
// reused chunk by chunk, so a pass allocates nothing.
constexpr int kChunk = 512;

// The torus effects, each as the sum of a column of three bytes and the byte a block's sum (the
// sum of three neighbouring column sums) and its centre byte give.
struct Melt {
  using Sum = std::uint16_t;
  static Sum Column(Byte a, Byte b, Byte c) { return static_cast<Sum>(a + b + c); }
  static Byte Finish(Sum sum, Byte) { return static_cast<Byte>(DivideBy9(sum)); }
};

struct MeltKeep255 {
  using Sum = std::uint16_t;
  static Sum Column(Byte a, Byte b, Byte c) { return static_cast<Sum>(a + b + c); }
  static Byte Finish(Sum sum, Byte own) {
    return own == 255 ? Byte{255} : static_cast<Byte>(DivideBy9(sum));
  }
};

// The mean plus one wraps from 255 to 0 in the byte.
struct Rug {
  using Sum = std::uint16_t;
  static Sum Column(Byte a, Byte b, Byte c) { return static_cast<Sum>(a + b + c); }
  static Byte Finish(Sum sum, Byte) { return static_cast<Byte>(DivideBy9(sum) + 1); }
};

// Counts the bytes of 128 or more (their top bit); a block holds at most 9.
struct Vote {
  using Sum = std::uint8_t;
  static Sum Column(Byte a, Byte b, Byte c) {
    return static_cast<Sum>((a >> 7) + (b >> 7) + (c >> 7));
  }
  static Byte Finish(Sum k, Byte) { return k == 4 || k >= 6 ? Byte{255} : Byte{0}; }
};

// Column x of a row whose neighbours wrap: x − 1 of column 0 is w − 1, x + 1 of w − 1 is 0.
template <typename Effect>
MIRASKETCH_INLINE void TorusEdge(const Byte* a, const Byte* b, const Byte* c, Byte* out, int w,
                                 int x) {
  const int left = x == 0 ? w - 1 : x - 1;
  const int right = x == w - 1 ? 0 : x + 1;
  const auto sum = static_cast<typename Effect::Sum>(Effect::Column(a[left], b[left], c[left]) +
                                                     Effect::Column(a[x], b[x], c[x]) +
                                                     Effect::Column(a[right], b[right], c[right]));
  out[x] = Effect::Finish(sum, b[x]);
}

// One row of a torus effect from the rows above (a), at (b) and below (c): the interior columns
// from their column sums, chunk by chunk, then the two edge columns.
template <typename Effect>
MIRASKETCH_INLINE void TorusRow(const Byte* a, const Byte* b, const Byte* c, Byte* __restrict out,
                                int w) {
  using Sum = typename Effect::Sum;
  Sum sums[kChunk + 2];
  for (int x = 1; x < w - 1; x += kChunk) {
    const int n = std::min(kChunk, w - 1 - x);
    // Columns x − 1 … x + n.
    const Byte* __restrict pa = a + x - 1;
    const Byte* __restrict pb = b + x - 1;
    const Byte* __restrict pc = c + x - 1;
    for (Sum *s = sums, *end = sums + n + 2; s != end; ++s, ++pa, ++pb, ++pc)
      *s = Effect::Column(*pa, *pb, *pc);
    const Byte* __restrict own = b + x;
    const Sum* s = sums;
    for (Byte *o = out + x, *end = out + x + n; o != end; ++o, ++own, ++s)
      *o = Effect::Finish(static_cast<Sum>(s[0] + s[1] + s[2]), *own);
  }
  TorusEdge<Effect>(a, b, c, out, w, 0);
  TorusEdge<Effect>(a, b, c, out, w, w - 1);
}

// A whole pass: the row above row 0 is the last row and the row below the last row is row 0.
template <typename Effect>
MIRASKETCH_INLINE void TorusPass(const MaskPlane& from, const MaskPlane& to) {
  const int w = from.width, h = from.height;
  if (w <= 0) return;
  for (int y = 0; y < h; ++y)
    TorusRow<Effect>(from.Row(y == 0 ? h - 1 : y - 1), from.Row(y),
                     from.Row(y == h - 1 ? 0 : y + 1), to.Row(y), w);
}

MIRASKETCH_AVX2_CLONE void MeltPlane(const MaskPlane& from, const MaskPlane& to, bool keep255) {
  if (keep255)
    TorusPass<MeltKeep255>(from, to);
  else
    TorusPass<Melt>(from, to);
}

MIRASKETCH_AVX2_CLONE void RugPlane(const MaskPlane& from, const MaskPlane& to) {
  TorusPass<Rug>(from, to);
}

MIRASKETCH_AVX2_CLONE void VotePlane(const MaskPlane& from, const MaskPlane& to) {
  TorusPass<Vote>(from, to);
}

// g less the fall, clamped to 0 … 255, with the fall split into a part to subtract (`down`) and
// one to add (`up`, for a negative fall), at most one of them non-zero; both saturate in the byte.
MIRASKETCH_INLINE Byte Fallen(Byte g, Byte down, Byte up) {
  const auto lowered = static_cast<Byte>(g - std::min(g, down));
  return static_cast<Byte>(lowered + std::min(static_cast<Byte>(255 - lowered), up));
}

// Column x of the halo where a neighbour may be missing: a neighbour outside the plane does not
// count, and a byte with no neighbour at all keeps its value.
template <bool kAbove, bool kBelow>
MIRASKETCH_INLINE void HaloEdge(const Byte* a, const Byte* b, const Byte* c, Byte* out, int w,
                                int x, Byte down, Byte up) {
  int g = -1;
  if (x > 0) g = std::max<int>(g, b[x - 1]);
  if (x < w - 1) g = std::max<int>(g, b[x + 1]);
  if constexpr (kAbove) g = std::max<int>(g, a[x]);
  if constexpr (kBelow) g = std::max<int>(g, c[x]);
  out[x] = g < 0 ? b[x] : std::max(b[x], Fallen(static_cast<Byte>(g), down, up));
}

// One row of the halo; the rows above and below are read only where they exist.
template <bool kAbove, bool kBelow>
MIRASKETCH_INLINE void HaloRow(const Byte* a, const Byte* b, const Byte* c, Byte* __restrict out,
                               int w, Byte down, Byte up) {
  if (w > 2) {
    const Byte* __restrict pa = a + 1;
    const Byte* __restrict pb = b + 1;
    const Byte* __restrict pc = c + 1;
    for (Byte *o = out + 1, *end = out + w - 1; o != end; ++o, ++pa, ++pb, ++pc) {
      Byte g = std::max(pb[-1], pb[1]);
      if constexpr (kAbove) g = std::max(g, *pa);
      if constexpr (kBelow) g = std::max(g, *pc);
      *o = std::max(*pb, Fallen(g, down, up));
    }
  }
  HaloEdge<kAbove, kBelow>(a, b, c, out, w, 0, down, up);
  HaloEdge<kAbove, kBelow>(a, b, c, out, w, w - 1, down, up);
}

MIRASKETCH_AVX2_CLONE void HaloPlane(const MaskPlane& from, const MaskPlane& to, Byte down,
                                     Byte up) {
  const int w = from.width, h = from.height;
  if (w <= 0) return;
  for (int y = 0; y < h; ++y) {
    const Byte* b = from.Row(y);
    const Byte* a = y > 0 ? from.Row(y - 1) : b;
    const Byte* c = y < h - 1 ? from.Row(y + 1) : b;
    if (y > 0 && y < h - 1)
      HaloRow<true, true>(a, b, c, to.Row(y), w, down, up);
    else if (y > 0)
      HaloRow<true, false>(a, b, c, to.Row(y), w, down, up);
    else if (y < h - 1)
      HaloRow<false, true>(a, b, c, to.Row(y), w, down, up);
    else
      HaloRow<false, false>(a, b, c, to.Row(y), w, down, up);
  }
}

// f grows by one (up to 255) when the block's largest byte m exceeds f + a, that is when
// m − f ≥ `reach` = a + 1 (m − f is 0 … 255 as the block holds f).
MIRASKETCH_INLINE Byte Grown(Byte m, Byte f, Byte reach) {
  return static_cast<Byte>(f + (static_cast<Byte>(m - f) >= reach && f != 255 ? 1 : 0));
}

MIRASKETCH_INLINE Byte Max3(const Byte* p) {
  return std::max(std::max(p[0], p[1]), p[2]);
}

// One row of the old halo. A missing row above or below is given as the row itself, and a
// missing column as the edge column: both repeat bytes the block already holds, so the largest
// byte is that of the pixels inside the plane.
MIRASKETCH_INLINE void HaloOldRow(const Byte* a, const Byte* b, const Byte* c, Byte* __restrict out,
                                  int w, Byte reach) {
  if (w > 2) {
    const Byte* __restrict pa = a;
    const Byte* __restrict pb = b;
    const Byte* __restrict pc = c;
    for (Byte *o = out + 1, *end = out + w - 1; o != end; ++o, ++pa, ++pb, ++pc) {
      const Byte m = std::max(std::max(Max3(pa), Max3(pb)), Max3(pc));
      *o = Grown(m, pb[1], reach);
    }
  }
  for (const int x : {0, w - 1}) {
    const int left = std::max(x - 1, 0), right = std::min(x + 1, w - 1);
    Byte m = 0;
    for (int i = left; i <= right; ++i) m = std::max({m, a[i], b[i], c[i]});
    out[x] = Grown(m, b[x], reach);
  }
}

MIRASKETCH_AVX2_CLONE void HaloOldPlane(const MaskPlane& from, const MaskPlane& to, Byte reach) {
  const int w = from.width, h = from.height;
  if (w <= 0) return;
  for (int y = 0; y < h; ++y) {
    const Byte* b = from.Row(y);
    HaloOldRow(y > 0 ? from.Row(y - 1) : b, b, y < h - 1 ? from.Row(y + 1) : b, to.Row(y), w,
               reach);
  }
}

// A float clamped to 0 … 255 and floored into a byte; NaN gives 0.
MIRASKETCH_INLINE Byte ClampFloor(float v) {
  return static_cast<Byte>(static_cast<int>(v > 0.0f ? (v < 255.0f ? v : 255.0f) : 0.0f));
}

MIRASKETCH_AVX2_CLONE void GradationPlane(const MaskPlane& plane, float s, float off, float norm,
                                          float slope) {
  const int w = plane.width;
  for (int y = 0; y < plane.height; ++y) {
    const auto fy = static_cast<float>(y);
    Byte* p = plane.Row(y);
    for (int x = 0; x < w; ++x, ++p) {
      const float d = std::fabs(s * static_cast<float>(x) + fy + off) / norm;
      *p = ClampFloor(slope * d);
    }
  }
}

}  // namespace

std::uint8_t WrapRead(const MaskPlane& plane, int x, int y) {
  if (x < 0)
    x += plane.width;
  else if (x >= plane.width)
    x -= plane.width;
  if (y < 0)
    y += plane.height;
  else if (y >= plane.height)
    y -= plane.height;
  return plane.Row(y)[x];
}

float NormAngle(float a) {
  // Stepping by 2π would never end for an infinity or NaN, nor for an angle so large that adding
  // 2π leaves it unchanged; far-off angles are first reduced by the exact remainder.
  if (!std::isfinite(a)) return 0.0f;
  if (std::fabs(a) > 1024.0f) a = std::fmod(a, kTwoPi);
  while (a < 0.0f) a += kTwoPi;
  while (a >= kTwoPi) a -= kTwoPi;
  return a;
}

float AngleDiff(float a, float b) {
  const float p = NormAngle(a), q = NormAngle(b);
  if (p == q) return 0.0f;
  float d = p - q;
  if (d < 0.0f && d <= -kPi) d += kTwoPi;
  if (d > 0.0f && d > kPi) d -= kTwoPi;
  return d;
}

void MeltPass(const MaskPlane& from, const MaskPlane& to, bool keep255) {
  MeltPlane(from, to, keep255);
}

void HaloPass(const MaskPlane& from, const MaskPlane& to, int fall) {
  HaloPlane(from, to, static_cast<Byte>(std::clamp(fall, 0, 255)),
            static_cast<Byte>(std::clamp(fall, -255, 0) * -1));
}

void HaloOldPass(const MaskPlane& from, const MaskPlane& to, int a) {
  if (a >= 255) {
    // No byte can exceed another by more than 255: nothing grows.
    for (int y = 0; y < from.height; ++y)
      std::memcpy(to.Row(y), from.Row(y), static_cast<std::size_t>(std::max(from.width, 0)));
    return;
  }
  HaloOldPlane(from, to, static_cast<Byte>(std::max(a, -1) + 1));
}

void VotePass(const MaskPlane& from, const MaskPlane& to) {
  VotePlane(from, to);
}

void RugPass(const MaskPlane& from, const MaskPlane& to) {
  RugPlane(from, to);
}

void ShiftMaskLevels(const MaskPlane& plane, int count, bool lower, int strength) {
  // Each byte's new value depends on the byte alone: one table lookup a pixel.
  Byte table[256];
  for (int v = 0; v < 256; ++v) {
    const bool moves = lower ? v <= strength : v >= strength;
    const long long shifted =
        lower ? static_cast<long long>(v) - count : static_cast<long long>(v) + count;
    table[v] = moves ? static_cast<Byte>(std::clamp(shifted, 0LL, 255LL)) : static_cast<Byte>(v);
  }
  const int w = plane.width;
  for (int y = 0; y < plane.height; ++y)
    for (Byte *p = plane.Row(y), *end = p + w; p != end; ++p) *p = table[*p];
}

void GradationMask(const MaskPlane& plane, int cx, int cy, int degrees, int incline) {
  // Straight up or down the tangent has no value; those two take 89.995°, nearly vertical.
  const float theta = degrees == 90 || degrees == 270 ? 1.5707090603322968f
                                                      : static_cast<float>(degrees) * kPi / 180.0f;
  const float s = std::tan(theta);
  const float off = -(static_cast<float>(cx) * s + static_cast<float>(cy) * 1.0f);
  const float norm = std::sqrt(s * s + 1.0f);
  const float slope = static_cast<float>(incline) / 100.0f;
  GradationPlane(plane, s, off, norm, slope);
}

void LightMask(const MaskPlane& plane, int cx, int cy, int degrees, int incline, int arcIncline,
               int division) {
  // All in single precision, atan2 and the square root included (std::atan2 and std::sqrt of
  // floats). At least one ray: a division below 1 would make the sector infinite.
  const float dir = static_cast<float>(degrees) * kPi / 180.0f;
  const float slope = static_cast<float>(incline) / 100.0f;
  const float arc = static_cast<float>(arcIncline) * 10.0f;
  const float sector = kTwoPi / static_cast<float>(std::max(division, 1));
  const float half = sector / 2.0f;
  const int w = plane.width;
  for (int y = 0; y < plane.height; ++y) {
    const auto dy = static_cast<float>(static_cast<long long>(y) - cy);
    Byte* p = plane.Row(y);
    for (int x = 0; x < w; ++x, ++p) {
      const auto dx = static_cast<float>(static_cast<long long>(x) - cx);
      const float t = NormAngle(std::atan2(dy, dx) + dir);
      const float i = std::floor(NormAngle(half + t) / sector);
      const float e = std::fabs(AngleDiff(t, NormAngle(i * sector)));
      *p = ClampFloor(e * arc + std::sqrt(dx * dx + dy * dy) * slope);
    }
  }
}

}  // namespace mirasketch
