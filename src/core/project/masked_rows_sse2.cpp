// SSE2 row loops of the masked compose modes, 16 pixels (48 picture bytes, 16 mask bytes) a step.
// SSE2 has no byte shuffle, so a mask byte is spread over its pixel's three bytes as a 16-bit
// word with the word shuffles.

#include <emmintrin.h>

#include <cstdint>

#include "project/masked_rows.h"

namespace mirasketch {
namespace {

constexpr int kStep = 16;

// Spreads eight words w0 … w7, one per pixel, over those pixels' 24 bytes: three registers of
// eight words, w0 w0 w0 w1 w1 w1 w2 w2 | w2 w3 w3 w3 w4 w4 w4 w5 | w5 w5 w6 w6 w6 w7 w7 w7.
inline void SpreadWords(__m128i w, __m128i* out) {
  const __m128i low = _mm_unpacklo_epi64(w, w);   // w0 … w3 in both halves
  const __m128i high = _mm_unpackhi_epi64(w, w);  // w4 … w7 in both halves
  out[0] = _mm_shufflehi_epi16(_mm_shufflelo_epi16(low, _MM_SHUFFLE(1, 0, 0, 0)),
                               _MM_SHUFFLE(2, 2, 1, 1));
  out[1] =
      _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, _MM_SHUFFLE(3, 3, 3, 2)), _MM_SHUFFLE(1, 0, 0, 0));
  out[2] = _mm_shufflehi_epi16(_mm_shufflelo_epi16(high, _MM_SHUFFLE(2, 2, 1, 1)),
                               _MM_SHUFFLE(3, 3, 3, 2));
}

// The words of 16 pixel values (0 … 256), pixel n's over bytes 3n … 3n + 2 of the step: word
// register k holds bytes 8k … 8k + 7. `low` holds pixels 0 … 7, `high` pixels 8 … 15.
inline void SpreadPixels(__m128i low, __m128i high, __m128i* words) {
  SpreadWords(low, words);
  SpreadWords(high, words + 3);
}

void BlendRowSse2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w) {
  const __m128i zero = _mm_setzero_si128();
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
    // a = m + 1 from 128 on: m + (m >> 7).
    const __m128i mLow = _mm_unpacklo_epi8(mask, zero);
    const __m128i mHigh = _mm_unpackhi_epi8(mask, zero);
    __m128i a[6];
    SpreadPixels(_mm_add_epi16(mLow, _mm_srli_epi16(mLow, 7)),
                 _mm_add_epi16(mHigh, _mm_srli_epi16(mHigh, 7)), a);
    for (int k = 0; k < 3; ++k) {
      __m128i* dk = reinterpret_cast<__m128i*>(d) + k;
      const __m128i dv = _mm_loadu_si128(dk);
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s) + k);
      // s·(256 − a) + d·a = 256·s + (d − s)·a lies in 0 … 255·256, so working modulo 2^16
      // gives it exactly.
      const auto mix = [&](__m128i dw, __m128i sw, __m128i aw) {
        const __m128i sum =
            _mm_add_epi16(_mm_slli_epi16(sw, 8), _mm_mullo_epi16(_mm_sub_epi16(dw, sw), aw));
        return _mm_srli_epi16(sum, 8);
      };
      const __m128i lo = mix(_mm_unpacklo_epi8(dv, zero), _mm_unpacklo_epi8(sv, zero), a[2 * k]);
      const __m128i hi =
          mix(_mm_unpackhi_epi8(dv, zero), _mm_unpackhi_epi8(sv, zero), a[2 * k + 1]);
      _mm_storeu_si128(dk, _mm_packus_epi16(lo, hi));
    }
  }
  if (n < w) kScalarMaskedRows.blend(d, s, m, w - n);
}

// Lays the layer's pixels where `take` (a byte per pixel, 0xFF or 0) is set.
inline void TakeStep(std::uint8_t* d, const std::uint8_t* s, __m128i take) {
  const __m128i zero = _mm_setzero_si128();
  __m128i words[6];
  SpreadPixels(_mm_unpacklo_epi8(take, zero), _mm_unpackhi_epi8(take, zero), words);
  for (int k = 0; k < 3; ++k) {
    __m128i* dk = reinterpret_cast<__m128i*>(d) + k;
    const __m128i bytes = _mm_packus_epi16(words[2 * k], words[2 * k + 1]);
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s) + k);
    _mm_storeu_si128(
        dk, _mm_or_si128(_mm_and_si128(bytes, sv), _mm_andnot_si128(bytes, _mm_loadu_si128(dk))));
  }
}

void MaskBelowRowSse2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                      std::uint8_t t8) {
  const __m128i t = _mm_set1_epi8(static_cast<char>(t8));
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
    TakeStep(d, s, _mm_cmpeq_epi8(_mm_min_epu8(mask, t), mask));  // m ≤ t8
  }
  if (n < w) kScalarMaskedRows.below(d, s, m, w - n, t8);
}

void MaskAboveRowSse2(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                      std::uint8_t t8) {
  const __m128i t = _mm_set1_epi8(static_cast<char>(t8));
  int n = 0;
  for (; n + kStep <= w; n += kStep, d += 3 * kStep, s += 3 * kStep, m += kStep) {
    const __m128i mask = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m));
    TakeStep(d, s, _mm_cmpeq_epi8(_mm_max_epu8(mask, t), mask));  // m ≥ t8
  }
  if (n < w) kScalarMaskedRows.above(d, s, m, w - n, t8);
}

}  // namespace

const MaskedRows kSse2MaskedRows{BlendRowSse2, MaskBelowRowSse2, MaskAboveRowSse2};

}  // namespace mirasketch
