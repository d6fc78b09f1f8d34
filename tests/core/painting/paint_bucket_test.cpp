#include "painting/paint_bucket.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;
constexpr int kRed = MakeColour(255, 0, 0);

class PaintBucketTest : public PaintTest {
 protected:
  PaintBucketTest() {
    studio.frmCol.SetDrawColour(kRed);
    studio.frmC.SelectTool(tkPenki);
  }
  void Click(int x, int y, MouseButton button = MouseButton::kLeft) {
    studio.frmM.pbxAMouseDown(button, x, y);
    studio.frmM.pbxAMouseUp(button, x, y);
  }
  // The region an independent breadth-first fill finds: white pixels 4-connected to (x, y).
  std::vector<bool> Reference(int x, int y) {
    const int w = Layer().Width(), h = Layer().Height();
    std::vector<bool> in(static_cast<std::size_t>(w) * h);
    std::deque<std::pair<int, int>> queue{{x, y}};
    in[static_cast<std::size_t>(y) * w + x] = true;
    while (!queue.empty()) {
      const auto [px, py] = queue.front();
      queue.pop_front();
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = px + dx, ny = py + dy;
        if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
        const std::size_t i = static_cast<std::size_t>(ny) * w + nx;
        if (in[i] || Layer().GetPixel(nx, ny) != kWhite) continue;
        in[i] = true;
        queue.emplace_back(nx, ny);
      }
    }
    return in;
  }
  // Fills at (x, y) and compares every pixel with the reference region.
  void ExpectExactRegion(int x, int y) {
    const std::vector<bool> expected = Reference(x, y);
    Click(x, y);
    const int w = Layer().Width(), h = Layer().Height();
    int wrong = 0, filled = 0;
    for (int py = 0; py < h; ++py) {
      for (int px = 0; px < w; ++px) {
        const int colour = Layer().GetPixel(px, py);
        const bool in = expected[static_cast<std::size_t>(py) * w + px];
        filled += in;
        wrong += in ? colour != kRed : colour == kRed;
      }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(filled, w * h / 4);
  }
};

TEST_F(PaintBucketTest, OutlinesHoldTheFillAndOnlyDirectNeighboursConnect) {
  // A closed one-pixel square outline: the inside is filled, the outline and outside keep.
  Layer().FillRect(10, 10, 21, 1, kBlack);
  Layer().FillRect(10, 30, 21, 1, kBlack);
  Layer().FillRect(10, 10, 1, 21, kBlack);
  Layer().FillRect(30, 10, 1, 21, kBlack);
  Click(20, 20);
  EXPECT_EQ(Layer().GetPixel(11, 11), kRed);
  EXPECT_EQ(Layer().GetPixel(29, 29), kRed);
  EXPECT_EQ(Layer().GetPixel(10, 20), kBlack);
  EXPECT_EQ(Layer().GetPixel(9, 20), kWhite);
  EXPECT_EQ(Painted(11, 11, 19, 19), 19 * 19);
  // A diamond outline whose pixels touch only at corners: the gaps are diagonal and hold.
  for (int i = 0; i <= 20; ++i) {
    Layer().SetPixel(100 + i, 60 + i - 20, kBlack);
    Layer().SetPixel(100 + i, 60 + 20 - i, kBlack);
    Layer().SetPixel(100 - i, 60 + i - 20, kBlack);
    Layer().SetPixel(100 - i, 60 + 20 - i, kBlack);
  }
  Click(100, 60);
  EXPECT_EQ(Layer().GetPixel(100, 60), kRed);
  EXPECT_EQ(Layer().GetPixel(100, 30), kWhite);
  EXPECT_EQ(Layer().GetPixel(125, 60), kWhite);
  // A U open upward is filled in one call, both arms included.
  Layer().FillRect(150, 100, 2, 60, kBlack);
  Layer().FillRect(190, 100, 2, 60, kBlack);
  Layer().FillRect(150, 160, 42, 2, kBlack);
  Layer().FillRect(140, 90, 60, 1, kBlack);  // a lid a little above, so only the U is filled
  Layer().FillRect(140, 90, 1, 80, kBlack);
  Layer().FillRect(200, 90, 1, 80, kBlack);
  Layer().FillRect(140, 170, 61, 1, kBlack);
  Click(170, 150);
  EXPECT_EQ(Layer().GetPixel(152, 101), kRed);
  EXPECT_EQ(Layer().GetPixel(195, 165), kRed);
  EXPECT_EQ(Layer().GetPixel(170, 161), kBlack);
}

