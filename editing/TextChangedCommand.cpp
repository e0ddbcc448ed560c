#include "editing/TextChangedCommand.h"

#include <algorithm>

#include "core/Utf8.h"
#include "editing/TextBase.h"

namespace qv {

TextChangedCommand::TextChangedCommand(const Pointer<TextBase>& text, std::int32_t position,
                                       std::int32_t length)
    : m_text(text), m_position(position), m_length(length) {}

// The text may have been replaced outside the history since (a field given
// a cell's formula): the range is kept within the text and on character
// boundaries, so the swap never reaches past the end or splits a character.
void TextChangedCommand::swap() {
    if (m_text.isNull()) return;
    TextBase& text = *m_text;
    text.raiseVersion();
    std::string_view current = text.text();
    m_position = utf8::snap(current, m_position);
    std::string removed;
    if (m_length > 0) {
        std::int32_t end =
            utf8::snap(current, std::min<std::int64_t>(std::int64_t{m_position} + m_length,
                                                       static_cast<std::int64_t>(current.size())));
        removed = text.removeText(m_position, end - m_position);
        text.setCaret(m_position);
        m_length = -1;
    }
    if (!m_stored.empty()) {
        text.insertText(m_position, m_stored);
        text.setCaret(m_position + static_cast<std::int32_t>(m_stored.size()));
        m_length = static_cast<std::int32_t>(m_stored.size());
    }
    m_stored = std::move(removed);
    text.textChanged();
}

StringPointer TextChangedCommand::describe() const {
    return str("TextChangedCommand(position=" + std::to_string(m_position) +
               ",length=" + std::to_string(m_length) + ",text=" + m_stored + ")");
}

}  // namespace qv
