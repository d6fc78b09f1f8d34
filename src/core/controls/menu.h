#pragma once

#include <span>
#include <vector>

#include "controls/window_controls.h"

namespace mirasketch {

// One entry of a window's menu as the view builds it: a top-level menu, a submenu, an item or a
// separator, with its design name, caption (accelerator letter included), shortcut and Tag.
struct MenuEntry {
  enum Kind { kMenu, kSubmenu, kItem, kSeparator, kEnd } kind;
  const char* name;
  const char* caption;
  const char* shortcut;  // "Ctrl+O" or ""
  int tag;
};

// The controls of a menu: one menu item per item entry, its parent the name of the menu or
// submenu that holds it (kEnd closes a menu or submenu).
std::vector<ControlSpec> MenuControls(std::span<const MenuEntry> menu);

}  // namespace mirasketch
