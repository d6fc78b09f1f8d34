#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirasketch {

// The settings file: sections in square brackets and "key=value" lines, names compared without
// regard to letter case, UTF-8 text. Reading never fails: a missing, unreadable, binary or
// oversized file reads as empty, and every key then gives its default. Writing keeps the sections,
// keys and comments it does not know, in their order, and goes through a temporary file renamed
// into place, so the previous file survives a failed write.
class SettingsFile {
 public:
  // Files beyond this are not read (their keys give defaults); lines beyond kMaxLine are dropped.
  static constexpr std::size_t kMaxFileBytes = 4u << 20;
  static constexpr std::size_t kMaxLine = 64u << 10;
  // Strings are read up to this many bytes (cut before a character that would not fit whole).
  static constexpr std::size_t kMaxString = 2047;

  // A file with no keys that `Flush` writes to `path`.
  explicit SettingsFile(std::string path = {});
  // Reads `path`: its keys replace the ones held.
  void Load();
  // Takes the keys of a text as if it had been read from the file.
  void Parse(std::string_view text);

  // The value as `SettingInteger` reads it; `fallback` when the key is missing or the value is
  // not such a number.
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;
  // An integer read as above; any value but 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
  // The value, cut to at most kMaxString bytes of whole characters; `fallback` when the key is
  // missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;

  void WriteInteger(std::string_view section, std::string_view key, int value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  // Line breaks and NUL bytes in the value are written as spaces: a value is one line of text.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // The whole file as it would be written.
  std::string Text() const;
  // Writes the file; throws IoError "<path> に書き込めません" when it cannot be written.
  void Flush() const;

  const std::string& Path() const { return path_; }

 private:
  struct Line {
    std::string key;    // empty for a comment line
    std::string value;  // the comment's text for a comment line
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };

  const std::string* Find(std::string_view section, std::string_view key) const;
  Section& SectionFor(std::string_view section);

  std::string path_;
  std::vector<Section> sections_;
};

// The folder of the settings file and the palette: `programDir` when it can be written (a copy
// run from its build or unpacked folder keeps everything beside it), else
// $XDG_CONFIG_HOME/mirasketch/ or, without that, ~/.config/mirasketch/, created at the first save.
std::string SettingsFolder(const std::string& programDir);

// A settings value as an integer: optional blanks and sign, then decimal digits, or hexadecimal
// digits after "$", "0x" or "0X", and nothing else; nothing when it is not such a number or does
// not fit 32 bits (hexadecimal up to FFFFFFFF, read as the 32-bit pattern).
std::optional<int> SettingInteger(std::string_view value);

}  // namespace mirasketch
