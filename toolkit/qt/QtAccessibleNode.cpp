#include "toolkit/qt/QtAccessibleNode.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace qv::toolkit {

namespace {

QAccessible::Role qtRole(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::WorkArea:
            return QAccessible::Client;
        case AccessibleRole::Frame:
            return QAccessible::Pane;
        case AccessibleRole::Table:
            return QAccessible::Table;
        case AccessibleRole::Cell:
            return QAccessible::Cell;
        case AccessibleRole::EditableText:
            return QAccessible::EditableText;
        case AccessibleRole::Text:
            return QAccessible::StaticText;
        case AccessibleRole::Tree:
            return QAccessible::Tree;
        case AccessibleRole::Group:
            return QAccessible::Grouping;
    }
    return QAccessible::Grouping;
}

}  // namespace

int indexAmongChildren(const std::shared_ptr<AccessibleNode>& node,
                       const QAccessibleInterface* child) {
    const auto* known = dynamic_cast<const QtAccessibleNode*>(child);
    if (!node || known == nullptr) return -1;
    const std::shared_ptr<AccessibleNode>& wanted = known->node();
    if (node->role() == AccessibleRole::Table) {
        // Row by row, without walking the cells.
        if (wanted->row() < 0 || wanted->column() < 0) return -1;
        if (!(wanted->parent() && wanted->parent()->key() == node->key())) return -1;
        std::int64_t index =
            static_cast<std::int64_t>(wanted->row()) * node->columnCount() + wanted->column();
        return index < node->childCount() ? static_cast<int>(index) : -1;
    }
    AccessibleKey key = wanted->key();
    for (std::int32_t index = 0, count = node->childCount(); index < count; ++index) {
        std::shared_ptr<AccessibleNode> candidate = node->child(index);
        if (candidate && candidate->key() == key) return index;
    }
    return -1;
}

QtAccessibleNode::QtAccessibleNode(QtAccessibleRegistry& owner,
                                   std::shared_ptr<AccessibleNode> node)
    : m_owner(owner),
      m_node(std::move(node)),
      m_lastValue(QString::fromStdString(m_node->value())) {}

QString QtAccessibleNode::takeLastValue() {
    QString before = m_lastValue;
    m_lastValue = QString::fromStdString(m_node->value());
    return before;
}

bool QtAccessibleNode::isValid() const {
    return m_node->isAlive();
}

QWindow* QtAccessibleNode::window() const {
    return m_owner.widget().window()->windowHandle();
}

QAccessibleInterface* QtAccessibleNode::focusChild() const {
    return m_owner.interfaceFor(m_node->focusedChild());
}

QAccessibleInterface* QtAccessibleNode::childAt(int x, int y) const {
    // A table's cells are too many to search; the others have few children.
    if (m_node->role() == AccessibleRole::Table) return nullptr;
    for (int index = childCount() - 1; index >= 0; --index) {
        QAccessibleInterface* candidate = child(index);
        if (candidate != nullptr && candidate->rect().contains(x, y)) return candidate;
    }
    return nullptr;
}

QAccessibleInterface* QtAccessibleNode::parent() const {
    std::shared_ptr<AccessibleNode> above = m_node->parent();
    if (!above) return nullptr;
    return m_owner.interfaceFor(above);
}

QAccessibleInterface* QtAccessibleNode::child(int index) const {
    return m_owner.interfaceFor(m_node->child(index));
}

int QtAccessibleNode::indexOfChild(const QAccessibleInterface* child) const {
    return indexAmongChildren(m_node, child);
}

QString QtAccessibleNode::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return QString::fromStdString(m_node->name());
        case QAccessible::Value:
            return QString::fromStdString(m_node->value());
        case QAccessible::Description:
            return QString::fromStdString(m_node->description());
        default:
            return {};
    }
}

QRect QtAccessibleNode::rect() const {
    Rect bounds = m_node->bounds();
    if (bounds.width <= 0 || bounds.height <= 0) return {};
    QPoint corner = m_owner.widget().mapToGlobal(QPoint(bounds.x, bounds.y));
    return {corner.x(), corner.y(), bounds.width, bounds.height};
}

QAccessible::Role QtAccessibleNode::role() const {
    return qtRole(m_node->role());
}

QAccessible::State QtAccessibleNode::state() const {
    QAccessible::State state;
    AccessibleRole role = m_node->role();
    state.focusable = role == AccessibleRole::Cell || role == AccessibleRole::EditableText ||
                      role == AccessibleRole::Frame;
    state.focused = m_node->isFocused() && m_owner.widget().hasFocus();
    state.selectable = role == AccessibleRole::Cell;
    state.selected = role == AccessibleRole::Cell && m_node->isFocused();
    state.editable = m_node->isEditable();
    state.readOnly =
        (role == AccessibleRole::Cell || role == AccessibleRole::Text) && !m_node->isEditable();
    state.invisible = rect().isEmpty() && role == AccessibleRole::Cell;
    state.multiLine = role == AccessibleRole::EditableText;
    return state;
}

void* QtAccessibleNode::interface_cast(QAccessible::InterfaceType type) {
    AccessibleRole role = m_node->role();
    if (type == QAccessible::TableInterface && role == AccessibleRole::Table)
        return static_cast<QAccessibleTableInterface*>(this);
    if (type == QAccessible::TableCellInterface && role == AccessibleRole::Cell)
        return static_cast<QAccessibleTableCellInterface*>(this);
    // A cell's shown value is its text: the platform's bridges pass a
    // value text on only through a text interface.
    if (type == QAccessible::TextInterface &&
        (role == AccessibleRole::EditableText || role == AccessibleRole::Text ||
         role == AccessibleRole::Cell))
        return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
}

QAccessibleInterface* QtAccessibleNode::cellAt(int row, int column) const {
    return m_owner.interfaceFor(m_node->cell(row, column));
}

int QtAccessibleNode::selectedCellCount() const {
    return m_node->focusedChild() ? 1 : 0;
}

QList<QAccessibleInterface*> QtAccessibleNode::selectedCells() const {
    QAccessibleInterface* current = m_owner.interfaceFor(m_node->focusedChild());
    if (current == nullptr) return {};
    return {current};
}

QString QtAccessibleNode::columnDescription(int column) const {
    return QString::fromStdString(m_node->columnHeader(column));
}

QString QtAccessibleNode::rowDescription(int row) const {
    return QString::fromStdString(m_node->rowHeader(row));
}

void QtAccessibleNode::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int QtAccessibleNode::cursorPosition() const {
    std::string value = m_node->value();
    std::int32_t caret = m_node->caret();
    if (caret < 0) return 0;
    caret = std::min<std::int32_t>(caret, static_cast<std::int32_t>(value.size()));
    return static_cast<int>(QString::fromUtf8(value.data(), caret).size());
}

QString QtAccessibleNode::text(int startOffset, int endOffset) const {
    QString all = QString::fromStdString(m_node->value());
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    endOffset = std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int QtAccessibleNode::characterCount() const {
    return static_cast<int>(QString::fromStdString(m_node->value()).size());
}

QString QtAccessibleNode::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = offset;
    *endOffset = offset;
    return {};
}

}  // namespace qv::toolkit
