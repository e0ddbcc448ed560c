#include "desktop/KeyboardShortcuts.h"

#include <array>

namespace qv {

namespace {

// What a user can do without the mouse beyond the menus.
const std::array<ShortcutLine, 12> kKeysWithoutMenuItem{{
    {"Next view", "F6"},
    {"Previous view", "Shift+F6"},
    {"Next view", "Ctrl+Tab"},
    {"Previous view", "Ctrl+Shift+Tab"},
    {"Undo", "Ctrl+Z"},
    {"Redo", "Ctrl+Y or Ctrl+Shift+Z"},
    {"Edit the current cell, rename a node", "F2"},
    {"Next cell, previous cell", "Tab, Shift+Tab"},
    {"Cell below, open the table of a line", "Enter"},
    {"Delete the field or table of the name", "Ctrl+Delete"},
    {"Cancel an edit, stop a computation", "Esc"},
    {"Zoom in and out", "Ctrl+Wheel"},
}};

// "Save &As..." is shown "Save As...", "&&" as one "&".
std::string withoutAccessLetter(const std::string& caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

// Items name their key either as the shortcut the backend binds or after
// a tab in the caption (a key the work area handles itself).
void collect(const toolkit::MenuItem& item, std::vector<ShortcutLine>& lines) {
    for (const toolkit::MenuItem& sub : item.items)
        collect(sub, lines);
    if (item.separator || !item.items.empty()) return;
    std::string caption = item.caption;
    std::string keys = item.shortcut;
    if (std::size_t tab = caption.find('\t'); tab != std::string::npos) {
        if (keys.empty()) keys = caption.substr(tab + 1);
        caption.erase(tab);
    }
    if (keys.empty()) return;
    if (!item.alternateShortcut.empty()) keys += " or " + item.alternateShortcut;
    lines.push_back({withoutAccessLetter(caption), keys});
}

}  // namespace

std::span<const ShortcutLine> keysWithoutMenuItem() {
    return kKeysWithoutMenuItem;
}

std::vector<ShortcutGroup> shortcutGroups(const toolkit::MenuBar& menus) {
    std::vector<ShortcutGroup> groups;
    for (const toolkit::MenuItem& menu : menus) {
        ShortcutGroup group{withoutAccessLetter(menu.caption), {}};
        collect(menu, group.lines);
        if (!group.lines.empty()) groups.push_back(std::move(group));
    }
    groups.push_back(
        {kKeysWithoutMenuItemTitle, {kKeysWithoutMenuItem.begin(), kKeysWithoutMenuItem.end()}});
    return groups;
}

std::string shortcutListText(const std::vector<ShortcutGroup>& groups) {
    std::string text;
    for (const ShortcutGroup& group : groups) {
        if (!text.empty()) text += "\n";
        text += group.title + "\n";
        for (const ShortcutLine& line : group.lines)
            text += "    " + line.keys + "    " + line.action + "\n";
    }
    return text;
}

}  // namespace qv
