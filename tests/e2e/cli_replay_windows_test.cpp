// `mirasketch-cli replay` reaching every window by name: menu items and tool-bar buttons, window
// switches, dialog answers, printed control values, painted paint boxes and drops.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "replay_runner.h"
#include "shell/studio.h"
#include "support/fake_platform.h"

namespace mirasketch {
namespace {

using test::Replay;

constexpr int kRed = 0x0000FF;

using test::ExpectPicture;

void ExpectSize(const std::string& path, int expectedWidth, int expectedHeight) {
  CDibTrue picture;
  int width = 0, height = 0;
  if (!test::ReadPicture(path, picture, width, height)) return;
  EXPECT_EQ(width, expectedWidth) << path;
  EXPECT_EQ(height, expectedHeight) << path;
}

// The saved BMP holds exactly the picture core painted.
void ExpectSamePicture(const std::string& path, const CDibTrue& painted) {
  CDibTrue picture;
  int width = 0, height = 0;
  if (!test::ReadPicture(path, picture, width, height)) return;
  ASSERT_EQ(width, painted.Width()) << path;
  ASSERT_EQ(height, painted.Height()) << path;
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) differing += picture.GetPixel(x, y) != painted.GetPixel(x, y);
  EXPECT_EQ(differing, 0) << path;
}

// Menu items and tool-bar buttons are clicked by name and take the size answers queued for their
// dialogs; the window switches show and hide windows and print as their check marks.
TEST(CliReplayWindows, MenuItemsAnswersAndWindowSwitches) {
  test::TempDir dir;
  const auto run = Replay(
      "answer size 100 80\n"
      "click TfrmMain.mnuDibSizeChange   # the canvas-size dialog takes the answer\n"
      "new 64 48\n"
      "answer cancel\n"
      "click mnuNewBmp                   # cancelled: the canvas stays 64 x 48\n"
      "save OUT/kept.bmp\n"
      "answer size 40 24\n"
      "click tlbNewBmp\n"
      "print TfrmMain.mnuWinColor\n"
      "show TfrmCol\n"
      "print TfrmMain.mnuWinColor\n"
      "print tlbWinColor\n"
      "click tlbWinColor\n"
      "print mnuWinColor\n"
      "hide TfrmM\n"
      "print mnuWinPaint\n"
      "click mnuWinPaint\n"
      "print tlbWinPaint\n"
      "save OUT/new.bmp\n"
      "print TfrmM\n"
      "print mnuPastFile0\n"
      "print TfrmCol\n",
      dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string saved = dir.File("new.bmp");
  EXPECT_EQ(run.out,
            "TfrmMain.mnuWinColor = 0\n"
            "TfrmMain.mnuWinColor = 1\n"
            "TfrmMain.tlbWinColor = 1\n"
            "TfrmMain.mnuWinColor = 0\n"
            "TfrmMain.mnuWinPaint = 0\n"
            "TfrmMain.tlbWinPaint = 1\n"
            "TfrmM = " +
                saved + "\nTfrmMain.mnuPastFile0 = " + saved + "\nTfrmCol = 色\n");
  ExpectSize(dir.File("kept.bmp"), 64, 48);
  ExpectSize(saved, 40, 24);
}

// print shows what the windows show: positions, down states, captions, and the settings a
// control is bound to when another tool makes another setting current.
TEST(CliReplayWindows, PrintShowsControlsAsTheWindowsDo) {
  test::TempDir dir;
  const auto run = Replay(
      "set sbZoom 3\nset sbColRed 255\nset cboPenErase 2\n"
      "click chkTranspearPow\nclick spbBox\nclick chkShapeFill\n"
      "print TfrmC.sbZoom\nprint lblZoom\nprint spbPen\nprint spbBox\nprint chkShapeFill\n"
      "print grpShape\nprint cboPenErase\nprint TfrmCol.sbColRed\nprint lblCol\n"
      "print chkTranspearPow\nprint spbPalShow\nprint btnMakeColor\n"
      "click spbBrush\nprint chkBrushSpace\n"
      "click spbAirBrush\nprint chkBrushSpace\n"
      "click spbBrushBig\nprint sbBrushBigSize\n"
      "click rdiBrushBig2\nprint rdiBrushBig1\nprint sbBrushBigSize\n"
      "print TfrmC\n",
      dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "TfrmC.sbZoom = 3\n"
            "TfrmC.lblZoom = ｽﾞｰﾑ3\n"
            "TfrmC.spbPen = 0\n"
            "TfrmC.spbBox = 1\n"
            "TfrmC.chkShapeFill = 1\n"
            "TfrmC.grpShape = 図形描画\n"
            "TfrmC.cboPenErase = 2\n"
            "TfrmCol.sbColRed = 255\n"
            "TfrmCol.lblCol = R255 G0 B0\n"
            "TfrmCol.chkTranspearPow = 0\n"
            "TfrmCol.spbPalShow = 0\n"
            "TfrmCol.btnMakeColor = 作成\n"
            "TfrmC.chkBrushSpace = 1\n"
            "TfrmC.chkBrushSpace = 0\n"
            "TfrmC.sbBrushBigSize = 10\n"
            "TfrmC.rdiBrushBig1 = 0\n"
            "TfrmC.sbBrushBigSize = 4\n"
            "TfrmC = Tool\n");
}

// The option window through the general forms: its page by item index, the snap fields' texts,
// the switch, and the typed steps taking effect when the tool panel is used; the box tool's
// readout shows the snapped points, the pointer readout the unsnapped one.
TEST(CliReplayWindows, OptionWindowPagesSnapFieldsAndReadouts) {
  test::TempDir dir;
  const auto run = Replay(
      "show TfrmOpt\nclick chkSnap\nset edtSnapW 16px\nset edtSnapH 0\nset rgOption 1\n"
      "print rgOption\nprint edtSnapW\nprint TfrmOpt.chkSnap\n"
      "click spbBox                 # the tool panel becomes active: steps 16 and 1\n"
      "mouse down 1 20 21\nmouse move 1 50 37\nprint lblA\nprint lblPosX\n"
      "mouse up 1 50 37\nmouse click pbxCursor 1 20 5\nmouse click pbxCursor 1 70 30\n"
      "set rgOption 0\nmouse move 1 60 60\nprint lblPosX\n",
      dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "TfrmOpt.rgOption = 1\n"
            "TfrmOpt.edtSnapW = 16px\n"
            "TfrmOpt.chkSnap = 1\n"
            "TfrmOpt.lblA = (16,21)-(48,37)\n"
            "TfrmOpt.lblPosX = X: 50\n"
            "TfrmOpt.lblPosX = X: 50\n");
}

// paint writes a panel's paint box exactly as core paints it after the same events (a drop from
// the swatch onto the palette through the general form, a click in the eraser box), and the
// canvas's client area at its zoom, painted again after the window was shown; a picture that cannot
// be written is reported and the replay goes on.
TEST(CliReplayWindows, PaintWritesWhatCorePainted) {
  test::TempDir dir;
  const auto run = Replay(
      "set sbColGreen 200\n"
      "drop TfrmCol.pbxPalette TfrmCol.pbxCol 20 20   # into the second entry\n"
      "mouse click TfrmC.pbxEraser 1 70 25            # the fourth size\n"
      "paint TfrmCol.pbxPalette OUT/palette.bmp\n"
      "paint pbxEraser OUT/eraser.bmp\n"
      "paint pbxEraser OUT/missing/eraser.bmp\n"
      "new 64 48\nset sbColGreen 0\nset sbColRed 255\n"
      "set sbZoom 2\n"
      "hide TfrmM\n"
      "mouse down 1 20 20\nmouse move 1 60 20\nmouse up 1 60 20\n"
      "show TfrmM               # shown again, the canvas repaints with the line\n"
      "paint TfrmM.pbxA OUT/canvas.bmp\n",
      dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(dir.File("missing/eraser.bmp")), std::string::npos) << run.err;
  EXPECT_TRUE(run.err.ends_with("\nreplay: line 6: paint did not complete\n")) << run.err;

  test::FakePlatform platform;
  NoViews views;
  Studio studio(platform, views);
  studio.programDir = std::filesystem::path(MIRASKETCH_CLI).parent_path().string() + "/";
  studio.frmMain.FormShow();
  studio.frmCol.Change("sbColGreen", 200);
  ASSERT_TRUE(studio.frmCol.Drop("pbxPalette", "TfrmCol", "pbxCol", 20, 20));
  ASSERT_TRUE(studio.frmC.MouseDown("pbxEraser", 1, 70, 25, 0));
  const CDibTrue& palette = studio.frmCol.Paint("pbxPalette")->image;
  EXPECT_EQ(palette.GetPixel(20, 20), 0x00C800) << "the drop stored the swatch's colour";
  ExpectSamePicture(dir.File("palette.bmp"), palette);
  ExpectSamePicture(dir.File("eraser.bmp"), studio.frmC.Paint("pbxEraser")->image);

  // Each canvas pixel of the line is two by two pixels of the client area.
  test::ExpectedPicture canvas(128, 96);
  canvas.Fill(20, 20, 61, 21, kRed);
  ExpectPicture(dir.File("canvas.bmp"), canvas);
}

// The position window is reached through its switch and its paint box: clicks in it are taken
// with any button, and its picture is the whole canvas with the stroke drawn on it.
TEST(CliReplayWindows, PositionWindowShowsTheWholeCanvas) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\nset sbColRed 255\nshow TfrmPos\nset sbZoom 4\n"
      "mouse down 1 40 40\nmouse move 1 120 40\nmouse up 1 120 40\n"
      "mouse click TfrmPos.pbxA 1 50 30\nmouse click TfrmPos.pbxA 2 5 5\n"
      "paint TfrmPos.pbxA OUT/position.bmp\n"
      "print TfrmPos\nprint mnuWinPosition\nhide TfrmPos\nprint tlbWinPosition\n",
      dir);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "TfrmPos = 位置\nTfrmMain.mnuWinPosition = 1\nTfrmMain.tlbWinPosition = 0\n");
  test::ExpectedPicture position(64, 48);
  position.Fill(10, 10, 30, 10, kRed);
  ExpectPicture(dir.File("position.bmp"), position);
}

