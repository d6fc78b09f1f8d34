#include "platform/system_memory.h"

#include <cstdio>
#include <cstring>

namespace mirasketch {

std::int64_t SystemAvailableMemory(const char* meminfoPath) {
  std::FILE* file = std::fopen(meminfoPath, "r");
  if (file == nullptr) return kUnreportedMemory;
  std::int64_t available = kUnreportedMemory;
  char line[256];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    long long kilobytes = 0;
    if (std::strncmp(line, "MemAvailable:", 13) != 0) continue;
    if (std::sscanf(line + 13, "%lld", &kilobytes) == 1 && kilobytes >= 0 &&
        kilobytes < kUnreportedMemory / 1024)
      available = kilobytes * 1024;
    break;
  }
  std::fclose(file);
  return available;
}

}  // namespace mirasketch
