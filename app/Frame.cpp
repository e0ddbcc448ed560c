#include "app/Frame.h"

#include "app/KeptComments.h"
#include "core/Assert.h"
#include "layout/LayoutWriter.h"

namespace qv {

Frame::Frame(const Pointer<LayoutElement>& element, FramePlacement placement)
    : m_element(element), m_placement(placement) {
    QV_ASSERT(!element.isNull());
}

void Frame::moveTo(std::int32_t x, std::int32_t y) noexcept {
    m_x = x;
    m_y = y;
}

std::string Frame::prefix() const {
    return placementPrefix(m_placement, m_x, m_y);
}

void Frame::writeSource(std::string& out, std::int32_t indent) const {
    Pointer<FrameNotes> notes;
    if (!m_comments.isEmpty()) notes = make<KeptComments>(m_comments);
    writeFrame(out, indent, prefix(), notes,
               [this](std::string& text, std::int32_t at) { m_element->writeSource(text, at); });
}

std::int32_t Frame::commentCount() const noexcept {
    return m_comments.count() + m_element->commentCount();
}

StringPointer Frame::toSource() const {
    std::string out;
    writeSource(out, 0);
    return str(out);
}

StringPointer Frame::describe() const {
    return str("Frame(" + std::to_string(static_cast<std::int32_t>(m_placement)) + "," +
               std::to_string(m_x) + "," + std::to_string(m_y) + "," +
               m_element->describe()->toStdString() + ")");
}

bool Frame::equals(const Object& other) const noexcept {
    if (!is<Frame>(other)) return false;
    const auto& frame = static_cast<const Frame&>(other);
    return frame.m_placement == m_placement && frame.m_x == m_x && frame.m_y == m_y &&
           frame.m_element->equals(*m_element);
}

}  // namespace qv