// A drop the target does not accept when its line comes stops the replay there.
TEST(CliReplayWindows, RefusedDropStopsTheReplay) {
  test::TempDir dir;
  const auto run = Replay(
      "drop pbxPalette pbxCol 0 20\n"
      "drop TfrmC.pbxBrush pbxCol 1 1\n"
      "save OUT/never.bmp\n",
      dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "replay: line 2: TfrmC.pbxBrush does not accept a drop from TfrmCol.pbxCol\n");
  EXPECT_FALSE(InFile::Exists(dir.File("never.bmp")));
}

// Each dialog takes the first queued answer that fits it; a No ends a save or open without
// touching the files; answers no dialog took are reported with their lines.
TEST(CliReplayWindows, AnswersAreTakenInOrderByTheirDialogs) {
  test::TempDir dir;
  const auto run = Replay(
      "new 64 48\n"
      "save OUT/keep.bmp\n"
      "mouse click 1 5 5\n"
      "answer no\n"
      "save OUT/keep.bmp        # the overwrite question answered No\n"
      "answer no\n"
      "open OUT/keep.bmp        # the discard question answered No\n"
      "answer size 32 16        # waits behind the question for the size dialog\n"
      "answer yes\n"
      "click mnuNewBmp\n"
      "save OUT/small.bmp\n"
      "answer text  two  words   # a comment\n"
      "answer no\n"
      "answer size 8 8\n"
      "new 16 16                # new answers its own size dialog\n"
      "answer cancel\n",
      dir);
  EXPECT_EQ(run.status, 1);
  const std::string keep = dir.File("keep.bmp");
  EXPECT_EQ(run.err, keep + "すでに同名のファイルがあリます、上書きしてもよろしいですか? (no)\n" +
                         keep + "は変更されています、破棄してもよろしいですか? (no)\n" + keep +
                         "は変更されています、破棄してもよろしいですか? (yes)\n"
                         "replay: line 12: no input box took the answer text \" two  words\"\n"
                         "replay: line 13: no question took the answer no\n"
                         "replay: line 14: no size dialog took the answer size 8 8\n"
                         "replay: line 16: no input box or size dialog took the answer cancel\n");
  ExpectPicture(keep, test::ExpectedPicture(64, 48));
  ExpectSize(dir.File("small.bmp"), 32, 16);
}

}  // namespace
}  // namespace mirasketch
