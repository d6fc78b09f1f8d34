#include "shell/option_window.h"

#include <gtest/gtest.h>

#include "painting/canvas_cursors.h"
#include "support/studio_fixture.h"

namespace mirasketch::test {
namespace {

class OptionWindowTest : public StudioTest {
 protected:
  TfrmOpt& option = studio.frmOpt;
  ToolEngine& tools = studio.toolEngine;

  // True when the chooser shows the band of `imgCurList` for its page untouched.
  bool BandUnframed() {
    const PaintBox& box = option.pbxCursorPaint();
    const int top = option.cursorPage / 4 * 32;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 128; ++x)
        if (box.image.GetPixel(x, 16 + y) != option.imgCurList.GetPixel(x, top + y)) return false;
    return true;
  }
  // True when the one-pixel frame outlines cell `cell` of the band.
  bool Framed(int cell) {
    const PaintBox& box = option.pbxCursorPaint();
    const int left = cell * 32;
    for (int i = 0; i < 32; ++i) {
      if (box.image.GetPixel(left + i, 16) != 0 || box.image.GetPixel(left + i, 47) != 0 ||
          box.image.GetPixel(left, 16 + i) != 0 || box.image.GetPixel(left + 31, 16 + i) != 0)
        return false;
    }
    return true;
  }
};

TEST_F(OptionWindowTest, CursorChosenAtStartAndInTheChooserReachesTheCanvas) {
  option.cursorNumber = 5;
  option.LoadCursors();
  EXPECT_EQ(studio.frmM.pbxACursor, 6);
  // Page 1 is shown, its tab white, and cursor 5 is not on it: no frame.
  EXPECT_EQ(option.cursorPage, 0);
  EXPECT_EQ(option.pbxCursorPaint().image.GetPixel(2, 14), 0xFFFFFF);
  EXPECT_EQ(option.pbxCursorPaint().image.GetPixel(18, 14), 0x808080);
  EXPECT_TRUE(BandUnframed());

  option.MouseDown("pbxCursor", 1, 20, 5, 0);  // the second tab
  EXPECT_EQ(option.cursorPage, 4);
  EXPECT_EQ(option.pbxCursorPaint().image.GetPixel(18, 14), 0xFFFFFF);
  EXPECT_TRUE(Framed(1));
  option.MouseDown("pbxCursor", 1, 100, 5, 0);  // right of the tabs: nothing
  EXPECT_EQ(option.cursorPage, 4);
  EXPECT_EQ(option.cursorNumber, 5);

  option.MouseDown("pbxCursor", 1, 70, 30, 0);
  EXPECT_EQ(option.cursorNumber, 6);
  EXPECT_EQ(studio.frmM.pbxACursor, 7);
  EXPECT_TRUE(Framed(2));
  // A press dragged beyond the box counts at its edge: never a cursor that does not exist.
  option.MouseDown("pbxCursor", 1, 500, 30, 0);
  EXPECT_EQ(option.cursorNumber, 7);
  option.MouseDown("pbxCursor", 1, -40, 5, 0);
  EXPECT_EQ(option.cursorPage, 0);

  // Settings that no control can show start with the defaults.
  option.cursorNumber = 12;
  option.optionPage = 7;
  option.LoadCursors();
  EXPECT_EQ(option.cursorNumber, 1);
  EXPECT_EQ(studio.frmM.pbxACursor, 2);
  EXPECT_EQ(option.optionPage, 0);
  EXPECT_TRUE(option.controls.State("pnlCursor").visible);
}

TEST_F(OptionWindowTest, CursorTipsLieOnTheirHotSpots) {
  const std::pair<int, int> hotSpots[] = {{0, 0},  {0, 0},   {0, 0},   {0, 31},
                                          {0, 11}, {11, 31}, {31, 11}, {20, 0}};
  for (int i = 0; i < kCanvasCursorCount; ++i) {
    SCOPED_TRACE(i);
    const CanvasCursor& cursor = CanvasCursors()[static_cast<std::size_t>(i)];
    EXPECT_EQ(std::pair(cursor.hotX, cursor.hotY), hotSpots[i]);
    EXPECT_TRUE(cursor.Painted(cursor.hotX, cursor.hotY));
    EXPECT_TRUE(cursor.Black(cursor.hotX, cursor.hotY));
    // The chooser's list shows the same picture in cell i.
    EXPECT_EQ(option.imgCurList.GetPixel(i % 4 * 32 + cursor.hotX, i / 4 * 32 + cursor.hotY), 0);
    for (int j = 0; j < i; ++j)
      EXPECT_NE(cursor.mask, CanvasCursors()[static_cast<std::size_t>(j)].mask) << j;
  }
}

TEST_F(OptionWindowTest, SnapStepsComeFromTheFieldsAtTheSwitchOrWhenAnotherWindowIsActivated) {
  option.Edit("edtSnapW", "16px");
  option.Edit("edtSnapH", "0");
  EXPECT_FALSE(tools.snapEnabled);
  option.Click("chkSnap");
  EXPECT_TRUE(tools.snapEnabled);
  EXPECT_EQ(tools.snapWidth, 16);
  EXPECT_EQ(tools.snapHeight, 1);

  // New texts wait until the user leaves the option window for another one.
  studio.WindowActivated(WindowId::frmOpt);
  option.Edit("edtSnapW", "  8");
  option.Edit("edtSnapH", "abc");
  EXPECT_EQ(tools.snapWidth, 16);
  studio.WindowActivated(WindowId::frmM);
  EXPECT_EQ(tools.snapWidth, 8);
  EXPECT_EQ(tools.snapHeight, 1);
  // Going from one other window to the next leaves the steps alone.
  option.Edit("edtSnapW", "64");
  studio.WindowActivated(WindowId::frmC);
  EXPECT_EQ(tools.snapWidth, 8);
  EXPECT_TRUE(tools.snapEnabled);
}

TEST_F(OptionWindowTest, PointerShowsOnlyOnThePositionPageOfTheVisibleWindow) {
  studio.ShowWindow(WindowId::frmOpt, true);
  option.Change("rgOption", 1);
  EXPECT_TRUE(option.controls.State("pnlPosition").visible);
  EXPECT_FALSE(option.controls.State("pnlCursor").visible);
  EXPECT_FALSE(option.controls.State("grpSnap").visible);
  option.ShowPointer(-3, 12);
  EXPECT_EQ(option.controls.State("lblPosX").caption, "X: -3");
  EXPECT_EQ(option.controls.State("lblPosY").caption, "Y: 12");

  option.Change("rgOption", 0);
  option.ShowPointer(40, 41);
  EXPECT_EQ(option.controls.State("lblPosX").caption, "X: -3");
  EXPECT_EQ(option.lblPosY, "Y: 12");

  // Closing the window turns its switch on the main window off.
  option.FormHide();
  EXPECT_FALSE(studio.frmMain.WindowChecked(3));
  EXPECT_FALSE(option.visible);
}

}  // namespace
}  // namespace mirasketch::test
