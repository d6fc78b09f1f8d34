#include "cli_runner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <vector>

namespace mirasketch::test {

CliRun RunCli(const std::string& args, const TempDir& dir) {
  const std::string errFile = dir.File("stderr.txt");
  const std::string command = std::string(MIRASKETCH_CLI) + " " + args + " 2>" + errFile;
  CliRun run{-1, {}, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.out += chunk.data();
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const std::vector<std::uint8_t> err = ReadAll(errFile);
  run.err.assign(err.begin(), err.end());
  return run;
}

}  // namespace mirasketch::test
