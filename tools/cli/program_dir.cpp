#include "program_dir.h"

#include <filesystem>
#include <system_error>

namespace mirasketch::cli {

std::string ProgramDir() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !exe.has_parent_path()) return {};
  std::string dir = exe.parent_path().string();
  if (dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace mirasketch::cli
