// Frame: the placement data of the desktop's title-bar frame around one
// view — its placement and its position in the work area — and the prefix
// it writes before its view's directive.
#pragma once

#include <cstdint>
#include <string>

#include "app/LayoutElement.h"
#include "language/Comments.h"
#include "layout/FramePlacement.h"

namespace qv {

class Frame final : public Object {
    QV_OBJECT(Frame, Object, "Frame")
  public:
    Frame(const Pointer<LayoutElement>& element, FramePlacement placement);

    const Pointer<LayoutElement>& element() const noexcept { return m_element; }
    // A rename puts a view naming something else in the frame's place.
    void setElement(const Pointer<LayoutElement>& element) { m_element = element; }
    FramePlacement placement() const noexcept { return m_placement; }
    void setPlacement(FramePlacement placement) noexcept { m_placement = placement; }
    std::int32_t x() const noexcept { return m_x; }
    std::int32_t y() const noexcept { return m_y; }
    void moveTo(std::int32_t x, std::int32_t y) noexcept;
    // Written before the frame's directive and at the end of its line.
    const ItemComments& comments() const noexcept { return m_comments; }
    void setComments(const ItemComments& comments) { m_comments = comments; }
    // The comments of the frame and of the frames inside its element.
    std::int32_t commentCount() const noexcept;

    // The placement prefix as the layout writer writes it.
    std::string prefix() const;
    // The comments, the prefix and the element's directive, as the layout
    // writer writes every frame; see LayoutElement::writeSource.
    void writeSource(std::string& out, std::int32_t indent) const;
    StringPointer toSource() const override;
    StringPointer describe() const override;
    bool equals(const Object& other) const noexcept override;

  private:
    Pointer<LayoutElement> m_element;
    ItemComments m_comments;
    FramePlacement m_placement;
    std::int32_t m_x = 0;
    std::int32_t m_y = 0;
};

}  // namespace qv
