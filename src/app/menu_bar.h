#pragma once

#include <QString>
#include <functional>
#include <span>

#include "controls/menu.h"

class QAction;
class QMenuBar;

namespace mirasketch {

// Builds a window's menu into `bar`: menus, submenus and separators named as designed, and one
// action per item, named after it, with its shortcut (working from every window of the program),
// handed to `connect`.
void BuildMenuBar(QMenuBar* bar, std::span<const MenuEntry> menu,
                  const std::function<void(QAction*, const char* name)>& connect);

// A caption shown as it stands, without accelerators ('&' doubled): paths in recent lists.
QString PlainMenuCaption(const std::string& text);

}  // namespace mirasketch
