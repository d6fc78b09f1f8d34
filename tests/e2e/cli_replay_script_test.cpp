// `mirasketch-cli replay`: how scripts are read, and what a line that cannot be carried out, a
// refused command or a missing script gives.

#include <gtest/gtest.h>

#include "platform/files.h"
#include "replay_runner.h"

namespace mirasketch {
namespace {

using test::Replay;

// Each bad line stops the replay before anything runs, naming the line and the fault on
// standard error with exit status 1; the lines before it are not carried out.
TEST(CliReplayScript, BadLinesAreNamedAndNothingRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"frobnicate", "unknown command 'frobnicate'"},
      {"click spbNothing", "unknown control 'spbNothing'"},
      {"click TfrmX.spbPen",
       "unknown window 'TfrmX' (TfrmMain, TfrmM, TfrmC, TfrmCol, TfrmMaskEff, TfrmOpt, TfrmPos, "
       "TfrmMaskSet, TfrmL or TfrmT)"},
      {"click TfrmCol.spbPen", "TfrmCol has no control 'spbPen'"},
      {"click sbZoom", "sbZoom is a scroll bar and cannot be clicked"},
      {"click pbxPalette", "pbxPalette is a paint box and cannot be clicked"},
      {"set chkShapeFill 1", "chkShapeFill is a check box and is not settable"},
      {"set lblZoom 1", "lblZoom is a label and is not settable"},
      {"set sbZoom 11", "11 is outside sbZoom's range 1 … 10"},
      {"set sbColRed -1", "-1 is outside sbColRed's range 0 … 255"},
      {"set cboPenErase 3", "3 is outside cboPenErase's range 0 … 2"},
      {"set rgOption 3", "3 is outside rgOption's range 0 … 2"},
      {"set sbZoom two", "malformed number 'two'"},
      {"set sbZoom +2", "malformed number '+2'"},
      {"new 99999999999 40", "malformed number '99999999999'"},
      {"mouse down 1 1O 5", "malformed number '1O'"},
      {"mouse down 3 1 1", "button 3 is not 1 (left), 2 (right) or 0 (middle)"},
      {"mouse sideways 1 1 1", "unknown mouse action 'sideways' (down, move, up or click)"},
      {"mouse click spbPen 1 1 1", "spbPen is a speed button, not a paint box"},
      {"mouse click pbxBrush 1 1 1 alt", "unknown modifier 'alt' (ctrl or shift)"},
      {"key down 5", "unknown key '5' (a letter or shift)"},
      {"key down AB", "unknown key 'AB' (a letter or shift)"},
      {"key press A", "unknown key action 'press' (down or up)"},
      {"key down A ctrl ctrl", "modifier 'ctrl' given twice"},
      {"drop pbxPalette spbPen 1 1", "spbPen is a speed button, not a paint box"},
      {"drop pbxPalette pbxNothing 1 1", "unknown control 'pbxNothing'"},
      {"new 64", "usage: new W H"},
      {"new 64 48 2", "usage: new W H"},
      {"save", "usage: save PATH"},
      {"click spbPen spbErase", "usage: click NAME"},
      {"mouse down 1 2", "usage: mouse down|move|up|click BUTTON X Y"},
      {"mouse click pbxBrush 1 1409 0",
       "point (1409, 0) is further than a screen from the paint box"},
      {"drop pbxPalette pbxCol 0 -1025",
       "point (0, -1025) is further than a screen from the paint box"},
      {"mouse click pbxBrush 1 2",
       "usage: mouse down|move|up|click [WINDOW.]PAINTBOX BUTTON X Y [ctrl] [shift]"},
      {"mouse",
       "usage: mouse down|move|up|click BUTTON X Y | mouse down|move|up|click [WINDOW.]PAINTBOX "
       "BUTTON X Y [ctrl] [shift]"},
      // The forms that reach every window: names, kinds, reach and answers are checked first.
      {"click TfrmMain.mnuExit", "mnuExit closes the program: write exit instead"},
      {"click TfrmM.pbxA", "pbxA is a paint box and cannot be clicked"},
      {"mouse down TfrmC.sbZoom 1 1 1", "sbZoom is a scroll bar, not a paint box"},
      {"mouse move TfrmM.pbxA 1 1 1 shift",
       "the canvas takes no modifiers with the pointer (use key down)"},
      {"mouse up TfrmCol.pbxCol 1 0 1045",
       "point (0, 1045) is further than a screen from the paint box"},
      {"answer",
       "usage: answer yes|no|cancel | answer text TEXT | answer size W H | answer font FAMILY "
       "SIZE [bold] | answer file PATH | answer setting UNDO QUALITY"},
      {"answer maybe",
       "unknown answer 'maybe' (yes, no, text, size, font, file, setting or cancel)"},
      {"answer setting 3", "usage: answer setting UNDO QUALITY"},
      {"exit now", "usage: exit"},
      {"answer font IPAPGothic 16 heavy", "unknown word 'heavy' (bold)"},
      {"answer yes please", "usage: answer yes|no|cancel"},
      {"answer size 64", "usage: answer size W H"},
      {"answer size 64 4x", "malformed number '4x'"},
      {"hide TfrmX",
       "unknown window 'TfrmX' (TfrmMain, TfrmM, TfrmC, TfrmCol, TfrmMaskEff, TfrmOpt, TfrmPos, "
       "TfrmMaskSet, TfrmL or TfrmT)"},
      {"show", "usage: show WINDOW"},
      {"print TfrmC.lblNothing", "TfrmC has no control 'lblNothing'"},
      {"print TfrmM.pbxA", "pbxA is a paint box and has no value to print"},
      {"paint spbPen OUT/pen.bmp", "spbPen is a speed button, not a paint box"},
      {"paint pbxBrush", "usage: paint [WINDOW.]PAINTBOX PATH"},
  };
  test::TempDir dir;
  for (const auto& [line, message] : cases) {
    const auto run = Replay(std::string("save OUT/early.kvl\n\n# a comment\n") + line + "\n", dir);
    EXPECT_EQ(run.status, 1) << line;
    EXPECT_EQ(run.out, "") << line;
    EXPECT_EQ(run.err, std::string("replay: line 4: ") + message + "\n") << line;
    EXPECT_FALSE(InFile::Exists(dir.File("early.kvl"))) << line;
  }
}

