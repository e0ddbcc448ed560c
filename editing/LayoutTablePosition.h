// A cell of a layout table: where a view stood before it was detached, or
// where a drop put it. The table's row and column counts of that moment
// tell a later drop whether a row or column that emptied since must come
// back before the view does.
#pragma once

#include <cstdint>

#include "editing/Positions.h"

namespace qv {

class LayoutTablePosition final : public AbstractPosition {
    QV_OBJECT(LayoutTablePosition, AbstractPosition, "LayoutTablePosition")
  public:
    LayoutTablePosition(const Pointer<AbstractEditable>& table, std::int32_t row,
                        std::int32_t column, std::int32_t rowCount, std::int32_t columnCount)
        : m_table(table),
          m_row(row),
          m_column(column),
          m_rowCount(rowCount),
          m_columnCount(columnCount) {}

    Pointer<AbstractEditable> container() const override { return m_table; }
    std::int32_t row() const noexcept { return m_row; }
    std::int32_t column() const noexcept { return m_column; }
    std::int32_t rowCount() const noexcept { return m_rowCount; }
    std::int32_t columnCount() const noexcept { return m_columnCount; }

    StringPointer describe() const override;

  private:
    Pointer<AbstractEditable> m_table;
    std::int32_t m_row;
    std::int32_t m_column;
    std::int32_t m_rowCount;
    std::int32_t m_columnCount;
};

}  // namespace qv
