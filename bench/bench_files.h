#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <string>

namespace mirasketch::bench {

// A file name in /tmp that belongs to this benchmark process.
inline std::string TempPath(const char* name) {
  return "/tmp/mirasketch-bench-" + std::to_string(getpid()) + "-" + name;
}

// Writes `size` bytes to `path` and flushes them to disk before closing, as every save of the
// program does: the reference the savers are measured against.
inline void WriteSynced(const std::string& path, const void* data, std::size_t size) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return;
  std::fwrite(data, 1, size, out);
  std::fflush(out);
  fsync(fileno(out));
  std::fclose(out);
}

}  // namespace mirasketch::bench
