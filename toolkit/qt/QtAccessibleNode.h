// One node of the work area in Qt's accessibility framework: a frame, a
// view, a table with its cells, a text. It answers from the node it wraps,
// which answers from the program's elements, so nothing it says is a copy.
#pragma once

#include <QAccessible>
#include <QWidget>
#include <memory>

#include "toolkit/Accessible.h"

namespace qv::toolkit {

// What a node's interface asks of the work area's registry.
class QtAccessibleRegistry {
  public:
    // The interface for a node (see QtAccessibility); null for null.
    virtual QAccessibleInterface* interfaceFor(const std::shared_ptr<AccessibleNode>& node) = 0;
    // The work area widget, for screen positions and the focus.
    virtual QWidget& widget() const = 0;

  protected:
    ~QtAccessibleRegistry() = default;
};

// Where `child` stands among the children of `node`; -1 when it is none.
int indexAmongChildren(const std::shared_ptr<AccessibleNode>& node,
                       const QAccessibleInterface* child);

class QtAccessibleNode final : public QAccessibleInterface,
                               public QAccessibleTableInterface,
                               public QAccessibleTableCellInterface,
                               public QAccessibleTextInterface {
  public:
    QtAccessibleNode(QtAccessibleRegistry& owner, std::shared_ptr<AccessibleNode> node);

    // The same thing asked for again: the newer node answers from now on.
    void renew(std::shared_ptr<AccessibleNode> node) { m_node = std::move(node); }
    const std::shared_ptr<AccessibleNode>& node() const noexcept { return m_node; }
    // The value last reported as changed, for the change after it.
    QString takeLastValue();

    // QAccessibleInterface.
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* focusChild() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return m_node->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface.
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return m_node->columnCount(); }
    int rowCount() const override { return m_node->rowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // Selection stays the user's, by keyboard and mouse.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // QAccessibleTableCellInterface.
    bool isSelected() const override { return m_node->isFocused(); }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_node->column(); }
    int rowIndex() const override { return m_node->row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleTextInterface: offsets count UTF-16 units, as Qt's do.
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    // The caret is the user's: a reader reads, the keyboard moves it.
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override;

  private:
    QtAccessibleRegistry& m_owner;
    std::shared_ptr<AccessibleNode> m_node;
    QString m_lastValue;
};

}  // namespace qv::toolkit
