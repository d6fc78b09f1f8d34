// A session with the selection tool through `mirasketch-cli replay`: a rectangle selected, moved
// and flipped, cut, and pasted back with the key and the menu through the replay's clipboard, the
// results saved and compared with the pictures they should give.

#include <gtest/gtest.h>

#include <string>

#include "replay_runner.h"
#include "support/recording_messages.h"

namespace mirasketch {
namespace {

using test::Replay;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kWhite = 0xFFFFFF;

int PatternAt(int x, int y) {
  return MakeColour(x * 4, y * 5, (x * 7 + y * 13) & 255);
}

// Counts the pixels of a saved picture that differ from `expected` (x, y).
template <typename Expected>
int Differences(const test::TempDir& dir, const std::string& name, Expected expected) {
  CDibTrue picture;
  int width = 0, height = 0;
  if (!test::ReadPicture(dir.File(name), picture, width, height)) return -1;
  int n = 0;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) n += picture.GetPixel(x, y) != expected(x, y);
  return n;
}

bool Inside(int x, int y, int left, int top, int w, int h) {
  return x >= left && x < left + w && y >= top && y < top + h;
}

TEST(CliReplaySelection, SelectMoveFlipCutAndPaste) {
  test::TempDir dir;
  CDibTrue pattern;
  ASSERT_TRUE(pattern.Alloc(kWidth, kHeight));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) pattern.SetPixel(x, y, PatternAt(x, y));
  test::RecordingMessages messages;
  ASSERT_TRUE(pattern.SaveToBmp(dir.File("pattern.bmp"), messages));
  const auto run = Replay(
      "open OUT/pattern.bmp\n"
      "click spbSelect\n"
      "mouse down 1 4 4\n"
      "mouse move 1 13 9\n"
      "mouse up 1 13 9                 # the 10 x 6 piece at (4, 4)\n"
      "mouse down 1 6 6\n"
      "mouse move 1 26 6\n"
      "mouse up 1 26 6                 # moved to (24, 4)\n"
      "click btnSelectFlipLeftRight\n"
      "print TfrmC.btnSelectFlipLeftRight\n"
      "key down X ctrl                 # cut: erased where the piece lies now\n"
      "save OUT/cut.bmp                # a save ends the floating piece\n"
      "key down P ctrl                 # pasted at the window's top-left\n"
      "mouse down 1 2 2\n"
      "mouse move 1 42 32\n"
      "mouse up 1 42 32                # and moved to (40, 30)\n"
      "click mnuPaste                  # once more at the top-left\n"
      "save OUT/pasted.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "TfrmC.btnSelectFlipLeftRight = 左右反転\n");

  // The flipped piece: column c of the piece shows column 9 − c of the selected rectangle.
  const auto flipped = [](int x, int y, int left, int top) {
    return PatternAt(4 + 9 - (x - left), 4 + (y - top));
  };
  EXPECT_EQ(Differences(
                dir, "cut.bmp",
                [](int x, int y) { return Inside(x, y, 24, 4, 10, 6) ? kWhite : PatternAt(x, y); }),
            0);
  EXPECT_EQ(Differences(dir, "pasted.bmp",
                        [&](int x, int y) {
                          if (Inside(x, y, 0, 0, 10, 6)) return flipped(x, y, 0, 0);
                          if (Inside(x, y, 40, 30, 10, 6)) return flipped(x, y, 40, 30);
                          return Inside(x, y, 24, 4, 10, 6) ? kWhite : PatternAt(x, y);
                        }),
            0);
}

}  // namespace
}  // namespace mirasketch
