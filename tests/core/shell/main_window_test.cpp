#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/bmp_bytes.h"
#include "support/studio_fixture.h"
#include "support/temp_dir.h"

namespace mirasketch {
namespace {

TEST(RecentLists, PushRecentMovesCaseInsensitiveDuplicatesUp) {
  std::array<std::string, 8> files;
  PushRecent(files, std::string("/p/a.bmp"));
  PushRecent(files, std::string("/p/b.bmp"));
  PushRecent(files, std::string("/p/A.BMP"));
  EXPECT_EQ(files[0], "/p/A.BMP");
  EXPECT_EQ(files[1], "/p/b.bmp");
  EXPECT_EQ(files[2], "");
  for (int i = 1; i <= 9; ++i) PushRecent(files, "/f" + std::to_string(i));
  EXPECT_EQ(files[0], "/f9");
  EXPECT_EQ(files[7], "/f2");  // the first of nine is gone
  PushRecent(files, std::string("/F5"));
  EXPECT_EQ(files[0], "/F5");
  EXPECT_EQ(files[4], "/f6");
  EXPECT_EQ(files[5], "/f4");  // the entries below the old place stay
  EXPECT_FALSE(SameIgnoringAsciiCase("ä", "Ä"));
}

TEST(RecentLists, FolderOfKeepsTheRootSeparator) {
  EXPECT_EQ(FolderOf("/home/a/b.bmp"), "/home/a");
  EXPECT_EQ(FolderOf("/b.bmp"), "/");
  EXPECT_EQ(FolderOf("//net/x.bmp"), "//net");
  EXPECT_EQ(FolderOf("/a//x.bmp"), "/a//");
  EXPECT_EQ(FolderOf("x.bmp"), "");
}

class MainWindowTest : public test::StudioTest {
 protected:
  // An installed program's folder, which cannot be written, and a configuration folder that
  // cannot be created either: nothing of the machine's own settings is read or written.
  MainWindowTest() {
    studio.programDir = "/opt/mirasketch/";
    setenv("XDG_CONFIG_HOME", "/proc/mirasketch-test", 1);
  }
  std::string Picture(const std::string& name, int width = 8, int height = 4) {
    test::BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 24;
    test::WriteAll(dir.File(name), test::MakeBmp(spec));
    return dir.File(name);
  }
  TfrmMain& main = studio.frmMain;
  test::TempDir dir;
};

TEST_F(MainWindowTest, NewAsksTheSizeDialog) {
  views.sizeEntries = {{"3", "100"}, {"100", "40000"}, {"100", "60"}};
  main.mnuNewBmpClick();
  EXPECT_EQ(messages, (std::vector<std::string>{"小さすぎます。", "大きすぎます。"}));
  EXPECT_EQ(views.sizeDialogShown.front(), (std::pair<std::string, std::string>{"320", "320"}));
  EXPECT_EQ(project.CanvasWidth(), 100);
  EXPECT_EQ(project.CanvasHeight(), 60);
  EXPECT_EQ(studio.frmM.caption, "(New Layer Project)");
  // Cancelled: nothing changes; modified and answered No: the dialog does not even open.
  main.mnuNewBmpClick();
  EXPECT_EQ(project.CanvasWidth(), 100);
  studio.frmM.modified = true;
  platform.answers = {false};
  main.mnuNewBmpClick();
  EXPECT_EQ(views.sizeDialogShown.size(), 2u);

  // The canvas-size command opens it filled with the canvas size.
  views.sizeEntries = {{"120", "70"}};
  main.mnuDibSizeChangeClick();
  EXPECT_EQ(views.sizeDialogShown.back(), (std::pair<std::string, std::string>{"100", "60"}));
}

TEST_F(MainWindowTest, OpenKeepsTheRecentListsAndTheDialogFolder) {
  const std::string a = Picture("a.bmp");
  platform.openFiles = {a};
  main.mnuOpenFileClick();
  EXPECT_EQ(project.projectFileName, a);
  EXPECT_EQ(main.recentFiles[0], a);
  EXPECT_EQ(main.recentOpenFolders[0], dir.Path());
  EXPECT_EQ(main.openDialog.initialFolder, dir.Path());
  EXPECT_EQ(platform.openRequests[0].filter, kProjectFileFilter);
  EXPECT_EQ(platform.openRequests[0].defaultExtension, "kvl");

  // A failed open leaves everything as it was.
  platform.openFiles = {dir.File("none.bmp")};
  main.mnuOpenFileClick();
  EXPECT_EQ(messages.back(), dir.File("none.bmp") + "はありません。");
  EXPECT_EQ(main.recentFiles[1], "");
  EXPECT_EQ(project.projectFileName, a);

  // Reopen and drops go the same way; an "(empty)" entry opens nothing.
  const std::string b = Picture("b.bmp", 12, 4);
  main.OpenDroppedFile(b);
  EXPECT_EQ(project.CanvasWidth(), 12);
  main.MenuOpenPastFile(1);
  EXPECT_EQ(project.projectFileName, a);
  EXPECT_EQ(main.recentFiles[0], a);
  EXPECT_EQ(main.recentFiles[1], b);
  main.MenuOpenPastFile(5);
  EXPECT_EQ(project.projectFileName, a);
  EXPECT_EQ(TfrmMain::RecentCaption(main.recentFiles[5]), "(empty)");

  // Open from a recent folder starts the dialog there.
  main.MenuOpenPastFolder(0);
  EXPECT_EQ(platform.openRequests.back().initialFolder, dir.Path());
}

TEST_F(MainWindowTest, StartUpOpensTheFirstArgumentAsTheOpenCommand) {
  // No file named, or an empty name: the start-up project stays, nothing is reported.
  main.OpenAtStartUp({});
  main.OpenAtStartUp(std::vector<std::string>{""});
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(project.projectFileName.empty());

  // A missing file and a file that does not read are reported; the start-up project, its
  // caption and the lists stay as they were.
  const std::string caption = studio.frmM.caption;
  main.OpenAtStartUp(std::vector<std::string>{dir.File("none.kvl")});
  test::WriteAll(dir.File("bad.kvl"), {'n', 'o', 't', ' ', 'k', 'v', 'l'});
  main.OpenAtStartUp(std::vector<std::string>{dir.File("bad.kvl")});
  test::WriteAll(dir.File("x.gif"), {1, 2, 3});
  main.OpenAtStartUp(std::vector<std::string>{dir.File("x.gif")});
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], dir.File("none.kvl") + "はありません。");
  EXPECT_EQ(messages[2], "読めません。- " + dir.File("x.gif"));
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_TRUE(project.projectFileName.empty());
  EXPECT_EQ(studio.frmM.caption, caption);
  EXPECT_EQ(main.recentFiles[0], "");
  EXPECT_EQ(main.openDialog.initialFolder, "");

