// What a placement change of a frame alters, so that it can be undone.
#pragma once

#include "layout/FramePlacement.h"
#include "toolkit/Geometry.h"

namespace qv {

struct FrameState {
    FramePlacement placement = FramePlacement::InTable;
    // Remembered for floating; width 0 until first used.
    toolkit::Rect floatingBounds;
    friend bool operator==(const FrameState&, const FrameState&) = default;
};

}  // namespace qv
