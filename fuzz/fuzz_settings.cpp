// Feeds arbitrary text to the settings-file reader, reads every key the program reads, rewrites
// the file and reads the rewritten text again: it must give the same values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mirasketch::SettingsFile file;
  file.Parse(text);
  const char* keys[][2] = {{"ToolSetting", "LastColor"}, {"ToolSetting", "EraseCol"},
                           {"Window", "MainFormLeft"},   {"Window", "DrawFormWidth"},
                           {"EnvSetting", "UndoCount"},  {"FileHistory", "PastFile0"},
                           {"toolsetting", "lastcolor"}};
  mirasketch::SettingsFile again;
  again.Parse(file.Text());
  for (const auto& [section, key] : keys) {
    if (file.ReadInteger(section, key, -7) != again.ReadInteger(section, key, -7)) std::abort();
    if (file.ReadString(section, key, "") != again.ReadString(section, key, "")) std::abort();
  }
  file.WriteString("FileHistory", "PastFile0", text.substr(0, 300));
  again.Parse(file.Text());
  if (file.ReadString("FileHistory", "PastFile0", "") !=
      again.ReadString("FileHistory", "PastFile0", ""))
    std::abort();
  return 0;
}