TEST_F(PaintBucketTest, TheMaskProtectsAndTheRangeCountsChannelDifferences) {
  // Pixels masked with 255 keep their colour with the mask switch on.
  Layer().mask.FillRect(0, 0, 128, 256, 255);
  studio.frmC.Click("chkMask");
  Click(200, 200);
  EXPECT_EQ(Layer().GetPixel(50, 50), kWhite);
  EXPECT_EQ(Layer().GetPixel(200, 50), kRed);
  studio.frmM.Undo();
  studio.frmC.Click("chkMask");
  // Range 256: differences summing to 256 belong to the region, 257 do not.
  Layer().FillRect(0, 0, 256, 256, MakeColour(100, 100, 100));
  Layer().SetPixel(10, 10, MakeColour(100 + 128, 100 + 128, 100));  // 256 away
  Layer().SetPixel(20, 10, MakeColour(100 + 129, 100 + 128, 100));  // 257 away
  studio.frmC.Change("sbPenkiRange", 256);
  Click(0, 0);
  EXPECT_EQ(Layer().GetPixel(10, 10), kRed);
  EXPECT_EQ(Layer().GetPixel(20, 10), MakeColour(229, 228, 100));
  // Range 1: the seed colour and one step in one channel.
  studio.frmM.Undo();
  Layer().SetPixel(30, 10, MakeColour(101, 100, 100));
  Layer().SetPixel(40, 10, MakeColour(101, 101, 100));
  studio.frmC.Change("sbPenkiRange", 1);
  Click(0, 0);
  EXPECT_EQ(Layer().GetPixel(30, 10), kRed);
  EXPECT_EQ(Layer().GetPixel(40, 10), MakeColour(101, 101, 100));
  // The right button picks the colour and saves no snapshot; outside the layer nothing fills.
  const int undoCount = studio.frmM.undoCount;
  Click(40, 10, MouseButton::kRight);
  EXPECT_EQ(Settings().drawColor, static_cast<std::uint32_t>(MakeColour(101, 101, 100)));
  EXPECT_EQ(studio.frmM.undoCount, undoCount);
  const std::vector<std::uint8_t> before(Layer().Bits(), Layer().Bits() + 256 * 256 * 3);
  Click(300, 300);
  EXPECT_EQ(std::vector<std::uint8_t>(Layer().Bits(), Layer().Bits() + 256 * 256 * 3), before);
}

TEST_F(PaintBucketTest, WindingRegionsAreFilledCompletely) {
  // Nested square walls one pixel thick with one-pixel corridors between them, each wall opened
  // once, on alternate sides, so the region winds half around every ring; and a maze of
  // one-pixel walls: regions a bounded number of whole-plane passes cannot finish.
  project.NewProject(1, 512, 512);
  project.AfterNewProject();
  for (int r = 1; r < 255; r += 2) {
    const int side = 512 - 2 * r;
    Layer().FillRect(r, r, side, 1, kBlack);
    Layer().FillRect(r, 511 - r, side, 1, kBlack);
    Layer().FillRect(r, r, 1, side, kBlack);
    Layer().FillRect(511 - r, r, 1, side, kBlack);
    Layer().SetPixel(r % 4 == 1 ? r : 511 - r, 256, kWhite);
  }
  ExpectExactRegion(0, 0);

  studio.frmM.Undo();
  Layer().FillRect(0, 0, 512, 512, kBlack);
  // Cells on the even coordinates, carved by a depth-first walk with a fixed seed.
  std::mt19937 random(7);
  std::vector<bool> seen(256 * 256);
  std::vector<std::pair<int, int>> stack{{0, 0}};
  seen[0] = true;
  Layer().SetPixel(0, 0, kWhite);
  while (!stack.empty()) {
    const auto [cx, cy] = stack.back();
    std::vector<std::pair<int, int>> next;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const int nx = cx + dx, ny = cy + dy;
      if (nx >= 0 && ny >= 0 && nx < 256 && ny < 256 && !seen[ny * 256 + nx])
        next.emplace_back(nx, ny);
    }
    if (next.empty()) {
      stack.pop_back();
      continue;
    }
    const auto [nx, ny] = next[random() % next.size()];
    seen[ny * 256 + nx] = true;
    Layer().SetPixel(cx + nx, cy + ny, kWhite);  // the passage between the two cells
    Layer().SetPixel(2 * nx, 2 * ny, kWhite);
    stack.emplace_back(nx, ny);
  }
  ExpectExactRegion(0, 0);
}

TEST_F(PaintBucketTest, GrowRegionKeepsTheMarksAndStartsFromANonCandidateSeed) {
  // 4 × 3 marks, rows bottom-up: the seed row's candidates join, a diagonal one does not.
  std::vector<std::uint8_t> marks = {
      1, 0, 0, 1,  // bottom row (y = 2)
      0, 1, 1, 0,  // y = 1
      1, 1, 0, 0,  // top row (y = 0)
  };
  GrowRegion(marks.data(), 4, 3, 0, 0);
  EXPECT_EQ(marks, (std::vector<std::uint8_t>{1, 0, 0, 1, 0, 3, 3, 0, 3, 3, 0, 0}));
  std::vector<std::uint8_t> lone = {0, 1, 0, 0};
  GrowRegion(lone.data(), 4, 1, 0, 0);
  EXPECT_EQ(lone, (std::vector<std::uint8_t>{3, 3, 0, 0}));
}

}  // namespace
}  // namespace mirasketch::test
