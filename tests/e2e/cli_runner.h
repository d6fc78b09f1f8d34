#pragma once

#include <string>

#include "support/temp_dir.h"

namespace mirasketch::test {

// What one run of mirasketch-cli gave.
struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// Runs the built mirasketch-cli with `args` (a shell word list), capturing both output streams;
// standard error passes through a file in `dir`.
CliRun RunCli(const std::string& args, const TempDir& dir);

}  // namespace mirasketch::test
