#include "editing/MoveFrameCommand.h"

#include <string>

namespace qv {

// The layout places every frame at its own corner, so moving the frame's
// bounds is all it takes; the layout then settles what is inside.
void MoveFrameCommand::moveTo(toolkit::Point corner) {
    if (m_frame.isNull()) return;
    const toolkit::Rect& bounds = m_frame->bounds();
    m_frame->moveBy({corner.x - bounds.x, corner.y - bounds.y});
    m_frame->invalidateLayout();
    m_frame->repaint();
}

StringPointer MoveFrameCommand::describe() const {
    return str("MoveFrameCommand(from=" + std::to_string(m_from.x) + "," +
               std::to_string(m_from.y) + " to=" + std::to_string(m_to.x) + "," +
               std::to_string(m_to.y) + ")");
}

}  // namespace qv
