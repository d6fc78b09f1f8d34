#include "painting/canvas_window.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "buffers/dib_surface.h"
#include "painting/tool_engine.h"
#include "support/studio_fixture.h"

namespace mirasketch {
namespace {

class CanvasWindowTest : public test::StudioTest {
 protected:
  TfrmM& canvas = studio.frmM;
  CDibTM& Active() { return project.Active(); }
  // One stroke as a tool makes it: the snapshot first, then the drawing.
  void Stroke(int colour) {
    canvas.PushUndo();
    Write(0, 0, 8, 8, colour);
  }
  // A write into the active layer as the tools make it: saved for undo first.
  void Write(int x, int y, int w, int h, int colour) {
    ASSERT_TRUE(canvas.SaveBeforeWrite(x, y, w, h));
    Active().FillRect(x, y, w, h, colour);
  }
  const std::uint8_t* Snapshot(int x, int y) {
    int one = 1;
    return canvas.SnapshotRun(x, y, one);
  }
};

TEST_F(CanvasWindowTest, TwoLevelsThreeStrokesThreeUndos) {
  canvas.SetUndoLevels(2);
  Stroke(0x000001);
  Stroke(0x000002);
  Stroke(0x000003);
  EXPECT_EQ(canvas.undoCount, 2);
  canvas.Undo();
  EXPECT_EQ(Active().GetPixel(1, 1), 0x000002);  // the state before stroke 3
  canvas.Undo();
  EXPECT_EQ(Active().GetPixel(1, 1), 0x000001);  // before stroke 2
  canvas.Undo();
  EXPECT_EQ(Active().GetPixel(1, 1), 0x000001);  // nothing left
  EXPECT_EQ(canvas.undoCount, 0);
  EXPECT_TRUE(messages.empty());
}

TEST_F(CanvasWindowTest, UndoLevelsAreClampedAndTheHistoryRestartsWithTheActiveLayer) {
  canvas.SetUndoLevels(0);
  EXPECT_EQ(canvas.undoLevels, 1);
  canvas.SetUndoLevels(99);
  EXPECT_EQ(canvas.undoLevels, 15);
  Stroke(0x000005);
  ASSERT_TRUE(project.InsertLayer(1, true, 300, 20));
  project.SetActiveLayer(1);
  EXPECT_EQ(canvas.undoCount, 0);
  Active().SetPixel(0, 0, 0x0000AA);
  for (int i = 0; i < 3; ++i) canvas.FormKeyDown('Z', kCtrlKey);
  EXPECT_EQ(Active().GetPixel(0, 0), 0x0000AA);  // Ctrl+Z has nothing to undo

  // A snapshot and its restore: the restores keep the history as it is.
  canvas.PushUndo();
  Write(0, 0, 1, 1, 0);
  Write(299, 19, 1, 1, 0);
  ASSERT_NE(Snapshot(0, 0), nullptr);
  EXPECT_EQ(Snapshot(0, 0)[2], 0xAA);           // red of pixel (0, 0) as the stroke began
  EXPECT_EQ(Snapshot(0, 20), nullptr);          // below the layer
  canvas.RestoreSnapshotRect(290, 10, 50, 50);  // clipped to the layer
  EXPECT_EQ(Active().GetPixel(299, 19), 0xFFFFFF);
  EXPECT_EQ(Active().GetPixel(0, 0), 0);
  canvas.RestoreSnapshot();
  EXPECT_EQ(Active().GetPixel(0, 0), 0x0000AA);
  EXPECT_EQ(canvas.undoCount, 1);
}

// The whole layer's bytes, for comparing states.
std::vector<std::uint8_t> Pixels(const CDibTM& layer) {
  return {layer.Bits(),
          layer.Bits() + static_cast<std::size_t>(layer.Width()) * layer.Height() * 3};
}

TEST_F(CanvasWindowTest, RedoRetracesTheUndosAtOneTwoAndFifteenLevels) {
  for (const int levels : {1, 2, 15}) {
    SCOPED_TRACE(levels);
    canvas.SetUndoLevels(levels);
    // One stroke more than the ring holds, each leaving a different layer.
    std::vector<std::vector<std::uint8_t>> states{Pixels(Active())};
    for (int i = 1; i <= levels + 1; ++i) {
      Stroke(i);
      Write(i, 100, 1, 1, 0x00FF00);
      states.push_back(Pixels(Active()));
    }
    for (int i = 0; i <= levels; ++i) canvas.Undo();  // the last one finds nothing
    EXPECT_EQ(Pixels(Active()), states[1]);
    for (int i = 0; i <= levels; ++i) canvas.Redo();  // so does the last redo
    EXPECT_EQ(Pixels(Active()), states.back());
    canvas.Undo();  // undo after a redo
    canvas.Redo();
    EXPECT_EQ(Pixels(Active()), states.back());
    // A stroke after an undo sees the layer as it began and ends the redo.
    canvas.Undo();
    canvas.PushUndo();
    EXPECT_EQ(Snapshot(0, 1)[2], levels);  // red of the stroke before the last
    Write(0, 0, 8, 8, 0x0000FF);
    canvas.Redo();
    EXPECT_EQ(Active().GetPixel(1, 1), 0x0000FF);
    canvas.Undo();
    EXPECT_EQ(Pixels(Active()), states[states.size() - 2]);
  }
}

TEST_F(CanvasWindowTest, RedoKeysAndWhatEndsTheRedo) {
  canvas.SetUndoLevels(3);
  Stroke(1);
  Stroke(2);
  canvas.FormKeyDown('Z', kCtrlKey);
  canvas.FormKeyDown('Z', kCtrlKey);
  canvas.FormKeyDown('y', kCtrlKey);
  EXPECT_EQ(Active().GetPixel(1, 1), 1);
  canvas.FormKeyDown('z', kCtrlKey | kShiftKey);
  EXPECT_EQ(Active().GetPixel(1, 1), 2);
  // A change without a snapshot (as the undo brush makes) is kept, and an undo comes back to it.
  canvas.Undo();
  Write(50, 50, 1, 1, 0x123456);
  canvas.Redo();
  EXPECT_EQ(Active().GetPixel(1, 1), 1);
  canvas.Undo();
  canvas.Redo();
  EXPECT_EQ(Active().GetPixel(50, 50), 0x123456);
  // New levels and a change of active layer.
  canvas.Undo();
  canvas.SetUndoLevels(3);
  canvas.Redo();
  Stroke(3);
  canvas.Undo();
  ASSERT_TRUE(project.InsertLayer(1, true, 256, 256));
  project.SetActiveLayer(1);
  project.SetActiveLayer(0);
  canvas.Redo();
  EXPECT_EQ(Active().GetPixel(50, 50), 0xFFFFFF);
  EXPECT_EQ(Active().GetPixel(1, 1), 0xFFFFFF);
  // With the only slot holding the redo, a press on the canvas ends it and the snapshot is the
  // layer again, for a tool that reads it without saving.
  canvas.SetUndoLevels(1);
  Stroke(5);
  canvas.Undo();
  canvas.pbxAMouseDown(MouseButton::kRight, 200, 200);
  canvas.pbxAMouseUp(MouseButton::kRight, 200, 200);
  EXPECT_EQ(canvas.SlotPixel(0, 1, 1), 0xFFFFFF);
  canvas.Redo();
  EXPECT_EQ(Active().GetPixel(1, 1), 0xFFFFFF);
}

TEST_F(CanvasWindowTest, ZoomLimitsAndPaintBoxSize) {
  canvas.SetZoom(0);
  EXPECT_EQ(canvas.view.zoom, 1);
  canvas.SetZoom(40);
  EXPECT_EQ(canvas.view.zoom, 16);
  EXPECT_EQ(canvas.paintBoxWidth, 256 * 16);
  canvas.SetZoom(3);
  EXPECT_EQ(canvas.paintBoxHeight, 256 * 3);
  EXPECT_FALSE(canvas.redrawSuspended);
}

TEST_F(CanvasWindowTest, PointerMapsThroughZoomAndLayerOffset) {
  canvas.SetZoom(3);
  Active().offsetX = 2;
  Active().offsetY = -1;
  canvas.pbxAMouseDown(MouseButton::kRight, 7, 5);
  EXPECT_EQ(studio.toolEngine.curX, 0);
  EXPECT_EQ(studio.toolEngine.curY, 2);
  EXPECT_EQ(studio.toolEngine.buttonCode, 2);
  // The tool engine learns the visible area in layer coordinates with each press.
  canvas.view.scrollX = 30;
  canvas.view.clientWidth = 30;
  canvas.view.clientHeight = 900;
  canvas.pbxAMouseDown(MouseButton::kMiddle, 0, 0);
  const PixelRect& area = studio.toolEngine.visibleArea;
  EXPECT_EQ(area.x, 10 - 2);
  EXPECT_EQ(area.y, 0 + 1);
  EXPECT_EQ(area.width, 30 / 3 + 3);
  EXPECT_EQ(area.height, 256 - 1);
  EXPECT_EQ(studio.toolEngine.buttonCode, 0);
  // Every press with a known tool counts as a change, even the pen's colour pick.
  EXPECT_TRUE(canvas.modified);
}

TEST_F(CanvasWindowTest, ConfirmDiscardAsksOnlyForAModifiedProject) {
  EXPECT_TRUE(canvas.ConfirmDiscard());
  EXPECT_TRUE(platform.asked.empty());
  canvas.modified = true;
  platform.answers = {false, true};
  EXPECT_FALSE(canvas.ConfirmDiscard());
  EXPECT_TRUE(canvas.ConfirmDiscard());
  EXPECT_EQ(platform.asked,
            std::vector<std::string>(
                2, "(New Layer Project)は変更されています、破棄してもよろしいですか?"));
}

TEST_F(CanvasWindowTest, PaintingKeys) {
  // S picks the colour under the pointer (zoom 2: paint box (9, 7) is canvas (4, 3)).
  canvas.SetZoom(2);
  Active().SetPixel(4, 3, 0x123456);
  canvas.pbxAMouseMove(9, 7);
  canvas.FormKeyDown('s', 0);
  EXPECT_EQ(studio.toolEngine.settings.drawColor, 0x123456);

  canvas.FormKeyDown(16777248, kShiftKey);  // the Shift key itself
  EXPECT_TRUE(studio.toolEngine.settings.shiftConstrain);
  canvas.FormKeyUp('A', 0);
  EXPECT_FALSE(studio.toolEngine.settings.shiftConstrain);
  canvas.FormKeyDown('A', kShiftKey | kCtrlKey);  // with Ctrl nothing happens
  EXPECT_FALSE(studio.toolEngine.settings.shiftConstrain);
}

TEST_F(CanvasWindowTest, CenterOnScrollsWithinTheRange) {
  canvas.SetZoom(2);
  canvas.view.clientWidth = 100;
  canvas.view.clientHeight = 600;  // taller than the paint box: no vertical range
  canvas.CenterOn(100, 100);
  EXPECT_EQ(canvas.view.scrollX, 150);
  EXPECT_EQ(canvas.view.scrollY, 0);
  canvas.CenterOn(10, 10);
  EXPECT_EQ(canvas.view.scrollX, 0);
  canvas.CenterOn(250, 10);
  EXPECT_EQ(canvas.view.scrollX, 512 - 100);
}

TEST_F(CanvasWindowTest, RedrawReachesThePaintBoxOnlyWhenShownAndTheGuideLineFollows) {
  CDibTrue screen;
  ASSERT_TRUE(screen.Alloc(64, 64));
  DibSurface surface(screen);
  canvas.paintBox = &surface;
  canvas.view.clientWidth = 64;
  canvas.view.clientHeight = 64;
  canvas.Redraw();
  EXPECT_EQ(screen.GetPixel(10, 10), 0);  // not shown yet
  canvas.visible = true;
  canvas.InitAfterSettings();
  canvas.Redraw();
  EXPECT_EQ(screen.GetPixel(10, 10), 0xFFFFFF);
  EXPECT_GT(views.painted, 0);

  canvas.StartRubberBand(2, 2);
  canvas.pbxAMouseMove(2, 20);
  EXPECT_EQ(screen.GetPixel(2, 10), 0);  // the black guide line
  EXPECT_EQ(screen.GetPixel(3, 10), 0xFFFFFF);
  canvas.rubberBandOn = false;
  canvas.Redraw();
  EXPECT_EQ(screen.GetPixel(2, 10), 0xFFFFFF);  // the next repaint removes it
}

}  // namespace
}  // namespace mirasketch
