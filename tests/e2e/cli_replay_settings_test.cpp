// The settings across two replays of the program in a folder of its own (`--program-dir`): the
// settings dialog answered, the program closed with `exit`, and the next start reading what the
// first one wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "replay_runner.h"

namespace mirasketch {
namespace {

std::string Text(const std::string& path) {
  const std::vector<std::uint8_t> bytes = test::ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(CliReplaySettings, ExitWritesTheSettingsAndTheNextStartReadsThem) {
  test::TempDir program;
  test::TempDir dir;
  // The program's folder holds its data files, as an installed program's does.
  const std::filesystem::path tool = std::filesystem::path(MIRASKETCH_CLI).parent_path();
  for (const char* data : {"brush.bmp", "Ruler.dat"})
    std::filesystem::copy_file(tool / data, program.File(data));
  const std::string folder = " --program-dir " + program.Path();
  auto replay = [&](const std::string& script) {
    test::WriteAll(dir.File("s.txt"), std::vector<std::uint8_t>(script.begin(), script.end()));
    return test::RunCli("replay" + folder + " " + dir.File("s.txt"), dir);
  };
  // The settings dialog: 16 levels become 15, quality 250 becomes 100; a cancelled second
  // dialog changes nothing. The lines after `exit` do not run.
  auto run = replay(
      "answer setting 16 250\n"
      "click mnuSetting\n"
      "answer cancel\n"
      "click mnuSetting\n"
      "set sbColRed 255\n"
      "show TfrmL\n"
      "exit\n"
      "new 10 10\n");
  EXPECT_EQ(run.status, 0) << run.err;
  std::string ini = Text(program.File("korvel.ini"));
  EXPECT_NE(ini.find("UndoCount=15\nJPGSaveQuality=100\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("LastColor=255\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("LayerFormVisible=1\n"), std::string::npos) << ini;
  EXPECT_EQ(test::ReadAll(program.File("palcol.dat")).size(), 1024u);

  // The next start takes them: closed again at once, it writes the same values.
  run = replay("exit\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Text(program.File("korvel.ini")), ini);

  // A modified picture asks before the close; No keeps the program running.
  run = replay("mouse click 1 5 5\nanswer no\nexit\nprint TfrmM\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("TfrmM = "), std::string::npos);
}

}  // namespace
}  // namespace mirasketch
