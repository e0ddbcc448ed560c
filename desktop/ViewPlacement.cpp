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

// The cascade runs down the diagonal from the first corner while a title
// bar still shows in the area, then starts again two steps further right;
// the first corner of it that no view starts at is taken. Every corner
// stays inside the area, so no frame is placed out of reach; when all are
// in use, the first one is shared.
toolkit::Point cascadedSpot(const std::vector<toolkit::Rect>& taken, const toolkit::Rect& area,
                            const PlacementRules& rules) {
    const std::int32_t step = std::max(rules.cascadeStep, 1);
    const toolkit::Point first{rules.firstCorner.x + step, rules.firstCorner.y + step};
    const std::int32_t down = std::max(1, (area.bottom() - first.y) / step - 1);
    auto used = [&](toolkit::Point spot) {
        return std::any_of(taken.begin(), taken.end(), [&](const toolkit::Rect& rect) {
            return rect.x == spot.x && rect.y == spot.y;
        });
    };
    for (std::int32_t lap = 0;; ++lap) {
        for (std::int32_t k = 0; k < down; ++k) {
            toolkit::Point spot{first.x + (k + 2 * lap) * step, first.y + k * step};
            if (spot.x + 2 * step > area.right()) return first;
            if (!used(spot)) return spot;
        }
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
    return cascadedSpot(taken, area, rules);
}

}  // namespace qv
