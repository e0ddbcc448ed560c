// Where a new view goes in the work area: the first spot in reading order
// (left to right along a row, the rows from the top) where it covers no
// other view and fits in the area; when there is none, cascaded from the
// first corner, so that its title bar still shows beside those below it.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/Geometry.h"

namespace qv {

struct PlacementRules {
    // Where the first view goes and the top-left limit of every spot.
    toolkit::Point firstCorner;
    // Kept free between views side by side or one above the other.
    std::int32_t gap = 0;
    // How far each cascaded view is moved right and down from the one before.
    std::int32_t cascadeStep = 0;
};

// The top-left corner for a view of `size` among the `taken` rectangles in
// `area`. A view larger than the area counts as filling it.
toolkit::Point freeSpotFor(toolkit::Size size, const std::vector<toolkit::Rect>& taken,
                           const toolkit::Rect& area, const PlacementRules& rules);

}  // namespace qv
