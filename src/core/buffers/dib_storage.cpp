#include "buffers/dib_storage.h"

#include <sys/mman.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mirasketch {

namespace {

std::size_t RoundUpToLarge(std::size_t bytes) {
  return (bytes + kLargeBlockBytes - 1) / kLargeBlockBytes * kLargeBlockBytes;
}

// Maps `length` (a multiple of the large-block size) zeroed bytes at a 2 MB boundary; null when
// the system refuses.
std::uint8_t* MapAligned(std::size_t length) {
  void* area = mmap(nullptr, length + kLargeBlockBytes, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (area == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(area);
  const std::uintptr_t aligned = (start + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
  if (aligned > start) munmap(area, aligned - start);
  const std::uintptr_t end = start + length + kLargeBlockBytes;
  if (end > aligned + length)
    munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
  // A kernel without transparent huge pages says no; the block works the same with small pages.
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<std::uint8_t*>(aligned);
}

}  // namespace

DibStorage::~DibStorage() {
  Release();
}

void DibStorage::Release() {
  if (mapped_ > 0)
    munmap(data_, mapped_);
  else
    std::free(data_);
  data_ = nullptr;
  bytes_ = 0;
  mapped_ = 0;
}

void DibStorage::Zero() {
  if (data_ == nullptr) return;
  if (mapped_ == 0 || madvise(data_, mapped_, MADV_DONTNEED) != 0) std::memset(data_, 0, bytes_);
}

bool DibStorage::Resize(std::size_t bytes) {
  if (data_ != nullptr && bytes == bytes_) return true;
  if (bytes >= kLargeBlockBytes || mapped_ > 0) return ResizeLarge(bytes);
  if (data_ == nullptr) {
    data_ = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
    if (data_ == nullptr) return false;
    bytes_ = bytes;
    return true;
  }
  auto* grown = static_cast<std::uint8_t*>(std::realloc(data_, bytes));
  if (grown == nullptr) return false;
  if (bytes > bytes_) std::memset(grown + bytes_, 0, bytes - bytes_);
  data_ = grown;
  bytes_ = bytes;
  return true;
}

bool DibStorage::ResizeLarge(std::size_t bytes) {
  const std::size_t length = bytes >= kLargeBlockBytes ? RoundUpToLarge(bytes) : 0;
  if (length > 0 && mapped_ > 0 && length <= mapped_) {
    // A large block shrinks in place, keeping its start; bytes a larger size left behind are
    // cleared when the block grows over them again.
    if (length < mapped_) munmap(data_ + length, mapped_ - length);
    if (bytes > bytes_) std::memset(data_ + bytes_, 0, bytes - bytes_);
    bytes_ = bytes;
    mapped_ = length;
    return true;
  }
  std::uint8_t* fresh =
      length > 0 ? MapAligned(length) : static_cast<std::uint8_t*>(std::calloc(bytes, 1));
  if (fresh == nullptr) return false;
  if (length > 0 && mapped_ > 0) {
    // The old pages move to the start of the new mapping without being copied or touched; the
    // rest of it stays as mapped, zeroed.
    if (mremap(data_, mapped_, mapped_, MREMAP_MAYMOVE | MREMAP_FIXED, fresh) == MAP_FAILED) {
      munmap(fresh, length);
      return false;
    }
    std::memset(fresh + bytes_, 0, mapped_ - bytes_);
  } else if (data_ != nullptr) {
    std::memcpy(fresh, data_, std::min(bytes, bytes_));
    Release();
  }
  data_ = fresh;
  bytes_ = bytes;
  mapped_ = length;
  return true;
}

std::uint64_t DibBytes(long long width, long long height, int bitCount) {
  if (width < 0 || height < 0) return 0;
  return static_cast<std::uint64_t>(RoundDibWidth(width)) * static_cast<std::uint64_t>(height) *
         static_cast<std::uint64_t>(bitCount / 8);
}

bool AllocDib(BitmapInfoHeader& header, DibStorage& storage, int width, int height, int bitCount) {
  header.width = 0;
  header.height = 0;
  long long w = RoundDibWidth(width);
  if (!DibSizeAllowed(w, height)) return false;
  const auto bytes = static_cast<std::size_t>(DibBytes(w, height, bitCount));
  if (!storage.Resize(bytes)) return false;
  header = BitmapInfoHeader{};
  header.width = static_cast<std::int32_t>(w);
  header.height = height;
  header.bitCount = static_cast<std::uint16_t>(bitCount);
  header.sizeImage = static_cast<std::uint32_t>(bytes);
  return true;
}

bool ClipFillRect(int& x, int& y, int& w, int& h, int bufferWidth, int bufferHeight) {
  // Wide arithmetic: callers may pass any int, and the sums must not overflow.
  long long cx = x, cy = y, cw = w, ch = h;
  if (cx < 0) {
    cw += cx;
    cx = 0;
  }
  if (cy < 0) {
    ch += cy;
    cy = 0;
  }
  if (cx + cw >= bufferWidth) cw = bufferWidth - cx;
  if (cy + ch >= bufferHeight) ch = bufferHeight - cy;
  if (cw < 1 || ch < 1 || cx >= bufferWidth || cy >= bufferHeight) return false;
  x = static_cast<int>(cx);
  y = static_cast<int>(cy);
  w = static_cast<int>(cw);
  h = static_cast<int>(ch);
  return true;
}

}  // namespace mirasketch
