#include "views/GridSelection.h"

#include <algorithm>

#include "views/GridModel.h"

namespace qv {

void GridSelection::selectCell(GridModel& model, std::int32_t column, std::int32_t row) {
    m_column = std::clamp(column, 0, std::max(0, model.columnCount() - 1));
    m_row = std::clamp(row, 0, std::max(0, model.rowCount() - 1));
    m_rowIdentity = model.rowIdentity(m_row);
    clearColumnRange();
}

bool GridSelection::selectColumns(GridModel& model, std::int32_t first, std::int32_t last) {
    std::int32_t columns = model.columnCount();
    if (columns == 0) return false;
    m_rangeAnchor = std::clamp(first, 0, columns - 1);
    m_rangeEnd = std::clamp(last, 0, columns - 1);
    m_column = m_rangeEnd;
    return true;
}

std::optional<std::pair<std::int32_t, std::int32_t>> GridSelection::columnRange() const {
    if (m_rangeAnchor < 0) return std::nullopt;
    return std::pair{std::min(m_rangeAnchor, m_rangeEnd), std::max(m_rangeAnchor, m_rangeEnd)};
}

void GridSelection::followModel(GridModel& model) {
    keepRowIdentity(model);
    // Records or fields may have gone.
    m_column = std::clamp(m_column, 0, std::max(0, model.columnCount() - 1));
    if (m_rangeAnchor >= model.columnCount()) clearColumnRange();
    m_rangeEnd = std::min(m_rangeEnd, model.columnCount() - 1);
}

// The line the selection stood on may have moved: find it again by its
// identity, else stay in range.
void GridSelection::keepRowIdentity(GridModel& model) {
    std::int32_t rows = model.rowCount();
    if (m_row < rows && model.rowIdentity(m_row) == m_rowIdentity) return;
    for (std::int32_t row = 0; row < rows; ++row) {
        if (model.rowIdentity(row) == m_rowIdentity) {
            m_row = row;
            return;
        }
    }
    m_row = std::clamp(m_row, 0, std::max(0, rows - 1));
    m_rowIdentity = model.rowIdentity(m_row);
}

}  // namespace qv
