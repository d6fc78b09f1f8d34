#include "buffers/dib_storage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace mirasketch {
namespace {

constexpr std::size_t kMB = std::size_t{1} << 20;

bool AllAre(const DibStorage& storage, std::size_t from, std::size_t to, std::uint8_t value) {
  return std::all_of(storage.Data() + from, storage.Data() + to,
                     [value](std::uint8_t b) { return b == value; });
}

// A block keeps its bytes through every resize and shows zeros wherever it grows, however it
// passes between small and large blocks, and never shows bytes a larger size left behind.
TEST(DibStorageTest, ResizesKeepTheBytesAndZeroWhatTheyAdd) {
  DibStorage storage;
  ASSERT_TRUE(storage.Resize(3 * kMB + 12));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(storage.Data()) % kLargeBlockBytes, 0u);
  EXPECT_TRUE(AllAre(storage, 0, storage.Bytes(), 0));
  std::fill(storage.Data(), storage.Data() + storage.Bytes(), 0xA5);

  ASSERT_TRUE(storage.Resize(7 * kMB));  // large to larger: the pages move
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(storage.Data()) % kLargeBlockBytes, 0u);
  EXPECT_TRUE(AllAre(storage, 0, 3 * kMB + 12, 0xA5));
  EXPECT_TRUE(AllAre(storage, 3 * kMB + 12, 7 * kMB, 0));
  std::fill(storage.Data(), storage.Data() + storage.Bytes(), 0x5A);

  ASSERT_TRUE(storage.Resize(5 * kMB));      // a smaller mapping
  ASSERT_TRUE(storage.Resize(5 * kMB + 1));  // the same mapping, one byte more
  EXPECT_TRUE(AllAre(storage, 0, 5 * kMB, 0x5A));
  EXPECT_EQ(storage.Data()[5 * kMB], 0);
  ASSERT_TRUE(storage.Resize(6 * kMB));
  EXPECT_TRUE(AllAre(storage, 5 * kMB, 6 * kMB, 0));

  ASSERT_TRUE(storage.Resize(kMB));  // large to small
  EXPECT_TRUE(AllAre(storage, 0, kMB, 0x5A));
  ASSERT_TRUE(storage.Resize(4 * kMB));  // small to large
  EXPECT_TRUE(AllAre(storage, 0, kMB, 0x5A));
  EXPECT_TRUE(AllAre(storage, kMB, 4 * kMB, 0));

  // Zeroing gives a large block's pages back and a small block's bytes are written.
  std::fill(storage.Data(), storage.Data() + storage.Bytes(), 0x77);
  storage.Zero();
  EXPECT_EQ(storage.Bytes(), 4 * kMB);
  EXPECT_TRUE(AllAre(storage, 0, 4 * kMB, 0));
  ASSERT_TRUE(storage.Resize(1000));
  std::fill(storage.Data(), storage.Data() + 1000, 0x77);
  storage.Zero();
  EXPECT_TRUE(AllAre(storage, 0, 1000, 0));
}

}  // namespace
}  // namespace mirasketch
