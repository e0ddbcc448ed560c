#include "toolkit/qt/QtMenus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace qv::toolkit {

namespace {

QString captionOf(const MenuItem& item) {
    return QString::fromStdString(item.caption);
}

// An item that chooses something (not a submenu), made by `owner`.
QAction* makeAction(QObject* owner, const MenuItem& item, const MenuChosen& chosen) {
    auto* action = new QAction(captionOf(item), owner);
    QList<QKeySequence> keys;
    for (const std::string* shortcut : {&item.shortcut, &item.alternateShortcut}) {
        if (!shortcut->empty())
            keys.append(
                QKeySequence(QString::fromStdString(*shortcut), QKeySequence::PortableText));
    }
    // The first is the one the menu shows.
    if (!keys.isEmpty()) action->setShortcuts(keys);
    action->setEnabled(item.enabled);
    action->setCheckable(item.checkable);
    action->setChecked(item.checked);
    QObject::connect(action, &QAction::triggered, [chosen, id = item.id] { chosen(id); });
    return action;
}

}  // namespace

void fillMenu(QMenu& menu, const std::vector<MenuItem>& items, const MenuChosen& chosen) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (!item.items.empty()) {
            fillMenu(*menu.addMenu(captionOf(item)), item.items, chosen);
        } else {
            menu.addAction(makeAction(&menu, item, chosen));
        }
    }
}

void fillMenuBar(QMenuBar& bar, const MenuBar& menus, const MenuChosen& chosen) {
    for (const MenuItem& item : menus) {
        if (item.separator) {
            bar.addSeparator();
        } else if (!item.items.empty()) {
            fillMenu(*bar.addMenu(captionOf(item)), item.items, chosen);
        } else {
            bar.addAction(makeAction(&bar, item, chosen));
        }
    }
}

}  // namespace qv::toolkit
