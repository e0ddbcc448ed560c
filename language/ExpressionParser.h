// ExpressionParser: recursive descent over the token stream, one function per
// precedence level. It reads formulas typed into cells, names typed by the
// user and reference expressions; TableParser extends it with the table
// grammar.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/String.h"
#include "language/AbstractExpression.h"
#include "language/ParseResult.h"
#include "language/PrimaryExpressions.h"
#include "language/StringStream.h"

namespace qv {

class ExpressionParser : public Object {
    QV_OBJECT(ExpressionParser, Object, "ExpressionParser")
  public:
    // Deepest nesting one formula may hold: brackets, conditions and prefix
    // operators count one level each, ten operators of a chain one level.
    static constexpr std::int32_t kMaxNesting = 1000;

    // A reference expression (names, ".", "[...]" and "[*]").
    ExpressionPointer parseAccess(const StringPointer& text);
    // One expression at the alternatives level from the caller's stream; the
    // first token it cannot use stays in the lookahead.
    ExpressionPointer parse(const Pointer<StringStream>& stream);
    // A whole formula: the null object for blank text, an ExpressionSource,
    // or an ErrorExpression carrying "Invalid formula: " and the message.
    ExpressionPointer parseFormula(const StringPointer& text);
    // A field name: a String, a FunctionSignature, or an error.
    Pointer<ParseResult> parseFieldName(const StringPointer& text);
    // A single identifier; the error names `what`.
    Pointer<ParseResult> parseIdentifier(const StringPointer& text, std::string_view what);

  protected:
    // Parses at the alternatives level; with `wholeText` the text must end there.
    ExpressionPointer parseComplete(bool wholeText);
    const Pointer<StringStream>& stream() const noexcept { return m_stream; }
    void useStream(const Pointer<StringStream>& stream) { m_stream = stream; }

  private:
    class Nesting;

    ExpressionPointer parseAlternatives();
    ExpressionPointer parseAlternative();
    ExpressionPointer parseSelect();
    ExpressionPointer parseRange();
    ExpressionPointer parseDataRange();
    ExpressionPointer parseConditional();
    ExpressionPointer parseBracketed();
    ExpressionPointer parseOr();
    ExpressionPointer parseAnd();
    ExpressionPointer parseNot();
    ExpressionPointer parseComparison();
    ExpressionPointer parseConcatenation();
    ExpressionPointer parseAdditive();
    ExpressionPointer parseMultiplicative();
    ExpressionPointer parseUnary();
    ExpressionPointer parsePostfix();
    ExpressionPointer parsePrimary();
    ExpressionPointer parseNameForm(const StringPointer& name, std::int32_t at);
    std::int32_t nameOffset();
    ExpressionPointer readLiteral();
    StringPointer readName();
    Pointer<ExpressionList> parseArguments();
    ExpressionPointer parseArgument();
    ExpressionPointer parseAccessPrimary();

    Pointer<StringStream> m_stream;
    std::int32_t m_nesting = 0;
    // Where the formula's text begins in the stream's source: name nodes
    // keep their offsets from there.
    std::int32_t m_nameBase = 0;
    // The mark that closes a literal or bracketed name left open at the end
    // of the text, or NUL.
    char m_unclosed = '\0';
};

// Every syntax error leaves through here.
[[noreturn]] void syntaxError(std::string_view message);

}  // namespace qv
