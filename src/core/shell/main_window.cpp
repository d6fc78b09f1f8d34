#include "shell/main_window.h"

#include <filesystem>
#include <iterator>

#include "painting/canvas_window.h"
#include "painting/tool_engine.h"
#include "platform/files.h"
#include "platform/views.h"
#include "project/layer_project.h"
#include "project/picture_file.h"
#include "project/size_dialog.h"
#include "shell/dialogs.h"
#include "shell/shell_links.h"

namespace mirasketch {

namespace {

// The main menu before and after the window menu's switches.
constexpr MenuEntry kMenuBeforeSwitches[] = {
    {MenuEntry::kMenu, "N1", "ﾌｧｲﾙ(&F)", "", 0},
    {MenuEntry::kItem, "mnuNewBmp", "新規(&N)", "", 0},
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuOpenFile", "ファイルを開く(&O)", "Ctrl+O", 0},
    {MenuEntry::kSubmenu, "mnuOpenPastFile", "開き直す", "", 0},
    {MenuEntry::kItem, "mnuPastFile0", "(empty)", "", 0},
    {MenuEntry::kItem, "mnuPastFile1", "(empty)", "", 1},
    {MenuEntry::kItem, "mnuPastFile2", "(empty)", "", 2},
    {MenuEntry::kItem, "mnuPastFile3", "(empty)", "", 3},
    {MenuEntry::kItem, "mnuPastFile4", "(empty)", "", 4},
    {MenuEntry::kItem, "mnuPastFile5", "(empty)", "", 5},
    {MenuEntry::kItem, "mnuPastFile6", "(empty)", "", 6},
    {MenuEntry::kItem, "mnuPastFile7", "(empty)", "", 7},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kSubmenu, "mnuOpenPastFolder", "フォルダから開く", "", 0},
    {MenuEntry::kItem, "mnuOpenPF0", "(empty)", "", 0},
    {MenuEntry::kItem, "mnuOpenPF1", "(empty)", "", 1},
    {MenuEntry::kItem, "mnuOpenPF2", "(empty)", "", 2},
    {MenuEntry::kItem, "mnuOpenPF3", "(empty)", "", 3},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuSaveFile", "上書保存(&S)", "Ctrl+S", 0},
    {MenuEntry::kItem, "mnuSaveFileAs", "別名保存(&A)", "", 0},
    {MenuEntry::kSubmenu, "mnuSavePastFolder", "フォルダへ保存", "", 0},
    {MenuEntry::kItem, "mnuSavePF0", "(empty)", "", 0},
    {MenuEntry::kItem, "mnuSavePF1", "(empty)", "", 1},
    {MenuEntry::kItem, "mnuSavePF2", "(empty)", "", 2},
    {MenuEntry::kItem, "mnuSavePF3", "(empty)", "", 3},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuExit", "終了(&X)", "", 0},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kMenu, "mnuEdit", "編集(&E)", "", 0},
    {MenuEntry::kItem, "mnuUndo", "ｱﾝﾄﾞｩ(&U)", "Ctrl+Z", 0},
    {MenuEntry::kItem, "mnuRedo", "やり直し", "Ctrl+Y", 0},
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuCut", "切り取り(&T)", "Ctrl+X", 1},
    {MenuEntry::kItem, "mnuCopy", "ｺﾋﾟｰ(&C)", "Ctrl+C", 2},
    {MenuEntry::kItem, "mnuPaste", "貼り付け(&P)", "Ctrl+V", 3},
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuDibSizeChange", "カンバスの大きさ変更", "", 0},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kMenu, "mnuWindowShow", "ｳｨﾝﾄﾞｳ(&W)", "", 0},
};

constexpr MenuEntry kMenuAfterSwitches[] = {
    {MenuEntry::kSeparator, "", "", "", 0},
    {MenuEntry::kItem, "mnuSetting", "設定", "", 0},
    {MenuEntry::kEnd, "", "", "", 0},
    {MenuEntry::kMenu, "mnuHelp", "&?", "", 0},
    {MenuEntry::kItem, "mnuHelpContents", "目次(&C)", "", 0},
    {MenuEntry::kItem, "mnuabout", "&about", "", 0},
    {MenuEntry::kEnd, "", "", "", 0},
};

constexpr ToolBarEntry kFileButtons[] = {
    {"tlbNewBmp", 0, false, 0},
    {"tlbOpen", 1, false, 0},
    {"tlbSave", 2, false, 0},
    {"tlbSep0", -1, false, 0},
};

}  // namespace

