// The layout root: the work area's frames in stacking order (the last one
// drawn on top) and the formula bar across the top. It routes the mouse (a
// press raises and selects the frame under the pointer; a press in a title
// bar arms a drag that detaches the frame on the first movement and drops
// it where the button is released) and the keys (Delete removes the
// selected frame, Ctrl+Z and Ctrl+Y undo and redo, the rest go to the
// selected editable).
#pragma once

#include <cstdint>
#include <string>

#include "core/TVector.h"
#include "editing/AbstractEditable.h"
#include "editing/DropContainer.h"
#include "editing/Positions.h"
#include "editing/WorkAreaScroll.h"

namespace qv {

class FloatLayoutEditable final : public AbstractEditable,
                                  public FramePlaces,
                                  public DropContainer {
    QV_OBJECT(FloatLayoutEditable, AbstractEditable, "FloatLayoutEditable")
  public:
    // The width top-level frames are laid out with (the document reader's).
    static constexpr std::int32_t kFrameWidthHint = 600;

    FloatLayoutEditable();
    ~FloatLayoutEditable() override;

    std::int32_t frameCount() const noexcept { return m_frames->size(); }
    const Pointer<AbstractEditable>& frame(std::int32_t index) const { return (*m_frames)[index]; }
    // -1 when the editable is not one of the top-level frames.
    std::int32_t indexOf(const AbstractEditable& frame) const;
    const Pointer<AbstractEditable>& formulaBar() const noexcept { return m_formulaBar; }
    bool isDragging() const noexcept { return m_dragging; }
    bool isDragArmed() const noexcept { return m_armed; }
    const Pointer<AbstractEditable>& draggedFrame() const noexcept { return m_dragged; }

    // "[" + title + "]" for every maximized frame, for the window's title.
    std::string titlePart() const;
    // Where a top-level frame stands now: its corner, stacking place and
    // placement.
    Pointer<FloatLayoutPosition> positionOf(const Pointer<AbstractEditable>& frame) const override;
    // The topmost frame under a work-area point, or the null object.
    Pointer<AbstractEditable> frameAt(toolkit::Point point) const;
    // The work area's scrolling; window points become work-area points by
    // adding its offset (the formula bar does not scroll).
    const WorkAreaScroll& scrolling() const noexcept { return m_scroll; }
    void scrollTo(toolkit::Point offset);
    // Wheel notches to the innermost editable under the point that scrolls.
    bool scrollWheel(std::int32_t steps, toolkit::Point point);

    void refresh() override;
    // The formula bar across the width, then every frame in the rest of the
    // window, which becomes the support's visible area.
    void layoutWidth(std::int32_t widthHint) override;
    void moveBy(toolkit::Point delta) override;
    void notify(const Pointer<Object>& message) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    // Scrolls the work area when nothing under the pointer scrolled.
    bool handleWheel(std::int32_t steps) override;
    // Scrolls the work area to bring a part of a frame (a caret, a grid's
    // current cell) into sight.
    void ensureVisible(const toolkit::Rect& area) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractPosition> detach(const Pointer<AbstractEditable>& editable) override;
    bool drop(const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position) override;
    Pointer<AbstractPosition> dropPositionAt(std::int32_t x, std::int32_t y,
                                             const Pointer<AbstractEditable>& editable) override;
    // Takes a window point (the work area's own callers have one).
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    void attach(EditableSupport* support) override;
    // A new frame on top of the others.
    void add(const Pointer<AbstractEditable>& editable);
    // Puts a top-level frame on top of the others.
    void raise(const Pointer<AbstractEditable>& frame);
    void setFormulaBar(const Pointer<AbstractEditable>& bar);
    // Keys nobody handled end here.
    void childKey(std::int32_t, std::string_view, std::uint32_t) override {}
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    // The event in work-area coordinates, unless it is the formula bar's.
    MouseInfo toWorkArea(toolkit::MouseKind kind, const MouseInfo& info) const;
    bool isFormulaBarPoint(toolkit::Point window) const;
    // The right and bottom edges the frames reach (maximized ones fill the
    // window and reach nothing).
    toolkit::Point reach() const;
    void press(toolkit::MouseKind kind, const MouseInfo& info, bool onFormulaBar);
    void drag(const MouseInfo& info);
    void releaseButton(const MouseInfo& info);
    // Records a finished drag as one undoable step.
    void recordDrop(const Pointer<AbstractEditable>& frame, const Pointer<AbstractPosition>& from,
                    const Pointer<AbstractPosition>& to);
    void hover(const MouseInfo& info, bool onFormulaBar);
    bool canDrag(const Pointer<AbstractEditable>& frame) const;
    void startDrag(const Pointer<AbstractEditable>& frame);
    void trackDropTarget(toolkit::Point point);
    void hideDropTargets();
    // Passes an event to the editable holding the mouse, in its coordinates.
    void deliverToGrab(toolkit::MouseKind kind, const MouseInfo& info);
    // Lays a top-level frame out and puts its corner at `corner`.
    void place(const Pointer<AbstractEditable>& frame, toolkit::Point corner);
    void deleteSelected(std::int32_t code, std::string_view text, std::uint32_t modifiers);

    Pointer<TVector<AbstractEditable>> m_frames;
    Pointer<AbstractEditable> m_formulaBar;
    Pointer<AbstractEditable> m_dragged;
    Pointer<AbstractPosition> m_detachPosition;
    bool m_dragging = false;
    bool m_armed = false;
    std::int64_t m_lastCursorChanges = -1;
    WorkAreaScroll m_scroll;
};

}  // namespace qv
