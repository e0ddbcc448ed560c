#include "editing/ScrollGeometry.h"

#include <algorithm>

namespace qv {

toolkit::Rect ScrollGeometry::thumb() const noexcept {
    const std::int64_t track = trackLength();
    std::int64_t length =
        m_content <= 0 ? track : track * std::min(m_visible, m_content) / m_content;
    length = std::min<std::int64_t>(std::max<std::int64_t>(length, kSmallestThumb), track);
    const std::int64_t start = m_range <= 0 ? 0 : (track - length) * m_offset / m_range;
    const auto at = static_cast<std::int32_t>(start);
    const auto size = static_cast<std::int32_t>(length);
    if (m_axis == ScrollAxis::Vertical) return {m_track.x, m_track.y + at, m_track.width, size};
    return {m_track.x + at, m_track.y, size, m_track.height};
}

std::int32_t ScrollGeometry::sideOfThumb(toolkit::Point point) const noexcept {
    const toolkit::Rect shown = thumb();
    if (shown.contains(point)) return 0;
    const std::int32_t start = m_axis == ScrollAxis::Vertical ? shown.y : shown.x;
    const std::int32_t at = m_axis == ScrollAxis::Vertical ? point.y : point.x;
    return at < start ? -1 : 1;
}

std::int32_t ScrollGeometry::gripAt(toolkit::Point point) const noexcept {
    const toolkit::Rect shown = thumb();
    return m_axis == ScrollAxis::Vertical ? point.y - shown.y : point.x - shown.x;
}

std::int64_t ScrollGeometry::offsetForDrag(toolkit::Point point, std::int32_t grip) const noexcept {
    const toolkit::Rect shown = thumb();
    const std::int32_t travel =
        trackLength() - (m_axis == ScrollAxis::Vertical ? shown.height : shown.width);
    if (travel <= 0) return m_offset;
    const std::int32_t at = std::clamp(along(point) - grip, 0, travel);
    return std::int64_t{at} * m_range / travel;
}

}  // namespace qv
