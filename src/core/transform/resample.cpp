#include "transform/resample.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "buffers/copy_block.h"
#include "buffers/dib256.h"
#include "platform/message_sink.h"
#include "platform/uniform_random.h"

// The sampling positions and the smoothing weights follow fixed double- and single-precision
// steps. This file is built with -ffp-contract=off (src/core/CMakeLists.txt): a fused
// multiply-add would round once where the steps round twice and change pixels between machines.

namespace mirasketch {

namespace {

using Byte = std::uint8_t;

constexpr int kWhite = 0xFFFFFF;
constexpr double kPi = 3.14159265358979323846;
constexpr Byte kBlack[3] = {0, 0, 0};

int ClampToInt(double v) {
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

int ClampToInt(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

int ColourOf(const Byte* p) {
  return p[0] << 16 | p[1] << 8 | p[2];
}

inline void CopyPixel(Byte* out, const Byte* p) {
  out[0] = p[0];
  out[1] = p[1];
  out[2] = p[2];
}

inline void WhitePixel(Byte* out) {
  out[0] = out[1] = out[2] = 255;
}

// 3-byte pixels read top row first; `step` bytes lead from a row to the one below it (negative in
// the bottom-up buffers). width × height is the part that may be read.
struct PixelRows {
  const Byte* top = nullptr;
  std::ptrdiff_t step = 0;
  int width = 0;
  int height = 0;
  const Byte* At(int x, int y) const {
    return top + static_cast<std::ptrdiff_t>(y) * step + static_cast<std::ptrdiff_t>(x) * 3;
  }
};

// The top-left width × height of a picture, cut to what the buffer holds.
PixelRows RowsOf(const CDibTrue& picture, int width, int height) {
  PixelRows rows;
  if (picture.Bits() == nullptr) return rows;
  rows.width = std::clamp(width, 0, picture.Width());
  rows.height = std::clamp(height, 0, picture.Height());
  if (rows.width == 0 || rows.height == 0) {
    rows.width = rows.height = 0;
    return rows;
  }
  rows.top = picture.Bits() + picture.PixelOffset(0, 0);
  rows.step = -static_cast<std::ptrdiff_t>(picture.Width()) * 3;
  return rows;
}

// The first byte of row y of a picture the caller has sized.
Byte* RowStart(CDibTrue& picture, int y) {
  return picture.Bits() + picture.PixelOffset(0, y);
}

// Mask bytes read top row first over a width × height area: the plane itself when it covers the
// area, otherwise a copy of the part it has with 0 (not masked) beyond it, so that the pixel
// loops never need to ask where the plane ends.
class MaskRows {
 public:
  MaskRows(const CDib256& plane, int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (plane.Bits() != nullptr && plane.Width() >= width && plane.Height() >= height) {
      top_ = plane.Bits() + plane.PixelOffset(0, 0);
      step_ = -static_cast<std::ptrdiff_t>(plane.Width());
      return;
    }
    own_.assign(static_cast<std::size_t>(width) * height, 0);
    if (plane.Bits() != nullptr) {
      const int w = std::min(width, plane.Width());
      const int h = std::min(height, plane.Height());
      for (int y = 0; y < h && w > 0; ++y)
        std::memcpy(own_.data() + static_cast<std::size_t>(y) * width,
                    plane.Bits() + plane.PixelOffset(0, y), static_cast<std::size_t>(w));
    }
    top_ = own_.data();
    step_ = width;
  }
  MaskRows(const MaskRows&) = delete;
  MaskRows& operator=(const MaskRows&) = delete;

  const Byte* Row(int y) const { return top_ + static_cast<std::ptrdiff_t>(y) * step_; }
  Byte At(int x, int y) const { return Row(y)[x]; }

 private:
  const Byte* top_ = nullptr;
  std::ptrdiff_t step_ = 0;
  std::vector<Byte> own_;
};

// The source area as the samplers read it, with the mask when `masked`.
struct Source {
  Source(const ResampleState& state, bool useMask)
      : rows(RowsOf(state.srcPiece, state.srcWidth, state.srcHeight)),
        masked(useMask),
        mask(state.srcPiece.mask, useMask ? rows.width : 0, useMask ? rows.height : 0) {}

  bool Inside(double x, double y) const {
    // Written so that a coordinate that is not a number falls outside.
    return x >= 0 && y >= 0 && x < rows.width && y < rows.height;
  }

  PixelRows rows;
  bool masked;
  MaskRows mask;
};

// Source pixel (i, j) as a smoothing neighbour; null when it is outside or masked.
const Byte* Neighbour(const Source& s, int i, int j) {
  if (i < 0 || j < 0 || i >= s.rows.width || j >= s.rows.height) return nullptr;
  if (s.masked && s.mask.At(i, j) != 0) return nullptr;
  return s.rows.At(i, j);
}

// Per channel ⌊(c1·wx + c0 + c2·wy) / (wy + wx + 1)⌋ in single precision, at most 255.
#if defined(__GNUC__) || defined(__clang__)
// The three channels go through the arithmetic side by side in one 4-lane vector: each lane
// rounds exactly as the scalar steps would, and the pixel costs one division instead of three.
using Float4 = float __attribute__((vector_size(16)));
using Int4 = int __attribute__((vector_size(16)));

// Byte values as floats, looked up rather than converted: the conversions cost more than loads.
struct ByteFloats {
  float value[256];
  constexpr ByteFloats() : value() {
    for (int i = 0; i < 256; ++i) value[i] = static_cast<float>(i);
  }
};
constexpr ByteFloats kByteFloats;

inline Float4 Channels(const Byte* p) {
  const float* f = kByteFloats.value;
  return Float4{f[p[0]], f[p[1]], f[p[2]], 0};
}

inline void Blend(const Byte* p0, const Byte* p1, float wx, const Byte* p2, float wy, Byte* out) {
  const float den = wy + wx + 1.0f;
  const Float4 num = Channels(p1) * wx + Channels(p0) + Channels(p2) * wy;
  Int4 v = __builtin_convertvector(num / den, Int4);  // num ≥ 0: truncation is the floor
  v = v < 255 ? v : 255;
  out[0] = static_cast<Byte>(v[0]);
  out[1] = static_cast<Byte>(v[1]);
  out[2] = static_cast<Byte>(v[2]);
}
#else
inline void Blend(const Byte* p0, const Byte* p1, float wx, const Byte* p2, float wy, Byte* out) {
  const float den = wy + wx + 1.0f;
  for (int k = 0; k < 3; ++k) {
    const float num =
        static_cast<float>(p1[k]) * wx + static_cast<float>(p0[k]) + static_cast<float>(p2[k]) * wy;
    const int v = static_cast<int>(num / den);  // num ≥ 0: truncation is the floor
    out[k] = static_cast<Byte>(v < 255 ? v : 255);
  }
}
#endif

// Smoothing at a point inside the source area, neighbours and mask checked.
void SmoothEdge(const Source& s, double x, double y, Byte* out) {
  const int cx = static_cast<int>(x);
  const int cy = static_cast<int>(y);
  const Byte* p0 = s.rows.At(cx, cy);
  if (s.masked && s.mask.At(cx, cy) != 0) {
    CopyPixel(out, p0);
    return;
  }
  const double ex = (x - cx) - 0.5;
  const Byte* p1 = Neighbour(s, ex >= 0 ? cx + 1 : cx - 1, cy);
  const float wx = p1 != nullptr ? static_cast<float>(std::min(0.5, std::fabs(ex))) : 0.0f;
  const double ey = (y - cy) - 0.5;
  const Byte* p2 = Neighbour(s, cx, ey >= 0 ? cy + 1 : cy - 1);
  const float wy = p2 != nullptr ? static_cast<float>(std::min(0.5, std::fabs(ey))) : 0.0f;
  Blend(p0, p1 != nullptr ? p1 : kBlack, wx, p2 != nullptr ? p2 : kBlack, wy, out);
}

// Smoothing where both neighbours exist and no mask applies (1 ≤ x < w − 1, 1 ≤ y < h − 1).
inline void SmoothInside(const PixelRows& rows, double x, double y, Byte* out) {
  const int cx = static_cast<int>(x);
  const int cy = static_cast<int>(y);
  const Byte* p0 = rows.At(cx, cy);
  const double ex = (x - cx) - 0.5;
  const double ey = (y - cy) - 0.5;
  // The side of each neighbour follows the point's position in the pixel, which changes from
  // pixel to pixel without a pattern a branch predictor could learn: chosen by arithmetic.
  const Byte* p1 = p0 + 3 - 6 * static_cast<int>(ex < 0);
  const Byte* p2 = p0 + rows.step - 2 * rows.step * static_cast<int>(ey < 0);
  Blend(p0, p1, static_cast<float>(std::min(0.5, std::fabs(ex))), p2,
        static_cast<float>(std::min(0.5, std::fabs(ey))), out);
}

void SampleInto(const Source& s, bool smooth, double x, double y, Byte* out) {
  if (!s.Inside(x, y))
    WhitePixel(out);
  else if (smooth)
    SmoothEdge(s, x, y, out);
  else
    CopyPixel(out, s.rows.At(static_cast<int>(x), static_cast<int>(y)));
}

// The first k of [from, to) for which `test` holds (to when none), `test` being false up to some
// k and true from there on.
template <typename Test>
int FirstTrue(int from, int to, Test test) {
  while (from < to) {
    const int mid = from + (to - from) / 2;
    if (test(mid))
      to = mid;
    else
      from = mid + 1;
  }
  return from;
}

// The indices k of [from, to) with low ≤ v(k) < high, for v monotone in k (non-decreasing when
// `rising`): an interval, as rounding keeps a monotone computation monotone.
template <typename V>
std::pair<int, int> Span(int from, int to, V v, bool rising, double low, double high) {
  if (rising)
    return {FirstTrue(from, to, [&](int k) { return v(k) >= low; }),
            FirstTrue(from, to, [&](int k) { return v(k) >= high; })};
  return {FirstTrue(from, to, [&](int k) { return v(k) < high; }),
          FirstTrue(from, to, [&](int k) { return v(k) < low; })};
}

// Where a run of samples at (x(k), y(k)), k in [from, to), reads the source: [lo, hi) inside it,
// and within that [inLo, inHi) where smoothing needs no neighbour or mask check. x and y are
// monotone in k, so each part is an interval, found once per run; its pixels are then read
// without checks.
struct RunPlan {
  int lo, hi, inLo, inHi;
};

template <typename X, typename Y>
RunPlan PlanRun(const Source& s, bool smooth, int from, int to, X x, bool xRising, Y y,
                bool yRising) {
  const auto [xLo, xHi] = Span(from, to, x, xRising, 0.0, s.rows.width);
  const auto [yLo, yHi] = Span(from, to, y, yRising, 0.0, s.rows.height);
  RunPlan plan;
  plan.lo = std::max(xLo, yLo);
  plan.hi = std::max(plan.lo, std::min(xHi, yHi));
  plan.inLo = plan.inHi = plan.hi;
  if (smooth && !s.masked && plan.lo < plan.hi) {
    const auto [ixLo, ixHi] = Span(plan.lo, plan.hi, x, xRising, 1.0, s.rows.width - 1.0);
    const auto [iyLo, iyHi] = Span(plan.lo, plan.hi, y, yRising, 1.0, s.rows.height - 1.0);
    plan.inLo = std::max(ixLo, iyLo);
    plan.inHi = std::max(plan.inLo, std::min(ixHi, iyHi));
  }
  return plan;
}

// Writes white to out + k·outStep for k in [from, to) outside the plan's [lo, hi).
inline void WhiteAround(const RunPlan& plan, Byte* out, std::ptrdiff_t outStep, int from, int to) {
  // Pointers are formed only for pixels that exist: a column runs towards the buffer's start.
  for (int k = from; k < plan.lo; ++k) WhitePixel(out + k * outStep);
  for (int k = plan.hi; k < to; ++k) WhitePixel(out + k * outStep);
}

// Writes the planned samples with k in [a, b) to out + k·outStep.
template <typename X, typename Y>
void SamplePart(const Source& s, bool smooth, const RunPlan& plan, Byte* out,
                std::ptrdiff_t outStep, int a, int b, X x, Y y) {
  const int lo = std::max(a, plan.lo);
  const int hi = std::min(b, plan.hi);
  if (lo >= hi) return;
  Byte* o = out + lo * outStep;
  if (!smooth) {
    const PixelRows& rows = s.rows;
    for (int k = lo; k < hi; ++k, o += outStep)
      CopyPixel(o, rows.At(static_cast<int>(x(k)), static_cast<int>(y(k))));
    return;
  }
  const int inLo = std::clamp(plan.inLo, lo, hi);
  const int inHi = std::clamp(plan.inHi, inLo, hi);
  int k = lo;
  for (; k < inLo; ++k, o += outStep) SmoothEdge(s, x(k), y(k), o);
  for (; k < inHi; ++k, o += outStep) SmoothInside(s.rows, x(k), y(k), o);
  for (; k < hi; ++k, o += outStep) SmoothEdge(s, x(k), y(k), o);
}

// The whole run [from, to): the samples, and white where it misses the source.
template <typename X, typename Y>
void SampleRun(const Source& s, bool smooth, Byte* out, std::ptrdiff_t outStep, int from, int to,
               X x, bool xRising, Y y, bool yRising) {
  if (from >= to) return;
  const RunPlan plan = PlanRun(s, smooth, from, to, x, xRising, y, yRising);
  WhiteAround(plan, out, outStep, from, to);
  SamplePart(s, smooth, plan, out, outStep, plan.lo, plan.hi, x, y);
}

// cos and sin of the angle in radians rounded to single precision.
struct Turn {
  double c;
  double s;
};

Turn TurnOf(float angleDegrees) {
  const auto r = static_cast<float>(static_cast<double>(angleDegrees) * kPi / 180.0);
  return {std::cos(static_cast<double>(r)), std::sin(static_cast<double>(r))};
}

// ResultBox; `fill` false leaves a successfully sized result unfilled for a caller that writes
// every byte of it itself.
bool SizeResult(ResampleState& state, const ResultCorners& points, int& minX, int& minY,
                MessageSink& messages, bool fill) {
  double loX = points[0][0], hiX = loX, loY = points[0][1], hiY = loY;
  bool finite = true;
  for (const auto& p : points) {
    finite = finite && std::isfinite(p[0]) && std::isfinite(p[1]);
    loX = std::min(loX, p[0]);
    hiX = std::max(hiX, p[0]);
    loY = std::min(loY, p[1]);
    hiY = std::max(hiY, p[1]);
  }
  bool sized = false;
  if (finite) {
    minX = ClampToInt(std::floor(loX));
    minY = ClampToInt(std::floor(loY));
    state.resultWidth = ClampToInt(std::ceil(hiX - loX));
    state.resultHeight = ClampToInt(std::ceil(hiY - loY));
    sized = state.resultWidth > 0 && state.resultHeight > 0 &&
            state.resultPicture.SetSize(state.resultWidth, state.resultHeight, messages);
  } else {
    // Corners that are not numbers (an angle of infinity or NaN) give no box at all.
    minX = minY = 0;
    state.resultWidth = state.resultHeight = 0;
  }
  if (!sized || fill)
    state.resultPicture.FillRect(0, 0, state.resultPicture.Width(), state.resultPicture.Height(),
                                 kWhite);
  return sized;
}

// Fills the result's columns from `width` to the end of the buffer's row (the padding of a width
// that is not a multiple of 4) with white.
void WhitePadding(CDibTrue& picture, int width) {
  if (width < picture.Width())
    picture.FillRect(width, 0, picture.Width() - width, picture.Height(), kWhite);
}

// The averaging reduction of `big` (nominally bigW × bigH, `big` the part that can be read) into
// the result. `mask`, when given, is read at the big coordinates shifted right by `maskShift`.
void Reduce(ResampleState& state, const PixelRows& big, int bigW, int bigH, const MaskRows* mask,
            int maskShift) {
  const int resultW = state.resultWidth;
  const int resultH = state.resultHeight;
  const int outW = std::min(resultW, state.resultPicture.Width());
  const int outH = std::min(resultH, state.resultPicture.Height());
  if (bigW <= 0 || bigH <= 0 || outW <= 0 || outH <= 0) return;
  const float sx = static_cast<float>(bigW) / static_cast<float>(resultW);
  const float sy = static_cast<float>(bigH) / static_cast<float>(resultH);
  const int e = static_cast<int>(std::ceil(static_cast<float>(resultW) / static_cast<float>(bigW)));
  const int f = static_cast<int>(std::ceil(static_cast<float>(resultH) / static_cast<float>(bigH)));

  std::vector<int> columns(static_cast<std::size_t>(outW));
  for (int h = 0; h < outW; ++h) columns[h] = static_cast<int>(sx * static_cast<float>(h));
  // The columns whose 3 × 3 window lies inside the picture (columns rise with h).
  const bool plain = mask == nullptr && e == 1 && f == 1;
  const int inLo = FirstTrue(0, outW, [&](int h) { return columns[h] >= 1; });
  const int inHi =
      std::max(inLo, FirstTrue(0, outW, [&](int h) { return columns[h] + 1 >= big.width; }));

  // A result pixel whose window may leave the picture or meet the mask.
  auto general = [&](int l, int m, Byte* out) {
    if (l >= big.width || m >= big.height) {
      WhitePixel(out);
      return;
    }
    const Byte* c = big.At(l, m);
    if (mask != nullptr && mask->At(l >> maskShift, m >> maskShift) != 0) {
      CopyPixel(out, c);
      return;
    }
    std::uint64_t sum[3] = {c[0], c[1], c[2]};
    std::uint64_t count = 1;
    const int iEnd = static_cast<int>(std::min<long long>(big.height - 1, 0LL + m + f));
    const int jEnd = static_cast<int>(std::min<long long>(big.width - 1, 0LL + l + e));
    for (int i = std::max(0, m - f); i <= iEnd; ++i) {
      const Byte* p = big.At(std::max(0, l - e), i);
      for (int j = std::max(0, l - e); j <= jEnd; ++j, p += 3) {
        if (mask != nullptr && mask->At(j >> maskShift, i >> maskShift) != 0) continue;
        sum[0] += p[0];
        sum[1] += p[1];
        sum[2] += p[2];
        ++count;
      }
    }
    for (int k = 0; k < 3; ++k) out[k] = static_cast<Byte>(sum[k] / count);
  };

  for (int g = 0; g < outH; ++g) {
    const int m = static_cast<int>(sy * static_cast<float>(g));
    Byte* out = RowStart(state.resultPicture, g);
    if (!plain || m < 1 || m + 1 >= big.height) {
      for (int h = 0; h < outW; ++h, out += 3) general(columns[h], m, out);
      continue;
    }
    int h = 0;
    for (; h < inLo; ++h, out += 3) general(columns[h], m, out);
    // The window's nine pixels with the centre counted twice: count 10.
    const std::ptrdiff_t step = big.step;
    const Byte* row = big.At(0, m);
    for (; h < inHi; ++h, out += 3) {
      const Byte* c = row + static_cast<std::ptrdiff_t>(columns[h]) * 3;
      const Byte* a = c - step;
      const Byte* b = c + step;
      for (int k = 0; k < 3; ++k) {
        const unsigned sum = 2u * c[k] + c[k - 3] + c[k + 3] + a[k - 3] + a[k] + a[k + 3] +
                             b[k - 3] + b[k] + b[k + 3];
        out[k] = static_cast<Byte>(sum / 10u);
      }
    }
    for (; h < outW; ++h, out += 3) general(columns[h], m, out);
  }
}

// The reduction of `big` (bigWidth × bigHeight of the big picture, or of the source read in place)
// into the result, the source mask consulted where it is protected; the big picture is released.
void ReduceRows(ResampleState& state, const PixelRows& big) {
  if (state.protectMask) {
    const MaskRows mask(state.srcPiece.mask, big.width, big.height);
    Reduce(state, big, state.bigWidth, state.bigHeight, &mask, 0);
  } else {
    Reduce(state, big, state.bigWidth, state.bigHeight, nullptr, 0);
  }
  state.bigPicture.Alloc(4, 4);
}

// Copies the n pixels whose mask byte is 0.
void Stamp(const Byte* in, const Byte* mask, Byte* out, int n) {
  for (const Byte* end = mask + n; mask != end; ++mask, in += 3, out += 3)
    if (*mask == 0) CopyPixel(out, in);
}

}  // namespace

int SampleSource(const ResampleState& state, double x, double y) {
  const Source s(state, state.protectMask);
  Byte out[3];
  SampleInto(s, state.smoothing, x, y, out);
  return ColourOf(out);
}

int SmoothSample(const ResampleState& state, double x, double y) {
  const Source s(state, state.protectMask);
  if (!s.Inside(x, y)) return kWhite;
  Byte out[3];
  SmoothEdge(s, x, y, out);
  return ColourOf(out);
}

bool NeighbourSample(const ResampleState& state, int i, int j, int& colour) {
  const Source s(state, state.protectMask);
  const Byte* p = Neighbour(s, i, j);
  colour = p != nullptr ? ColourOf(p) : 0;
  return p != nullptr;
}

void RotatePoint(float angleDegrees, double x, double y, double& xOut, double& yOut) {
  const Turn t = TurnOf(angleDegrees);
  xOut = x * t.c + y * t.s;
  yOut = -x * t.s + y * t.c;
}

bool ResultBox(ResampleState& state, const ResultCorners& points, int& minX, int& minY,
               MessageSink& messages) {
  return SizeResult(state, points, minX, minY, messages, true);
}

void SetCornersFromTarget(ResampleState& state) {
  const int hw = state.targetWidth / 2;
  const int hh = state.targetHeight / 2;
  state.handles[0] = {-hw, -hh};
  state.handles[1] = {hw, -hh};
  state.handles[2] = {-hw, hh};
  state.handles[3] = {hw, hh};
}

void ComputeScale(ResampleState& state, MessageSink& messages) {
  const int tw = state.targetWidth;
  const int th = state.targetHeight;
  int minX = 0, minY = 0;
  const ResultCorners box{
      {{0, 0}, {static_cast<double>(tw), static_cast<double>(th)}, {0, 0}, {0, 0}}};
  if (!SizeResult(state, box, minX, minY, messages, false)) return;
  SetCornersFromTarget(state);
  if (state.smoothing && tw < state.srcWidth && th < state.srcHeight) {
    // The big picture would be a copy of the source area; the reduction reads the source in
    // place, which gives the same pixels without the copy.
    state.bigWidth = state.srcWidth;
    state.bigHeight = state.srcHeight;
    WhitePadding(state.resultPicture, tw);
    ReduceRows(state, RowsOf(state.srcPiece, state.bigWidth, state.bigHeight));
    return;
  }
  const Source s(state, state.protectMask);
  const double sw = state.srcWidth;
  const double sh = state.srcHeight;
  std::vector<double> xs(static_cast<std::size_t>(tw));
  for (int j = 0; j < tw; ++j) xs[j] = (j + 0.5) * sw / tw;
  const int padded = state.resultPicture.Width();
  for (int i = 0; i < th; ++i) {
    const double y = (i + 0.5) * sh / th;
    Byte* out = RowStart(state.resultPicture, i);
    SampleRun(
        s, state.smoothing, out, 3, 0, tw, [&](int j) { return xs[j]; }, sw >= 0,
        [y](int) { return y; }, true);
    for (Byte* o = out + 3 * tw; o != out + 3 * padded; o += 3) WhitePixel(o);
  }
  SetCornersFromTarget(state);
}

void ComputeRotation(ResampleState& state, MessageSink& messages) {
  const double w = state.srcWidth;
  const double h = state.srcHeight;
  double x1, y1, x2, y2, x3, y3;
  RotatePoint(state.angle, w, 0, x1, y1);
  RotatePoint(state.angle, w, h, x2, y2);
  RotatePoint(state.angle, 0, h, x3, y3);
  const ResultCorners box{{{0, 0},
                           {std::floor(x3), std::floor(y3)},
                           {std::floor(x2), std::floor(y2)},
                           {std::floor(x1), std::floor(y1)}}};
  int minX = 0, minY = 0;
  // Every byte of the result is written below, the white around the picture included.
  if (!SizeResult(state, box, minX, minY, messages, false)) return;

  // Result pixel (j, i) samples RotatePoint(−angle, j + minX + 0.5, i + minY + 0.5). Along a row
  // only X = j + minX + 0.5 changes (exactly, by 1), so the Y products are formed once per row;
  // the X products are formed per pixel, as stepping them would round differently.
  const Turn back = TurnOf(-state.angle);
  const double c = back.c;
  const double ns = -back.s;
  const double baseX = minX + 0.5;
  const Source s(state, state.protectMask);
  const bool smooth = state.smoothing;
  const int width = state.resultWidth;
  const int height = state.resultHeight;
  const int padded = state.resultPicture.Width();
  // A result row crosses many source rows; taken whole, each pixel would touch a new stretch of
  // memory. Tiles of kBand rows × kChunk columns keep the source they read in the caches.
  constexpr int kBand = 16;
  constexpr int kChunk = 128;
  RunPlan plans[kBand];
  double ys[kBand], yc[kBand];
  for (int i0 = 0; i0 < height; i0 += kBand) {
    const int rows = std::min(kBand, height - i0);
    for (int r = 0; r < rows; ++r) {
      const double yy = (i0 + r) + (minY + 0.5);
      ys[r] = yy * back.s;
      yc[r] = yy * c;
      plans[r] = PlanRun(
          s, smooth, 0, width, [&](int j) { return (j + baseX) * c + ys[r]; }, c >= 0,
          [&](int j) { return (j + baseX) * ns + yc[r]; }, ns >= 0);
      Byte* out = RowStart(state.resultPicture, i0 + r);
      WhiteAround(plans[r], out, 3, 0, width);
      for (Byte* o = out + 3 * width; o != out + 3 * padded; o += 3) WhitePixel(o);
    }
    for (int a = 0; a < width; a += kChunk) {
      const int b = std::min(width, a + kChunk);
      for (int r = 0; r < rows; ++r) {
        if (plans[r].hi <= a || plans[r].lo >= b) continue;
        const double rowS = ys[r];
        const double rowC = yc[r];
        SamplePart(
            s, smooth, plans[r], RowStart(state.resultPicture, i0 + r), 3, a, b,
            [&](int j) { return (j + baseX) * c + rowS; },
            [&](int j) { return (j + baseX) * ns + rowC; });
      }
    }
  }
}

void ComputeTrapezoid(ResampleState& state, MessageSink& messages) {
  const auto& hd = state.handles;
  auto corner = [](HandlePoint p) {
    return std::array<double, 2>{static_cast<double>(p.x), static_cast<double>(p.y)};
  };
  int minX = 0, minY = 0;
  if (!SizeResult(state, {corner(hd[0]), corner(hd[3]), corner(hd[2]), corner(hd[1])}, minX, minY,
                  messages, true))
    return;
  // Wide arithmetic: the handles may lie anywhere an int reaches.
  const long long W = state.resultWidth;
  const long long H = state.resultHeight;
  const long long sw = state.srcWidth;
  const long long sh = state.srcHeight;
  const Source s(state, state.protectMask);
  const std::ptrdiff_t rowStep = -static_cast<std::ptrdiff_t>(state.resultPicture.Width()) * 3;
  Byte* top = RowStart(state.resultPicture, 0);

  // One run of result pixels [first, last] along a row or column: sampled from `along` = 0 at
  // `first` to the source's far edge at `last` (which reads white), at `across` on the other axis.
  // Runs reach one past the result's last column or row; the writes stay inside it.
  auto run = [&](long long first, long long last, long long limit, long long srcAlong,
                 double across, bool horizontal, Byte* out, std::ptrdiff_t outStep) {
    if (last < first) return;
    const int from = static_cast<int>(std::clamp(first, 0LL, limit));
    const int to = static_cast<int>(std::min(last + 1, limit));
    const long long length = last - first;
    auto along = [&](int d) {
      return length == 0
                 ? static_cast<double>(srcAlong / 2)
                 : static_cast<double>((d - first) * srcAlong) / static_cast<double>(length);
    };
    auto fixed = [across](int) { return across; };
    if (horizontal)
      SampleRun(s, state.smoothing, out, outStep, from, to, along, srcAlong >= 0, fixed, true);
    else
      SampleRun(s, state.smoothing, out, outStep, from, to, fixed, true, along, srcAlong >= 0);
  };

  if (state.trapezoidHorizontal) {
    for (long long a = 0; a < H; ++a) {
      const long long xl = hd[0].x + (a * (0LL + hd[2].x - hd[0].x)) / H - minX;
      const long long xr = hd[1].x + (a * (0LL + hd[3].x - hd[1].x)) / H - minX;
      const double sy = static_cast<double>(a * sh) / static_cast<double>(H);
      run(xl, xr, W, sw, sy, true, top + a * rowStep, 3);
    }
  } else {
    for (long long a = 0; a < W; ++a) {
      const long long yt = hd[0].y + (a * (0LL + hd[1].y - hd[0].y)) / W - minY;
      const long long yb = hd[2].y + (a * (0LL + hd[3].y - hd[2].y)) / W - minY;
      const double sx = static_cast<double>(a * sw) / static_cast<double>(W);
      run(yt, yb, H, sh, sx, false, top + a * 3, rowStep);
    }
  }
}

void ReduceAverage(ResampleState& state) {
  ReduceRows(state, RowsOf(state.bigPicture, state.bigWidth, state.bigHeight));
}

void AntiAlias(ResampleState& state, MessageSink& messages) {
  state.bigWidth = ClampToInt(2LL * state.srcWidth);
  state.bigHeight = ClampToInt(2LL * state.srcHeight);
  if (!state.bigPicture.SetSize(state.bigWidth, state.bigHeight, messages)) return;
  state.resultWidth = state.srcWidth;
  state.resultHeight = state.srcHeight;
  if (!state.resultPicture.SetSize(state.resultWidth, state.resultHeight, messages)) {
    state.bigPicture.Alloc(4, 4);
    return;
  }
  state.resultPicture.FillRect(0, 0, state.resultPicture.Width(), state.resultPicture.Height(),
                               kWhite);
  // Each source pixel becomes a 2 × 2 block; what the piece cannot supply stays white.
  const PixelRows src = RowsOf(state.srcPiece, state.srcWidth, state.srcHeight);
  if (src.width < state.srcWidth || src.height < state.srcHeight)
    state.bigPicture.FillRect(0, 0, state.bigWidth, state.bigHeight, kWhite);
  const std::size_t bigRowBytes = static_cast<std::size_t>(src.width) * 6;
  for (int y = 0; y < src.height; ++y) {
    const Byte* in = src.At(0, y);
    Byte* upper = RowStart(state.bigPicture, 2 * y);
    for (Byte *o = upper, *end = upper + bigRowBytes; o != end; o += 6, in += 3) {
      CopyPixel(o, in);
      CopyPixel(o + 3, in);
    }
    std::memcpy(RowStart(state.bigPicture, 2 * y + 1), upper, bigRowBytes);
  }
  const PixelRows big = RowsOf(state.bigPicture, state.bigWidth, state.bigHeight);
  if (state.protectMask) {
    // A doubled pixel takes the mask of the source pixel it came from.
    const MaskRows mask(state.srcPiece.mask, (big.width + 1) / 2, (big.height + 1) / 2);
    Reduce(state, big, state.bigWidth, state.bigHeight, &mask, 1);
  } else {
    Reduce(state, big, state.bigWidth, state.bigHeight, nullptr, 1);
  }
  state.bigPicture.Alloc(4, 4);
}

void Tile(ResampleState& state, UniformRandom& random, MessageSink& messages) {
  state.resultWidth = state.srcWidth;
  state.resultHeight = state.srcHeight;
  if (!state.resultPicture.SetSize(state.resultWidth, state.resultHeight, messages)) return;
  state.resultPicture.FillRect(0, 0, state.resultPicture.Width(), state.resultPicture.Height(),
                               kWhite);
  // The picture was sized, so both sides are 4 … 30000 and the wrapping below terminates.
  const int W = state.srcWidth;
  const int H = state.srcHeight;
  const Source s(state, true);
  // The window offers 1 … 100 copies; a count beyond that range is held to it.
  const int copies = std::clamp(state.tileCount, 1, 100);
  for (int n = 0; n < copies; ++n) {
    const int ox = random.Below(2 * W) - W;
    const int oy = random.Below(2 * H) - H;
    const int startX = (ox + W) % W;
    // The first stretch of each source row runs to the result's right edge, the rest wraps to 0.
    const int firstRun = std::min(s.rows.width, W - startX);
    for (int y = 0; y < s.rows.height; ++y) {
      const Byte* in = s.rows.At(0, y);
      const Byte* m = s.mask.Row(y);
      Byte* row = RowStart(state.resultPicture, (oy + y + H) % H);
      Stamp(in, m, row + static_cast<std::ptrdiff_t>(startX) * 3, firstRun);
      Stamp(in + static_cast<std::ptrdiff_t>(firstRun) * 3, m + firstRun, row,
            s.rows.width - firstRun);
    }
  }
}

void SideBySide(ResampleState& state, MessageSink& messages) {
  const long long n = state.sideCount;
  state.resultWidth = ClampToInt(n * state.srcWidth);
  state.resultHeight = ClampToInt(n * state.srcHeight);
  if (!state.resultPicture.SetSize(state.resultWidth, state.resultHeight, messages)) return;
  state.resultPicture.FillRect(0, 0, state.resultPicture.Width(), state.resultPicture.Height(),
                               kWhite);
  const PixelRows src = RowsOf(state.srcPiece, state.srcWidth, state.srcHeight);
  for (long long row = 0; row < n; ++row)
    for (long long col = 0; col < n; ++col)
      CopyBlock(state.resultPicture, static_cast<int>(col * state.srcWidth),
                static_cast<int>(row * state.srcHeight), state.srcPiece, 0, 0, src.width,
                src.height);
}

}  // namespace mirasketch
