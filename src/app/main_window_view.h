#pragma once

#include <QMainWindow>
#include <array>
#include <vector>

class QAction;
class QToolBar;

namespace mirasketch {

class AppViews;
class TfrmMain;
struct MenuEntry;
struct ToolBarEntry;

// The main window: the program's menu and tool bar. Every command goes to the main window's
// handler of the same name; captions, check marks and button states are read back from it.
class MainWindowView : public QMainWindow {
  Q_OBJECT

 public:
  MainWindowView(TfrmMain& frmMain, AppViews& views);

  // Reads the recent-list captions and the window switches' states again.
  void ReadState();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void BuildToolBar();
  void ConnectItem(QAction* action, const MenuEntry& entry);
  void ConnectButton(QAction* action, const ToolBarEntry& entry);
  // Runs a handler, then reads the state back: Qt flips a checkable item by itself, but the
  // handler decides whether the window really changed.
  template <typename F>
  void Run(F&& handler);

  TfrmMain& frm_;
  AppViews& views_;
  QToolBar* toolBar_ = nullptr;
  std::array<QAction*, 8> pastFiles_{};
  std::array<QAction*, 4> openFolders_{};
  std::array<QAction*, 4> saveFolders_{};
  std::vector<QAction*> windowItems_;  // by switch Tag
  std::vector<QAction*> windowButtons_;
};

// A path as a menu caption: '&' doubled so it is shown and not taken as an accelerator.
QString PlainMenuCaption(const std::string& text);
// The first `limit` characters of a dropped file's path.
QString DroppedPath(const QString& path, int limit);

}  // namespace mirasketch
