#include "views/GridPages.h"

#include <algorithm>

#include "views/TableEditable.h"

namespace qv {

GridPages::GridPages(const TableEditable& grid, toolkit::Size area) {
    GridModel& model = *grid.model();
    m_columns = std::max(0, model.columnCount());
    m_rows = std::max(0, model.rowCount());
    std::int32_t leading = std::clamp(model.leadingColumnCount(), 0, m_columns);
    m_headers = std::clamp(model.headerRowCount(), 0, m_rows);
    std::int32_t line = std::max(1, grid.rowHeight());
    std::int32_t frozenWidth = 0;
    for (std::int32_t column = 0; column < leading; ++column)
        frozenWidth += grid.columnWidth(column);

    // At least one row a page, however tall the headers: a page that shows
    // no row would never end.
    m_rowsPerPage = std::max(1, (area.height - m_headers * line) / line);
    std::int32_t body = m_rows - m_headers;
    m_rowPages = std::max(1, (body + m_rowsPerPage - 1) / m_rowsPerPage);

    // At least one column a band, cut at the page's edge when wider.
    std::int32_t room = std::max(1, area.width - frozenWidth);
    std::int32_t column = leading;
    do {
        m_bands.push_back(column);
        std::int32_t used = 0;
        while (column < m_columns) {
            std::int32_t width = grid.columnWidth(column);
            if (used > 0 && used + width > room) break;
            used += width;
            ++column;
        }
    } while (column < m_columns);
}

GridPage GridPages::page(std::int64_t index) const {
    auto band = static_cast<std::size_t>(index / m_rowPages);
    auto rowPage = static_cast<std::int32_t>(index % m_rowPages);
    GridPage page;
    page.firstColumn = m_bands[band];
    page.endColumn = band + 1 < m_bands.size() ? m_bands[band + 1] : m_columns;
    page.firstRow = m_headers + rowPage * m_rowsPerPage;
    page.endRow = std::min(m_rows, page.firstRow + m_rowsPerPage);
    return page;
}

}  // namespace qv
