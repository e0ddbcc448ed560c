#include "kernel/TypedFormula.h"

#include "language/StringStream.h"

namespace qv {

namespace {

// A typed text that is one number literal or the word true or false.
bool isPlainLiteral(const StringPointer& text) {
    try {
        auto stream = make<StringStream>(text);
        Pointer<Token> token = stream->next();
        bool literal = token->isNumber() || token->isWord("true") || token->isWord("false");
        return literal && stream->next()->code() == kEnd;
    } catch (const StringPointer&) {
        return false;
    }
}

}  // namespace

StringPointer toFormulaText(const StringPointer& text) {
    if (text.isNull() || text->length() == 0) return str("");
    char first = text->charAt(0);
    if (first == '=') return text->substring(1);
    if (first == '+' || first == '-') return text;
    return str("\"") + text + "\"";
}

StringPointer typedFormulaText(const StringPointer& text) {
    StringPointer typed = text.isNull() ? str("") : text->trim();
    if (typed->length() == 0 || isPlainLiteral(typed)) return typed;
    return toFormulaText(typed);
}

}  // namespace qv
