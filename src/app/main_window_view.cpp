#include "main_window_view.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cstring>
#include <vector>

#include "app_views.h"
#include "platform/window_table.h"
#include "shell/main_window.h"
#include "tool_bar_glyphs.h"

namespace mirasketch {

namespace {

// The longest dropped path passed on.
constexpr int kDropPathLimit = 254;

bool IsFamily(const char* name, const char* prefix) {
  const std::size_t n = std::strlen(prefix);
  if (std::strncmp(name, prefix, n) != 0 || name[n] == '\0') return false;
  for (const char* p = name + n; *p != '\0'; ++p)
    if (*p < '0' || *p > '9') return false;
  return true;
}

bool Is(const char* name, const char* expected) {
  return std::strcmp(name, expected) == 0;
}

bool IsWindowSwitch(const char* name) {
  for (const WindowRow& window : WindowTable())
    if (Is(name, window.windowSwitch.menuItem)) return true;
  return false;
}

QUrl FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url;
  return {};
}

}  // namespace

QString PlainMenuCaption(const std::string& text) {
  return QString::fromStdString(text).replace('&', "&&");
}

QString DroppedPath(const QString& path, int limit) {
  const std::u32string points = path.toStdU32String();
  if (points.size() <= static_cast<std::size_t>(limit)) return path;
  return QString::fromStdU32String(points.substr(0, static_cast<std::size_t>(limit)));
}

MainWindowView::MainWindowView(TfrmMain& frmMain, AppViews& views)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint),
      frm_(frmMain),
      views_(views),
      windowItems_(static_cast<std::size_t>(WindowSwitchCount())),
      windowButtons_(static_cast<std::size_t>(WindowSwitchCount())) {
  const WindowRow& design = WindowInfo(WindowId::frmMain);
  setObjectName(design.objectName);
  setWindowTitle(QString::fromUtf8(design.caption));
  setAcceptDrops(true);
  BuildMenu();
  BuildToolBar();
  // The tool bar fills the designed client area under the menu; the bar grows only if the
  // menu's captions need more room.
  const int width = std::max(design.clientWidth, menuBar()->sizeHint().width());
  setFixedSize(width, menuBar()->sizeHint().height() + design.clientHeight);
  move(design.left, design.top);
  ReadState();
}

template <typename F>
void MainWindowView::Run(F&& handler) {
  views_.Forward(handler);
  ReadState();
}

void MainWindowView::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  bar->setNativeMenuBar(false);
  std::vector<QMenu*> open;
  for (const MenuEntry& entry : MainMenu()) {
    const QString caption = QString::fromUtf8(entry.caption != nullptr ? entry.caption : "");
    switch (entry.kind) {
      case MenuEntry::kMenu:
      case MenuEntry::kSubmenu: {
        QMenu* menu = open.empty() || entry.kind == MenuEntry::kMenu
                          ? bar->addMenu(caption)
                          : open.back()->addMenu(caption);
        menu->setObjectName(entry.name);
        menu->menuAction()->setObjectName(entry.name);
        open.push_back(menu);
        break;
      }
      case MenuEntry::kItem: {
        if (open.empty()) break;
        QAction* action = open.back()->addAction(caption);
        action->setObjectName(entry.name);
        if (entry.shortcut != nullptr && entry.shortcut[0] != '\0') {
          action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
          // Like the menu of the program's main window, its shortcuts work from every window of
          // the program; text fields keep their own editing keys.
          action->setShortcutContext(Qt::ApplicationShortcut);
        }
        ConnectItem(action, entry);
        break;
      }
      case MenuEntry::kSeparator:
        if (!open.empty())
          open.back()->addSeparator()->setObjectName(entry.name != nullptr ? entry.name : "");
        break;
      case MenuEntry::kEnd:
        if (!open.empty()) open.pop_back();
        break;
    }
  }
  // The shortcuts must reach the window's action list to work while only the bar is shown.
  for (QAction* action : bar->findChildren<QAction*>())
    if (!action->shortcut().isEmpty()) addAction(action);
}

