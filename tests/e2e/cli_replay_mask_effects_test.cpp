// A seeded session with the mask effect window through `mirasketch-cli replay`: a random seed
// mask, five votes, a melt, a gradation and a light whose centre is dragged, each saved as .kvl
// and compared with the masks the effects' rules give.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/uniform_random.h"
#include "platform/views.h"
#include "project/kvl_file.h"
#include "replay_runner.h"
#include "shell/studio.h"
#include "support/fake_platform.h"
#include "support/mask_effect_rules.h"

namespace mirasketch {
namespace {

using test::Replay;

constexpr int kWidth = 160;
constexpr int kHeight = 120;

// Mask bytes top row first, as a plane the rules read.
struct Bytes {
  Bytes() : bytes(static_cast<std::size_t>(kWidth) * kHeight) {}
  MaskPlane Plane() { return MaskPlane{bytes.data(), kWidth, kWidth, kHeight}; }
  std::uint8_t& At(int x, int y) { return bytes[static_cast<std::size_t>(y) * kWidth + x]; }
  bool operator==(const Bytes&) const = default;
  std::vector<std::uint8_t> bytes;
};

// One pass of `rule` over every pixel.
Bytes Apply(Bytes from, const test::Rule& rule) {
  Bytes to;
  const MaskPlane plane = from.Plane();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) to.At(x, y) = rule(plane, x, y);
  return to;
}

Bytes SavedMask(const test::TempDir& dir, const std::string& name) {
  test::FakePlatform platform;
  NoViews views;
  Studio studio(platform, views);
  studio.project.InitLayers();
  Bytes mask;
  EXPECT_TRUE(ReadProjectFile(studio.project, dir.File(name))) << name;
  const CDib256& saved = studio.project.Layer(0).mask;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      mask.At(x, y) = static_cast<std::uint8_t>(saved.GetPixel(x, y));
  return mask;
}

// How many bytes differ, for a short failure message.
int Differing(const Bytes& a, const Bytes& b) {
  int n = 0;
  for (std::size_t i = 0; i < a.bytes.size(); ++i) n += a.bytes[i] != b.bytes[i] ? 1 : 0;
  return n;
}

TEST(CliReplayMaskEffects, ASeededSessionGivesTheRulesMasks) {
  test::TempDir dir;
  const auto run = Replay(
      "new 160 120\n"
      "seed 7\n"
      "show TfrmMaskEff                 # takes up the mask tool\n"
      "set TfrmMaskEff.cboEffKind 3     # その他: Seed, then Vote\n"
      "click TfrmMaskEff.btnEffSeed\n"
      "save OUT/seed.kvl\n"
      "set TfrmMaskEff.sbGoCount 5\n"
      "click TfrmMaskEff.btnEffGo\n"
      "save OUT/vote.kvl\n"
      "set TfrmMaskEff.cboEffKind 0     # メルト, 255 kept\n"
      "set TfrmMaskEff.sbGoCount 1\n"
      "click TfrmMaskEff.btnEffGo\n"
      "save OUT/melt.kvl\n"
      "set TfrmMaskEff.cboEffKind 4     # グラデーション\n"
      "set TfrmMaskEff.sbFow 30\n"
      "click TfrmMaskEff.btnGoGrad\n"
      "save OUT/gradation.kvl\n"
      "set TfrmMaskEff.cboEffKind 5     # ライト, its centre dragged by (-60, -70)\n"
      "click TfrmMaskEff.btnEffCenSet\n"
      "mouse down 1 100 100\n"
      "mouse move 1 70 60\n"
      "mouse up 1 40 30\n"
      "print TfrmMaskEff.lblFow\n"
      "save OUT/light.kvl\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "TfrmMaskEff.lblFow = 方向30\n");

  // One number a pixel from the generator seeded with 7, top row first: below 0.5 sets 255.
  UniformRandom random;
  random.Seed(7);
  Bytes expected;
  for (std::uint8_t& b : expected.bytes) b = random.Uniform() < 0.5 ? 255 : 0;
  EXPECT_EQ(Differing(SavedMask(dir, "seed.kvl"), expected), 0);

  for (int pass = 0; pass < 5; ++pass) expected = Apply(expected, test::VoteRule);
  EXPECT_EQ(Differing(SavedMask(dir, "vote.kvl"), expected), 0);

  expected = Apply(expected, test::MeltRule(true));
  EXPECT_EQ(Differing(SavedMask(dir, "melt.kvl"), expected), 0);

  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      expected.At(x, y) = test::GradationByte(x, y, 128, 128, 30, 100);
  EXPECT_EQ(Differing(SavedMask(dir, "gradation.kvl"), expected), 0);

  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      expected.At(x, y) = test::LightByte(x, y, 68, 58, 30, 100, 10, 3);
  EXPECT_EQ(Differing(SavedMask(dir, "light.kvl"), expected), 0);
}

}  // namespace
}  // namespace mirasketch
