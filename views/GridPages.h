// How a grid is cut into printed pages. Every page repeats the grid's
// frozen part (the header rows and the leading columns) and shows as many
// of the other rows as fit its height; columns that do not fit the width go
// on further pages rather than being shrunk, so the print stays as legible
// as the screen. Pages run down first: all rows of the first columns, then
// all rows of the next ones. Only the column bands are stored (one entry a
// band), so a table of a million rows costs what a small one does.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/Geometry.h"
#include "views/GridPage.h"

namespace qv {

class TableEditable;

class GridPages {
  public:
    // The pages of `grid` for cells of at most `area` each.
    GridPages(const TableEditable& grid, toolkit::Size area);

    std::int64_t count() const noexcept {
        return std::int64_t{m_rowPages} * static_cast<std::int64_t>(m_bands.size());
    }
    // `index` from 0 to count() - 1.
    GridPage page(std::int64_t index) const;
    std::int32_t rowsPerPage() const noexcept { return m_rowsPerPage; }

  private:
    std::int32_t m_headers = 0;
    std::int32_t m_rows = 0;
    std::int32_t m_rowsPerPage = 1;
    std::int32_t m_rowPages = 1;
    // The first column of every band, and the end of the last one.
    std::vector<std::int32_t> m_bands;
    std::int32_t m_columns = 0;
};

}  // namespace qv
