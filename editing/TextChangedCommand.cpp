#include "editing/TextChangedCommand.h"

#include <string>

namespace qv {

void TextChangedCommand::swap() {
    if (m_text != nullptr) m_text->swapRange(m_position, m_length, m_stored);
}

StringPointer TextChangedCommand::describe() const {
    return str("TextChangedCommand(position=" + std::to_string(m_position) +
               ",length=" + std::to_string(m_length) + ",text=" + m_stored + ")");
}

}  // namespace qv
