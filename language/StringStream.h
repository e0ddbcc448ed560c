// StringStream turns a String into Tokens with one token of lookahead, a
// saved-position facility for backtracking, and the composite readers that
// the parsers share. Every lexical error is thrown as a StringPointer.
//
// Line ends are LF, CR LF or a lone CR alike. A UTF-8 byte-order mark at the
// start of the text is skipped. The stream also remembers where every
// comment it skipped lies, so that the document reader can keep them, and
// where the last token or lexical error began, so that a reader can say
// where a message arose.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

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

// One comment of the text: "//" up to the line end (not included) or "/*"
// up to and including "*/"; a "/*" without its "*/" is the lexical error
// "unterminated comment".
struct CommentSpan {
    std::int32_t begin;
    std::int32_t end;
};

// A place in a text: 1-based line and 1-based column counted in bytes from
// the start of the line (a byte-order mark is not counted).
struct SourcePosition {
    std::int32_t line;
    std::int32_t column;
    friend bool operator==(const SourcePosition&, const SourcePosition&) = default;
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
    // Where the text proper starts: after a byte-order mark, else 0.
    std::int32_t textStart() const noexcept { return m_textStart; }

    // Every comment skipped so far, in text order, each once however often
    // a reset made the stream read it again.
    const std::vector<CommentSpan>& comments() const noexcept { return m_comments; }

    // Where the last token handed out (or the character of a lexical error)
    // begins; parsers may point it at an earlier token before they throw.
    std::int32_t errorOffset() const noexcept { return m_errorOffset; }
    void setErrorOffset(std::int32_t offset) noexcept { m_errorOffset = offset; }
    SourcePosition positionOf(std::int32_t offset) const noexcept;

  private:
    Pointer<Token> readToken();
    char readChar() noexcept;
    void unreadChar() noexcept { --m_position; }
    Pointer<Token> readWord(char first);
    Pointer<Token> readNumberToken(char first);
    Pointer<Token> readQuoted(char close, std::int32_t code);
    Pointer<Token> made(std::int32_t code, std::int32_t position);
    Pointer<Token> made(std::int32_t code, const Pointer<Object>& value, std::int32_t position);
    void skipLineComment();
    void skipBlockComment();
    void recordComment(std::int32_t begin);
    const Pointer<Token>& handOut(const Pointer<Token>& token) noexcept {
        m_errorOffset = token->begin();
        return token;
    }

    StringPointer m_source;
    Pointer<Token> m_lookahead;
    std::vector<CommentSpan> m_comments;
    std::int32_t m_textStart = 0;
    std::int32_t m_tokenStart = 0;
    std::int32_t m_tokenBegin = 0;
    std::int32_t m_errorOffset = 0;
    std::int32_t m_position = 0;
};

}  // namespace qv
