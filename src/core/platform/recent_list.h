#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace mirasketch {

// ASCII-only case-insensitive equality.
inline bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Puts `item` at the top of a recent list: walking from the top, each entry takes the value
// carried down from above and passes its old one on, until the entry that held `item` (compared
// without regard to ASCII case) was overwritten; a new item pushes the last one out.
template <std::size_t N>
void PushRecent(std::array<std::string, N>& list, const std::string& item) {
  std::string carried = item;
  for (std::string& entry : list) {
    std::string old = std::move(entry);
    entry = std::move(carried);
    if (SameIgnoringAsciiCase(old, item)) return;
    carried = std::move(old);
  }
}

// The folder part of a path: everything before the last separator, keeping a separator that
// directly follows another or stands first ("/home/a/b.bmp" → "/home/a", "/b.bmp" → "/").
inline std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {};
  if (slash == 0 || path[slash - 1] == '/') return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

}  // namespace mirasketch
