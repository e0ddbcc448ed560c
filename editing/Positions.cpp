#include "editing/Positions.h"

#include <string>

namespace qv {

FloatLayoutPosition::FloatLayoutPosition(const Pointer<AbstractEditable>& root,
                                         toolkit::Point point, std::int32_t stackIndex,
                                         std::optional<FrameState> state)
    : m_root(root), m_point(point), m_stackIndex(stackIndex), m_state(state) {}

StringPointer FloatLayoutPosition::describe() const {
    std::string text = "FloatLayoutPosition(x=" + std::to_string(m_point.x) +
                       ",y=" + std::to_string(m_point.y) + ",index=" + std::to_string(m_stackIndex);
    if (m_state) {
        text += ",placement=" + std::to_string(static_cast<std::int32_t>(m_state->placement));
    }
    return str(text + ")");
}

StringPointer EditablePosition::describe() const {
    return str("EditablePosition(container=" + std::string(m_container.object()->getClassName()) +
               ",slot=" + std::to_string(m_slot) + ")");
}

}  // namespace qv
