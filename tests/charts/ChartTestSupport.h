// Helpers of the chart tests: trajectories from point lists, and counts of
// the calls a headless surface recorded.
#pragma once

#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "charts/OneChartModel.h"
#include "core/Vector.h"
#include "toolkit/headless/HeadlessGraphics.h"

namespace qv::test {

// Values a trajectory may hold that no chart can place.
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

using Points = std::vector<std::pair<double, double>>;

inline Pointer<Trajectory2D> trajectory(const Points& points) {
    auto result = make<Trajectory2D>(static_cast<std::int32_t>(points.size()));
    for (std::size_t i = 0; i < points.size(); ++i)
        result->setPoint(static_cast<std::int64_t>(i), points[i].first, points[i].second);
    return result;
}

// A chart of the curves, one per point list.
inline Pointer<OneChartModel> chartOf(const std::vector<Points>& curves) {
    if (curves.size() == 1) return make<OneChartModel>(str("c"), trajectory(curves[0]));
    auto items = make<Vector>();
    for (const Points& points : curves)
        items->addElement(trajectory(points));
    return make<OneChartModel>(str("c"), items);
}

// The default strip colour as the headless surface writes it.
inline const std::string kStripColor = "#1e50aa";

// How many recorded calls start with `kind`, contain `part` and are not
// clipped.
inline std::size_t countCalls(const toolkit::HeadlessGraphics& graphics, const std::string& kind,
                              const std::string& part = "") {
    std::size_t count = 0;
    for (const std::string& call : graphics.calls()) {
        if (call.rfind(kind + " ", 0) == 0 && call.find(part) != std::string::npos &&
            call.find("(clipped)") == std::string::npos)
            ++count;
    }
    return count;
}

// What a strip of `color` drew, read back from the recorded calls.
struct StripDrawing {
    std::vector<std::pair<toolkit::Point, toolkit::Point>> segments;
    std::vector<toolkit::Rect> markers;
};

inline StripDrawing stripDrawing(const toolkit::HeadlessGraphics& graphics,
                                 const std::string& color = kStripColor) {
    StripDrawing drawing;
    for (const std::string& call : graphics.calls()) {
        if (call.find(color) == std::string::npos) continue;
        toolkit::Point a, b;
        toolkit::Rect box;
        if (std::sscanf(call.c_str(), "line %d,%d %d,%d", &a.x, &a.y, &b.x, &b.y) == 4)
            drawing.segments.push_back({a, b});
        else if (std::sscanf(call.c_str(), "ellipse %d,%d %dx%d", &box.x, &box.y, &box.width,
                             &box.height) == 4)
            drawing.markers.push_back(box);
    }
    return drawing;
}

}  // namespace qv::test
