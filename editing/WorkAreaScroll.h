// The work area's scrolling: when frames reach past the window, scroll bars
// along its right and bottom edges and the wheel bring every part of them
// into sight. Frames keep their document coordinates (what the layout text
// says); the offset only shifts what the window shows, so scrolling is no
// change of the document. The layout root owns one and asks it to turn
// window points into work-area points.
#pragma once

#include <cstdint>

#include "editing/ScrollGeometry.h"
#include "toolkit/Events.h"
#include "toolkit/Graphics.h"
#include "toolkit/Palette.h"

namespace qv {

class WorkAreaScroll {
  public:
    // Pixels one notch of the wheel scrolls: three lines of text.
    static constexpr std::int32_t kWheelStep = 48;

    // Takes the window's frame area and the right and bottom edges the
    // frames reach; decides which bars show and keeps the offset in range.
    void fit(const toolkit::Rect& full, toolkit::Point reach);
    // The part of the frame area the frames show in (less the bars), in
    // window coordinates.
    const toolkit::Rect& area() const noexcept { return m_area; }
    const toolkit::Rect& full() const noexcept { return m_full; }
    toolkit::Point offset() const noexcept { return m_offset; }
    // Clamped to the range the frames need.
    void scrollTo(toolkit::Point offset);
    bool wheel(std::int32_t steps);
    bool hasVerticalBar() const noexcept { return m_vertical; }
    bool hasHorizontalBar() const noexcept { return m_horizontal; }

    // Whether a window point lies on a bar (or the corner between them).
    bool isOnBars(toolkit::Point point) const;
    // A press on a bar, a drag of its thumb and the release; false when
    // the event is not the bars' (it then goes to the frames).
    bool handleMouse(toolkit::MouseKind kind, toolkit::Point point);
    bool isDraggingThumb() const noexcept { return m_dragging != ScrollAxisChoice::None; }

    void paint(toolkit::Graphics& graphics, const toolkit::Palette& colors,
               toolkit::Point origin) const;

  private:
    enum class ScrollAxisChoice { None, Vertical, Horizontal };

    toolkit::Point range() const;
    toolkit::Rect barRect(ScrollAxisChoice bar) const;
    ScrollGeometry geometry(ScrollAxisChoice bar) const;
    ScrollAxisChoice barAt(toolkit::Point point) const;

    toolkit::Rect m_full;
    toolkit::Rect m_area;
    toolkit::Point m_reach;
    toolkit::Point m_offset;
    bool m_vertical = false;
    bool m_horizontal = false;
    ScrollAxisChoice m_dragging = ScrollAxisChoice::None;
    std::int32_t m_grip = 0;
};

}  // namespace qv
