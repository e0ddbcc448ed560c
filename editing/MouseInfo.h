// Where the pointer is and how it moved: one value per container, updated
// for every mouse event and handed to the editables. Containers that shift
// their children's coordinates (scrolling) pass on a shifted copy.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/Events.h"
#include "toolkit/Geometry.h"

namespace qv {

struct MouseInfo {
    std::int32_t x = 0;  // the pointer
    std::int32_t y = 0;
    std::int32_t dx = 0;  // movement since the previous event
    std::int32_t dy = 0;
    std::int32_t dragX = 0;  // where the current press began
    std::int32_t dragY = 0;
    std::int32_t dragDx = 0;  // the pointer's offset from that point
    std::int32_t dragDy = 0;
    std::uint32_t modifiers = 0;

    toolkit::Point point() const noexcept { return {x, y}; }

    // Takes a new event. A press of any kind starts a drag at the pointer; a
    // drag first keeps the pointer inside `confinement`, so nothing can be
    // dragged out of sight.
    void update(toolkit::MouseKind kind, toolkit::Point pointer, std::uint32_t modifierBits,
                const toolkit::Rect& confinement);
    // The same event seen by a child whose coordinates are offset by (ox, oy).
    MouseInfo shifted(std::int32_t ox, std::int32_t oy) const noexcept;

    // "x=1,y=2,dx=0,dy=0,drag_x=1,drag_y=2,drag_dx=0,drag_dy=0"
    std::string describe() const;
};

}  // namespace qv
