#pragma once

#include <cstddef>
#include <cstdint>

namespace mirasketch {

// Result of a run-length expansion that met malformed data.
inline constexpr long long kRunRefused = -1;

// Expands the 8-bit run-length code of old project files: a byte that differs from its
// successor stands for itself; a pair of equal bytes followed by a count k stands for k + 2
// copies. Writes at most `outSize` bytes and stops when the output is full or the input used up.
// Returns the number of input bytes consumed, or kRunRefused when a run would expand past
// `outSize` or the input ends between a pair and its count (nothing is written past the output).
long long DecodeRun8(const std::uint8_t* in, std::size_t length, std::uint8_t* out,
                     std::size_t outSize);

}  // namespace mirasketch