std::vector<MenuEntry> MainMenu() {
  std::vector<MenuEntry> menu(std::begin(kMenuBeforeSwitches), std::end(kMenuBeforeSwitches));
  for (int i = 0; i < WindowSwitchCount(); ++i) {
    const WindowSwitch& on = SwitchedWindow(i)->windowSwitch;
    menu.push_back({MenuEntry::kItem, on.menuItem, on.menuCaption, "", i});
  }
  menu.insert(menu.end(), std::begin(kMenuAfterSwitches), std::end(kMenuAfterSwitches));
  return menu;
}

std::vector<ToolBarEntry> MainToolBar() {
  std::vector<ToolBarEntry> bar(std::begin(kFileButtons), std::end(kFileButtons));
  for (int i = 0; i < WindowSwitchCount(); ++i) {
    const WindowSwitch& on = SwitchedWindow(i)->windowSwitch;
    bar.push_back({on.toolButton, on.glyph, true, i});
  }
  return bar;
}

std::string TfrmMain::RecentCaption(const std::string& entry) {
  return entry.empty() ? "(empty)" : entry;
}

namespace {

// The main window's controls: every menu item, under the name of its menu, and every tool-bar
// button but the separator.
std::vector<ControlSpec> MainWindowControls() {
  const std::vector<MenuEntry> menu = MainMenu();
  std::vector<ControlSpec> specs = MenuControls(menu);
  for (const ToolBarEntry& button : MainToolBar()) {
    if (button.image < 0) continue;
    specs.push_back({button.name, button.toggle ? ControlKind::kToggleButton : ControlKind::kButton,
                     "ToolBar1", 0, 0, 0, 0, "", 0, 0, 1, button.tag});
  }
  return specs;
}

std::string Numbered(const char* base, std::size_t i) {
  return base + std::to_string(i);
}

}  // namespace

TfrmMain::TfrmMain(LayerProject& project, PictureFiles& files, TfrmM& canvas, ToolEngine& tools,
                   Platform& platform, Views& views, ShellLinks& links,
                   const std::string& programDirIn)
    : programDir(programDirIn),
      controlSpecs_(MainWindowControls()),
      controls_(controlSpecs_),
      project_(project),
      files_(files),
      canvas_(canvas),
      tools_(tools),
      platform_(platform),
      views_(views),
      links_(links) {
  // A switch's menu check mark and tool button both show the one state of its window.
  for (int i = 0; i < WindowSwitchCount(); ++i) {
    const WindowSwitch& on = SwitchedWindow(i)->windowSwitch;
    bool& shown = windowShown[static_cast<std::size_t>(i)];
    shown = on.onAtStart;
    controls_.Bind(on.menuItem, shown);
    controls_.Bind(on.toolButton, shown);
  }
}

bool TfrmMain::Click(std::string_view name) {
  const int index = controls_.Find(name);
  if (index < 0) return false;
  const ControlSpec& item = controls_.Specs()[static_cast<std::size_t>(index)];
  if (item.kind == ControlKind::kToggleButton) {
    // The button flips: its new state is the request.
    MenuShowWindowFromButton(item.tag, !controls_.Checked(name));
    return true;
  }
  return RunCommand(item);
}

