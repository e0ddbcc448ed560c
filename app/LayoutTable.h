// LayoutTable: a layout table ("panel") as plain data — a grid of rows and
// columns, at least 1 by 1, whose occupied cells hold frames. It writes
// itself as an "ltable" block with one "lrow" block per row.
#pragma once

#include <cstdint>
#include <map>
#include <utility>

#include "app/Frame.h"
#include "app/LayoutElement.h"

namespace qv {

class LayoutTable final : public LayoutElement {
    QV_OBJECT(LayoutTable, LayoutElement, "LayoutTable")
  public:
    ElementKind kind() const noexcept override { return ElementKind::kLayoutTable; }

    std::int32_t rowCount() const noexcept { return m_rowCount; }
    std::int32_t columnCount() const noexcept { return m_columnCount; }
    std::int32_t occupiedCount() const noexcept {
        return static_cast<std::int32_t>(m_cells.size());
    }
    // Stores the frame at (row, column), replacing what was there; the grid
    // grows to hold the position.
    void put(std::int32_t row, std::int32_t column, const Pointer<Frame>& frame);
    // The frame at (row, column), or the null object for an empty cell.
    Pointer<Frame> cell(std::int32_t row, std::int32_t column) const;

    // Every row from 0 to the row count - 1, every column of each, an empty
    // cell as ";", as the layout writer writes every layout table.
    void writeSource(std::string& out, std::int32_t indent) const override;
    std::int32_t commentCount() const noexcept override;
    StringPointer describe() const override;
    bool equals(const Object& other) const noexcept override;

  private:
    using CellKey = std::pair<std::int32_t, std::int32_t>;

    std::map<CellKey, Pointer<Frame>> m_cells;
    std::int32_t m_rowCount = 1;
    std::int32_t m_columnCount = 1;
};

}  // namespace qv