// Comments, blank lines, tabs, carriage returns, upper and lower case key letters and window
// names in front of control names are all read; --check reads and checks without running.
TEST(CliReplayScript, LayoutOfLines) {
  const std::string script =
      "# a session\r\n"
      "\r\n"
      "\tnew\t64  48\t# the size\r\n"
      "click TfrmC.spbPen#no blank before the comment\r\n"
      "set TfrmCol.sbColBlue 255\r\n"
      "mouse down 1 3 4\r\nmouse move 0 9 4\r\nmouse up 1 9 4\r\n"
      "key down a\nkey up A shift ctrl\nkey down shift\nkey up shift\n"
      "mouse click pbxABrush 1 0 0 shift ctrl\n"
      "save OUT/layout.bmp";  // no line end after the last line
  test::TempDir dir;
  auto run = Replay(script, dir, true);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_FALSE(InFile::Exists(dir.File("layout.bmp")));

  run = Replay(script, dir);
  ASSERT_EQ(run.status, 0) << run.err;
  CDibTrue picture;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("layout.bmp"), picture, width, height));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
  for (int x = 3; x <= 9; ++x) EXPECT_EQ(picture.GetPixel(x, 4), 0xFF0000) << x;
  EXPECT_EQ(picture.GetPixel(2, 4), 0xFFFFFF);
  EXPECT_EQ(picture.GetPixel(10, 4), 0xFFFFFF);
}

// A new, open or save that the program refuses shows the program's message; the replay goes on
// with the project as it was and ends with exit status 1.
TEST(CliReplayScript, RefusedCommandsAreReportedAndTheReplayGoesOn) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "open OUT/missing.kvl\n"
      "new 2 40\n"
      "new 30001 40\n"
      "save OUT/picture.gif\n"
      "save OUT/after.bmp\n",
      dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, dir.File("missing.kvl") +
                         "はありません。\n"
                         "replay: line 2: open did not complete\n"
                         "小さすぎます。\n"
                         "replay: line 3: new did not complete\n"
                         "大きすぎます。\n"
                         "replay: line 4: new did not complete\n"
                         "この拡張子では保存できません。- " +
                         dir.File("picture.gif") +
                         "\n"
                         "replay: line 5: save did not complete\n");
  CDibTrue picture;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("after.bmp"), picture, width, height));
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 48);
}

// Pointer events reach at most a screen beyond the paint box they go to, as sized when they come:
// such points still paint where they meet the canvas, points beyond stop the replay there.
TEST(CliReplayScript, PointsBeyondTheScreenStopTheReplay) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "set sbZoom 2                  # the paint box is 128 x 96\n"
      "mouse down 1 -1280 -1024\n"
      "mouse move 1 1408 1120\n"
      "mouse up 1 1408 1120\n"
      "save OUT/reach.bmp\n"
      "mouse down 1 1409 0\n"
      "save OUT/never.bmp\n",
      dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "replay: line 7: point (1409, 0) is further than a screen from the paint box\n");
  EXPECT_FALSE(InFile::Exists(dir.File("never.bmp")));
  CDibTrue picture;
  int width = 0, height = 0;
  ASSERT_TRUE(test::ReadPicture(dir.File("reach.bmp"), picture, width, height));
  // The diagonal from canvas (-640, -512) to (704, 560) crosses the canvas.
  int painted = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) painted += picture.GetPixel(x, y) == 0 ? 1 : 0;
  EXPECT_GT(painted, 40);
}

TEST(CliReplayScript, MissingScriptAndUsage) {
  test::TempDir dir;
  auto run = test::RunCli("replay " + dir.File("none.txt"), dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "replay: cannot open " + dir.File("none.txt") + "\n");
  run = test::RunCli("replay " + dir.Path(), dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "replay: cannot open " + dir.Path() + "\n");
  EXPECT_EQ(test::RunCli("replay", dir).status, 2);
  EXPECT_EQ(test::RunCli("replay a b", dir).status, 2);
  EXPECT_EQ(test::RunCli("replay --check", dir).status, 2);
}

}  // namespace
}  // namespace mirasketch
