#include "project/size_dialog.h"

#include <gtest/gtest.h>

#include "support/recording_messages.h"

namespace mirasketch {
namespace {

TEST(ReadLeadingInt, ReadsUpToTheFirstOtherCharacter) {
  bool ok = false;
  EXPECT_EQ(ReadLeadingInt("  12abc", ok), 12);
  EXPECT_TRUE(ok);
  EXPECT_EQ(ReadLeadingInt("-7", ok), -7);
  EXPECT_EQ(ReadLeadingInt("abc", ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadLeadingInt("", ok), 0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ReadLeadingInt("99999999999999", ok), 2147483647);
}

TEST(TfrmDlgSize, OkChecksBothFields) {
  test::RecordingMessages messages;
  TfrmDlgSize dialog;
  EXPECT_EQ(dialog.edtWid, "320");
  dialog.SetValues(640, 48);
  EXPECT_EQ(dialog.edtHei, "48");
  EXPECT_TRUE(dialog.OKBtnClick(messages));
  EXPECT_EQ(dialog.resultWidth, 640);
  EXPECT_EQ(dialog.resultHeight, 48);

  const struct {
    std::string w;
    std::string h;
    std::string message;  // empty: stays open silently
  } refused[] = {{"abc", "", ""},
                 {"3", "100", "小さすぎます。"},
                 {"x", "100", "小さすぎます。"},
                 {"100", "30001", "大きすぎます。"},
                 {"40000", "2", "小さすぎます。"}};
  for (const auto& r : refused) {
    messages.shown.clear();
    dialog.edtWid = r.w;
    dialog.edtHei = r.h;
    EXPECT_FALSE(dialog.OKBtnClick(messages)) << r.w << " " << r.h;
    EXPECT_EQ(messages.shown,
              r.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.message})
        << r.w << " " << r.h;
  }
  dialog.SetValues(30000, 4);
  dialog.edtWid += "px";
  EXPECT_TRUE(dialog.OKBtnClick(messages));
  EXPECT_EQ(dialog.resultWidth, 30000);
}

}  // namespace
}  // namespace mirasketch
