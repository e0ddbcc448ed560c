// Menus as plain data: a caption with its "&" access letter, an id the
// listener is told when the item is chosen, an optional shortcut shown and
// bound by the backend (and a second key bound to the same item), sub-items
// for a menu of the bar or a submenu, and whether the item can be chosen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv::toolkit {

struct MenuItem {
    std::string caption;
    std::int32_t id = 0;
    // Written as the platforms name keys: "Ctrl+N", "Ctrl+Shift+S".
    std::string shortcut;
    std::vector<MenuItem> items;
    bool separator = false;
    // Shown greyed, never chosen.
    bool enabled = true;
    // One of a set of choices, with a mark when it is the one chosen.
    bool checkable = false;
    bool checked = false;
    // Bound too, not shown: Ctrl+= beside Ctrl++ on keyboards without a
    // plus key of its own.
    std::string alternateShortcut{};

    static MenuItem separatorItem() {
        MenuItem item;
        item.separator = true;
        return item;
    }
};

// The bar's menus, or the entries of a context menu.
using MenuBar = std::vector<MenuItem>;

}  // namespace qv::toolkit
