#pragma once

#include <cstdint>

namespace mirasketch {

// The program's uniform pseudo-random generator (splitmix64). Its output for a given seed is
// fixed by this code alone, so a seeded session gives the same pixels on every machine.
class UniformRandom {
 public:
  void Seed(std::uint64_t seed) { state_ = seed; }
  // The next 64 random bits.
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // A number in [0, 1) with 53 random bits.
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  // An integer in [0, n) for n ≥ 1 (0 otherwise): ⌊Uniform() · n⌋.
  int Below(int n) { return n < 1 ? 0 : static_cast<int>(Uniform() * n); }
  // Whether the seed was fixed for the whole run (a replay's `seed N`): commands that seed from
  // the clock each time leave it then.
  bool fixedSeed = false;

 private:
  std::uint64_t state_ = 0;
};

}  // namespace mirasketch
