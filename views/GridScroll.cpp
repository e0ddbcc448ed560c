#include "views/GridScroll.h"

#include <algorithm>

namespace qv {

void GridScroll::clamp(std::int32_t leading, std::int32_t maxLeft, std::int32_t headers,
                       std::int32_t maxTop) {
    m_left = std::clamp(m_left, leading, maxLeft);
    m_top = std::clamp(m_top, headers, maxTop);
}

ScrollGeometry GridScroll::bar(ScrollAxis axis, const toolkit::Rect& area, std::int32_t frozen,
                               std::int32_t count, std::int32_t page, std::int32_t maxFirst) const {
    std::int32_t first = axis == ScrollAxis::Vertical ? m_top : m_left;
    return {axis, area, count - frozen, page, first - frozen, maxFirst - frozen};
}

}  // namespace qv
