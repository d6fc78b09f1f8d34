#include "project/recovery_copy.h"

#include <cstdint>
#include <cstring>

#include "buffers/dib_format.h"
#include "platform/files.h"
#include "project/kvl_file.h"

namespace mirasketch {
namespace {

constexpr char kTrailerMagic[8] = {'M', 'S', 'R', 'E', 'C', 'O', 'V', '1'};
constexpr std::size_t kTrailerBytes = 4 + sizeof kTrailerMagic;  // name length, magic
constexpr std::uint32_t kLongestName = 65536;

}  // namespace

void WriteRecoveryCopy(const LayerProject& project, const std::string& projectName,
                       const std::string& path) {
  const std::string name = projectName.substr(0, kLongestName);
  SafeFileWriter out(path);
  WriteProjectRecords(project, out);
  out.Write(name.data(), name.size());
  std::uint8_t trailer[kTrailerBytes];
  WriteLe32(trailer, static_cast<std::uint32_t>(name.size()));
  std::memcpy(trailer + 4, kTrailerMagic, sizeof kTrailerMagic);
  out.Write(trailer, sizeof trailer);
  out.Commit();
}

std::optional<std::string> RecoveryCopyName(const std::string& path) {
  InFile file(path);
  if (!SkipProjectRecords(file) || file.Remaining() < kTrailerBytes) return std::nullopt;
  const std::uint64_t nameBytes = file.Remaining() - kTrailerBytes;
  if (nameBytes > kLongestName) return std::nullopt;
  std::string name(static_cast<std::size_t>(nameBytes), '\0');
  std::uint8_t trailer[kTrailerBytes];
  if (!file.ReadExact(name.data(), name.size()) || !file.ReadExact(trailer, sizeof trailer) ||
      ReadLe32(trailer) != nameBytes ||
      std::memcmp(trailer + 4, kTrailerMagic, sizeof kTrailerMagic) != 0)
    return std::nullopt;
  return name;
}

}  // namespace mirasketch
