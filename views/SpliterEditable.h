// Two views side by side, each in its own scrolling box, with a divider
// between them that the mouse drags.
#pragma once

#include <cstdint>

#include "editing/AbstractEditable.h"
#include "editing/ScrollDecorator.h"

namespace qv {

class SpliterEditable final : public AbstractEditable {
    QV_OBJECT(SpliterEditable, AbstractEditable, "SpliterEditable")
  public:
    static constexpr std::int32_t kDivider = 5;
    static constexpr std::int32_t kNarrowestSide = 60;
    // What the right side takes at least when laid out by width: room for
    // a grid beside a tree.
    static constexpr std::int32_t kNarrowestRight = 240;
    // The height a splitter laid out by width takes, at least and at most:
    // the boxes scroll what is taller.
    static constexpr std::int32_t kLowest = 160;
    static constexpr std::int32_t kHighest = 420;

    SpliterEditable(const Pointer<AbstractEditable>& left, const Pointer<AbstractEditable>& right);
    ~SpliterEditable() override;

    const Pointer<ScrollDecorator>& leftBox() const noexcept { return m_left; }
    const Pointer<ScrollDecorator>& rightBox() const noexcept { return m_right; }
    toolkit::Rect dividerRect() const;

    void refresh() override;
    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    void moveBy(toolkit::Point delta) override;
    std::int32_t minimumWidth() const override { return 2 * kNarrowestSide + kDivider; }
    std::int32_t maximumWidth() const override;
    void notify(const Pointer<Object>& message) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    // A group of its two sides.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    void attach(EditableSupport* support) override;

  private:
    // Lays both boxes out in `size` with the left one `m_leftWidth` wide,
    // and puts them at the splitter's corner.
    void arrange(toolkit::Size size);
    Pointer<ScrollDecorator> boxAt(toolkit::Point point) const;

    Pointer<ScrollDecorator> m_left;
    Pointer<ScrollDecorator> m_right;
    Pointer<ScrollDecorator> m_pressed;
    std::int32_t m_leftWidth = 0;
    bool m_draggingDivider = false;
};

}  // namespace qv
