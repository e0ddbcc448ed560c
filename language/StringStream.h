// StringStream turns a String into Tokens with one token of lookahead, a
// saved-position facility for backtracking, and the composite readers that
// the parsers share. Every lexical error is thrown as a StringPointer.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"
#include "language/Token.h"

namespace qv {

class StreamPosition final : public Object {
    QV_OBJECT(StreamPosition, Object, "StreamPosition")
  public:
    StreamPosition(const Pointer<Token>& lookahead, std::int32_t tokenStart, std::int32_t position)
        : lookahead(lookahead), tokenStart(tokenStart), position(position) {}

    Pointer<Token> lookahead;
    std::int32_t tokenStart;
    std::int32_t position;
};

class StringStream final : public Object {
    QV_OBJECT(StringStream, Object, "StringStream")
  public:
    explicit StringStream(const StringPointer& source);

    // The lookahead token, reading one when there is none.
    const Pointer<Token>& peek();
    // The lookahead token (emptying the lookahead) or a freshly read one.
    Pointer<Token> next();

    // Takes the next token; throws "expecting " + text when its code differs.
    void expect(std::int32_t code, std::string_view text);
    // Takes the next token; throws "expecting " + word unless it is that identifier.
    void expectWord(std::string_view word);
    // A plain identifier, or the trimmed raw text of a bracketed name.
    StringPointer readIdentifier();
    // Raw characters up to `terminator` (consumed, not returned) or the end.
    // Throws "can not read suffixed stream " while a token is in lookahead.
    StringPointer readRawUntil(char terminator);
    // The intValue() of a numeric literal; "expecting number" otherwise.
    std::int32_t readNumber();
    // "<" number ">".
    std::int32_t readAngleNumber();

    Pointer<StreamPosition> mark() const;
    void reset(const Pointer<StreamPosition>& position);
    // The source from the current position saved in `from` up to the token
    // start saved in `to`.
    StringPointer sourceBetween(const Pointer<StreamPosition>& from,
                                const Pointer<StreamPosition>& to) const;

    const StringPointer& source() const noexcept { return m_source; }
    std::int32_t position() const noexcept { return m_position; }
    std::int32_t tokenStart() const noexcept { return m_tokenStart; }
    bool hasLookahead() const noexcept { return !m_lookahead.isNull(); }

  private:
    Pointer<Token> readToken();
    char readChar() noexcept;
    void unreadChar() noexcept { --m_position; }
    Pointer<Token> readWord(char first);
    Pointer<Token> readNumberToken(char first);
    Pointer<Token> readQuoted(char close, std::int32_t code);
    void skipLineComment();
    void skipBlockComment();

    StringPointer m_source;
    Pointer<Token> m_lookahead;
    std::int32_t m_tokenStart = 0;
    std::int32_t m_position = 0;
};

}  // namespace qv
