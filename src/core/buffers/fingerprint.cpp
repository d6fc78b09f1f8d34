#include "buffers/fingerprint.h"

#include <bit>
#include <cstring>

namespace mirasketch {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;

std::uint64_t Mix(std::uint64_t h, std::uint64_t word) {
  return std::rotl(h ^ (word * kPrime2), 31) * kPrime1;
}

}  // namespace

std::uint64_t Fingerprint(const std::uint8_t* bytes, std::size_t count, std::uint64_t seed) {
  std::uint64_t h = Mix(seed, count);
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    h = Mix(h, word);
  }
  if (i < count) {
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes + i, count - i);
    h = Mix(h, tail);
  }
  return h ^ (h >> 29);
}

}  // namespace mirasketch
