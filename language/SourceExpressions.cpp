#include "language/SourceExpressions.h"

#include "language/PrimaryExpressions.h"

namespace qv {

namespace {

// Hash text cannot hold its own mark; dropping the marks inside keeps the
// document readable instead of cutting it at the first one.
void printHashText(std::string& out, std::string_view text) {
    out += '#';
    for (char ch : text) {
        if (ch != '#') out += ch;
    }
    out += '#';
}

std::string_view viewOf(const StringPointer& text) {
    return text.isNull() ? std::string_view() : text->view();
}

}  // namespace

void ErrorExpression::print(std::string& out) const {
    printHashText(out, viewOf(m_text));
}

StringPointer ErrorExpression::displayText() const {
    return str("=") + viewOf(m_text);
}

StringPointer ErrorExpression::describe() const {
    return str("ErrorExpression(") + m_error.object()->toString() + ")";
}

Pointer<Object> ErrorExpression::clone() const {
    return make<ErrorExpression>(m_text, m_error);
}

ExpressionSource::ExpressionSource(const StringPointer& text,
                                   const Pointer<AbstractExpression>& expression, Origin origin,
                                   std::int32_t readableLength, char unclosed)
    : m_text(text), m_expression(expression), m_origin(origin), m_unclosed(unclosed) {
    QV_ASSERT(!expression.isNull());
    std::int32_t length = text.isNull() ? 0 : text->length();
    m_readableLength = readableLength < 0 || readableLength > length ? length : readableLength;
}

Pointer<AbstractExpression> ExpressionSource::innermost() const {
    Pointer<AbstractExpression> node = m_expression;
    while (is<ExpressionSource>(node))
        node = cast<ExpressionSource>(node)->expression();
    return node;
}

void ExpressionSource::print(std::string& out) const {
    auto inner = innermost();
    if (m_origin == Origin::HashText || is<ErrorExpression>(inner)) {
        printHashText(out, viewOf(m_text));
        return;
    }
    // A string literal always gets its closing quote, or it would swallow the
    // rest of the document.
    if (is<ValueExpression>(inner) && cast<ValueExpression>(inner)->holdsString()) {
        inner->print(out);
        return;
    }
    // Trailing comments are left out: an unclosed one would swallow the terminator.
    std::string_view readable =
        viewOf(m_text).substr(0, static_cast<std::size_t>(m_readableLength));
    if (m_unclosed == '\0') {
        out += trimmedBlanks(readable);
        return;
    }
    // An open construct ends the text; its trailing blanks are part of it.
    while (!readable.empty() && isBlankByte(readable.front()))
        readable.remove_prefix(1);
    out += readable;
    out += m_unclosed;
}

StringPointer ExpressionSource::displayText() const {
    auto inner = innermost();
    if (is<ErrorExpression>(inner)) return inner->displayText();
    if (is<ValueExpression>(inner)) {
        auto value = cast<ValueExpression>(inner);
        if (value->holdsString()) return cast<String>(value->value());
        return str(trimmedBlanks(viewOf(m_text)));
    }
    return str("=") + trimmedBlanks(viewOf(m_text));
}

StringPointer ExpressionSource::editText() const {
    auto inner = innermost();
    if (is<ErrorExpression>(inner)) return inner->editText();
    if (is<ValueExpression>(inner) && cast<ValueExpression>(inner)->holdsString()) {
        return inner->toSource();
    }
    if (is<ExpressionSource>(m_expression)) return m_expression->editText();
    return str(viewOf(m_text));
}

StringPointer ExpressionSource::describe() const {
    return str("ExpressionSource(") + viewOf(m_text) + ")";
}

Pointer<Object> ExpressionSource::clone() const {
    return make<ExpressionSource>(m_text, cloneExpression(m_expression), m_origin, m_readableLength,
                                  m_unclosed);
}

}  // namespace qv
