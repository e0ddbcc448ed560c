// Two plain splitters of text: MyStringTokenizer cuts at any delimiter byte
// (pasted cells at tabs and line ends, key paths at "/"), word_tokenizer
// cuts into words, blank runs and line feeds for word wrapping.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class MyStringTokenizer final : public Object {
    QV_OBJECT(MyStringTokenizer, Object, "MyStringTokenizer")
  public:
    MyStringTokenizer(const StringPointer& text, const StringPointer& delimiters);

    // True while a token remains. A trailing delimiter does not announce an
    // extra empty token; a final one-character token is returned.
    bool hasMoreTokens() const noexcept;
    // The next token, or nullString when there is none.
    StringPointer nextToken();
    char lastDelimiter() const noexcept { return m_lastDelimiter; }

  private:
    bool isDelimiter(char ch) const noexcept;

    StringPointer m_text;
    StringPointer m_delimiters;
    char m_lastDelimiter = '\0';
    std::int32_t m_position = 0;
};

class word_tokenizer final : public Object {
    QV_OBJECT(word_tokenizer, Object, "word_tokenizer")
  public:
    explicit word_tokenizer(const StringPointer& text);
    // A word with at most one trailing blank, a run of blanks, a line feed
    // alone, or nullString at the end.
    StringPointer nextToken();

  private:
    StringPointer m_text;
    std::int32_t m_position = 0;
    std::int32_t m_length;
};

}  // namespace qv
