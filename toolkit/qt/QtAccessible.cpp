#include "toolkit/qt/QtAccessible.h"

#include <QAccessibleWidget>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace qv::toolkit {

namespace {

// Readers walking a huge grid's cells could register one interface per
// cell for ever; past this many the registry starts again.
constexpr std::size_t kMostInterfaces = 20000;

std::vector<QtAccessibility*> g_registries;

// The work area widget: a client area whose children are the root node's.
// It finds its registry again on every call: the widget's registry goes
// before the widget, whose last events may still ask this interface.
class QtAccessibleWorkArea final : public QAccessibleWidget {
  public:
    explicit QtAccessibleWorkArea(QWidget* area) : QAccessibleWidget(area, QAccessible::Client) {}

    QString text(QAccessible::Text t) const override {
        std::shared_ptr<AccessibleNode> root = rootNode();
        if (t == QAccessible::Name && root) return QString::fromStdString(root->name());
        return QAccessibleWidget::text(t);
    }
    int childCount() const override {
        std::shared_ptr<AccessibleNode> root = rootNode();
        return root ? root->childCount() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        std::shared_ptr<AccessibleNode> root = rootNode();
        return root ? registry()->interfaceFor(root->child(index)) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return indexAmongChildren(rootNode(), child);
    }
    QAccessibleInterface* focusChild() const override {
        std::shared_ptr<AccessibleNode> root = rootNode();
        return root ? registry()->interfaceFor(root->focusedChild()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = childCount() - 1; index >= 0; --index) {
            QAccessibleInterface* candidate = child(index);
            if (candidate != nullptr && candidate->rect().contains(x, y)) return candidate;
        }
        return nullptr;
    }

  private:
    QtAccessibility* registry() const { return QtAccessibility::of(object()); }
    std::shared_ptr<AccessibleNode> rootNode() const {
        QtAccessibility* found = registry();
        return found == nullptr ? nullptr : found->root();
    }
};

QAccessibleInterface* workAreaFactory(const QString&, QObject* object) {
    QtAccessibility* registry = QtAccessibility::of(object);
    if (registry == nullptr) return nullptr;
    return new QtAccessibleWorkArea(&registry->widget());
}

}  // namespace

QtAccessibility::QtAccessibility(QWidget& area) : m_area(area) {
    g_registries.push_back(this);
}

QtAccessibility::~QtAccessibility() {
    forgetAll();
    g_registries.erase(std::remove(g_registries.begin(), g_registries.end(), this),
                       g_registries.end());
}

QtAccessibility* QtAccessibility::of(const QObject* object) {
    for (QtAccessibility* registry : g_registries) {
        if (&registry->m_area == object) return registry;
    }
    return nullptr;
}

void QtAccessibility::installFactory() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(workAreaFactory);
}

void QtAccessibility::setRoot(std::shared_ptr<AccessibleNode> root) {
    forgetAll();
    m_root = std::move(root);
}

void QtAccessibility::forgetAll() {
    std::unordered_map<AccessibleKey, QAccessible::Id, AccessibleKeyHash> ids;
    ids.swap(m_ids);
    for (const auto& [key, id] : ids) {
        if (QAccessible::accessibleInterface(id) != nullptr)
            QAccessible::deleteAccessibleInterface(id);
    }
}

void QtAccessibility::forgetGone() {
    for (auto at = m_ids.begin(); at != m_ids.end();) {
        QAccessibleInterface* known = QAccessible::accessibleInterface(at->second);
        if (known != nullptr && known->isValid()) {
            ++at;
            continue;
        }
        if (known != nullptr) QAccessible::deleteAccessibleInterface(at->second);
        at = m_ids.erase(at);
    }
}

QAccessibleInterface* QtAccessibility::interfaceFor(const std::shared_ptr<AccessibleNode>& node) {
    if (!node) return nullptr;
    if (!node->parent()) return QAccessible::queryAccessibleInterface(&m_area);
    AccessibleKey key = node->key();
    if (auto found = m_ids.find(key); found != m_ids.end()) {
        if (auto* known =
                static_cast<QtAccessibleNode*>(QAccessible::accessibleInterface(found->second))) {
            known->renew(node);
            return known;
        }
        m_ids.erase(found);
    }
    if (m_ids.size() >= kMostInterfaces) forgetAll();
    auto* made = new QtAccessibleNode(*this, node);
    m_ids.emplace(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

void QtAccessibility::changed(AccessibleChange change,
                              const std::shared_ptr<AccessibleNode>& node) {
    if (!node) return;
    if (change == AccessibleChange::Structure) {
        // Frames came, went or changed places: the interfaces of what
        // left the tree go, the others stay as readers know them.
        forgetGone();
        if (!QAccessible::isActive()) return;
        QAccessibleEvent event(&m_area, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
        return;
    }
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* target = interfaceFor(node);
    if (target == nullptr) return;
    if (change == AccessibleChange::Focus) {
        if (!m_area.hasFocus()) return;
        QAccessibleEvent event(target, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        return;
    }
    if (!node->parent()) return;
    auto* changedNode = static_cast<QtAccessibleNode*>(target);
    QString before = changedNode->takeLastValue();
    QString now = QString::fromStdString(node->value());
    if (node->role() == AccessibleRole::EditableText || node->role() == AccessibleRole::Text) {
        QAccessibleTextUpdateEvent event(target, 0, before, now);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleValueChangeEvent event(target, now);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace qv::toolkit
