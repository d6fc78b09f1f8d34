// Sessions replayed through `mirasketch-cli replay`: what the saved pictures hold is worked out
// from what the tools promise, the stamps taken from the brush sheet the tool reads.

#include <gtest/gtest.h>

#include "replay_runner.h"

namespace mirasketch {
namespace {

using test::ExpectedPicture;
using test::Replay;
using test::StampFootprint;
using Footprint = std::vector<std::pair<int, int>>;

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;
constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kMagenta = 0xFF00FF;
constexpr int kGreen200 = 0x00C800;

using test::ExpectPicture;

// The pen's stroke with the default stamp in the slider colour: every point of the drag is
// stamped, the press point and the release point included; nothing else changes.
TEST(CliReplay, PenStampsEveryPointOfTheDrag) {
  const Footprint pen = StampFootprint(0);
  ASSERT_EQ(pen, (Footprint{{0, 0}})) << "stamp 0 is the one-pixel pen";
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "set sbColRed 255\n"
      "mouse down 1 10 10\n"
      "mouse move 1 30 10\n"
      "mouse move 1 30 20\n"
      "mouse up 1 30 20\n"
      "save OUT/pen.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
  ExpectedPicture expected(64, 48);
  for (int x = 10; x <= 30; ++x) expected.Stamp(x, 10, pen, kRed);
  for (int y = 10; y <= 20; ++y) expected.Stamp(30, y, pen, kRed);
  ExpectPicture(dir.File("pen.bmp"), expected);
}

// Box tool at zoom 2: paint-box points map to canvas points by truncating division; the filled
// box covers both corners; an earlier, larger preview leaves no trace; with Shift the longer side
// is cut to the shorter one.
TEST(CliReplay, BoxesAtZoomTwo) {
  const Footprint pen = StampFootprint(0);
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "set sbColBlue 255\n"
      "set sbZoom 2\n"
      "click spbBox\n"
      "click chkShapeFill\n"
      "mouse down 1 21 17   # canvas (10, 8)\n"
      "mouse move 1 91 81   # preview to (45, 40)\n"
      "mouse move 1 61 51   # canvas (30, 25)\n"
      "mouse up 1 61 51\n"
      "save OUT/box.bmp\n"
      "new 64 48\n"
      "click chkShapeFill   # outline only\n"
      "key down shift\n"
      "mouse down 1 20 20   # canvas (10, 10)\n"
      "mouse move 1 60 40   # canvas (30, 20): the square's side is 10\n"
      "mouse up 1 60 40\n"
      "key up shift\n"
      "save OUT/square.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectedPicture box(64, 48);
  box.Fill(10, 8, 29, 25, kBlue);
  for (int x = 10; x <= 30; ++x) {
    box.Stamp(x, 8, pen, kBlue);
    box.Stamp(x, 25, pen, kBlue);
  }
  for (int y = 8; y <= 25; ++y) {
    box.Stamp(10, y, pen, kBlue);
    box.Stamp(30, y, pen, kBlue);
  }
  ExpectPicture(dir.File("box.bmp"), box);

  ExpectedPicture square(64, 48);
  for (int i = 10; i <= 20; ++i) {
    square.Stamp(i, 10, pen, kBlue);
    square.Stamp(i, 20, pen, kBlue);
    square.Stamp(10, i, pen, kBlue);
    square.Stamp(20, i, pen, kBlue);
  }
  ExpectPicture(dir.File("square.bmp"), square);
}

// Undo from the panel button and from Ctrl+Z steps back one stroke each, through a save in
// between; a further undo with no history left changes nothing. Redo from the menu and the keys
// steps forward again, as far as the undos went.
TEST(CliReplay, UndoStepsBackOneStrokeEach) {
  const Footprint pen = StampFootprint(0);
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "mouse down 1 5 5\nmouse move 1 20 5\nmouse up 1 20 5\n"
      "save OUT/one.bmp\n"
      "mouse down 1 5 30\nmouse move 1 5 40\nmouse up 1 5 40\n"
      "save OUT/two.bmp\n"
      "click btnUndo\n"
      "save OUT/undo1.bmp\n"
      "key down Z ctrl\nkey up Z ctrl\n"
      "save OUT/undo2.bmp\n"
      "key down z ctrl\n"
      "save OUT/undo3.bmp\n"
      "click mnuRedo\nsave OUT/redo1.bmp\n"
      "key down Z ctrl shift\nkey down Y ctrl\nsave OUT/redo2.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectedPicture one(64, 48);
  for (int x = 5; x <= 20; ++x) one.Stamp(x, 5, pen, kBlack);
  ExpectedPicture two = one;
  for (int y = 30; y <= 40; ++y) two.Stamp(5, y, pen, kBlack);
  ExpectPicture(dir.File("one.bmp"), one);
  ExpectPicture(dir.File("two.bmp"), two);
  ExpectPicture(dir.File("undo1.bmp"), one);
  ExpectPicture(dir.File("undo2.bmp"), ExpectedPicture(64, 48));
  ExpectPicture(dir.File("undo3.bmp"), ExpectedPicture(64, 48));
  ExpectPicture(dir.File("redo1.bmp"), one);
  ExpectPicture(dir.File("redo2.bmp"), two);  // the second redo key finds nothing left
}

// The eraser paints its size's stamp in white, opaque, over a black area: the default size, a
// size chosen in the panel's eraser box, and the pen's right button in erase mode.
TEST(CliReplay, EraserPaintsWhiteStamps) {
  const Footprint size2 = StampFootprint(2);
  const Footprint size4 = StampFootprint(4);
  ASSERT_EQ(size2.size(), 16u) << "stamp 2 is the 4 x 4 eraser";
  ASSERT_EQ(size4.size(), 64u) << "stamp 4 is the 8 x 8 eraser";
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "click spbBox\nclick chkShapeFill\n"
      "mouse down 1 4 4\nmouse move 1 59 43\nmouse up 1 59 43\n"
      "click spbErase\n"
      "mouse down 1 20 20\nmouse move 1 40 20\nmouse move 1 40 30\nmouse up 1 40 30\n"
      "mouse click pbxEraser 1 70 25   # the fourth size box\n"
      "mouse down 1 50 10\nmouse up 1 50 10\n"
      "click spbPen\n"
      "set cboPenErase 2               # right button: eraser\n"
      "mouse down 2 10 35\nmouse move 2 15 35\nmouse up 2 15 35\n"
      "save OUT/erased.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectedPicture expected(64, 48);
  expected.Fill(4, 4, 59, 43, kBlack);
  // Whether the release point of an eraser drag is stamped again is left open.
  expected.Open(40, 30, size2);
  for (int x = 20; x < 40; ++x) expected.Stamp(x, 20, size2, kWhite);
  for (int y = 20; y < 30; ++y) expected.Stamp(40, y, size2, kWhite);
  expected.Stamp(50, 10, size4, kWhite);
  for (int x = 10; x <= 15; ++x) expected.Stamp(x, 35, size4, kWhite);
  ExpectPicture(dir.File("erased.bmp"), expected);
}

// The colour travels through the palette (dropped from the swatch, picked from the entry) and
// back from the canvas with the S key under the pointer.
TEST(CliReplay, ColourThroughThePaletteAndThePick) {
  const Footprint pen = StampFootprint(0);
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "set sbColGreen 200\n"
      "drop pbxPalette pbxCol 20 20        # into the second entry of the first row\n"
      "set sbColGreen 0\n"
      "mouse click TfrmCol.pbxPalette 1 30 24  # the same entry\n"
      "mouse down 1 5 5\nmouse move 1 15 5\nmouse up 1 15 5\n"
      "set sbColRed 255\n"
      "mouse move 1 8 5\n"
      "key down S\nkey up S\n"
      "mouse down 1 5 20\nmouse move 1 15 20\nmouse up 1 15 20\n"
      "save OUT/colours.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  ExpectedPicture expected(64, 48);
  for (int x = 5; x <= 15; ++x) {
    expected.Stamp(x, 5, pen, kGreen200);
    expected.Stamp(x, 20, pen, kGreen200);
  }
  ExpectPicture(dir.File("colours.bmp"), expected);
}

// A project saved as a layer-project file opens again in a later replay with its pixels; the
// overwrite and discard questions are answered Yes and shown; an undo after the open goes back to
// the opened picture.
TEST(CliReplay, ProjectFileRoundTrip) {
  const Footprint pen = StampFootprint(0);
  test::TempDir dir;
  auto run = Replay(
      "new 64 48\nset sbColRed 255\n"
      "mouse down 1 10 10\nmouse move 1 30 10\nmouse up 1 30 10\n"
      "save OUT/a.kvl\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  run = Replay(
      "open OUT/a.kvl\n"
      "save OUT/opened.bmp\n"
      "set sbColRed 255\nset sbColBlue 255\n"
      "mouse down 1 10 20\nmouse move 1 30 20\nmouse up 1 30 20\n"
      "save OUT/a.kvl\n"
      "click btnUndo\n"
      "save OUT/undone.bmp\n"
      "mouse down 1 40 40\nmouse up 1 40 40\n"
      "open OUT/a.kvl\n"
      "save OUT/reopened.bmp\n",
      dir);
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string kvl = dir.File("a.kvl");
  // The canvas caption, and so the discard question, names the file saved last.
  EXPECT_EQ(run.err, kvl + "すでに同名のファイルがあリます、上書きしてもよろしいですか? (yes)\n" +
                         dir.File("undone.bmp") +
                         "は変更されています、破棄してもよろしいですか? (yes)\n");
  ExpectedPicture opened(64, 48);
  for (int x = 10; x <= 30; ++x) opened.Stamp(x, 10, pen, kRed);
  ExpectedPicture both = opened;
  for (int x = 10; x <= 30; ++x) both.Stamp(x, 20, pen, kMagenta);
  ExpectPicture(dir.File("opened.bmp"), opened);
  ExpectPicture(dir.File("undone.bmp"), opened);
  ExpectPicture(dir.File("reopened.bmp"), both);
}

}  // namespace
}  // namespace mirasketch
