#include "language/AbstractExpression.h"

#include "language/Token.h"

namespace qv {

namespace {

bool isWordStart(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_' || ch == '~';
}

bool isWordPart(char ch) {
    return isWordStart(ch) || (ch >= '0' && ch <= '9');
}

// Words that the tokenizer or a grammar rule would take as something other
// than a name in some position.
bool isReservedWord(std::string_view word) {
    static constexpr std::string_view kReserved[] = {
        "and",       "or", "if",   "then",  "else", "not",   "alt",     "select", "range",
        "datarange", "to", "step", "steps", "from", "where", "extends", "table"};
    for (std::string_view reserved : kReserved) {
        if (word == reserved) return true;
    }
    return false;
}

}  // namespace

bool isPlainName(std::string_view name) {
    if (name.empty() || !isWordStart(name[0])) return false;
    for (char ch : name) {
        if (!isWordPart(ch)) return false;
    }
    return !isReservedWord(name);
}

void printName(std::string& out, const StringPointer& name) {
    std::string_view text = name.isNull() ? std::string_view() : name->view();
    if (isPlainName(text)) {
        out += text;
        return;
    }
    out += '[';
    out += text;
    out += ']';
}

void AbstractExpression::printChild(std::string& out, const Pointer<AbstractExpression>& child,
                                    Precedence required) {
    if (child.isNull()) return;
    if (child->precedence() < required) {
        out += '(';
        child->print(out);
        out += ')';
    } else {
        child->print(out);
    }
}

StringPointer AbstractExpression::toSource() const {
    std::string out;
    print(out);
    return str(out);
}

StringPointer AbstractExpression::displayText() const {
    return str("=") + toSource();
}

StringPointer AbstractExpression::describe() const {
    return str(getClassName()) + "(" + toSource() + ")";
}

}  // namespace qv
