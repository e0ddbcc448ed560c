// The frame around a view: a title bar with the view's title and the
// buttons close, maximize, optimize and float, and the placement that
// decides the frame's size (filling the work area, the view's preferred
// size, a box the user set, or a cell of a layout table). The view sits in
// a ScrollDecorator, which shows scroll bars when the box is too small.
// In the document a frame writes its placement prefix before its view.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editing/AbstractEditable.h"
#include "editing/DropContainer.h"
#include "editing/FrameState.h"
#include "editing/ScrollDecorator.h"
#include "editing/StandInContainer.h"
#include "editing/TitleBarPainter.h"
#include "layout/FrameNotes.h"

namespace qv {

class TitleDecorator final : public AbstractEditable,
                             public StandInContainer,
                             public DropContainer {
    QV_OBJECT(TitleDecorator, AbstractEditable, "TitleDecorator")
  public:
    static constexpr std::int32_t kMinimumWidth = 80;
    static constexpr std::int32_t kMinimumHeight = 25;
    // The bar of a layout table inside a layout table: enough to grab it.
    static constexpr std::int32_t kPanelBarHeight = 5;
    static constexpr toolkit::Size kFloatingBox{600, 400};

    // Placement 4 (in a table) until told otherwise.
    explicit TitleDecorator(const Pointer<AbstractEditable>& view);
    ~TitleDecorator() override;

    // The view as given, without the scrolling around it.
    const Pointer<AbstractEditable>& view() const noexcept { return m_scroller->view(); }
    const Pointer<ScrollDecorator>& scroller() const noexcept { return m_scroller; }

    FramePlacement placement() const noexcept { return m_state.placement; }
    void setPlacement(FramePlacement placement);
    const toolkit::Rect& floatingBounds() const noexcept { return m_state.floatingBounds; }
    void setFloatingBounds(const toolkit::Rect& bounds) { m_state.floatingBounds = bounds; }
    const FrameState& state() const noexcept { return m_state; }
    void applyState(const FrameState& state);

    std::int32_t titleBarHeight() const;
    toolkit::Rect titleBarRect() const;
    // The buttons this frame shows, left to right: all four at the top
    // level, only close in a table (none for a layout table in a table).
    std::vector<TitleButton> buttons() const;
    // Empty when the button is not shown.
    toolkit::Rect buttonRect(TitleButton button) const;
    // "maximized ", "optimized(x,y) ", "floating(x,y) " with the coordinates
    // at least 0, or nothing in a table.
    std::string prefix() const;
    // What the document wrote around the frame's directive; the null object
    // when nothing.
    const Pointer<FrameNotes>& notes() const noexcept { return m_notes; }
    void setNotes(const Pointer<FrameNotes>& notes) { m_notes = notes; }

    void refresh() override { m_scroller->refresh(); }
    void layoutSize(toolkit::Size size) override;
    void layoutWidth(std::int32_t widthHint) override;
    void moveBy(toolkit::Point delta) override;
    std::int32_t minimumWidth() const override;
    std::int32_t maximumWidth() const override;
    void notify(const Pointer<Object>& message) override { m_scroller->notify(message); }
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    // A title button by its number (ORDER TITLE BUTTON); others do nothing.
    void buttonPressed(std::int32_t button);
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractPosition> detach(const Pointer<AbstractEditable>& editable) override;
    bool drop(const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position) override;
    // On the work area itself (true) or in a cell of a layout table: a
    // frame leaving a table is optimized, one entering it is in the table.
    void setTopLevel(bool topLevel);
    // Optimized and floating frames are dragged by their title bars.
    bool isMovable() const;
    // In the bar but on none of its buttons: where a drag starts.
    bool isInTitleBar(std::int32_t x, std::int32_t y) const;
    Pointer<AbstractPosition> dropPositionAt(std::int32_t x, std::int32_t y,
                                             const Pointer<AbstractEditable>& editable) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    StringPointer getTitle() const override { return view()->getTitle(); }
    bool isKeptInDocument() const override { return view()->isKeptInDocument(); }
    void attach(EditableSupport* support) override;
    bool showDropTarget(std::int32_t x, std::int32_t y, const AbstractEditable& dragged) override;
    void hideDropTarget() override { m_scroller->hideDropTarget(); }
    std::int32_t panelDepth() const override { return panelDepthOf(*view()); }
    void writeSource(std::string& out, std::int32_t indent) const override;
    // A frame named by its title, holding its view.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    StringPointer describe() const override;

  private:
    toolkit::Rect contentRect() const;
    std::int32_t chromeWidth() const;
    std::optional<TitleButton> buttonAt(toolkit::Point point) const;
    // True when the selected editable is this frame or lies inside it.
    bool holdsSelection() const;
    void close();
    void changePlacement(TitleButton button);
    void paintTitleBar(toolkit::Graphics& graphics, const toolkit::Rect& area) const;

    Pointer<ScrollDecorator> m_scroller;
    Pointer<FrameNotes> m_notes;
    FrameState m_state;
};

// Whether `editable` is `view`, lies inside it, or is the frame around it:
// a view that follows the selection keeps its cell when its own parts are
// selected.
bool isWithinView(const AbstractEditable& view, const AbstractEditable& editable);

}  // namespace qv