  // A name relative to the current folder opens with its full path, which the caption, the
  // recent lists and the open dialog keep; later arguments are ignored.
  const std::string a = Picture("a.bmp", 12, 4);
  Picture("b.bmp", 20, 4);
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  main.OpenAtStartUp(std::vector<std::string>{"./a.bmp", "b.bmp"});
  std::filesystem::current_path(before);
  EXPECT_EQ(messages.size(), 3u);
  EXPECT_EQ(project.CanvasWidth(), 12);
  EXPECT_EQ(project.projectFileName, a);
  EXPECT_EQ(studio.frmM.caption, a);
  EXPECT_EQ(main.recentFiles[0], a);
  EXPECT_EQ(main.recentFiles[1], "");
  EXPECT_EQ(main.recentOpenFolders[0], dir.Path());
  EXPECT_EQ(main.openDialog.initialFolder, dir.Path());
}

TEST_F(MainWindowTest, SaveAsAsksBeforeOverwriting) {
  const std::string target = dir.File("out.bmp");
  test::WriteAll(target, {1, 2, 3});
  // Save with no file name is Save As, question included; No abandons the save.
  platform.saveFiles = {target};
  platform.answers = {false};
  main.mnuSaveFileClick();
  EXPECT_EQ(platform.asked,
            std::vector<std::string>{
                target + "すでに同名のファイルがあリます、上書きしてもよろしいですか?"});
  EXPECT_EQ(test::ReadAll(target), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_TRUE(main.recentFiles[0].empty());

  platform.saveFiles = {target};
  main.mnuSaveFileAsClick();  // answered Yes
  EXPECT_EQ(test::ReadAll(target).size(), 54u + 256 * 256 * 3);
  EXPECT_EQ(main.recentFiles[0], target);
  EXPECT_EQ(main.recentSaveFolders[0], dir.Path());
  EXPECT_EQ(project.projectFileName, target);
  // Now Save writes without asking.
  platform.asked.clear();
  main.mnuSaveFileClick();
  EXPECT_TRUE(platform.asked.empty());
  // A refused extension leaves the lists alone.
  platform.saveFiles = {dir.File("x.gif")};
  main.mnuSaveFileAsClick();
  EXPECT_EQ(messages.back(), "この拡張子では保存できません。- " + dir.File("x.gif"));
  EXPECT_EQ(main.recentFiles[1], "");
  main.MenuSavePastFolder(0);
  EXPECT_EQ(platform.saveRequests.back().initialFolder, dir.Path());
}

TEST_F(MainWindowTest, WindowSwitchesKeepMenuAndButtonsInStep) {
  EXPECT_TRUE(main.WindowChecked(0));
  main.MenuShowWindowFromMenu(1);
  EXPECT_TRUE(main.WindowChecked(1));
  main.MenuShowWindowFromButton(1, false);
  EXPECT_FALSE(main.WindowChecked(1));
  main.MenuShowWindowFromMenu(0);
  EXPECT_FALSE(main.WindowChecked(0));
  EXPECT_FALSE(studio.frmM.visible);
  studio.frmM.visible = true;
  studio.frmM.FormHide();  // the canvas window closed by its own title bar
  EXPECT_FALSE(studio.frmM.visible);
  main.ShowToolWindow(7, true);
  using Shown = std::vector<std::pair<WindowId, bool>>;
  EXPECT_EQ(views.shownWindows, (Shown{{WindowId::frmCol, true},
                                       {WindowId::frmCol, false},
                                       {WindowId::frmM, false},
                                       {WindowId::frmM, false}}));
}

TEST_F(MainWindowTest, ExitAsksWhenModifiedAndUndoFromTheMenu) {
  studio.frmM.modified = true;
  platform.answers = {false};
  main.mnuExitClick();
  EXPECT_FALSE(views.quit);
  studio.LoadSettings();
  messages.clear();     // no data files there
  main.mnuExitClick();  // answered Yes; the settings cannot be written, which is shown once
  EXPECT_TRUE(views.quit);
  EXPECT_EQ(messages, std::vector<std::string>{
                          "/proc/mirasketch-test/mirasketch/korvel.ini に書き込めません"});

  studio.frmM.SetUndoLevels(2);
  studio.frmM.PushUndo();
  ASSERT_TRUE(studio.frmM.SaveBeforeWrite(0, 0, 1, 1));
  project.Active().SetPixel(0, 0, 0);
  main.mnuCutClick(0);
  EXPECT_EQ(project.Active().GetPixel(0, 0), 0xFFFFFF);

  main.mnuHelpContentsClick();
  EXPECT_EQ(platform.helpShown, std::vector<std::string>{"/opt/mirasketch/korvel.html"});
}

TEST_F(MainWindowTest, StartUpShowsTheStartProject) {
  main.FormShow();
  EXPECT_EQ(project.CanvasWidth(), 256);
  EXPECT_TRUE(studio.frmM.visible);
  EXPECT_FALSE(studio.frmM.redrawSuspended);
  EXPECT_EQ(studio.frmM.undoLevels, 2);
  // The switched windows start hidden without a settings file; then the canvas and the panel.
  EXPECT_EQ(views.shownWindows, (std::vector<std::pair<WindowId, bool>>{{WindowId::frmCol, false},
                                                                        {WindowId::frmOpt, false},
                                                                        {WindowId::frmPos, false},
                                                                        {WindowId::frmL, false},
                                                                        {WindowId::frmM, true},
                                                                        {WindowId::frmC, true}}));
}

}  // namespace
}  // namespace mirasketch
