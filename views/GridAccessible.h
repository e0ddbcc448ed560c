// A grid as screen readers see it: a table with the model's rows and
// columns, whose cells are made one by one when a reader asks for them
// (never a node per row: a million rows cost what ten do). A cell is named
// by its model ("Loan row 12, closing"), its value is the text the grid
// shows and an error cell describes its error in full. The other views'
// nodes (result views, the project view's sides and tree) are made here
// too.
#pragma once

#include <memory>
#include <string>

#include "editing/EditableAccessible.h"
#include "views/TableEditable.h"

namespace qv {

class GridNode final : public EditableNode {
  public:
    GridNode(const TableEditable& grid, AccessibleNodePointer parent);

    std::string name() const override;
    // The cells row by row.
    std::int32_t childCount() const override;
    AccessibleNodePointer child(std::int32_t index) const override;
    std::int32_t rowCount() const override;
    std::int32_t columnCount() const override;
    AccessibleNodePointer cell(std::int32_t row, std::int32_t column) const override;
    // The texts of the header rows above the column, of the leading columns
    // beside the row.
    std::string columnHeader(std::int32_t column) const override;
    std::string rowHeader(std::int32_t row) const override;
    // The grid's current cell.
    AccessibleNodePointer focusedChild() const override;

  private:
    TableEditable& grid() const {
        return const_cast<TableEditable&>(static_cast<const TableEditable&>(editable()));
    }
};

class GridCellNode final : public toolkit::AccessibleNode {
  public:
    GridCellNode(const TableEditable& grid, AccessibleNodePointer table, std::int32_t row,
                 std::int32_t column);

    toolkit::AccessibleKey key() const override { return {m_grid.get(), m_row, m_column}; }
    toolkit::AccessibleRole role() const override { return toolkit::AccessibleRole::Cell; }
    std::string name() const override;
    std::string value() const override;
    std::string description() const override;
    // Where the grid draws it; empty when scrolled out of sight.
    toolkit::Rect bounds() const override;
    bool isAlive() const override;
    bool isFocused() const override;
    bool isError() const override;
    AccessibleNodePointer parent() const override { return m_table; }
    std::int32_t row() const override { return m_row; }
    std::int32_t column() const override { return m_column; }
    bool isEditable() const override;

  private:
    Pointer<CellModel> cellModel() const;

    Pointer<TableEditable> m_grid;
    AccessibleNodePointer m_table;
    std::int32_t m_row;
    std::int32_t m_column;
};

}  // namespace qv
