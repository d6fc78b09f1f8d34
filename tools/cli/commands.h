#pragma once

#include <span>
#include <string>

namespace mirasketch::cli {

// One subcommand: its name, its argument synopsis for the usage text, and its body, which gets
// the arguments after the name and returns the process exit status.
struct Command {
  const char* name;
  const char* synopsis;
  int (*run)(std::span<char* const> args);
};

int RunBmpInfo(std::span<char* const> args);
int RunInfo(std::span<char* const> args);
int RunFlatten(std::span<char* const> args);
int RunMakeKvl(std::span<char* const> args);
int RunConvert(std::span<char* const> args);
int RunReplay(std::span<char* const> args);

}  // namespace mirasketch::cli
