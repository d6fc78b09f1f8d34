#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "commands.h"
#include "program_dir.h"
#include "replay_script.h"
#include "replay_session.h"

namespace mirasketch::cli {

// replay [--check] SCRIPT: a fresh studio, started as the program starts, driven by the script's
// lines as the windows drive it; with --check the script is only read and its names checked.
// 0 when every line ran and every new, open and save completed; 1 for a script that cannot be
// read, a line that cannot be carried out (nothing runs when it is found before the first step,
// otherwise the replay stops there) or a refused file command (the replay goes on).
int RunReplay(std::span<char* const> args) {
  const bool checkOnly = !args.empty() && std::string(args[0]) == "--check";
  if (args.size() != (checkOnly ? 2u : 1u)) {
    std::cerr << "usage: mirasketch-cli replay [--check] SCRIPT\n";
    return 2;
  }
  const std::string path = args[checkOnly ? 1 : 0];
  std::error_code error;
  std::ifstream in;
  if (!std::filesystem::is_directory(path, error)) in.open(path);
  if (!in.is_open()) {
    std::cerr << "replay: cannot open " << path << '\n';
    return 1;
  }
  try {
    const std::vector<ReplayStep> steps = ParseReplayScript(in);
    if (in.bad()) {
      std::cerr << "replay: cannot read " << path << '\n';
      return 1;
    }
    ReplaySession session(ProgramDir());
    // Every name is checked before the first step runs, so a mistyped line does not leave the
    // work of the lines before it half done.
    for (const ReplayStep& step : steps) session.Check(step);
    if (checkOnly) return 0;
    for (const ReplayStep& step : steps) session.Run(step);
    session.ReportUnusedAnswers();
    return session.refused == 0 ? 0 : 1;
  } catch (const ReplayError& failure) {
    std::cerr << failure.what() << '\n';
    return 1;
  }
}

}  // namespace mirasketch::cli
