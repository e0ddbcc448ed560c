// One printed page of a grid, as GridPages cuts it and the grid paints it.
#pragma once

#include <cstdint>

namespace qv {

// The scrolled part one page shows: columns [firstColumn, endColumn) and
// rows [firstRow, endRow), besides the frozen ones.
struct GridPage {
    std::int32_t firstColumn = 0;
    std::int32_t endColumn = 0;
    std::int32_t firstRow = 0;
    std::int32_t endRow = 0;
    friend bool operator==(const GridPage&, const GridPage&) = default;
};

}  // namespace qv
