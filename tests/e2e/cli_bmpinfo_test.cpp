// Runs the real mirasketch-cli and checks what it prints.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>

#include "support/bmp_bytes.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCli(const std::string& args, const test::TempDir& dir) {
  const std::string errFile = dir.File("stderr.txt");
  const std::string command = std::string(MIRASKETCH_CLI) + " " + args + " 2>" + errFile;
  CliRun run{-1, {}, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 256> chunk{};
  while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.out += chunk.data();
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const std::vector<std::uint8_t> err = test::ReadAll(errFile);
  run.err.assign(err.begin(), err.end());
  return run;
}

TEST(CliBmpInfo, PrintsTheResultAndTheSizeAfterwards) {
  test::TempDir dir;
  test::BmpSpec eight;
  eight.width = 5;
  eight.height = 7;
  test::WriteAll(dir.File("eight.bmp"), test::MakeBmp(eight));
  CliRun run = RunCli("bmpinfo " + dir.File("eight.bmp"), dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "true 8 7\n");
  EXPECT_EQ(run.err, "");

  test::BmpSpec rgb;
  rgb.bitCount = 24;
  test::WriteAll(dir.File("rgb.bmp"), test::MakeBmp(rgb));
  run = RunCli("bmpinfo " + dir.File("rgb.bmp"), dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "false 4 4\n");
  EXPECT_EQ(run.err, "");
}

TEST(CliBmpInfo, ShowsTheReaderMessagesOnStandardError) {
  test::TempDir dir;
  CliRun run = RunCli("bmpinfo " + dir.File("none.bmp"), dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "false 0 0\n");
  EXPECT_EQ(run.err, "ファイルがありません。-" + dir.File("none.bmp") + "\n");

  test::WriteAll(dir.File("short.bmp"), {'B', 'M', 0, 0});
  run = RunCli("bmpinfo " + dir.File("short.bmp"), dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "false 0 0\n");
  EXPECT_EQ(run.err, "This file is not BmpFile. -" + dir.File("short.bmp") + "\n");
}

TEST(CliBmpInfo, UsageErrorsExitNonZero) {
  test::TempDir dir;
  EXPECT_EQ(RunCli("", dir).status, 2);
  EXPECT_EQ(RunCli("bmpinfo", dir).status, 2);
  EXPECT_EQ(RunCli("nosuchcommand x", dir).status, 2);
}

}  // namespace
}  // namespace mirasketch
