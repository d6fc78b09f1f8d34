// Runs the real mirasketch-cli and checks what it prints.

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "support/bmp_bytes.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using test::RunCli;

TEST(CliBmpInfo, PrintsTheResultAndTheSizeAfterwards) {
  test::TempDir dir;
  test::BmpSpec eight;
  eight.width = 5;
  eight.height = 7;
  test::WriteAll(dir.File("eight.bmp"), test::MakeBmp(eight));
  auto run = RunCli("bmpinfo " + dir.File("eight.bmp"), dir);
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
  auto run = RunCli("bmpinfo " + dir.File("none.bmp"), dir);
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
