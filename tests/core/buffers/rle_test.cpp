#include "buffers/rle.h"

#include <gtest/gtest.h>

#include <vector>

namespace mirasketch {
namespace {

struct Decoded {
  long long consumed;
  std::vector<std::uint8_t> out;
};

Decoded Decode(const std::vector<std::uint8_t>& in, std::size_t outSize) {
  Decoded d{0, std::vector<std::uint8_t>(outSize + 4, 0xEE)};  // 4 guard bytes
  d.consumed = DecodeRun8(in.data(), in.size(), d.out.data(), outSize);
  return d;
}

TEST(DecodeRun8, PairsWithACountStandForRunsOfTwoTo257) {
  Decoded d = Decode({7, 7, 3, 9}, 16);
  EXPECT_EQ(d.consumed, 4);
  EXPECT_EQ(std::vector<std::uint8_t>(d.out.begin(), d.out.begin() + 7),
            (std::vector<std::uint8_t>{7, 7, 7, 7, 7, 9, 0xEE}));

  d = Decode({1, 2, 3}, 16);
  EXPECT_EQ(d.consumed, 3);
  EXPECT_EQ(std::vector<std::uint8_t>(d.out.begin(), d.out.begin() + 4),
            (std::vector<std::uint8_t>{1, 2, 3, 0xEE}));

  d = Decode({4, 4, 0, 5}, 16);  // a run of exactly two
  EXPECT_EQ(std::vector<std::uint8_t>(d.out.begin(), d.out.begin() + 3),
            (std::vector<std::uint8_t>{4, 4, 5}));

  d = Decode({2, 2, 255}, 257);  // the longest run fills 257 bytes
  EXPECT_EQ(d.consumed, 3);
  EXPECT_EQ(d.out[256], 2);
  EXPECT_EQ(d.out[257], 0xEE);
}

TEST(DecodeRun8, StopsWhenTheOutputIsFull) {
  Decoded d = Decode({1, 2, 3, 4, 5, 6}, 4);
  EXPECT_EQ(d.consumed, 4);
  EXPECT_EQ(d.out[4], 0xEE);
}

TEST(DecodeRun8, RefusesRunsPastTheOutputAndCutRuns) {
  Decoded d = Decode({1, 2, 3, 3, 3}, 5);  // 1, 2 and a run of five
  EXPECT_EQ(d.consumed, kRunRefused);
  for (int i = 5; i < 9; ++i) EXPECT_EQ(d.out[i], 0xEE);
  EXPECT_EQ(Decode({8, 8}, 16).consumed, kRunRefused);  // the pair's count is missing
  EXPECT_EQ(Decode({}, 16).consumed, 0);
}

}  // namespace
}  // namespace mirasketch

namespace mirasketch {
namespace {

TEST(DecodeRun24, ExpandsTheThreeRecordKinds) {
  std::vector<std::uint8_t> out(24, 0xEE);
  const std::vector<std::uint8_t> in = {1, 2, 1, 2, 3, 4, 5, 6, 2, 3, 7, 8, 9, 3, 10, 11, 12, 0};
  ASSERT_EQ(DecodeRun24(in.data(), in.size(), out.data(), 21), Run24Result::kDecoded);
  const std::vector<std::uint8_t> want = {1, 2, 3, 4,  5,  6,  7,  8,  9,  7,    8,    9,
                                          7, 8, 9, 10, 11, 12, 10, 11, 12, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(out, want);
  const std::vector<std::uint8_t> empty = {1, 0, 0};  // a record of no pixels
  EXPECT_EQ(DecodeRun24(empty.data(), empty.size(), out.data(), 0), Run24Result::kDecoded);
}

TEST(DecodeRun24, FailuresWriteNothing) {
  std::vector<std::uint8_t> out(12, 0xEE);
  const auto decode = [&](const std::vector<std::uint8_t>& in, std::size_t size) {
    return DecodeRun24(in.data(), in.size(), out.data(), size);
  };
  EXPECT_EQ(decode({3, 1, 2, 3}, 12), Run24Result::kFailed);        // no 0 tag inside
  EXPECT_EQ(decode({3, 1, 2, 3, 4, 0}, 12), Run24Result::kFailed);  // unknown tag 4
  EXPECT_EQ(decode({1, 2, 1, 2, 3, 0}, 12), Run24Result::kFailed);  // record cut short
  EXPECT_EQ(decode({2}, 12), Run24Result::kFailed);                 // count missing
  EXPECT_EQ(decode({3, 1, 2, 3, 2, 5, 1, 1, 1, 0}, 12), Run24Result::kOverflow);
  EXPECT_EQ(decode({}, 12), Run24Result::kFailed);
  EXPECT_EQ(out, std::vector<std::uint8_t>(12, 0xEE));
}

}  // namespace
}  // namespace mirasketch
