#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "controls/menu.h"
#include "controls/window_controls.h"
#include "platform/platform.h"
#include "platform/recent_list.h"
#include "platform/window_table.h"

namespace mirasketch {

class LayerProject;
class PictureFiles;
class ShellLinks;
class TfrmM;
class ToolEngine;
class Views;

// The help document, in the program's folder: HTML, which the help window shows (its pictures lie
// in the folder "korvel-images" beside it).
inline constexpr const char* kHelpFile = "korvel.html";

// The whole main menu in order, the window menu's switches taken from the window table; kEnd
// closes a menu or submenu.
std::vector<MenuEntry> MainMenu();

// One tool-bar button: design name, glyph index (−1 for the separator), toggle or not, Tag.
struct ToolBarEntry {
  const char* name;
  int image;
  bool toggle;
  int tag;
};
// The tool bar: the file buttons, a separator and the window switches of the window table.
std::vector<ToolBarEntry> MainToolBar();

// The main window: the file commands, the recent lists, the window switches and the edit
// commands. Handlers are named after the control and event they serve. Its controls are the items
// of its menu and the buttons of its tool bar; a click of one runs its handler.
class TfrmMain : public ControlWindow {
 public:
  // `programDir` is the program's folder (with a trailing separator), owned by the caller.
  TfrmMain(LayerProject& project, PictureFiles& files, TfrmM& canvas, ToolEngine& tools,
           Platform& platform, Views& views, ShellLinks& links, const std::string& programDir);

  void FormShow();
  // The close of the main window: false keeps the program running.
  bool FormClose();
  void mnuNewBmpClick();
  void mnuOpenFileClick();
  void mnuSaveFileClick();
  void mnuSaveFileAsClick();
  void MenuOpenPastFile(int tag);
  void MenuOpenPastFolder(int tag);
  void MenuSavePastFolder(int tag);
  void mnuExitClick();
  void mnuCutClick(int tag);
  void mnuDibSizeChangeClick();
  // A window switch from the menu (the new state is the opposite of the check mark) or from a
  // tool button (the new state is the button's own, already flipped).
  void MenuShowWindowFromMenu(int tag);
  void MenuShowWindowFromButton(int tag, bool down);
  void mnuSettingClick();
  void mnuHelpContentsClick();
  void mnuaboutClick();
  // A file dropped from the desktop: the view passes only the first of several, cut to at most
  // 254 characters.
  void OpenDroppedFile(const std::string& path);
  // The command line's arguments after the program name, after the first show: the first names
  // a file, opened as the open command opens a chosen one (a relative name is taken from the
  // current folder); the others are ignored. A file that cannot be opened is reported and leaves
  // the start-up project.
  void OpenAtStartUp(std::span<const std::string> arguments);

  // Sets a window's check mark and tool button to `visible` and shows or hides it; `index` is
  // the Tag of the window's switch (0 canvas, 1 colour, 2 position, 3 option, 4 layer). Other
  // indices do nothing.
  void ShowToolWindow(int index, bool visible);
  // A window was hidden (its own hide handler): its switch, if it has one, goes off.
  void WindowHidden(WindowId window);
  bool WindowChecked(int index) const;

  // ControlWindow: menu items and tool-bar buttons are clicked; a window switch's item and button
  // show its check mark, a recent-list item its entry.
  const ControlSet& Controls() const override { return controls_; }
  bool Click(std::string_view name) override;
  bool Change(std::string_view, int) override { return false; }
  const PaintBox* Paint(std::string_view) override { return nullptr; }
  bool MouseDown(std::string_view, int, int, int, int) override { return false; }

  void AddRecentFile(const std::string& path);
  void AddRecentOpenFolder(const std::string& path);
  void AddRecentSaveFolder(const std::string& path);
  // The caption of a recent-list item: the entry, or "(empty)".
  static std::string RecentCaption(const std::string& entry);

  std::array<std::string, 8> recentFiles;
  std::array<std::string, 4> recentOpenFolders;
  std::array<std::string, 4> recentSaveFolders;
  std::array<bool, kWindowCount> windowShown{};  // by switch Tag
  FileDialogRequest openDialog;
  FileDialogRequest saveDialog;
  const std::string& programDir;  // the program's folder, with a trailing separator

 private:
  void OpenChosen(const std::string& path, bool setDialogFolder);
  void SaveAs();
  void Changed();
  // Runs the handler of a menu item or file button; false for a name it does not know.
  bool RunCommand(const ControlSpec& item);

  std::vector<ControlSpec> controlSpecs_;  // the menu items and tool-bar buttons
  ControlSet controls_;
  LayerProject& project_;
  PictureFiles& files_;
  TfrmM& canvas_;
  ToolEngine& tools_;
  Platform& platform_;
  Views& views_;
  ShellLinks& links_;
};

}  // namespace mirasketch