bool TfrmMain::RunCommand(const ControlSpec& item) {
  const std::string_view name = item.name;
  const std::string_view menu = item.parent;
  const int tag = item.tag;
  if (menu == "mnuOpenPastFile") {
    MenuOpenPastFile(tag);
  } else if (menu == "mnuOpenPastFolder") {
    MenuOpenPastFolder(tag);
  } else if (menu == "mnuSavePastFolder") {
    MenuSavePastFolder(tag);
  } else if (SwitchedWindow(tag) != nullptr && name == SwitchedWindow(tag)->windowSwitch.menuItem) {
    MenuShowWindowFromMenu(tag);
  } else if (name == "mnuUndo" || name == "mnuCut" || name == "mnuCopy" || name == "mnuPaste") {
    mnuCutClick(tag);
  } else if (name == "mnuRedo") {
    canvas_.Redo();
  } else if (name == "mnuNewBmp" || name == "tlbNewBmp") {
    mnuNewBmpClick();
  } else if (name == "mnuOpenFile" || name == "tlbOpen") {
    mnuOpenFileClick();
  } else if (name == "mnuSaveFile" || name == "tlbSave") {
    mnuSaveFileClick();
  } else if (name == "mnuSaveFileAs") {
    mnuSaveFileAsClick();
  } else if (name == "mnuExit") {
    mnuExitClick();
  } else if (name == "mnuDibSizeChange") {
    mnuDibSizeChangeClick();
  } else if (name == "mnuSetting") {
    mnuSettingClick();
  } else if (name == "mnuHelpContents") {
    mnuHelpContentsClick();
  } else if (name == "mnuabout") {
    mnuaboutClick();
  } else {
    return false;
  }
  return true;
}

void TfrmMain::Changed() {
  for (std::size_t i = 0; i < recentFiles.size(); ++i)
    controls_.SetCaption(Numbered("mnuPastFile", i), RecentCaption(recentFiles[i]));
  for (std::size_t i = 0; i < recentOpenFolders.size(); ++i)
    controls_.SetCaption(Numbered("mnuOpenPF", i), RecentCaption(recentOpenFolders[i]));
  for (std::size_t i = 0; i < recentSaveFolders.size(); ++i)
    controls_.SetCaption(Numbered("mnuSavePF", i), RecentCaption(recentSaveFolders[i]));
  views_.WindowChanged(WindowId::frmMain);
}

void TfrmMain::FormShow() {
  links_.StartUp();
  Changed();
}

bool TfrmMain::FormClose() {
  if (!canvas_.ConfirmDiscard()) return false;
  tools_.strokeActive = false;
  canvas_.view.selectionVisible = false;
  canvas_.rubberBandOn = false;
  links_.SaveSettings();
  return true;
}

void TfrmMain::mnuNewBmpClick() {
  if (!canvas_.ConfirmDiscard()) return;
  tools_.DeactivateCurrentTool();
  TfrmDlgSize dialog;
  // A size the project cannot take (NewProject shows why) leaves the open picture as it was.
  if (views_.RunSizeDialog(dialog) &&
      project_.NewProject(1, dialog.resultWidth, dialog.resultHeight))
    project_.AfterNewProject();
  // The tool was suspended around the replacement of the picture; it resumes whether or not the
  // dialog was confirmed.
  tools_.ActivateCurrentTool();
}

void TfrmMain::OpenChosen(const std::string& path, bool setDialogFolder) {
  if (!files_.OpenPictureFile(path)) return;
  AddRecentFile(path);
  AddRecentOpenFolder(path);
  if (setDialogFolder) openDialog.initialFolder = FolderOf(path);
}

void TfrmMain::mnuOpenFileClick() {
  if (!canvas_.ConfirmDiscard()) return;
  const std::optional<std::string> path = platform_.ChooseOpenFile(openDialog);
  if (path) OpenChosen(*path, true);
}

void TfrmMain::mnuSaveFileClick() {
  if (project_.projectFileName.empty()) {
    SaveAs();
    return;
  }
  const std::string path = project_.projectFileName;
  if (!files_.SavePictureFile(path)) return;
  AddRecentFile(path);
  AddRecentSaveFolder(path);
}

void TfrmMain::mnuSaveFileAsClick() {
  SaveAs();
}

void TfrmMain::SaveAs() {
  const std::optional<std::string> path = platform_.ChooseSaveFile(saveDialog);
  if (!path) return;
  if (InFile::Exists(*path) &&
      !platform_.AskYesNo(*path + "すでに同名のファイルがあリます、上書きしてもよろしいですか?"))
    return;
  if (!files_.SavePictureFile(*path)) return;
  AddRecentFile(*path);
  AddRecentSaveFolder(*path);
}

