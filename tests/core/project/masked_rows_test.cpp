#include "project/masked_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace mirasketch {
namespace {

#if defined(__x86_64__)

// Runs `rows` and the portable loops on the same random rows and expects the same bytes: widths
// below, at and beyond the 16- and 32-pixel steps, rows starting at odd pixel offsets, a ramp
// holding every mask value, picture bytes at the extremes, and bytes past the row's end that must
// stay untouched.
void ExpectSameAsScalar(const MaskedRows& rows) {
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> anyByte(0, 255);
  const std::uint8_t extremes[] = {0, 1, 127, 128, 254, 255};
  for (int w : {1, 15, 16, 17, 31, 32, 33, 48, 63, 95, 300}) {
    for (int offset : {0, 1, 5}) {
      for (int fill = 0; fill < 3; ++fill) {
        const int pixels = offset + w + 40;
        std::vector<std::uint8_t> d(3 * pixels), s(3 * pixels), m(pixels);
        for (auto& byte : d) byte = fill == 2 ? extremes[anyByte(random) % 6] : anyByte(random);
        for (auto& byte : s) byte = fill == 2 ? extremes[anyByte(random) % 6] : anyByte(random);
        for (int n = 0; n < pixels; ++n)
          m[n] = static_cast<std::uint8_t>(fill == 1 ? n - offset : anyByte(random));
        const auto check = [&](const char* mode, int t8, auto layRow) {
          std::vector<std::uint8_t> expected = d, actual = d;
          layRow(kScalarMaskedRows, expected.data() + 3 * offset);
          layRow(rows, actual.data() + 3 * offset);
          ASSERT_EQ(actual, expected)
              << mode << " t8 " << t8 << " width " << w << " offset " << offset << " fill " << fill;
        };
        const std::uint8_t* sRow = s.data() + 3 * offset;
        const std::uint8_t* mRow = m.data() + offset;
        check("blend", -1,
              [&](const MaskedRows& r, std::uint8_t* dRow) { r.blend(dRow, sRow, mRow, w); });
        for (std::uint8_t t8 : extremes) {
          check("below", t8,
                [&](const MaskedRows& r, std::uint8_t* dRow) { r.below(dRow, sRow, mRow, w, t8); });
          check("above", t8,
                [&](const MaskedRows& r, std::uint8_t* dRow) { r.above(dRow, sRow, mRow, w, t8); });
        }
        if (::testing::Test::HasFailure()) return;  // one case's report is enough
      }
    }
  }
}

TEST(ComposeMaskedRows, Sse2MatchesThePortableLoops) {
  ExpectSameAsScalar(kSse2MaskedRows);
}

TEST(ComposeMaskedRows, Avx2MatchesThePortableLoops) {
  if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "this processor has no AVX2";
  ExpectSameAsScalar(kAvx2MaskedRows);
}

#endif

}  // namespace
}  // namespace mirasketch
