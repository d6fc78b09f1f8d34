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

// replay [--check] [--program-dir DIR] SCRIPT: a fresh studio, started as the program starts,
// driven by the script's lines as the windows drive it; with --check the script is only read and
// its names checked. The program's folder (its data files and, when it can be written, its
// settings) is DIR, or else the tool's own. 0 when every line ran and every new, open and save
// completed; 1 for a script that cannot be read, a line that cannot be carried out (nothing runs
// when it is found before the first step, otherwise the replay stops there) or a refused file
// command (the replay goes on). An `exit` line that closes the program ends the replay there.
int RunReplay(std::span<char* const> args) {
  bool checkOnly = false;
  std::string programDir = ProgramDir();
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string arg = args[i];
    if (arg == "--check") {
      checkOnly = true;
    } else if (arg == "--program-dir" && i + 1 < args.size()) {
      programDir = args[++i];
      if (programDir.empty() || programDir.back() != '/') programDir += '/';
    } else {
      rest.push_back(arg);
    }
  }
  if (rest.size() != 1 || (rest[0].size() > 1 && rest[0].rfind("--", 0) == 0)) {
    std::cerr << "usage: mirasketch-cli replay [--check] [--program-dir DIR] SCRIPT\n";
    return 2;
  }
  const std::string& path = rest[0];
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
    ReplaySession session(programDir);
    // Every name is checked before the first step runs, so a mistyped line does not leave the
    // work of the lines before it half done.
    for (const ReplayStep& step : steps) session.Check(step);
    if (checkOnly) return 0;
    for (const ReplayStep& step : steps) {
      session.Run(step);
      if (session.ended) break;
    }
    session.ReportUnusedAnswers();
    return session.refused == 0 ? 0 : 1;
  } catch (const ReplayError& failure) {
    std::cerr << failure.what() << '\n';
    return 1;
  }
}

}  // namespace mirasketch::cli
