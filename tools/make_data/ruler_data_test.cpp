#include "ruler_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "painting/ruler.h"
#include "painting/spline.h"
#include "platform/message_sink.h"
#include "support/temp_dir.h"

namespace mirasketch::rulers {
namespace {

class RecordingMessages : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

TEST(RulerData, CommittedFileMatchesItsGeneratorAndIsCopiedBesideTheTool) {
  test::TempDir dir;
  WriteRulerData(dir.File("Ruler.dat"));
  const std::vector<std::uint8_t> committed = test::ReadAll(MIRASKETCH_RULER_DATA);
  EXPECT_TRUE(test::ReadAll(dir.File("Ruler.dat")) == committed)
      << "data/Ruler.dat is stale: regenerate it with make_data";
  const std::string copy = std::string(MIRASKETCH_CLI_DIR) + "/Ruler.dat";
  EXPECT_TRUE(test::ReadAll(copy) == committed)
      << copy << " differs from data/Ruler.dat: build again to refresh the copy";
}

TEST(RulerData, TemplatesAreUsableRulers) {
  RulerTool ruler;
  RecordingMessages messages;
  ASSERT_TRUE(ruler.LoadRulerData(MIRASKETCH_RULER_DATA, messages));
  EXPECT_TRUE(messages.shown.empty());
  // The set square is closed.
  EXPECT_EQ(kTriangle.front().x, kTriangle.back().x);
  EXPECT_EQ(kTriangle.front().y, kTriangle.back().y);
  // The cloud takes a spline that stays close to the points instead of swinging out.
  SplinePoints cloud;
  for (const TemplatePoint& p : kCloud) cloud.AppendPoint(p.x, p.y);
  ASSERT_TRUE(cloud.FitSpline());
  for (int i = 0; i <= 400; ++i) {
    const SplinePoint s = cloud.EvalSpline(i / 400.0);
    EXPECT_GT(s.x, -135);
    EXPECT_LT(s.x, 165);
    EXPECT_GT(s.y, -100);
    EXPECT_LT(s.y, 95);
  }
}

}  // namespace
}  // namespace mirasketch::rulers
