// The zoom of the work area: a factor in percent from a fixed ladder of
// steps, and the conversions between the window's pixels and the work
// area's own, in which views are laid out and stored. Positions scale
// about the work area's top-left corner; every coordinate is rounded on
// its own, so neighbouring edges stay neighbours at any factor.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/Geometry.h"

namespace qv {

class WorkAreaZoom {
  public:
    static constexpr std::int32_t kMinPercent = 50;
    static constexpr std::int32_t kMaxPercent = 300;
    static constexpr std::int32_t kNormalPercent = 100;
    // The steps Ctrl+plus and Ctrl+minus go through.
    static std::span<const std::int32_t> steps();

    std::int32_t percent() const noexcept { return m_percent; }
    bool isNormal() const noexcept { return m_percent == kNormalPercent; }
    // Limited to the range; a value between steps is kept as it is.
    void setPercent(std::int32_t percent);
    // The next step up or down from the current factor; false at the end.
    bool zoomIn();
    bool zoomOut();

    // Work area to window, rounded to the nearest pixel.
    std::int32_t toWindow(std::int32_t logical) const noexcept;
    toolkit::Point toWindow(toolkit::Point logical) const noexcept;
    // The rectangle between the scaled corners.
    toolkit::Rect toWindow(const toolkit::Rect& logical) const noexcept;
    // Window to work area: the work-area pixel the window pixel lies in.
    std::int32_t toWorkArea(std::int32_t physical) const noexcept;
    toolkit::Point toWorkArea(toolkit::Point physical) const noexcept;
    // Every work-area pixel that touches the window rectangle.
    toolkit::Rect toWorkArea(const toolkit::Rect& physical) const noexcept;
    toolkit::Size toWorkArea(toolkit::Size physical) const noexcept;

  private:
    std::int32_t m_percent = kNormalPercent;
};

}  // namespace qv
