#include "app/Layout.h"

#include <string>

#include "core/Assert.h"

namespace qv {

Layout::Layout() : m_frames(make<FrameList>()) {}

void Layout::add(const Pointer<Frame>& frame) {
    QV_ASSERT(!frame.isNull() && frame->placement() != FramePlacement::InTable);
    m_frames->add(frame);
}

StringPointer Layout::toSource() const {
    std::string out;
    for (const auto& frame : *m_frames)
        frame->writeSource(out, 0);
    if (!m_endComments.isNull()) appendLeadingComments(out, m_endComments->view(), 0);
    return str(out);
}

std::int32_t Layout::commentCount() const noexcept {
    std::int32_t total = m_endComments.isNull() ? 0 : countComments(m_endComments->view());
    for (const auto& frame : *m_frames)
        total += frame->commentCount();
    return total;
}

StringPointer Layout::describe() const {
    std::string text = std::string(getClassName()) + "{";
    for (const auto& frame : *m_frames)
        text += frame->describe()->toStdString() + ";";
    return str(text + "}");
}

bool Layout::equals(const Object& other) const noexcept {
    if (!is<Layout>(other)) return false;
    const auto& layout = static_cast<const Layout&>(other);
    if (layout.frameCount() != frameCount()) return false;
    for (std::int32_t i = 0; i < frameCount(); ++i) {
        if (!frame(i)->equals(*layout.frame(i))) return false;
    }
    return true;
}

}  // namespace qv