void MainWindowView::ConnectItem(QAction* action, const MenuEntry& entry) {
  const char* name = entry.name;
  const int tag = entry.tag;
  auto on = [this, action](auto handler) {
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  };
  TfrmMain& f = frm_;
  if (IsFamily(name, "mnuPastFile")) {
    if (tag >= 0 && tag < 8) pastFiles_[static_cast<std::size_t>(tag)] = action;
    on([&f, tag] { f.MenuOpenPastFile(tag); });
  } else if (IsFamily(name, "mnuOpenPF")) {
    if (tag >= 0 && tag < 4) openFolders_[static_cast<std::size_t>(tag)] = action;
    on([&f, tag] { f.MenuOpenPastFolder(tag); });
  } else if (IsFamily(name, "mnuSavePF")) {
    if (tag >= 0 && tag < 4) saveFolders_[static_cast<std::size_t>(tag)] = action;
    on([&f, tag] { f.MenuSavePastFolder(tag); });
  } else if (IsWindowSwitch(name)) {
    action->setCheckable(true);
    if (SwitchedWindow(tag) != nullptr) windowItems_[static_cast<std::size_t>(tag)] = action;
    on([&f, tag] { f.MenuShowWindowFromMenu(tag); });
  } else if (Is(name, "mnuUndo") || Is(name, "mnuCut") || Is(name, "mnuCopy") ||
             Is(name, "mnuPaste")) {
    on([&f, tag] { f.mnuCutClick(tag); });
  } else if (Is(name, "mnuNewBmp")) {
    on([&f] { f.mnuNewBmpClick(); });
  } else if (Is(name, "mnuOpenFile")) {
    on([&f] { f.mnuOpenFileClick(); });
  } else if (Is(name, "mnuSaveFile")) {
    on([&f] { f.mnuSaveFileClick(); });
  } else if (Is(name, "mnuSaveFileAs")) {
    on([&f] { f.mnuSaveFileAsClick(); });
  } else if (Is(name, "mnuExit")) {
    on([&f] { f.mnuExitClick(); });
  } else if (Is(name, "mnuDibSizeChange")) {
    on([&f] { f.mnuDibSizeChangeClick(); });
  } else if (Is(name, "mnuSetting")) {
    on([&f] { f.mnuSettingClick(); });
  } else if (Is(name, "mnuHelpContents")) {
    on([&f] { f.mnuHelpContentsClick(); });
  } else if (Is(name, "mnuabout")) {
    on([&f] { f.mnuaboutClick(); });
  } else {
    qWarning("Menu item %s has no handler", name);
  }
}

void MainWindowView::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("ToolBar1");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar_->setContentsMargins(0, 0, 0, 0);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  for (const ToolBarEntry& entry : MainToolBar()) {
    if (entry.image < 0) {
      toolBar_->addSeparator()->setObjectName(entry.name);
      continue;
    }
    QAction* action = toolBar_->addAction(ToolBarGlyph(entry.image), QString());
    action->setObjectName(entry.name);
    if (QWidget* button = toolBar_->widgetForAction(action)) button->setObjectName(entry.name);
    ConnectButton(action, entry);
  }
}

void MainWindowView::ConnectButton(QAction* action, const ToolBarEntry& entry) {
  TfrmMain& f = frm_;
  const int tag = entry.tag;
  if (entry.toggle) {
    action->setCheckable(true);
    if (SwitchedWindow(tag) != nullptr) windowButtons_[static_cast<std::size_t>(tag)] = action;
    // The button has already flipped when the click arrives; its new state is the request.
    connect(action, &QAction::triggered, this, [this, &f, tag](bool down) {
      Run([&f, tag, down] { f.MenuShowWindowFromButton(tag, down); });
    });
    return;
  }
  const char* name = entry.name;
  std::function<void()> handler;
  if (Is(name, "tlbNewBmp")) {
    handler = [&f] { f.mnuNewBmpClick(); };
  } else if (Is(name, "tlbOpen")) {
    handler = [&f] { f.mnuOpenFileClick(); };
  } else if (Is(name, "tlbSave")) {
    handler = [&f] { f.mnuSaveFileClick(); };
  } else {
    qWarning("Tool button %s has no handler", name);
    return;
  }
  connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
}

void MainWindowView::ReadState() {
  for (std::size_t i = 0; i < pastFiles_.size(); ++i)
    if (pastFiles_[i])
      pastFiles_[i]->setText(PlainMenuCaption(TfrmMain::RecentCaption(frm_.recentFiles[i])));
  for (std::size_t i = 0; i < openFolders_.size(); ++i)
    if (openFolders_[i])
      openFolders_[i]->setText(
          PlainMenuCaption(TfrmMain::RecentCaption(frm_.recentOpenFolders[i])));
  for (std::size_t i = 0; i < saveFolders_.size(); ++i)
    if (saveFolders_[i])
      saveFolders_[i]->setText(
          PlainMenuCaption(TfrmMain::RecentCaption(frm_.recentSaveFolders[i])));
  for (std::size_t i = 0; i < windowItems_.size(); ++i) {
    const bool shown = frm_.WindowChecked(static_cast<int>(i));
    if (QAction* item = windowItems_[i]) item->setChecked(shown);
    if (QAction* button = windowButtons_[i]) button->setChecked(shown);
  }
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  if (views_.ShuttingDown()) {
    event->accept();
    return;
  }
  bool closing = false;
  views_.Forward([&] { closing = frm_.FormClose(); });
  if (!closing) {
    event->ignore();
    return;
  }
  event->accept();
  views_.Quit();
}

void MainWindowView::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindowView::dropEvent(QDropEvent* event) {
  const QUrl url = FirstLocalFile(event->mimeData());
  if (url.isEmpty()) return;
  event->acceptProposedAction();
  const QString path = DroppedPath(url.toLocalFile(), kDropPathLimit);
  Run([this, path] { frm_.OpenDroppedFile(path.toStdString()); });
}

}  // namespace mirasketch
