// mirasketch-cli: headless access to the program's core for scripts, tests and benchmarks.

#include <cstring>
#include <iostream>
#include <span>

#include "commands.h"
#include "platform/io_error.h"

namespace {

using mirasketch::cli::Command;

constexpr Command kCommands[] = {
    {"bmpinfo", "FILE", mirasketch::cli::RunBmpInfo},
    {"info", "FILE.kvl", mirasketch::cli::RunInfo},
    {"flatten", "FILE.kvl OUT.bmp|OUT.jpg|OUT.png", mirasketch::cli::RunFlatten},
    {"convert", "IN OUT [--quality Q]", mirasketch::cli::RunConvert},
    {"mkkvl", "OUT.kvl W H [LAYERS]", mirasketch::cli::RunMakeKvl},
    {"replay", "[--check] [--program-dir DIR] SCRIPT", mirasketch::cli::RunReplay},
};

int Usage() {
  std::cerr << "usage: mirasketch-cli COMMAND [ARGS]\ncommands:\n";
  for (const Command& command : kCommands)
    std::cerr << "  " << command.name << ' ' << command.synopsis << '\n';
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    try {
      return command.run(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
    } catch (const mirasketch::IoError& error) {
      std::cerr << error.what() << '\n';
      return 1;
    }
  }
  std::cerr << "unknown command: " << argv[1] << '\n';
  return Usage();
}
