// Help > Keyboard Shortcuts: the keys of the menu items, read from the
// very menus the menu bar is built from (so the list cannot drift from
// them), and the keys that are no menu item, from one table.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "toolkit/Menu.h"

namespace qv {

struct ShortcutLine {
    // The caption as shown, without its "&" access letter.
    std::string action;
    // "Ctrl+N", or two keys joined by " or ".
    std::string keys;

    bool operator==(const ShortcutLine&) const = default;
};

struct ShortcutGroup {
    std::string title;
    std::vector<ShortcutLine> lines;
};

// The keys that work without a menu item, and their group's title.
inline constexpr const char* kKeysWithoutMenuItemTitle = "Views and cells";
std::span<const ShortcutLine> keysWithoutMenuItem();

// A group per menu of the bar that has an item with a key (a submenu's
// items count as their menu's), then the keys without a menu item.
std::vector<ShortcutGroup> shortcutGroups(const toolkit::MenuBar& menus);

// The groups as the text the window shows.
std::string shortcutListText(const std::vector<ShortcutGroup>& groups);

}  // namespace qv
