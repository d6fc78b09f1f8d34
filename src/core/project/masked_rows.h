#pragma once

#include <cstdint>

namespace mirasketch {

// The row loops of the compose modes that read the layer's mask. Each lays `w` pixels of a layer
// row `s` (3 bytes a pixel, blue first) on a row `d` of the composed picture, by the layer's mask
// row `m` (one byte a pixel).
struct MaskedRows {
  // cmMaskBlend: every byte becomes (s·(256 − a) + d·a) >> 8, a being m + 1 from 128 on, m below.
  void (*blend)(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w);
  // cmMaskBelow: the layer's pixel where m ≤ t8.
  void (*below)(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                std::uint8_t t8);
  // cmMaskAbove: the layer's pixel where m ≥ t8.
  void (*above)(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* m, int w,
                std::uint8_t t8);
};

// Portable loops; their results are the ones every other set reproduces byte for byte. The
// x86-64 sets hand the pixels after their last whole step to these.
extern const MaskedRows kScalarMaskedRows;

#if defined(__x86_64__)
// SSE2, which every x86-64 processor has: 16 pixels a step.
extern const MaskedRows kSse2MaskedRows;
// AVX2, 32 pixels a step; to be called only where __builtin_cpu_supports("avx2") holds.
extern const MaskedRows kAvx2MaskedRows;
#endif

}  // namespace mirasketch
