#pragma once

#include <unistd.h>

#include <string>

namespace mirasketch::bench {

// A file name in /tmp that belongs to this benchmark process.
inline std::string TempPath(const char* name) {
  return "/tmp/mirasketch-bench-" + std::to_string(getpid()) + "-" + name;
}

}  // namespace mirasketch::bench
