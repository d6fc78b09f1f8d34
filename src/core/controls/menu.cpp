#include "controls/menu.h"

namespace mirasketch {

std::vector<ControlSpec> MenuControls(std::span<const MenuEntry> menu) {
  std::vector<ControlSpec> specs;
  std::vector<const char*> menus;
  for (const MenuEntry& entry : menu) {
    if (entry.kind == MenuEntry::kMenu || entry.kind == MenuEntry::kSubmenu) {
      menus.push_back(entry.name);
    } else if (entry.kind == MenuEntry::kEnd) {
      if (!menus.empty()) menus.pop_back();
    } else if (entry.kind == MenuEntry::kItem) {
      specs.push_back({entry.name, ControlKind::kMenuItem, menus.empty() ? "" : menus.back(), 0, 0,
                       0, 0, entry.caption, 0, 0, 1, entry.tag});
    }
  }
  return specs;
}

}  // namespace mirasketch
