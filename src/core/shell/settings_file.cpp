#include "shell/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/files.h"
#include "platform/io_error.h"

namespace mirasketch {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<int> SettingInteger(std::string_view value) {
  std::string_view s = Trim(value);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  } else if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  std::uint64_t n = 0;
  for (char c : s) {
    const int d = base == 16 ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return std::nullopt;
    n = n * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (n > 0xFFFFFFFFu) return std::nullopt;
  }
  if (base == 10) {
    if (n > (negative ? 0x80000000u : 0x7FFFFFFFu)) return std::nullopt;
    return static_cast<int>(negative ? -static_cast<std::int64_t>(n)
                                     : static_cast<std::int64_t>(n));
  }
  // A hexadecimal value is the 32-bit pattern it spells.
  const auto bits = static_cast<std::uint32_t>(n);
  return static_cast<int>(negative ? 0u - bits : bits);
}

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

void SettingsFile::Load() {
  sections_.clear();
  if (path_.empty() || !InFile::Exists(path_)) return;
  std::string text;
  try {
    InFile file(path_);
    if (file.Size() > kMaxFileBytes) return;
    text.resize(static_cast<std::size_t>(file.Size()));
    if (!file.ReadExact(text.data(), text.size())) return;
  } catch (const IoError&) {
    return;  // an unreadable file is a first run
  }
  Parse(text);
}

void SettingsFile::Parse(std::string_view text) {
  sections_.clear();
  // A file holding NUL bytes is not a text file: none of it is taken.
  if (text.find('\0') != std::string_view::npos) return;
  Section* current = nullptr;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view raw = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (raw.size() > kMaxLine) continue;
    const std::string_view line = Trim(raw);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      current = &SectionFor(Trim(line.substr(1, close - 1)));
      continue;
    }
    if (current == nullptr) continue;  // nothing before the first section is kept
    if (line.front() == ';' || line.front() == '#') {
      current->lines.push_back({{}, std::string(line)});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty()) continue;
    // The first of duplicate keys counts; the others are dropped so the file is written clean.
    bool known = false;
    for (const Line& l : current->lines) known = known || (!l.key.empty() && SameName(l.key, key));
    if (!known)
      current->lines.push_back({std::string(key), std::string(Trim(line.substr(equals + 1)))});
  }
}

const std::string* SettingsFile::Find(std::string_view section, std::string_view key) const {
  for (const Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    for (const Line& l : s.lines)
      if (!l.key.empty() && SameName(l.key, key)) return &l.value;
  }
  return nullptr;
}

SettingsFile::Section& SettingsFile::SectionFor(std::string_view section) {
  for (Section& s : sections_)
    if (SameName(s.name, section)) return s;
  sections_.push_back({std::string(section), {}});
  return sections_.back();
}

int SettingsFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return fallback;
  return SettingInteger(*value).value_or(fallback);
}

bool SettingsFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::string SettingsFile::ReadString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
  const std::string* value = Find(section, key);
  if (value == nullptr) return std::string(fallback);
  if (value->size() <= kMaxString) return *value;
  // Cut before a character that would not fit whole, not inside its UTF-8 bytes.
  std::size_t end = kMaxString;
  while (end > 0 && (static_cast<unsigned char>((*value)[end]) & 0xC0) == 0x80) --end;
  return value->substr(0, end);
}

void SettingsFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void SettingsFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void SettingsFile::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
  std::string line(value);
  for (char& c : line)
    if (c == '\n' || c == '\r' || c == '\0') c = ' ';
  // Blanks at the ends would not survive reading the line back.
  std::string text(Trim(line));
  Section& s = SectionFor(section);
  for (Line& l : s.lines) {
    if (!l.key.empty() && SameName(l.key, key)) {
      l.value = std::move(text);
      return;
    }
  }
  s.lines.push_back({std::string(key), std::move(text)});
}

std::string SettingsFile::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    if (!out.empty()) out += '\n';
    out += '[' + s.name + "]\n";
    for (const Line& l : s.lines) out += (l.key.empty() ? l.value : l.key + '=' + l.value) + '\n';
  }
  return out;
}

void SettingsFile::Flush() const {
  const std::string text = Text();
  try {
    SafeFileWriter file(path_);
    file.Write(text.data(), text.size());
    file.Commit();
  } catch (const IoError&) {
    throw IoError(path_ + " に書き込めません");
  }
}

}  // namespace mirasketch
