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

// The farthest a frame's corner stands from the work area's corner, either
// way. A thousand screens and more, so no real layout comes near it, and a
// position plus any frame size, scroll offset and pointer move stays far
// from the ends of the integer range. Documents beyond it are read with the
// position moved to it; frames are not dropped beyond it.
inline constexpr std::int32_t kFarthestFramePosition = 1'000'000;

constexpr std::int32_t limitFramePosition(std::int32_t position) noexcept {
    return position < -kFarthestFramePosition  ? -kFarthestFramePosition
           : position > kFarthestFramePosition ? kFarthestFramePosition
                                               : position;
}

}  // namespace qv
