#include "desktop/ViewPlacement.h"

#include <algorithm>

namespace qv {

namespace {

bool overlaps(const toolkit::Rect& a, const toolkit::Rect& b) {
    return a.x < b.right() && b.x < a.right() && a.y < b.bottom() && b.y < a.bottom();
}

// The spots worth trying: the first corner's row and column, and the edges
// right of and below every view there is (a free spot always touches one of
// them, so nothing between need be tried).
std::vector<toolkit::Point> candidateSpots(const std::vector<toolkit::Rect>& taken,
                                           const PlacementRules& rules) {
    std::vector<std::int32_t> columns{rules.firstCorner.x};
    std::vector<std::int32_t> rows{rules.firstCorner.y};
    for (const toolkit::Rect& rect : taken) {
        if (rect.right() + rules.gap > rules.firstCorner.x)
            columns.push_back(rect.right() + rules.gap);
        if (rect.bottom() + rules.gap > rules.firstCorner.y)
            rows.push_back(rect.bottom() + rules.gap);
    }
    std::vector<toolkit::Point> spots;
    spots.reserve(columns.size() * rows.size());
    for (std::int32_t y : rows) {
        for (std::int32_t x : columns)
            spots.push_back({x, y});
    }
    std::sort(spots.begin(), spots.end(), [](toolkit::Point a, toolkit::Point b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    return spots;
}

toolkit::Point cascadedSpot(const std::vector<toolkit::Rect>& taken, const PlacementRules& rules) {
    // The first step of the cascade no view starts at; there are at most as
    // many views as steps taken.
    for (std::size_t step = 1;; ++step) {
        auto offset = static_cast<std::int32_t>(step) * rules.cascadeStep;
        toolkit::Point spot{rules.firstCorner.x + offset, rules.firstCorner.y + offset};
        bool used = std::any_of(taken.begin(), taken.end(), [&](const toolkit::Rect& rect) {
            return rect.x == spot.x && rect.y == spot.y;
        });
        if (!used || step > taken.size()) return spot;
    }
}

}  // namespace

toolkit::Point freeSpotFor(toolkit::Size size, const std::vector<toolkit::Rect>& taken,
                           const toolkit::Rect& area, const PlacementRules& rules) {
    std::int32_t width = std::min(size.width, area.right() - rules.firstCorner.x);
    std::int32_t height = std::min(size.height, area.bottom() - rules.firstCorner.y);
    for (toolkit::Point spot : candidateSpots(taken, rules)) {
        toolkit::Rect wanted{spot.x, spot.y, width, height};
        if (wanted.right() > area.right() || wanted.bottom() > area.bottom()) continue;
        bool covers = std::any_of(taken.begin(), taken.end(), [&](const toolkit::Rect& rect) {
            return overlaps(wanted, rect);
        });
        if (!covers) return spot;
    }
    return cascadedSpot(taken, rules);
}

}  // namespace qv
