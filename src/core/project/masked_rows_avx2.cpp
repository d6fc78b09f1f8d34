// AVX2 row loops of the masked compose modes, 32 pixels (96 picture bytes, 32 mask bytes) a step.
// This file alone is compiled for AVX2 and runs only where the processor has it. It includes no
// header with inline functions that other files also use: the linker keeps one copy of such a
// function for the whole program, and it might be this file's AVX2 one.

#include <immintrin.h>

#include <cstdint>

#include "project/masked_rows.h"

namespace mirasketch {
namespace {

constexpr int kStep = 32;

// Spreads 32 bytes, one per pixel, over those pixels' 96 bytes: byte k of the result is byte k / 3
// of `v`. The byte shuffle works within 128-bit lanes, so each lane of a result is shuffled from
// the 16 source bytes that hold its pixels.
inline void SpreadBytes(__m256i v, __m256i* out) {
  // Lane patterns: the bytes 0 … 15, 16 … 31 and 32 … 47 of a 48-byte run from its 16 pixels.
  const __m128i p0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
  const __m128i p1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
  const __m128i p2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
  const __m256i low = _mm256_permute2x128_si256(v, v, 0x00);   // pixels 0 … 15 in both lanes
  const __m256i high = _mm256_permute2x128_si256(v, v, 0x11);  // pixels 16 … 31 in both lanes
  out[0] = _mm256_shuffle_epi8(low, _mm256_set_m128i(p1, p0));
  out[1] = _mm256_shuffle_epi8(v, _mm256_set_m128i(p0, p2));
  out[2] = _mm256_shuffle_epi8(high, _mm256_set_m128i(p2, p1));
}

void BlendRowAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w) {
  const __m256i lowByte = _mm256_set1_epi16(0x00FF);
  const __m256i highByte = _mm256_set1_epi16(static_cast<short>(0xFF00));
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    __m256i spread[3];
    SpreadBytes(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(m)), spread);
    for (int k = 0; k < 3; ++k) {
      __m256i* dk = reinterpret_cast<__m256i*>(d) + k;
      const __m256i dv = _mm256_loadu_si256(dk);
      const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s) + k);
      // The even and the odd bytes are worked in 16-bit words apart, masked and shifted into
      // place rather than unpacked, which keeps the shuffle unit free for the spread. Each byte
      // becomes (256·s + (d − s)·a) >> 8 with a = m + (m >> 7); 256·s + (d − s)·a equals
      // s·(256 − a) + d·a and lies in 0 … 255·256, so working modulo 2^16 gives it exactly.
      const __m256i mEven = _mm256_and_si256(spread[k], lowByte);
      const __m256i mOdd = _mm256_srli_epi16(spread[k], 8);
      const __m256i aEven = _mm256_add_epi16(mEven, _mm256_srli_epi16(mEven, 7));
      const __m256i aOdd = _mm256_add_epi16(mOdd, _mm256_srli_epi16(mOdd, 7));
      const __m256i diffEven =
          _mm256_sub_epi16(_mm256_and_si256(dv, lowByte), _mm256_and_si256(sv, lowByte));
      const __m256i diffOdd = _mm256_sub_epi16(_mm256_srli_epi16(dv, 8), _mm256_srli_epi16(sv, 8));
      // 256·s of an even byte is its word shifted up; of an odd byte, its word's high byte.
      const __m256i sumEven =
          _mm256_add_epi16(_mm256_slli_epi16(sv, 8), _mm256_mullo_epi16(diffEven, aEven));
      const __m256i sumOdd =
          _mm256_add_epi16(_mm256_and_si256(sv, highByte), _mm256_mullo_epi16(diffOdd, aOdd));
      _mm256_storeu_si256(
          dk, _mm256_or_si256(_mm256_srli_epi16(sumEven, 8), _mm256_and_si256(sumOdd, highByte)));
    }
  }
  if (n < w) kScalarMaskedRows.blend(d, s, m, w - n);
}

// Lays the layer's pixels where `take` (a byte per pixel, 0xFF or 0) is set.
inline void TakeStep(std::uint8_t* d, const std::uint8_t* s, __m256i take) {
  __m256i spread[3];
  SpreadBytes(take, spread);
  for (int k = 0; k < 3; ++k) {
    __m256i* dk = reinterpret_cast<__m256i*>(d) + k;
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s) + k);
    _mm256_storeu_si256(dk, _mm256_blendv_epi8(_mm256_loadu_si256(dk), sv, spread[k]));
  }
}

void MaskBelowRowAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                      std::uint8_t t8) {
  const __m256i t = _mm256_set1_epi8(static_cast<char>(t8));
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    const __m256i mask = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m));
    TakeStep(d, s, _mm256_cmpeq_epi8(_mm256_min_epu8(mask, t), mask));  // m ≤ t8
  }
  if (n < w) kScalarMaskedRows.below(d, s, m, w - n, t8);
}

void MaskAboveRowAvx2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                      std::uint8_t t8) {
  const __m256i t = _mm256_set1_epi8(static_cast<char>(t8));
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    const __m256i mask = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(m));
    TakeStep(d, s, _mm256_cmpeq_epi8(_mm256_max_epu8(mask, t), mask));  // m ≥ t8
  }
  if (n < w) kScalarMaskedRows.above(d, s, m, w - n, t8);
}

}  // namespace

const MaskedRows kAvx2MaskedRows{BlendRowAvx2, MaskBelowRowAvx2, MaskAboveRowAvx2};

}  // namespace mirasketch
