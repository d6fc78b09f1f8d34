#pragma once

#include <cstdint>
#include <limits>

namespace mirasketch {

// What a system that does not report its free memory is taken to have: enough for anything, so
// such a system never refuses a size for lack of memory.
inline constexpr std::int64_t kUnreportedMemory = std::numeric_limits<std::int64_t>::max();

// The bytes the system reports available: the "MemAvailable:" line of a meminfo file (in kB),
// or kUnreportedMemory when the file cannot be read or holds no such line.
std::int64_t SystemAvailableMemory(const char* meminfoPath = "/proc/meminfo");

// The one rule for sizing a large buffer. Linux grants almost any allocation and fails only when
// the pages are touched, by killing the program; so a buffer may grow only when the bytes it
// would newly take do not exceed those available.
constexpr bool MemoryFits(std::int64_t available, std::uint64_t newBytes) {
  return available >= 0 && newBytes <= static_cast<std::uint64_t>(available);
}

}  // namespace mirasketch
