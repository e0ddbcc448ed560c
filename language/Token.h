// Tokens of the formula and document language. The numeric codes are also
// the operator codes stored in expression nodes. grep "ORDER TOKEN" for the
// tables that must stay in step with this enum.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

// ORDER TOKEN
enum TokenCode : std::int32_t {
    kConcat = 0,        // &
    kOpenParen = 2,     // (
    kCloseParen = 3,    // )
    kOpenBracket = 4,   // [
    kCloseBracket = 5,  // ]
    kEnd = 6,           // end of the text
    kComma = 7,         // ,
    kDot = 8,           // .
    kDefine = 9,        // :=
    kColon = 10,        // :
    kOpenBrace = 13,    // {
    kCloseBrace = 14,   // }
    kSemicolon = 16,    // ; ends a hidden field
    kExclamation = 17,  // ! ends a visible field
    kPlus = 18,
    kMinus = 19,
    kTimes = 20,
    kDivide = 21,
    kLess = 22,
    kLessEqual = 23,
    kGreater = 24,
    kGreaterEqual = 25,
    kEqual = 26,
    kAnd = 27,
    kOr = 28,
    kIf = 29,
    kThen = 30,
    kElse = 31,
    kNot = 32,
    kIdentifier = 33,
    kLiteral = 34,
    kEmptyValue = 35,  // ?
    kHashText = 36,    // #...#
    kAt = 37,          // @
};

// The source form of an operator code ("+", "<=", "and", ...), or "" for
// codes that are not operators.
std::string_view operatorText(std::int32_t code) noexcept;

class Token final : public Object {
    QV_OBJECT(Token, Object, "Token")
  public:
    // `begin` is the index of the token's first character, after the blanks
    // and comments in front of it; it defaults to `position`.
    Token(std::int32_t code, const Pointer<Object>& value, std::int32_t position,
          std::int32_t begin = -1)
        : m_value(value),
          m_position(position),
          m_begin(begin < 0 ? position : begin),
          m_code(code) {}

    std::int32_t code() const noexcept { return m_code; }
    std::int32_t position() const noexcept { return m_position; }
    // Where the token's own characters start: what a message points at.
    std::int32_t begin() const noexcept { return m_begin; }
    const Pointer<Object>& value() const noexcept { return m_value; }
    // The word of an identifier, the text of a string literal or hash text.
    StringPointer text() const { return cast<String>(m_value); }

    bool isWord(std::string_view word) const noexcept;
    bool isNumber() const noexcept;
    bool isString() const noexcept;

    StringPointer describe() const override;

  private:
    Pointer<Object> m_value;
    std::int32_t m_position;
    std::int32_t m_begin;
    std::int32_t m_code;
};

}  // namespace qv
