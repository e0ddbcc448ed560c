// Where a frame stands in the work area. The values are the ones the
// desktop frame keeps, so they are fixed: 3 is not used.
#pragma once

#include <cstdint>

namespace qv {

enum class Placement : std::int32_t {
    kMaximized = 0,  // fills the work area
    kOptimized = 1,  // at (x, y), sized to its preferred size
    kFloating = 2,   // at (x, y), sized by the user
    kInTable = 4,    // a cell of a layout table
};

}  // namespace qv
