// mirasketch-cli's project commands: a project written by the tool reads back identically.

#include <gtest/gtest.h>

#include "buffers/dib_format.h"
#include "cli_runner.h"
#include "platform/system_memory.h"
#include "support/bmp_bytes.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

using test::RunCli;

TEST(CliProject, MakeReadAndFlatten) {
  test::TempDir dir;
  const std::string kvl = dir.File("new.kvl");
  auto run = RunCli("mkkvl " + kvl + " 130 70 3", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  run = RunCli("info " + kvl, dir);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "canvas 132 70 layers 3\n"
            "layer 0 132 70 visible 1 mode 0 threshold 128 offset 0 0\n"
            "layer 1 132 70 visible 1 mode 0 threshold 128 offset 0 0\n"
            "layer 2 132 70 visible 1 mode 0 threshold 128 offset 0 0\n");
  EXPECT_EQ(test::ReadAll(kvl).size(), 32u + 3 * (64 + 132 * 70 * 4));

  const std::string bmp = dir.File("flat.bmp");
  run = RunCli("flatten " + kvl + " " + bmp, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::uint8_t> picture = test::ReadAll(bmp);
  ASSERT_EQ(picture.size(), 54u + 132 * 70 * 3);
  EXPECT_EQ(ReadLe32(&picture[18]), 132u);
  // White layers cover the whole canvas: no checkerboard shows.
  for (std::size_t i = 54; i < picture.size(); i += 97) ASSERT_EQ(picture[i], 0xFF) << i;

  // Writing the read project again gives the same bytes.
  const std::string again = dir.File("again.kvl");
  run = RunCli("mkkvl " + again + " 130 70 3", dir);
  EXPECT_EQ(test::ReadAll(again), test::ReadAll(kvl));
}

TEST(CliProject, RefusalsExitOneWithTheMessage) {
  test::TempDir dir;
  const std::string bad = dir.File("bad.kvl");
  test::WriteAll(bad, std::vector<std::uint8_t>(40, 0));
  auto run = RunCli("info " + bad, dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, bad + " is not kvl File\n");
  run = RunCli("flatten " + bad + " " + dir.File("x.bmp"), dir);
  EXPECT_EQ(run.status, 1);
  run = RunCli("info " + dir.File("missing.kvl"), dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("missing.kvl"), std::string::npos);
  EXPECT_EQ(RunCli("mkkvl " + dir.File("y.kvl") + " 100 2", dir).status, 1);
  EXPECT_EQ(RunCli("mkkvl " + dir.File("y.kvl") + " 100 x", dir).status, 2);
  EXPECT_EQ(RunCli("mkkvl " + dir.File("y.kvl") + " 100 100 31", dir).status, 2);

  // A few kilobytes that declare thirty 30000 × 30000 layers, more than the machine has: refused
  // before the first layer is sized.
  const std::string huge = dir.File("huge.kvl");
  test::WriteAll(huge, test::MakeSparseKvl(30, 30000, 30000));
  if (static_cast<std::uint64_t>(SystemAvailableMemory()) < 30ULL * 30000 * 30000 * 4) {
    run = RunCli("info " + huge, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "ClsDibTrue- Bits Alloc Error\n");
  }
}

}  // namespace
}  // namespace mirasketch

namespace mirasketch {
namespace {

TEST(CliConvert, BetweenProjectsAndPictures) {
  test::TempDir dir;
  const std::string kvl = dir.File("p.kvl");
  ASSERT_EQ(test::RunCli("mkkvl " + kvl + " 50 30 2", dir).status, 0);
  auto run = test::RunCli("convert " + kvl + " " + dir.File("p.bmp"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadAll(dir.File("p.bmp")).size(), 54u + 52 * 30 * 3);
  run =
      test::RunCli("convert " + dir.File("p.bmp") + " " + dir.File("p.jpg") + " --quality 80", dir);
  ASSERT_EQ(run.status, 0) << run.err;
  // PNG is lossless: a picture through it comes back byte for byte.
  run = test::RunCli("convert " + dir.File("p.bmp") + " " + dir.File("p.png"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  run = test::RunCli("convert " + dir.File("p.png") + " " + dir.File("back.bmp"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ReadAll(dir.File("back.bmp")), test::ReadAll(dir.File("p.bmp")));
  run = test::RunCli("convert " + dir.File("p.jpg") + " " + dir.File("back.kvl"), dir);
  ASSERT_EQ(run.status, 0) << run.err;
  run = test::RunCli("info " + dir.File("back.kvl"), dir);
  EXPECT_EQ(run.out,
            "canvas 52 30 layers 1\nlayer 0 52 30 visible 1 mode 0 threshold 128 offset 0 0\n");

  run = test::RunCli("flatten " + kvl + " " + dir.File("flat.jpg"), dir);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::vector<std::uint8_t> jpeg = test::ReadAll(dir.File("flat.jpg"));
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);

  run = test::RunCli("convert " + dir.File("none.bmp") + " " + dir.File("x.kvl"), dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, dir.File("none.bmp") + "はありません。\n");
  run = test::RunCli("convert " + kvl + " " + dir.File("x.gif"), dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "この拡張子では保存できません。- " + dir.File("x.gif") + "\n");
  EXPECT_EQ(test::RunCli("convert " + kvl + " x.bmp --quality 0", dir).status, 2);
}

}  // namespace
}  // namespace mirasketch
