// The position window: its paint box follows the canvas, strokes redraw only their rectangle at
// the canvas place of the active layer, a left click centres the canvas window, and a hidden
// window draws nothing until it is shown.

#include "shell/position_window.h"

#include <gtest/gtest.h>

#include "buffers/dib_surface.h"
#include "painting/tool_settings.h"
#include "project/compositor.h"
#include "project/size_ops.h"
#include "support/paint_fixture.h"

namespace mirasketch::test {
namespace {

constexpr int kUntouched = 0x123456;  // the screen before the window draws
constexpr int kRed = MakeColour(255, 0, 0);

class PositionWindowTest : public PaintTest {
 protected:
  PositionWindowTest() {
    EXPECT_TRUE(screen.Alloc(256, 256));
    position.paintBox = &surface;
    canvas.visible = true;
    canvas.InitAfterSettings();
    Clear();
  }
  void Clear() { screen.FillRect(0, 0, screen.Width(), screen.Height(), kUntouched); }
  // The screen pixels that differ from the composed picture within a canvas rectangle.
  int Differing(int x, int y, int w, int h) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx)
        n += screen.GetPixel(xx, yy) != project.compositeDib.GetPixel(xx, yy);
    return n;
  }
  // The screen pixels drawn outside a canvas rectangle.
  int DrawnOutside(int x, int y, int w, int h) {
    int n = 0;
    for (int yy = 0; yy < screen.Height(); ++yy)
      for (int xx = 0; xx < screen.Width(); ++xx)
        n += screen.GetPixel(xx, yy) != kUntouched &&
             (xx < x || yy < y || xx >= x + w || yy >= y + h);
    return n;
  }
  int Untouched() { return screen.Width() * screen.Height() - DrawnOutside(0, 0, 0, 0); }

  TfrmPos& position = studio.frmPos;
  TfrmM& canvas = studio.frmM;
  CDibTrue screen;  // the paint box's pixels
  DibSurface surface{screen};
};

TEST_F(PositionWindowTest, ThePaintBoxFollowsTheCanvasSize) {
  studio.ShowWindow(WindowId::frmPos, true);
  EXPECT_EQ(Differing(0, 0, 256, 256), 0);  // showing draws the whole picture
  ASSERT_TRUE(ResizeCanvas(project, 800, 600));
  EXPECT_EQ(position.paintBoxWidth, 800);
  EXPECT_EQ(position.paintBoxHeight, 600);
  EXPECT_EQ(position.positionScale, 1);
  // A new picture resets the canvas view, and the paint box follows it.
  ASSERT_TRUE(project.NewProject(1, 64, 48));
  project.AfterNewProject();
  EXPECT_EQ(position.paintBoxWidth, 64);
  EXPECT_EQ(position.paintBoxHeight, 48);
}

TEST_F(PositionWindowTest, AStrokeRedrawsOnlyItsRectangleAtTheLayersCanvasPlace) {
  ASSERT_TRUE(project.InsertLayer(1, true, 100, 100));
  project.SetActiveLayer(1);
  project.Active().offsetX = 10;
  project.Active().offsetY = 20;
  project.Active().FillRect(0, 0, 100, 100, kRed);
  RefreshComposite(project);
  studio.ShowWindow(WindowId::frmPos, true);
  Clear();
  position.RefreshPositionRect(0, 0, 16, 16);
  EXPECT_EQ(Differing(10, 20, 16, 16), 0);
  EXPECT_EQ(DrawnOutside(10, 20, 16, 16), 0);
  Clear();
  position.RefreshPositionRect(-50, 230, 100, 100);  // clipped to the picture
  EXPECT_EQ(Differing(0, 250, 60, 6), 0);
  EXPECT_EQ(DrawnOutside(0, 250, 60, 6), 0);

  // A pen stroke through the canvas window: its dirty rectangle, and nothing else, is redrawn.
  Clear();
  studio.frmCol.SetDrawColour(0x00FF00);
  studio.frmC.SelectTool(tkPen);
  canvas.pbxAMouseDown(MouseButton::kLeft, 40, 50);
  canvas.pbxAMouseMove(45, 50);
  canvas.pbxAMouseUp(MouseButton::kLeft, 45, 50);
  EXPECT_EQ(screen.GetPixel(42, 50), 0x00FF00);
  const PixelRect& dirty = studio.toolEngine.dirtyRect;
  EXPECT_EQ(Differing(dirty.x + 10, dirty.y + 20, dirty.width, dirty.height), 0);
  EXPECT_EQ(DrawnOutside(40 - 16, 50 - 16, 5 + 32, 32), 0);
}

TEST_F(PositionWindowTest, ALeftClickCentresTheCanvasWindowOnItsPoint) {
  ASSERT_TRUE(ResizeCanvas(project, 800, 600));
  canvas.SetZoom(4);
  canvas.view.clientWidth = 200;
  canvas.view.clientHeight = 100;
  studio.ShowWindow(WindowId::frmPos, true);
  Clear();
  EXPECT_TRUE(position.MouseDown("pbxA", 1, 400, 300, 0));
  EXPECT_EQ(canvas.view.scrollX, 400 * 4 - 100);
  EXPECT_EQ(canvas.view.scrollY, 300 * 4 - 50);
  EXPECT_EQ(Untouched(), 0);  // the position window is redrawn after the scroll
  position.MouseDown("pbxA", 1, 799, 599, 0);
  EXPECT_EQ(canvas.view.scrollX, 800 * 4 - 200);  // within the scroll range
  EXPECT_EQ(canvas.view.scrollY, 600 * 4 - 100);
  for (int button : {2, 0}) {
    position.MouseDown("pbxA", button, 0, 0, 0);
    EXPECT_EQ(canvas.view.scrollX, 800 * 4 - 200);
  }
}

TEST_F(PositionWindowTest, AHiddenWindowDrawsNothingUntilShownAndItsCloseTurnsTheSwitchOff) {
  studio.frmC.SelectTool(tkPenki);
  canvas.pbxAMouseDown(MouseButton::kLeft, 5, 5);
  canvas.pbxAMouseUp(MouseButton::kLeft, 5, 5);
  canvas.Undo();
  position.RefreshPosition();
  position.RefreshPositionRect(0, 0, 16, 16);
  position.RecomposeAndRefreshPosition();
  EXPECT_EQ(Untouched(), 256 * 256);

  studio.ShowWindow(WindowId::frmPos, true);
  EXPECT_EQ(Differing(0, 0, 256, 256), 0);
  // A fill reaching far beyond the canvas window's small view shows in full here.
  canvas.view.clientWidth = 16;
  canvas.view.clientHeight = 16;
  studio.frmCol.SetDrawColour(kRed);
  canvas.pbxAMouseDown(MouseButton::kLeft, 5, 5);
  canvas.pbxAMouseUp(MouseButton::kLeft, 5, 5);
  EXPECT_EQ(screen.GetPixel(200, 200), kRed);

  position.FormHide();
  EXPECT_FALSE(position.visible);
  EXPECT_FALSE(studio.frmMain.WindowChecked(2));
  EXPECT_FALSE(studio.frmMain.Controls().Checked("mnuWinPosition"));
  EXPECT_EQ(views.shownWindows.back(), (std::pair{WindowId::frmPos, false}));
}

}  // namespace
}  // namespace mirasketch::test
