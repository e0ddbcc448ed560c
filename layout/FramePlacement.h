// How a frame stands in the work area, for the document (which writes and
// reads it as a prefix) and for the frames of the desktop. The numbers are
// the ones documents and the frames' own logic compare against; 3 is not
// used.
#pragma once

#include <cstdint>

namespace qv {

enum class FramePlacement : std::int32_t {
    Maximized = 0,  // fills the visible work area
    Optimized = 1,  // at its position, sized to its view's preferred size
    Floating = 2,   // at its position, sized by its floating bounds
    InTable = 4,    // a cell of a layout table
};

}  // namespace qv
