#include "project/recovery_copy.h"

#include <cstdint>
#include <cstring>

#include "buffers/dib_format.h"
#include "platform/files.h"
#include "project/kvl_file.h"
#include "project/layer_project.h"

namespace mirasketch {
namespace {

constexpr char kTrailerMagic[8] = {'M', 'S', 'R', 'E', 'C', 'O', 'V', '1'};
constexpr std::size_t kTrailerBytes = 4 + sizeof kTrailerMagic;  // name length, magic
constexpr std::uint32_t kLongestName = 65536;

// Steps over the layer records after the file header; false when one is malformed or cut short.
bool SkipLayerRecords(InFile& file) {
  std::uint8_t header[32];
  if (!file.ReadExact(header, sizeof header) || ReadLe16(header) != kKvlMagic ||
      ReadLe16(header + 2) != kKvlFormat)
    return false;
  const std::int32_t count = static_cast<std::int32_t>(ReadLe32(header + 8));
  if (count < 1 || count > MAX_LAYERS) return false;
  for (int i = 0; i < count; ++i) {
    std::uint8_t layer[64];
    if (!file.ReadExact(layer, sizeof layer)) return false;
    const std::int32_t width = static_cast<std::int32_t>(ReadLe32(layer));
    const std::int32_t height = static_cast<std::int32_t>(ReadLe32(layer + 4));
    if (!DibSizeAllowed(width, height) || width % 4 != 0 ||
        !file.Skip(static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4))
      return false;
  }
  return true;
}

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
  if (!SkipLayerRecords(file) || file.Remaining() < kTrailerBytes) return std::nullopt;
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
