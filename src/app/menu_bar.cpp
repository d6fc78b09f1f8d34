#include "menu_bar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace mirasketch {

void BuildMenuBar(QMenuBar* bar, std::span<const MenuEntry> menu,
                  const std::function<void(QAction*, const char* name)>& connect) {
  std::vector<QMenu*> open;
  for (const MenuEntry& entry : menu) {
    const QString caption = QString::fromUtf8(entry.caption != nullptr ? entry.caption : "");
    switch (entry.kind) {
      case MenuEntry::kMenu:
      case MenuEntry::kSubmenu: {
        QMenu* sub = open.empty() || entry.kind == MenuEntry::kMenu ? bar->addMenu(caption)
                                                                    : open.back()->addMenu(caption);
        sub->setObjectName(entry.name);
        sub->menuAction()->setObjectName(entry.name);
        open.push_back(sub);
        break;
      }
      case MenuEntry::kItem: {
        // An item outside any menu sits on the bar itself.
        QAction* action = open.empty() ? bar->addAction(caption) : open.back()->addAction(caption);
        action->setObjectName(entry.name);
        if (entry.shortcut != nullptr && entry.shortcut[0] != '\0') {
          action->setShortcut(QKeySequence(QString::fromUtf8(entry.shortcut)));
          // Like the menu of the program's main window, its shortcuts work from every window of
          // the program; text fields keep their own editing keys.
          action->setShortcutContext(Qt::ApplicationShortcut);
        }
        connect(action, entry.name);
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
}

QString PlainMenuCaption(const std::string& text) {
  return QString::fromStdString(text).replace('&', "&&");
}

}  // namespace mirasketch
