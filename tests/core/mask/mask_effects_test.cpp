#include "mask/mask_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/mask_effect_rules.h"

namespace mirasketch::test {
namespace {

using Byte = std::uint8_t;

// A plane over its own bytes, stored top row first or, like the layers' masks, bottom row first.
struct TestPlane {
  TestPlane(int w, int h, Byte fill = 0, bool bottomUp = true)
      : bytes(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {
    plane = bottomUp ? MaskPlane{bytes.data() + static_cast<std::ptrdiff_t>(h - 1) * w, -w, w, h}
                     : MaskPlane{bytes.data(), w, w, h};
  }
  TestPlane(const TestPlane&) = delete;
  Byte& At(int x, int y) { return plane.Row(y)[x]; }

  std::vector<Byte> bytes;
  MaskPlane plane;
};

using Pass = std::function<void(const MaskPlane&, const MaskPlane&)>;

// Runs `pass` `count` times, ping-ponging between `p` and a scratch plane; the result ends in `p`.
void Repeat(TestPlane& p, const Pass& pass, int count = 1) {
  TestPlane scratch(p.plane.width, p.plane.height, 0x5A);
  for (int i = 0; i < count; ++i) {
    pass(p.plane, scratch.plane);
    for (int y = 0; y < p.plane.height; ++y)
      std::copy_n(scratch.plane.Row(y), p.plane.width, p.plane.Row(y));
  }
}

bool Inside(const MaskPlane& p, int x, int y) {
  return x >= 0 && y >= 0 && x < p.width && y < p.height;
}

Rule HaloRule(int fall) {
  return [fall](const MaskPlane& p, int x, int y) {
    int g = -1;
    const int steps[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (const auto& s : steps)
      if (Inside(p, x + s[0], y + s[1])) g = std::max<int>(g, p.Row(y + s[1])[x + s[0]]);
    const int own = p.Row(y)[x];
    return static_cast<Byte>(std::max(own, std::clamp(g - fall, 0, 255)));
  };
}

Rule HaloOldRule(int a) {
  return [a](const MaskPlane& p, int x, int y) {
    const int f = p.Row(y)[x];
    bool grow = false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (Inside(p, x + dx, y + dy) && p.Row(y + dy)[x + dx] > f + a) grow = true;
    return static_cast<Byte>(grow ? std::min(f + 1, 255) : f);
  };
}

TEST(MaskEffectsTest, DivideBy9IsTheTruncatedQuotientOfEveryBlockSum) {
  for (int sum = 0; sum <= 9 * 255; ++sum)
    ASSERT_EQ(DivideBy9(static_cast<std::uint16_t>(sum)), sum / 9) << sum;
}

// The passes read their edge columns and rows apart from the interior: each must agree with its
// rule everywhere, on planes where every column is near an edge.
TEST(MaskEffectsTest, PassesFollowTheirRulesAtEveryPixel) {
  struct Case {
    std::string name;
    Pass pass;
    Rule rule;
  };
  std::vector<Case> cases = {
      {"melt", [](auto& f, auto& t) { MeltPass(f, t, false); }, MeltRule(false)},
      {"melt keep255", [](auto& f, auto& t) { MeltPass(f, t, true); }, MeltRule(true)},
      {"vote", VotePass, VoteRule},
      {"rug", RugPass, RugRule},
  };
  for (const int fall : {0, 5, 60, -30, 300})
    cases.push_back({"halo " + std::to_string(fall),
                     [fall](auto& f, auto& t) { HaloPass(f, t, fall); }, HaloRule(fall)});
  for (const int a : {124, 40, 0, -1, 254, 255})
    cases.push_back({"old halo " + std::to_string(a),
                     [a](auto& f, auto& t) { HaloOldPass(f, t, a); }, HaloOldRule(a)});
  std::mt19937 random(11);
  const int sizes[][2] = {{12, 7}, {4, 1}, {4, 2}, {1100, 3}};  // 1100: more than one chunk
  for (const auto& [w, h] : sizes) {
    for (const bool bottomUp : {true, false}) {
      TestPlane from(w, h, 0, bottomUp);
      // Runs of 0 and 255 among random bytes, so that keep255, the vote and the halos all act.
      for (Byte& b : from.bytes) {
        const unsigned r = random() % 8;
        b = r == 0 ? 0 : r == 1 ? 255 : static_cast<Byte>(random());
      }
      for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " on " + std::to_string(w) + " x " + std::to_string(h));
        TestPlane to(w, h, 0x5A, !bottomUp);
        c.pass(from.plane, to.plane);
        int wrong = 0;
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x)
            if (to.At(x, y) != c.rule(from.plane, x, y) && ++wrong <= 3)
              ADD_FAILURE() << "at (" << x << ", " << y << "): " << int{to.At(x, y)}
                            << " instead of " << int{c.rule(from.plane, x, y)};
        EXPECT_EQ(wrong, 0);
      }
    }
  }
}

TEST(MaskEffectsTest, MeltSpreadsOnePixelOverItsBlock) {
  for (const bool keep255 : {false, true}) {
    TestPlane p(8, 6);
    p.At(3, 2) = 255;
    Repeat(p, [keep255](auto& f, auto& t) { MeltPass(f, t, keep255); });
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool inBlock = std::abs(x - 3) <= 1 && std::abs(y - 2) <= 1;
        const int expected = keep255 && x == 3 && y == 2 ? 255 : inBlock ? 28 : 0;
        EXPECT_EQ(p.At(x, y), expected) << x << ", " << y << (keep255 ? " keep255" : "");
      }
  }
}

