#pragma once

namespace mirasketch {

// How a layer is laid on the picture below it; the values are the layer window's list indices.
enum ComposeMode : int {
  cmSimple = 0,       // opaque copy
  cmMaskBlend = 1,    // blended by the mask byte
  cmMaskBelow = 2,    // laid where mask ≤ threshold (low 8 bits)
  cmMaskAbove = 3,    // laid where mask ≥ threshold (low 8 bits)
  cmBrightBelow = 4,  // laid where blue + green + red ≤ threshold
  cmBrightAbove = 5,  // laid where blue + green + red ≥ threshold
};

inline constexpr int kComposeModeCount = 6;

// The layer window's list texts, indexed by mode.
inline constexpr const char* kComposeModeNames[kComposeModeCount] = {
    "単純",
    "マスクブレンド",
    "マスク閾値以下単純",
    "マスク閾値以上単純",
    "色明度閾値以下単純",
    "色明度閾値以上単純",
};

}  // namespace mirasketch
