// How a frame stands in the work area. The numbers are the ones documents
// and the frames' own logic compare against; 3 is not used.
#pragma once

#include <cstdint>

#include "toolkit/Geometry.h"

namespace qv {

enum class FramePlacement : std::int32_t {
    Maximized = 0,  // fills the visible work area
    Optimized = 1,  // at its position, sized to its view's preferred size
    Floating = 2,   // at its position, sized by its floating bounds
    InTable = 4,    // a cell of a layout table
};

// What a placement change of a frame alters, so that it can be undone.
struct FrameState {
    FramePlacement placement = FramePlacement::InTable;
    // Remembered for floating; width 0 until first used.
    toolkit::Rect floatingBounds;
    friend bool operator==(const FrameState&, const FrameState&) = default;
};

}  // namespace qv