// Melt and vote see the right edge from the left edge; the halo stops at the plane's edge.
TEST(MaskEffectsTest, MeltAndVoteWrapAroundTheLeftEdgeButTheHaloDoesNot) {
  TestPlane melt(8, 5);
  melt.At(7, 2) = 255;
  Repeat(melt, [](auto& f, auto& t) { MeltPass(f, t, false); });
  EXPECT_EQ(melt.At(0, 1), 28);
  EXPECT_EQ(melt.At(0, 2), 28);
  EXPECT_EQ(melt.At(0, 3), 28);

  // Three bright bytes in (0, 2)'s block inside the plane; the fourth only across the edge.
  TestPlane vote(8, 5);
  vote.At(0, 1) = vote.At(0, 3) = vote.At(1, 2) = 200;
  TestPlane wrapped(8, 5);
  std::copy(vote.bytes.begin(), vote.bytes.end(), wrapped.bytes.begin());
  wrapped.At(7, 2) = 128;
  Repeat(vote, VotePass);
  Repeat(wrapped, VotePass);
  EXPECT_EQ(vote.At(0, 2), 0);
  EXPECT_EQ(wrapped.At(0, 2), 255);

  TestPlane halo(8, 5);
  halo.At(7, 2) = 255;
  Repeat(halo, [](auto& f, auto& t) { HaloPass(f, t, 5); });
  EXPECT_EQ(halo.At(6, 2), 250);
  EXPECT_EQ(halo.At(0, 2), 0);
}

TEST(MaskEffectsTest, HaloFallsPerPixelOfDistance) {
  TestPlane p(12, 9);
  p.At(5, 4) = 255;
  Repeat(
      p, [](auto& f, auto& t) { HaloPass(f, t, 5); }, 2);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const int distance = std::abs(x - 5) + std::abs(y - 4);
      const int expected = distance > 2 ? 0 : 255 - 5 * distance;
      EXPECT_EQ(p.At(x, y), expected) << x << ", " << y;
    }
}

TEST(MaskEffectsTest, OldHaloGrowsByOneAPassNextToAMuchHigherByte) {
  TestPlane p(8, 8);
  p.At(3, 3) = 255;
  p.At(4, 4) = 200;  // beside 255, but 255 is not more than 124 above it
  p.At(6, 1) = 100;  // not more than 124 above its neighbours
  Repeat(
      p, [](auto& f, auto& t) { HaloOldPass(f, t, 124); }, 3);
  EXPECT_EQ(p.At(2, 2), 3);  // diagonal neighbours count
  EXPECT_EQ(p.At(3, 4), 3);
  EXPECT_EQ(p.At(5, 5), 3);  // beside 200
  EXPECT_EQ(p.At(4, 4), 200);
  EXPECT_EQ(p.At(3, 3), 255);
  EXPECT_EQ(p.At(1, 3), 0);  // two pixels away
  EXPECT_EQ(p.At(7, 0), 0);
  EXPECT_EQ(p.At(6, 1), 100);
}

TEST(MaskEffectsTest, ShiftMovesOnlyTheBytesOnItsSideOfTheStrength) {
  TestPlane p(256, 1);
  for (int x = 0; x < 256; ++x) p.At(x, 0) = static_cast<Byte>(x);
  ShiftMaskLevels(p.plane, 3, true, 255);
  for (int x = 0; x < 256; ++x) EXPECT_EQ(p.At(x, 0), std::max(x - 3, 0));
  for (int x = 0; x < 256; ++x) p.At(x, 0) = static_cast<Byte>(x);
  ShiftMaskLevels(p.plane, 3, false, 0);
  for (int x = 0; x < 256; ++x) EXPECT_EQ(p.At(x, 0), std::min(x + 3, 255));
  for (int x = 0; x < 256; ++x) p.At(x, 0) = static_cast<Byte>(x);
  ShiftMaskLevels(p.plane, 10, true, 100);
  EXPECT_EQ(p.At(100, 0), 90);
  EXPECT_EQ(p.At(101, 0), 101);
  ShiftMaskLevels(p.plane, 10, false, 150);
  EXPECT_EQ(p.At(149, 0), 149);
  EXPECT_EQ(p.At(150, 0), 160);
}

