#include "app/Frame.h"

#include <algorithm>

#include "core/Assert.h"

namespace qv {

Frame::Frame(const Pointer<LayoutElement>& element, Placement placement)
    : m_element(element), m_placement(placement) {
    QV_ASSERT(!element.isNull());
}

void Frame::moveTo(std::int32_t x, std::int32_t y) noexcept {
    m_x = x;
    m_y = y;
}

namespace {

std::string point(std::int32_t x, std::int32_t y) {
    return "(" + std::to_string(std::max(x, 0)) + "," + std::to_string(std::max(y, 0)) + ") ";
}

}  // namespace

std::string Frame::prefix() const {
    switch (m_placement) {
        case Placement::kMaximized:
            return "maximized ";
        case Placement::kOptimized:
            return "optimized" + point(m_x, m_y);
        case Placement::kFloating:
            return "floating" + point(m_x, m_y);
        case Placement::kInTable:
            return "";
    }
    return "";
}

void Frame::writeSource(std::string& out, std::int32_t indent) const {
    if (!m_comments.leading.isNull()) {
        appendLeadingComments(out, m_comments.leading->view(), indent);
        appendIndent(out, indent);
    }
    out += prefix();
    m_element->writeSource(out, indent);
    // Every directive ends with a line end; the trailing comments go before it.
    if (!m_comments.trailing.isNull() && !out.empty() && out.back() == '\n') {
        out.pop_back();
        appendTrailingComments(out, m_comments.trailing->view());
        out += '\n';
    }
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
