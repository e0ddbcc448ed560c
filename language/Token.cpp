// Token tests used by the parsers, the source form of operator codes (used
// to print expressions back), and the debugging text of a token.
#include "language/Token.h"

#include "core/Number.h"
#include "core/StringBuffer.h"

namespace qv {

// ORDER TOKEN
std::string_view operatorText(std::int32_t code) noexcept {
    switch (code) {
        case kConcat:
            return "&";
        case kPlus:
            return "+";
        case kMinus:
            return "-";
        case kTimes:
            return "*";
        case kDivide:
            return "/";
        case kLess:
            return "<";
        case kLessEqual:
            return "<=";
        case kGreater:
            return ">";
        case kGreaterEqual:
            return ">=";
        case kEqual:
            return "=";
        case kAnd:
            return "and";
        case kOr:
            return "or";
        case kNot:
            return "not";
        case kAt:
            return "@";
        default:
            return "";
    }
}

bool Token::isWord(std::string_view word) const noexcept {
    if (m_code != kIdentifier || !is<String>(m_value)) return false;
    return static_cast<const String*>(m_value.object())->view() == word;
}

bool Token::isNumber() const noexcept {
    return m_code == kLiteral && is<Number>(m_value);
}

bool Token::isString() const noexcept {
    return m_code == kLiteral && is<String>(m_value);
}

StringPointer Token::describe() const {
    StringBuffer buffer;
    buffer.append("Token(code=");
    buffer.append(m_code);
    buffer.append(",value=");
    buffer.append(m_value);
    buffer.append(",pos=");
    buffer.append(m_position);
    buffer.append(")");
    return buffer.toString();
}

}  // namespace qv
