// One scroll bar's arithmetic, shared by every scrolled element (a scroll
// box, the grid, the work area): where the thumb stands and how long it is
// for a content, a part of it in sight and an offset, which side of the
// thumb a press on the track falls, and the offset a dragged thumb asks
// for. Units are the element's own (pixels for a box, rows or columns for
// the grid, so a million rows cost what ten do); the track is in pixels.
#pragma once

#include <cstdint>

#include "toolkit/Geometry.h"

namespace qv {

enum class ScrollAxis { Vertical, Horizontal };

class ScrollGeometry {
  public:
    static constexpr std::int32_t kBarWidth = 12;
    static constexpr std::int32_t kSmallestThumb = 16;

    // `content` units in all, `visible` of them in sight from `offset` on,
    // `range` the largest offset; the bar lies in `track`.
    ScrollGeometry(ScrollAxis axis, const toolkit::Rect& track, std::int64_t content,
                   std::int64_t visible, std::int64_t offset, std::int64_t range) noexcept
        : m_axis(axis),
          m_track(track),
          m_content(content),
          m_visible(visible),
          m_offset(offset),
          m_range(range) {}

    const toolkit::Rect& track() const noexcept { return m_track; }
    // The thumb: as long as the share in sight (never shorter than
    // kSmallestThumb unless the track is), placed as the offset is along
    // the range.
    toolkit::Rect thumb() const noexcept;
    // -1 when `point` lies on the track before the thumb, 1 after it, 0 on
    // the thumb: a press beside the thumb turns one page that way.
    std::int32_t sideOfThumb(toolkit::Point point) const noexcept;
    // Where along the bar `point` lies, as the distance from the thumb's
    // start (what a drag keeps while it moves the thumb).
    std::int32_t gripAt(toolkit::Point point) const noexcept;
    // The offset that puts the thumb where a drag holding it at `grip`
    // pixels from its start brings it with the pointer at `point`.
    std::int64_t offsetForDrag(toolkit::Point point, std::int32_t grip) const noexcept;

  private:
    std::int32_t along(toolkit::Point point) const noexcept {
        return m_axis == ScrollAxis::Vertical ? point.y - m_track.y : point.x - m_track.x;
    }
    std::int32_t trackLength() const noexcept {
        return m_axis == ScrollAxis::Vertical ? m_track.height : m_track.width;
    }

    ScrollAxis m_axis;
    toolkit::Rect m_track;
    std::int64_t m_content;
    std::int64_t m_visible;
    std::int64_t m_offset;
    std::int64_t m_range;
};

}  // namespace qv
