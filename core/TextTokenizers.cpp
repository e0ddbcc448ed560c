#include "core/TextTokenizers.h"

namespace qv {

MyStringTokenizer::MyStringTokenizer(const StringPointer& text, const StringPointer& delimiters)
    : m_text(text.isNull() ? str("") : text),
      m_delimiters(delimiters.isNull() ? str("") : delimiters) {}

bool MyStringTokenizer::isDelimiter(char ch) const noexcept {
    return m_delimiters->indexOf(ch) >= 0;
}

bool MyStringTokenizer::hasMoreTokens() const noexcept {
    return m_position < m_text->length();
}

StringPointer MyStringTokenizer::nextToken() {
    if (!hasMoreTokens()) return nullString;
    std::int32_t begin = m_position;
    while (m_position < m_text->length() && !isDelimiter(m_text->charAt(m_position)))
        ++m_position;
    std::int32_t end = m_position;
    // The end of the text ends the last token without a delimiter.
    m_lastDelimiter = m_position < m_text->length() ? m_text->charAt(m_position++) : '\0';
    return m_text->substring(begin, end);
}

word_tokenizer::word_tokenizer(const StringPointer& text)
    : m_text(text.isNull() ? str("") : text), m_length(m_text->length()) {}

StringPointer word_tokenizer::nextToken() {
    if (m_position >= m_length) return nullString;
    std::int32_t begin = m_position;
    char first = m_text->charAt(m_position++);
    if (first == '\n') return m_text->substring(begin, m_position);
    if (first == ' ') {
        while (m_position < m_length && m_text->charAt(m_position) == ' ')
            ++m_position;
        return m_text->substring(begin, m_position);
    }
    while (m_position < m_length) {
        char ch = m_text->charAt(m_position);
        if (ch == '\n') break;
        ++m_position;
        if (ch == ' ') break;
    }
    return m_text->substring(begin, m_position);
}

}  // namespace qv
