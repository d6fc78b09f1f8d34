#include "main_window_view.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <string_view>
#include <vector>

#include "app_views.h"
#include "menu_bar.h"
#include "platform/window_table.h"
#include "shell/main_window.h"
#include "tool_bar_glyphs.h"

namespace mirasketch {

namespace {

// The longest dropped path passed on.
constexpr int kDropPathLimit = 254;

bool IsWindowSwitch(std::string_view name) {
  for (const WindowRow& window : WindowTable())
    if (name == window.windowSwitch.menuItem) return true;
  return false;
}

bool IsRecentList(std::string_view menu) {
  return menu == "mnuOpenPastFile" || menu == "mnuOpenPastFolder" || menu == "mnuSavePastFolder";
}

QUrl FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url;
  return {};
}

}  // namespace

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
      actions_(frmMain.Controls().Specs().size()) {
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
  const std::vector<MenuEntry> menu = MainMenu();
  BuildMenuBar(bar, menu, [this](QAction* action, const char* name) { Connect(action, name); });
  // The shortcuts must reach the window's action list to work while only the bar is shown.
  for (QAction* action : bar->findChildren<QAction*>())
    if (!action->shortcut().isEmpty()) addAction(action);
}

void MainWindowView::Connect(QAction* action, const char* name) {
  const ControlSet& controls = frm_.Controls();
  const int index = controls.Find(name);
  if (index < 0) {
    qWarning("Menu item or button %s has no handler", name);
    return;
  }
  actions_[static_cast<std::size_t>(index)] = action;
  const ControlSpec& design = controls.Specs()[static_cast<std::size_t>(index)];
  if (design.kind == ControlKind::kToggleButton || IsWindowSwitch(name)) action->setCheckable(true);
  // Qt flips a checkable item by itself; the core decides, and the state is read back after.
  connect(action, &QAction::triggered, this,
          [this, name] { Run([this, name] { frm_.Click(name); }); });
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
    Connect(action, entry.name);
  }
}

void MainWindowView::ReadState() {
  const ControlSet& controls = frm_.Controls();
  const auto designs = controls.Specs();
  const auto states = controls.States();
  for (std::size_t i = 0; i < actions_.size(); ++i) {
    QAction* action = actions_[i];
    if (action == nullptr) continue;
    if (action->isCheckable()) action->setChecked(states[i].checked);
    // The recent lists' items show paths, whose '&' is no accelerator.
    if (IsRecentList(designs[i].parent)) action->setText(PlainMenuCaption(states[i].caption));
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