void TfrmMain::MenuOpenPastFile(int tag) {
  if (tag < 0 || tag >= 8 || !canvas_.ConfirmDiscard()) return;
  const std::string path = recentFiles[static_cast<std::size_t>(tag)];
  if (!path.empty()) OpenChosen(path, false);
}

void TfrmMain::MenuOpenPastFolder(int tag) {
  if (tag < 0 || tag >= 4 || recentOpenFolders[static_cast<std::size_t>(tag)].empty()) return;
  openDialog.initialFolder = recentOpenFolders[static_cast<std::size_t>(tag)];
  mnuOpenFileClick();
}

void TfrmMain::MenuSavePastFolder(int tag) {
  if (tag < 0 || tag >= 4 || recentSaveFolders[static_cast<std::size_t>(tag)].empty()) return;
  saveDialog.initialFolder = recentSaveFolders[static_cast<std::size_t>(tag)];
  SaveAs();
}

void TfrmMain::OpenDroppedFile(const std::string& path) {
  if (!canvas_.ConfirmDiscard()) return;
  if (!files_.OpenPictureFile(path)) return;
  AddRecentFile(path);
  AddRecentOpenFolder(path);
}

void TfrmMain::OpenAtStartUp(std::span<const std::string> arguments) {
  if (arguments.empty() || arguments.front().empty()) return;
  // The recent lists and the dialog folder keep full paths, so a later run started elsewhere
  // still finds the file.
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(arguments.front(), error);
  const std::string path = error ? arguments.front() : full.lexically_normal().string();
  if (!canvas_.ConfirmDiscard()) return;
  OpenChosen(path, true);
}

void TfrmMain::mnuExitClick() {
  if (FormClose()) views_.Quit();
}

void TfrmMain::mnuCutClick(int tag) {
  switch (tag) {
    case 0:
      canvas_.Undo();
      break;
    case 1:
    case 2:
      links_.CutOrCopy(tag);
      break;
    case 3:
      links_.PasteFromClipboard();
      break;
    default:
      break;
  }
}

void TfrmMain::mnuDibSizeChangeClick() {
  TfrmDlgSize dialog;
  dialog.SetValues(project_.CanvasWidth(), project_.CanvasHeight());
  if (views_.RunSizeDialog(dialog)) links_.ResizeCanvas(dialog.resultWidth, dialog.resultHeight);
}

void TfrmMain::ShowToolWindow(int index, bool visible) {
  const WindowRow* window = SwitchedWindow(index);
  if (window == nullptr) return;
  windowShown[static_cast<std::size_t>(index)] = visible;
  links_.WindowSwitched(window->id, visible);
  Changed();
  views_.ShowWindow(window->id, visible);
}

void TfrmMain::WindowHidden(WindowId window) {
  const int index = WindowInfo(window).windowSwitch.index;
  if (index >= 0) ShowToolWindow(index, false);
}

bool TfrmMain::WindowChecked(int index) const {
  return SwitchedWindow(index) != nullptr && windowShown[static_cast<std::size_t>(index)];
}

void TfrmMain::MenuShowWindowFromMenu(int tag) {
  if (SwitchedWindow(tag) != nullptr) ShowToolWindow(tag, !WindowChecked(tag));
}

void TfrmMain::MenuShowWindowFromButton(int tag, bool down) {
  ShowToolWindow(tag, down);
}

void TfrmMain::mnuSettingClick() {
  TfrmDlgSetting dialog(canvas_, files_);
  dialog.FormShow();
  if (views_.RunSettingsDialog(dialog)) dialog.OKBtnClick();
}

void TfrmMain::mnuHelpContentsClick() {
  platform_.ShowHelp(programDir + kHelpFile);
}

void TfrmMain::mnuaboutClick() {
  views_.RunVersionDialog();
}

void TfrmMain::AddRecentFile(const std::string& path) {
  PushRecent(recentFiles, path);
  Changed();
}

void TfrmMain::AddRecentOpenFolder(const std::string& path) {
  PushRecent(recentOpenFolders, FolderOf(path));
  Changed();
}

void TfrmMain::AddRecentSaveFolder(const std::string& path) {
  PushRecent(recentSaveFolders, FolderOf(path));
  Changed();
}

}  // namespace mirasketch