TEST(MaskEffectsTest, VoteAndRugRules) {
  TestPlane bright(8, 4, 255), dark(8, 4, 0), rug(8, 4, 255);
  Repeat(bright, VotePass);
  Repeat(dark, VotePass);
  Repeat(rug, RugPass);
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(bright.bytes[i], 255);
    EXPECT_EQ(dark.bytes[i], 0);
    EXPECT_EQ(rug.bytes[i], 0);  // the mean 255 plus one wraps to 0
  }
  // Bright bytes in (4, 3)'s block of a larger plane: four of them give 255, five give 0.
  TestPlane four(12, 8), five(12, 8);
  for (TestPlane* p : {&four, &five}) p->At(3, 2) = p->At(5, 2) = p->At(3, 4) = p->At(5, 4) = 255;
  five.At(4, 3) = 128;
  Repeat(four, VotePass);
  Repeat(five, VotePass);
  EXPECT_EQ(four.At(4, 3), 255);
  EXPECT_EQ(five.At(4, 3), 0);
}

TEST(MaskEffectsTest, GradationIsTheDistanceFromItsLine) {
  TestPlane flat(8, 400);
  GradationMask(flat.plane, 128, 128, 0, 100);
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(flat.At(x, y), std::min(std::abs(y - 128), 255)) << y;

  // 90° and 270° stand for 89.995°: nearly vertical, so the bytes are about |x − cx|. The
  // expected bytes follow the ramp's single-precision steps one by one.
  const int cx = 140, cy = 8;
  for (const int degrees : {90, 270}) {
    TestPlane p(300, 16);
    GradationMask(p.plane, cx, cy, degrees, 100);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 300; ++x) {
        const int expected = GradationByte(x, y, cx, cy, degrees, 100);
        ASSERT_LE(std::abs(expected - std::min(std::abs(x - cx), 255)), 1);
        ASSERT_EQ(p.At(x, y), expected) << degrees << "°: " << x << ", " << y;
      }
  }
}

TEST(MaskEffectsTest, LightRaysGrowOnlyWithDistance) {
  const int cx = 30, cy = 34;
  // One ray, at −dir: to the right for 0°, upwards on the screen for 90°. Away from it the bytes
  // add 100 a radian.
  TestPlane right(64, 64), up(64, 64), four(64, 64);
  LightMask(right.plane, cx, cy, 0, 100, 10, 1);
  LightMask(up.plane, cx, cy, 90, 100, 10, 1);
  LightMask(four.plane, cx, cy, 0, 100, 10, 4);
  EXPECT_EQ(right.At(cx, cy), 0);
  for (int r = 1; r < 25; ++r) {
    EXPECT_EQ(right.At(cx + r, cy), r);
    EXPECT_EQ(right.At(cx, cy + r), std::min(157 + r, 255)) << r;  // a quarter turn away
    EXPECT_EQ(right.At(cx - r, cy), 255);
    EXPECT_EQ(up.At(cx, cy - r), r);
    EXPECT_EQ(up.At(cx + r, cy), 157 + r);
    for (const int b :
         {four.At(cx + r, cy), four.At(cx - r, cy), four.At(cx, cy + r), four.At(cx, cy - r)})
      EXPECT_EQ(b, r);
  }
}

TEST(MaskEffectsTest, AnglesStayInRange) {
  const float pi = 3.14159265358979323846f;
  EXPECT_EQ(AngleDiff(0.0f, pi), pi);  // half a turn is +π, never −π
  EXPECT_NEAR(AngleDiff(0.1f, 2.0f * pi - 0.1f), 0.2f, 1e-5f);
  EXPECT_FLOAT_EQ(NormAngle(-0.5f), 2.0f * pi - 0.5f);
  // Angles that stepping by 2π would never bring into range.
  for (const float a : {1e30f, -1e30f, INFINITY, NAN}) {
    const float n = NormAngle(a);
    EXPECT_TRUE(n >= 0.0f && n < 2.0f * pi) << a;
  }
}

}  // namespace
}  // namespace mirasketch::test
