#include "painting/ruler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/paint_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch::test {
namespace {

constexpr int kRed = MakeColour(255, 0, 0);

using Points = std::vector<std::pair<int, int>>;

// A Ruler.dat image: each record its count and points.
std::vector<std::uint8_t> RulerFile(int triangleCount, const Points& triangle, int cloudCount,
                                    const Points& cloud) {
  std::vector<std::uint8_t> bytes(RulerTool::kDataBytes, 0);
  auto put = [&](std::size_t at, std::int32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  auto record = [&](std::size_t base, int count, const Points& points) {
    put(base, count);
    for (std::size_t i = 0; i < points.size(); ++i) {
      put(base + 8 + 8 * i, points[i].first);
      put(base + 12 + 8 * i, points[i].second);
    }
  };
  record(0, triangleCount, triangle);
  record(RulerTool::kRecordBytes, cloudCount, cloud);
  return bytes;
}

// A right triangle around the centre and an arc lying wholly right of it.
const Points kTriangle{{-40, 40}, {60, 40}, {-40, -40}, {-40, 40}};
const Points kArc{{10, -60}, {40, -40}, {50, 0}, {40, 40}, {10, 60}};

struct Box {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
};

class RulerTest : public PaintTest {
 protected:
  RulerTest() {
    studio.frmCol.SetDrawColour(kRed);
    studio.frmOpt.visible = true;
    studio.frmOpt.optionPage = 1;
  }
  bool Load(const std::vector<std::uint8_t>& bytes) {
    WriteAll(dir.File("Ruler.dat"), bytes);
    return Ruler().LoadRulerData(dir.File("Ruler.dat"), platform);
  }
  void UseRuler(int kind = 1) {
    Settings().rulerKind = kind;
    studio.frmC.SelectTool(tkRuler);
  }
  RulerTool& Ruler() { return studio.rulerTool; }
  // The pixels of the rail: the work layer's mask values 1.
  Box Rail() {
    Box box;
    const CDib256& rail = Tools().workLayer.mask;
    for (int y = 0; y < rail.Height(); ++y)
      for (int x = 0; x < rail.Width(); ++x) {
        if (rail.GetPixel(x, y) != 1) continue;
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
        ++box.count;
      }
    return box;
  }
  std::vector<int> Composite() {
    std::vector<int> out;
    const CDibTrue& picture = project.compositeDib;
    for (int y = 0; y < picture.Height(); ++y)
      for (int x = 0; x < picture.Width(); ++x) out.push_back(picture.GetPixel(x, y));
    return out;
  }

  TempDir dir;
};

TEST_F(RulerTest, BadFilesAreRefusedAndLeaveARulerWithoutRail) {
  EXPECT_FALSE(Ruler().LoadRulerData(dir.File("none.dat"), platform));
  EXPECT_EQ(messages.back(), "ファイルがありません。-" + dir.File("none.dat"));

  const std::string refused = "定規のデータが正しくありません。-" + dir.File("Ruler.dat");
  std::vector<std::uint8_t> good = RulerFile(4, kTriangle, 5, kArc);
  std::vector<std::uint8_t> shortFile(good.begin(), good.end() - 1);
  EXPECT_FALSE(Load(shortFile));
  EXPECT_EQ(messages.back(), refused);
  EXPECT_FALSE(Load(RulerFile(16, kTriangle, 5, kArc)));  // more points than a record holds
  EXPECT_FALSE(Load(RulerFile(4, kTriangle, -1, kArc)));
  EXPECT_FALSE(Load(RulerFile(4, {{10001, 0}}, 5, kArc)));
  EXPECT_EQ(messages.size(), 5u);

  // The refused file left empty templates: no outline, no rail, and drawing along paints nothing.
  UseRuler();
  EXPECT_EQ(Rail().count, 0);
  Drag({{60, 60}, {61, 60}, {62, 61}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);

  EXPECT_TRUE(Load(good));
  EXPECT_EQ(messages.size(), 5u);
}

TEST_F(RulerTest, PressesNearTheCentreMoveAndMovesStayOnTheCanvas) {
  ASSERT_TRUE(Load(RulerFile(4, kTriangle, 5, kArc)));
  UseRuler();
  // The centre (128, 128) takes presses within Manhattan distance 11, the handle (152, 128)
  // within 7; anywhere else draws along.
  EXPECT_EQ(Ruler().RulerHitTest(139, 128), RulerTool::kMove);
  EXPECT_EQ(Ruler().RulerHitTest(134, 134), RulerTool::kDrawAlong);
  EXPECT_EQ(Ruler().RulerHitTest(159, 128), RulerTool::kRotate);
  EXPECT_EQ(Ruler().RulerHitTest(160, 128), RulerTool::kDrawAlong);

  Drag({{130, 126}, {330, 100}, {630, -400}});
  EXPECT_EQ(Ruler().rulerCenter.x, 256);
  EXPECT_EQ(Ruler().rulerCenter.y, 0);
  EXPECT_EQ(studio.frmOpt.lblA, "中心(256,0)");
  Drag({{256, 0}, {-1000, 40}});
  EXPECT_EQ(Ruler().rulerCenter.x, 0);
  EXPECT_EQ(Ruler().rulerCenter.y, 40);
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
  EXPECT_EQ(studio.frmM.undoCount, 0);
}

TEST_F(RulerTest, ShiftSnapsTheTurnAndTheReadoutNegatesTheAngle) {
  ASSERT_TRUE(Load(RulerFile(4, kTriangle, 5, kArc)));
  UseRuler();
  Settings().shiftConstrain = true;
  Drag({{152, 128}, {200, 170}});  // about 41° clockwise on screen
  EXPECT_FLOAT_EQ(Ruler().rulerAngle, 45.0f);
  EXPECT_EQ(studio.frmOpt.lblB, "角度-45");
  Settings().shiftConstrain = false;
  // The handle now lies at (128 + 16, 128 + 16); turned to point straight up.
  Drag({{144, 144}, {128, 60}});
  EXPECT_FLOAT_EQ(Ruler().rulerAngle, -90.0f);
  EXPECT_EQ(studio.frmOpt.lblB, "角度90");
}

TEST_F(RulerTest, DrawingAlongPaintsTheRailWithinThreePixels) {
  ASSERT_TRUE(Load(RulerFile(4, kTriangle, 5, kArc)));
  UseRuler();
  // The bottom edge runs along row 168 from x = 88 to 187.
  const Box rail = Rail();
  EXPECT_EQ(rail.bottom, 168);
  // Four rows away nothing is found; three rows away the 7 rail pixels under the window around
  // the moved pointer are stamped (the press itself draws nothing).
  Drag({{120, 164}, {121, 164}});
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
  Drag({{120, 165}, {121, 165}});
  for (int x = 118; x <= 124; ++x) EXPECT_EQ(Layer().GetPixel(x, 168), kRed) << x;
  EXPECT_EQ(Painted(0, 0, 256, 256), 7);
  studio.frmM.Undo();
  EXPECT_EQ(Painted(0, 0, 256, 256), 0);
}

TEST_F(RulerTest, ScalingKeepsTheCentreAndMirroringFlipsTheCloud) {
  ASSERT_TRUE(Load(RulerFile(4, kTriangle, 5, kArc)));
  UseRuler();
  auto clearRail = [&] { Tools().workLayer.mask.FillRect(0, 0, 256, 256, 0); };
  clearRail();
  studio.frmC.Change("sbRulerSize", 150);
  const Box big = Rail();
  EXPECT_EQ(big.left, 128 - 60);
  EXPECT_EQ(big.right, 128 + 90);
  EXPECT_EQ(big.top, 128 - 60);
  EXPECT_EQ(big.bottom, 128 + 60);

  // The arc lies right of the centre; mirrored, left of it.
  studio.frmC.Change("sbRulerSize", 100);
  studio.frmC.Click("rdiRulerCloud");
  clearRail();
  studio.frmC.Change("sbRulerSize", 101);
  const Box arc = Rail();
  EXPECT_GE(arc.left, 128 + 10);
  EXPECT_GT(arc.count, 100);  // closely spaced samples leave no gaps
  clearRail();
  studio.frmC.Click("chkRulerInvert");
  const Box mirrored = Rail();
  EXPECT_LE(mirrored.right, 128 - 10);
  EXPECT_EQ(mirrored.right - mirrored.left, arc.right - arc.left);
  EXPECT_EQ(mirrored.bottom - mirrored.top, arc.bottom - arc.top);
}

TEST_F(RulerTest, RedrawsWhileDraggingMatchAWholeRecomposition) {
  ASSERT_TRUE(Load(RulerFile(4, kTriangle, 15,
                             {{-60, 0},
                              {-50, -30},
                              {-20, -50},
                              {10, -45},
                              {40, -20},
                              {55, 10},
                              {30, 40},
                              {-10, 45},
                              {-45, 30},
                              {-60, 0}})));
  Layer().offsetX = 5;
  Layer().offsetY = -3;
  Layer().FillRect(0, 0, 256, 256, MakeColour(0, 0, 255));
  Layer().FillRect(100, 90, 40, 30, MakeColour(0, 255, 0));
  for (int kind : {1, 2}) {
    UseRuler(kind);
    // Turn, then move far enough that the old and the new outline cross.
    studio.frmM.pbxAMouseDown(MouseButton::kLeft, 152, 128);
    for (int i = 0; i < 12; ++i) studio.frmM.pbxAMouseMove(152 - 4 * i, 128 + 6 * i);
    studio.frmM.pbxAMouseUp(MouseButton::kLeft, 100, 190);
    studio.frmM.pbxAMouseDown(MouseButton::kLeft, 128, 128);
    for (int i = 1; i < 10; ++i) studio.frmM.pbxAMouseMove(128 + 7 * i, 128 - 5 * i);
    const std::vector<int> dragged = Composite();
    Ruler().DrawRulerOverlay(Tools(), RulerTool::kNone);
    EXPECT_EQ(Composite(), dragged) << "kind " << kind;
    studio.frmM.pbxAMouseUp(MouseButton::kLeft, 191, 83);
  }
}

}  // namespace
}  // namespace mirasketch::test
