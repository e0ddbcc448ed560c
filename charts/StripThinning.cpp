#include "charts/StripThinning.h"

#include <algorithm>

namespace qv {

bool denserThanColumns(std::int64_t points, const toolkit::Rect& plot) noexcept {
    return points > std::int64_t{plot.width} + 1;
}

void thinLine(std::span<const ChartPoint> run, std::vector<toolkit::Point>& line) {
    line.clear();
    std::size_t start = 0;
    while (start < run.size()) {
        std::int32_t column = run[start].screen.x;
        std::size_t lowest = start;
        std::size_t highest = start;
        std::size_t end = start + 1;
        for (; end < run.size() && run[end].screen.x == column; ++end) {
            // Rows grow downward: the lowest value has the largest row.
            if (run[end].screen.y > run[lowest].screen.y) lowest = end;
            if (run[end].screen.y < run[highest].screen.y) highest = end;
        }
        std::size_t kept[] = {start, std::min(lowest, highest), std::max(lowest, highest), end - 1};
        std::size_t previous = run.size();
        for (std::size_t index : kept) {
            if (index == previous) continue;
            line.push_back(run[index].screen);
            previous = index;
        }
        start = end;
    }
}

void MarkerSieve::reset(const toolkit::Rect& plot) {
    m_plot = plot;
    m_hasLast = false;
    m_seen.clear();
    std::int64_t pixels = (std::int64_t{plot.width} + 1) * (std::int64_t{plot.height} + 1);
    if (plot.width >= 0 && plot.height >= 0 && pixels <= kMostPixels)
        m_seen.assign(static_cast<std::size_t>(pixels), false);
}

bool MarkerSieve::firstAt(toolkit::Point pixel) {
    if (m_seen.empty()) {
        bool repeated = m_hasLast && pixel.x == m_last.x && pixel.y == m_last.y;
        m_last = pixel;
        m_hasLast = true;
        return !repeated;
    }
    std::int64_t column = std::int64_t{pixel.x} - m_plot.x;
    std::int64_t row = std::int64_t{pixel.y} - m_plot.y;
    if (column < 0 || row < 0 || column > m_plot.width || row > m_plot.height) return true;
    auto index = static_cast<std::size_t>(row * (std::int64_t{m_plot.width} + 1) + column);
    if (m_seen[index]) return false;
    m_seen[index] = true;
    return true;
}

}  // namespace qv
