// The grid's scroll position: the first column and row shown after the
// frozen ones. Scrolling is by whole columns and rows, so finding what to
// draw never walks what was scrolled past, and the bars count columns and
// rows, not pixels. Also the thumb a drag holds, while it does.
#pragma once

#include <cstdint>
#include <optional>

#include "editing/ScrollGeometry.h"
#include "toolkit/Geometry.h"

namespace qv {

class GridScroll {
  public:
    std::int32_t left() const noexcept { return m_left; }
    std::int32_t top() const noexcept { return m_top; }
    void setLeft(std::int32_t column) noexcept { m_left = column; }
    void setTop(std::int32_t row) noexcept { m_top = row; }
    // Within the frozen columns (rows) and the furthest the grid scrolls.
    void clamp(std::int32_t leading, std::int32_t maxLeft, std::int32_t headers,
               std::int32_t maxTop);

    // A bar over `count` scrollable lines after `frozen` frozen ones, of
    // which `page` show and the first may go up to `maxFirst`.
    ScrollGeometry bar(ScrollAxis axis, const toolkit::Rect& area, std::int32_t frozen,
                       std::int32_t count, std::int32_t page, std::int32_t maxFirst) const;

    // A thumb drag: which bar and where in the thumb it holds.
    void grabThumb(bool vertical, std::int32_t grip) noexcept {
        m_thumbVertical = vertical;
        m_grip = grip;
    }
    void releaseThumb() noexcept { m_thumbVertical.reset(); }
    const std::optional<bool>& thumbVertical() const noexcept { return m_thumbVertical; }
    std::int32_t grip() const noexcept { return m_grip; }

  private:
    std::int32_t m_left = 0;
    std::int32_t m_top = 0;
    std::optional<bool> m_thumbVertical;
    std::int32_t m_grip = 0;
};

}  // namespace qv
