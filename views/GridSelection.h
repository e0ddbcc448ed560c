// The grid's selection: the current cell and, at times, a range of whole
// columns from an anchor to the current column. The current row's identity
// finds the line again when the model's rows move (fields shown or hidden,
// formula lines added). Every change keeps the positions within the grid.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

namespace qv {

class GridModel;

class GridSelection {
  public:
    std::int32_t column() const noexcept { return m_column; }
    std::int32_t row() const noexcept { return m_row; }
    // The cell, clamped to the grid; ends a column range.
    void selectCell(GridModel& model, std::int32_t column, std::int32_t row);
    // The columns from `first` to `last`, clamped; the current column
    // becomes `last`. False, and nothing changes, when there are no columns.
    bool selectColumns(GridModel& model, std::int32_t first, std::int32_t last);
    // From the smaller to the larger column; nullopt for a single cell.
    std::optional<std::pair<std::int32_t, std::int32_t>> columnRange() const;
    // Where a range extended with Shift starts; -1 when there is none.
    std::int32_t anchor() const noexcept { return m_rangeAnchor; }
    void clearColumnRange() noexcept { m_rangeAnchor = m_rangeEnd = -1; }
    // After the model took a new value: the row found again by its
    // identity, the column and the range cut to the columns still there.
    void followModel(GridModel& model);

  private:
    void keepRowIdentity(GridModel& model);

    std::int32_t m_column = 0;
    std::int32_t m_row = 0;
    std::int32_t m_rowIdentity = 0;
    // A column range, from the anchor to the other end; -1 when none.
    std::int32_t m_rangeAnchor = -1;
    std::int32_t m_rangeEnd = -1;
};

}  // namespace qv
