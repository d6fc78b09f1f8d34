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

// Outcome of expanding the packed 24-bit pixels of old project files.
enum class Run24Result {
  kDecoded,   // the data ended with its 0 tag inside its length; the output was written
  kFailed,    // unknown tag, or no 0 tag inside the length; nothing was written
  kOverflow,  // the records expand past `outSize`; nothing was written
};

// Expands the packed 24-bit code: tag 0 ends the data; tag 1, n, then n pixels; tag 2, n and one
// pixel repeated n times; tag 3 and one pixel given twice. The whole input is checked before the
// first byte is written, so a failed expansion leaves the output as it was.
Run24Result DecodeRun24(const std::uint8_t* in, std::size_t length, std::uint8_t* out,
                        std::size_t outSize);

}  // namespace mirasketch
