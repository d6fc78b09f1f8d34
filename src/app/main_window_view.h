#pragma once

#include <QMainWindow>
#include <vector>

#include "menu_bar.h"

class QAction;
class QToolBar;

namespace mirasketch {

class AppViews;
class TfrmMain;

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
  // Makes an item or button run the main window's handler of that name.
  void Connect(QAction* action, const char* name);
  // Runs a handler, then reads the state back: Qt flips a checkable item by itself, but the
  // handler decides whether the window really changed.
  template <typename F>
  void Run(F&& handler);

  TfrmMain& frm_;
  AppViews& views_;
  QToolBar* toolBar_ = nullptr;
  std::vector<QAction*> actions_;  // by the main window's control index
};

// The first `limit` characters of a dropped file's path.
QString DroppedPath(const QString& path, int limit);

}  // namespace mirasketch
