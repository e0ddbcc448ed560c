// A point of a chart: its world values and, once fitted, its pixel.
#pragma once

#include <cmath>

#include "toolkit/Geometry.h"

namespace qv {

struct ChartPoint {
    double x = 0;
    double y = 0;
    toolkit::Point screen;
    // Both coordinates finite: drawn; otherwise a gap in its strip.
    bool drawn() const noexcept { return std::isfinite(x) && std::isfinite(y); }
};

}  // namespace qv
