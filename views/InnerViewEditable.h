// A view that shows another editable in its place and may swap it for a
// fresh one when it refreshes: layout, painting, hit testing, the mouse and
// the keys all go to the inner view, whose bounds are this view's bounds.
#pragma once

#include <cstdint>

#include "editing/AbstractEditable.h"

namespace qv {

class InnerViewEditable : public AbstractEditable {
    QV_ABSTRACT_OBJECT(InnerViewEditable, AbstractEditable)
  public:
    ~InnerViewEditable() override;

    // The null object until the first refresh built one.
    const Pointer<AbstractEditable>& innerView() const noexcept { return m_inner; }

    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    void moveBy(toolkit::Point delta) override;
    std::int32_t minimumWidth() const override;
    std::int32_t maximumWidth() const override;
    void notify(const Pointer<Object>& message) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    bool handleWheel(std::int32_t steps) override;
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<AbstractEditable> hitTest(std::int32_t x, std::int32_t y, bool deep) override;
    bool acceptsEditCommand(std::int32_t code) const override;
    Pointer<Object> getObject() const override;
    // Seen through to the inner view, once there is one.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    StringPointer getTitle() const override;
    Pointer<Object> getProperties() override;
    void attach(EditableSupport* support) override;

  protected:
    // Puts `view` in the inner view's place (the null object leaves it
    // empty); when the old one held the selection, the new one takes it.
    void setInnerView(const Pointer<AbstractEditable>& view);

  private:
    Pointer<AbstractEditable> m_inner;
};

}  // namespace qv
