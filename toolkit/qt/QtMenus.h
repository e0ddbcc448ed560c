// Menus of the toolkit (plain data) as Qt menus. Captions keep their "&"
// access letters; text after a tab shows as the item's key; a shortcut
// written on the item ("Ctrl+N") is bound, so the key chooses the item.
#pragma once

#include <cstdint>
#include <functional>

#include "toolkit/Menu.h"

class QMenu;
class QMenuBar;

namespace qv::toolkit {

using MenuChosen = std::function<void(std::int32_t id)>;

void fillMenuBar(QMenuBar& bar, const MenuBar& menus, const MenuChosen& chosen);
void fillMenu(QMenu& menu, const std::vector<MenuItem>& items, const MenuChosen& chosen);

}  // namespace qv::toolkit
