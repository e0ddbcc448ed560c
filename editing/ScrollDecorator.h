// Shows a view in a box smaller than the view: scroll bars on the right and
// at the bottom when the view is taller or wider than the box, and the
// mouse wheel. Frames wrap their views in one. Laid out by width alone (an
// optimized frame) it is exactly as large as its view and shows no bars,
// unless the view is taller than it asks room for: then the box takes that
// height and a vertical bar. After each layout it brings into sight the
// area the view asks for, scrolling itself alone.
#pragma once

#include <cstdint>
#include <optional>

#include "editing/AbstractEditable.h"
#include "editing/DropContainer.h"
#include "editing/ScrollGeometry.h"
#include "editing/StandInContainer.h"

namespace qv {

class ScrollDecorator final : public AbstractEditable,
                              public StandInContainer,
                              public DropContainer {
    QV_OBJECT(ScrollDecorator, AbstractEditable, "ScrollDecorator")
  public:
    static constexpr std::int32_t kBarWidth = ScrollGeometry::kBarWidth;
    // Pixels one notch of the wheel scrolls: three lines of text.
    static constexpr std::int32_t kWheelStep = 48;
    static constexpr std::int32_t kSmallestThumb = ScrollGeometry::kSmallestThumb;

    explicit ScrollDecorator(const Pointer<AbstractEditable>& view);
    ~ScrollDecorator() override;

    const Pointer<AbstractEditable>& view() const noexcept { return m_view; }
    toolkit::Point scrollOffset() const noexcept { return m_scroll; }
    // Clamped to what the view's size allows.
    void scrollTo(toolkit::Point offset);
    bool hasVerticalBar() const noexcept { return m_verticalBar; }
    bool hasHorizontalBar() const noexcept { return m_horizontalBar; }
    // The part of the box the view shows in (the box less the bars).
    toolkit::Rect viewport() const;

    void refresh() override { m_view->refresh(); }
    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    void moveBy(toolkit::Point delta) override;
    std::int32_t minimumWidth() const override { return m_view->minimumWidth(); }
    std::int32_t maximumWidth() const override { return m_view->maximumWidth(); }
    void notify(const Pointer<Object>& message) override { m_view->notify(message); }
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    bool handleWheel(std::int32_t steps) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractPosition> detach(const Pointer<AbstractEditable>& editable) override;
    bool drop(const Pointer<AbstractEditable>& editable,
              const Pointer<AbstractPosition>& position) override;
    Pointer<AbstractPosition> dropPositionAt(std::int32_t x, std::int32_t y,
                                             const Pointer<AbstractEditable>& editable) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    StringPointer getTitle() const override { return m_view->getTitle(); }
    void attach(EditableSupport* support) override;
    bool isPanel() const override { return isPanelView(*m_view); }
    void ensureVisible(const toolkit::Rect& area) override;
    toolkit::Point contentOffset() const override { return m_scroll; }
    bool showDropTarget(std::int32_t x, std::int32_t y, const AbstractEditable& dragged) override;
    void hideDropTarget() override { hideDropTargetIn(*m_view); }
    std::int32_t panelDepth() const override { return panelDepthOf(*m_view); }
    // Seen through: the view's node.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override {
        return m_view->accessibleNode(parent);
    }
    void writeSource(std::string& out, std::int32_t indent) const override {
        m_view->writeSource(out, indent);
    }

  private:
    enum class Bar { None, Vertical, Horizontal };

    // The range the view can scroll in each direction.
    toolkit::Point scrollRange() const;
    toolkit::Rect barRect(Bar bar) const;
    ScrollGeometry geometry(Bar bar) const;
    Bar barAt(toolkit::Point point) const;
    void pressBar(Bar bar, toolkit::Point point);
    void dragThumb(toolkit::Point point);
    void scrollToShow(const toolkit::Rect& area);
    void paintBar(toolkit::Graphics& graphics, toolkit::Point origin, Bar bar) const;

    Pointer<AbstractEditable> m_view;
    toolkit::Point m_scroll;
    bool m_verticalBar = false;
    bool m_horizontalBar = false;
    // An area asked for while the layout was stale (the caret on a line a
    // text has just grown), brought into sight again after the next layout.
    std::optional<toolkit::Rect> m_pendingVisible;
    Bar m_dragging = Bar::None;
    std::int32_t m_grip = 0;  // where in the thumb the drag holds it
};

}  // namespace qv
