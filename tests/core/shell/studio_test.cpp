// The studio's wiring: the window table and the switches built from it, tool families registered
// from outside the painting folder, the edit commands reaching the studio, and a repaint that
// shows the composed picture without composing it again.

#include "shell/studio.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "buffers/dib_surface.h"
#include "support/brush_sheet.h"
#include "support/studio_fixture.h"

namespace mirasketch::test {
namespace {

// A studio that records what reaches the operations of the selection module.
class EditRecordingStudio : public Studio {
 public:
  using Studio::Studio;
  std::vector<int> edits;  // 1 cut, 2 copy, 3 paste

 private:
  void CutOrCopy(int mode) override { edits.push_back(mode); }
  void PasteFromClipboard() override { edits.push_back(3); }
};

// A tool family of a test: it takes up strokes as a painting tool does (the undo snapshot first)
// and records every event it receives.
class RecordingTool : public ToolHandler {
 public:
  void ToolEventOccurred(ToolEngine& engine, ToolEvent event) override {
    events.push_back(event);
    if (event != teDown) return;
    engine.links().PushUndo();
    engine.strokeActive = true;
  }
  std::vector<int> events;
};

TEST_F(StudioTest, TheWindowTableDrivesTheSwitches) {
  std::set<std::string> names;
  int switches = 0;
  for (const WindowRow& window : WindowTable()) {
    EXPECT_TRUE(names.insert(window.designName).second) << window.designName;
    EXPECT_TRUE(names.insert(window.objectName).second) << window.objectName;
    EXPECT_EQ(&WindowInfo(window.id), &window);
    EXPECT_EQ(FindWindow(window.designName), &window);
    if (window.windowSwitch.index < 0) continue;
    ++switches;
    EXPECT_EQ(SwitchedWindow(window.windowSwitch.index), &window);
  }
  EXPECT_EQ(switches, WindowSwitchCount());
  EXPECT_EQ(FindWindow("TfrmX"), nullptr);
  EXPECT_EQ(studio.Controls(WindowId::frmC), &studio.frmC);
  EXPECT_EQ(studio.Controls(WindowId::frmT), &studio.frmT);
  EXPECT_EQ(studio.Controls(WindowId::frmPos), &studio.frmPos);
  EXPECT_EQ(studio.Controls(WindowId::frmOpt), &studio.frmOpt);

  // Every switch is a window-menu item and a tool-bar toggle with its Tag, in Tag order.
  std::vector<std::string> items, buttons;
  for (const MenuEntry& entry : MainMenu())
    if (entry.kind == MenuEntry::kItem && std::string(entry.name).starts_with("mnuWin"))
      items.push_back(entry.name);
  for (const ToolBarEntry& entry : MainToolBar())
    if (entry.toggle) buttons.push_back(entry.name);
  EXPECT_EQ(items, (std::vector<std::string>{"mnuWinPaint", "mnuWinColor", "mnuWinPosition",
                                             "mnuWinOption", "mnuWinLayer"}));
  EXPECT_EQ(buttons, (std::vector<std::string>{"tlbWinPaint", "tlbWinColor", "tlbWinPosition",
                                               "tlbWinOption", "tlbWinLayer"}));

  // Showing and hiding round-trip through each switch: the check mark follows, the views are
  // told, and a window hidden on its own turns its switch off.
  TfrmMain& main = studio.frmMain;
  for (int i = 0; i < WindowSwitchCount(); ++i) {
    const WindowId id = SwitchedWindow(i)->id;
    views.shownWindows.clear();
    main.ShowToolWindow(i, true);
    EXPECT_TRUE(main.WindowChecked(i));
    main.WindowHidden(id);
    EXPECT_FALSE(main.WindowChecked(i));
    EXPECT_EQ(views.shownWindows, (std::vector<std::pair<WindowId, bool>>{{id, true}, {id, false}}))
        << i;
  }
  main.WindowHidden(WindowId::frmC);  // no switch: nothing happens
  main.ShowToolWindow(WindowSwitchCount(), true);
  EXPECT_TRUE(views.shownWindows.size() == 2);
  EXPECT_FALSE(main.WindowChecked(-1));
}

TEST_F(StudioTest, AToolFamilyRegisteredFromOutsideReceivesEveryEvent) {
  RecordingTool tool;
  studio.toolEngine.RegisterTool(tkPenki, tool);
  studio.frmM.SetUndoLevels(2);
  TfrmM& canvas = studio.frmM;
  canvas.visible = true;
  canvas.InitAfterSettings();
  studio.frmC.Click("spbPenki");
  canvas.pbxAMouseDown(MouseButton::kLeft, 5, 5);
  canvas.pbxAMouseMove(6, 6);
  canvas.pbxAMouseUp(MouseButton::kLeft, 6, 6);
  studio.frmC.Click("chkMask");  // a setting changed: the tool refreshes
  canvas.Undo();
  studio.frmC.Click("spbPen");
  EXPECT_EQ(tool.events, (std::vector<int>{teActivate, teDown, teMove, teUp, teRefresh, teUndone,
                                           teDeactivate}));
  EXPECT_TRUE(canvas.modified);
  // A code nobody registered takes up no stroke, as before.
  canvas.modified = false;
  studio.toolEngine.settings.currentTool = 100;
  canvas.pbxAMouseDown(MouseButton::kLeft, 5, 5);
  EXPECT_FALSE(canvas.modified);
  EXPECT_FALSE(studio.toolEngine.strokeActive);
}

TEST(StudioWiring, EditKeysAndTheEditMenuReachTheStudio) {
  FakePlatform platform;
  RecordingViews views;
  EditRecordingStudio studio(platform, views);
  studio.project.InitLayers();
  TfrmM& canvas = studio.frmM;
  canvas.FormKeyDown('x', kCtrlKey);
  canvas.FormKeyDown('C', kCtrlKey | kShiftKey);
  canvas.FormKeyDown('P', kCtrlKey);
  canvas.FormKeyDown('X', 0);  // without Ctrl a plain key
  for (int tag = 1; tag <= 3; ++tag) studio.frmMain.mnuCutClick(tag);
  EXPECT_EQ(studio.edits, (std::vector<int>{1, 2, 3, 1, 2, 3}));
}

TEST_F(StudioTest, ARepaintShowsTheComposedPictureAndComposesOnlyWhatChanged) {
  CDibTrue screen;  // paint-box pixels, the client area 64 × 64 of them
  ASSERT_TRUE(screen.Alloc(128, 128));
  DibSurface surface(screen);
  TfrmM& canvas = studio.frmM;
  canvas.paintBox = &surface;
  canvas.view.clientWidth = 64;
  canvas.view.clientHeight = 64;
  canvas.SetZoom(1);
  canvas.visible = true;
  canvas.InitAfterSettings();
  canvas.Redraw();
  // A pixel changed behind the core's back stays unseen by scrolls and exposes: they show what
  // was composed last.
  project.Active().SetPixel(20, 20, 0x0000FF);
  canvas.view.scrollX = 10;
  canvas.pbxAPaint();
  EXPECT_EQ(screen.GetPixel(10, 20), 0xFFFFFF);
  canvas.view.scrollX = 0;
  canvas.pbxAPaint();
  EXPECT_EQ(screen.GetPixel(20, 20), 0xFFFFFF);
  // A repaint the hidden window skipped leaves the picture to be composed at the next paint.
  canvas.visible = false;
  canvas.RedrawRect(20, 20, 1, 1);
  canvas.visible = true;
  canvas.pbxAPaint();
  EXPECT_EQ(screen.GetPixel(20, 20), 0x0000FF);
  // A figure reaching past the visible area is composed where it was not seen at the next
  // paint, so scrolling shows all of it.
  MakeTestBrushSheet(studio.toolEngine.brushImage);
  studio.frmC.SelectTool(tkBox);
  canvas.pbxAMouseDown(MouseButton::kLeft, 10, 10);
  canvas.pbxAMouseMove(100, 100);
  canvas.pbxAMouseUp(MouseButton::kLeft, 100, 100);
  canvas.view.scrollX = 60;
  canvas.view.scrollY = 60;
  canvas.pbxAPaint();
  EXPECT_EQ(screen.GetPixel(100, 80), 0);  // the box's right edge, black
  canvas.view.scrollX = canvas.view.scrollY = 0;
  // Showing the mask lays it over the composed picture, which then has to be composed again.
  project.Active().mask.Alloc(256, 256);
  canvas.RedrawWithMode(2);
  EXPECT_EQ(screen.GetPixel(20, 20), 0xFFFFFF);  // mask 0 shows white
  canvas.pbxAPaint();
  EXPECT_EQ(screen.GetPixel(20, 20), 0x0000FF);
}

}  // namespace
}  // namespace mirasketch::test
