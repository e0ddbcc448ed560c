// Grammar, lowest precedence first ("word" = identifier compared by text):
//   alternatives  -> alternative { "alt" alternative }
//   alternative   -> select | range | datarange | conditional
//   select        -> "select" "*" "from" name "where" conditional
//   range         -> "range" conditional "to" conditional { clause-word conditional }
//   datarange     -> "datarange" [ conditional ]
//   conditional   -> if or then or [ else conditional ] | or
//   or            -> and { or and }
//   and           -> not { and not }
//   not           -> not comparison | comparison
//   comparison    -> concatenation [ (< | <= | > | >= | =) concatenation ]
//   concatenation -> additive { & additive }
//   additive      -> multiplicative { (+ | -) multiplicative }
//   multiplicative-> unary { (* | /) unary }
//   unary         -> (+ | -) unary | postfix
//   postfix       -> primary { "[" conditional "]" | "." primary }
//   primary       -> ( conditional ) | name name-form | literal | ?
//   name-form     -> "(" arguments ")" | "@" name | nothing
//   arguments     -> [ argument { "," [ argument ] } ]
//   argument      -> alternatives [ ":=" alternatives ]
#include "language/ExpressionParser.h"

#include "core/Errors.h"
#include "language/FunctionSignature.h"
#include "language/OperatorExpressions.h"
#include "language/SourceExpressions.h"
#include "language/TableExpressions.h"

namespace qv {

void syntaxError(std::string_view message) {
    throwMessage(message);
}

// Counts nesting in one place, in tenths of a level: a bracket, a condition
// or a prefix operator opens a whole level (a deep recursion of the parser),
// each operator of a chain a tenth (one more node of depth in the tree).
// What a guard entered is given back when it leaves its scope.
class ExpressionParser::Nesting {
  public:
    static constexpr std::int32_t kLevel = 10;
    static constexpr std::int32_t kChainLink = 1;

    explicit Nesting(ExpressionParser& parser) : m_parser(parser) {}
    ~Nesting() { m_parser.m_nesting -= m_entered; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

    void enter(std::int32_t weight) {
        if (m_parser.m_nesting + weight > kMaxNesting * kLevel) {
            syntaxError("expression nested too deeply");
        }
        m_parser.m_nesting += weight;
        m_entered += weight;
    }

  private:
    ExpressionParser& m_parser;
    std::int32_t m_entered = 0;
};

namespace {

ExpressionPointer binary(const ExpressionPointer& left, const ExpressionPointer& right,
                         std::int32_t op) {
    return make<BinaryExpression>(left, right, op);
}

bool isComparison(std::int32_t code) {
    return code >= kLess && code <= kEqual;
}

}  // namespace

ExpressionPointer ExpressionParser::parseComplete(bool wholeText) {
    ExpressionPointer expression = parseAlternatives();
    if (wholeText && m_stream->peek()->code() != kEnd) syntaxError("unexpected character");
    return expression;
}

ExpressionPointer ExpressionParser::parse(const Pointer<StringStream>& stream) {
    m_stream = stream;
    // The formula's text begins with its first token.
    m_nameBase = stream->peek()->begin();
    return parseAlternatives();
}

// alternatives -> alternative { "alt" alternative }
ExpressionPointer ExpressionParser::parseAlternatives() {
    ExpressionPointer first = parseAlternative();
    if (first.isNull() || !m_stream->peek()->isWord("alt")) return first;
    auto alternatives = make<ExpressionList>();
    alternatives->add(first);
    while (m_stream->peek()->isWord("alt")) {
        m_stream->next();
        ExpressionPointer next = parseAlternative();
        if (next.isNull()) syntaxError("expecting expression after \"alt\"");
        alternatives->add(next);
    }
    return make<AltExpression>(alternatives);
}

// alternative -> select | range | datarange | conditional
ExpressionPointer ExpressionParser::parseAlternative() {
    const auto& token = m_stream->peek();
    if (token->isWord("select")) return parseSelect();
    if (token->isWord("range")) return parseRange();
    if (token->isWord("datarange")) return parseDataRange();
    return parseConditional();
}

// select -> "select" "*" "from" name "where" conditional
ExpressionPointer ExpressionParser::parseSelect() {
    m_stream->next();
    m_stream->expect(kTimes, "*");
    m_stream->expectWord("from");
    std::int32_t tableAt = nameOffset();
    StringPointer table = readName();
    m_stream->expectWord("where");
    ExpressionPointer condition = parseConditional();
    if (condition.isNull()) syntaxError("expecting expression after where");
    return make<SelectExpression>(table, condition, tableAt);
}

// range -> "range" conditional "to" conditional { clause-word conditional }
ExpressionPointer ExpressionParser::parseRange() {
    m_stream->next();
    ExpressionPointer from = parseConditional();
    if (from.isNull()) syntaxError("Syntax error8");
    if (!m_stream->peek()->isWord("to")) syntaxError("Syntax error9");
    m_stream->next();
    ExpressionPointer to = parseConditional();
    if (to.isNull()) syntaxError("Syntax error10");
    ExpressionPointer step;
    ExpressionPointer steps;
    for (;;) {
        std::int32_t code = m_stream->peek()->code();
        if (code == kEnd || code == kComma || code == kCloseBrace || code == kSemicolon ||
            code == kExclamation) {
            break;
        }
        Pointer<Token> word = m_stream->next();
        ExpressionPointer value = parseConditional();
        if (value.isNull()) syntaxError("Syntax error11");
        if (word->isWord("step")) {
            step = value;
        } else if (word->isWord("steps")) {
            steps = value;
        } else {
            syntaxError("Syntax error12");
        }
    }
    return make<RangeExpression>(from, to, step, steps);
}

// datarange -> "datarange" [ conditional ]
ExpressionPointer ExpressionParser::parseDataRange() {
    m_stream->next();
    return make<DataRangeExpression>(parseConditional());
}

// conditional -> if or then or [ else conditional ] | or
ExpressionPointer ExpressionParser::parseConditional() {
    if (m_stream->peek()->code() != kIf) return parseOr();
    // Only a condition opens a level here: counting every conditional would
    // charge the formula itself and each bracket twice.
    Nesting nesting(*this);
    nesting.enter(Nesting::kLevel);
    m_stream->next();
    ExpressionPointer condition = parseOr();
    if (condition.isNull()) syntaxError("Syntax error5");
    m_stream->expect(kThen, "then");
    ExpressionPointer thenPart = parseOr();
    if (thenPart.isNull()) syntaxError("Syntax error6");
    ExpressionPointer elsePart;
    if (m_stream->peek()->code() == kElse) {
        m_stream->next();
        elsePart = parseConditional();
        if (elsePart.isNull()) syntaxError("Syntax error7");
    }
    return make<IfExpression>(condition, thenPart, elsePart);
}

// A conditional inside "(" or "[", which opens a level of its own.
ExpressionPointer ExpressionParser::parseBracketed() {
    Nesting nesting(*this);
    nesting.enter(Nesting::kLevel);
    return parseConditional();
}

// or -> and { or and }
ExpressionPointer ExpressionParser::parseOr() {
    Nesting nesting(*this);
    ExpressionPointer left = parseAnd();
    while (!left.isNull() && m_stream->peek()->code() == kOr) {
        nesting.enter(Nesting::kChainLink);
        m_stream->next();
        ExpressionPointer right = parseAnd();
        if (right.isNull()) syntaxError("Syntax error4");
        left = binary(left, right, kOr);
    }
    return left;
}

// and -> not { and not }
ExpressionPointer ExpressionParser::parseAnd() {
    Nesting nesting(*this);
    ExpressionPointer left = parseNot();
    while (!left.isNull() && m_stream->peek()->code() == kAnd) {
        nesting.enter(Nesting::kChainLink);
        m_stream->next();
        ExpressionPointer right = parseNot();
        if (right.isNull()) syntaxError("Syntax error3");
        left = binary(left, right, kAnd);
    }
    return left;
}

// not -> not comparison | comparison
ExpressionPointer ExpressionParser::parseNot() {
    if (m_stream->peek()->code() != kNot) return parseComparison();
    m_stream->next();
    ExpressionPointer operand = parseComparison();
    if (operand.isNull()) syntaxError("Syntax error3");
    return make<UnaryExpression>(operand, kNot);
}

// comparison -> concatenation [ op concatenation ]
ExpressionPointer ExpressionParser::parseComparison() {
    ExpressionPointer left = parseConcatenation();
    if (left.isNull() || !isComparison(m_stream->peek()->code())) return left;
    std::int32_t op = m_stream->next()->code();
    ExpressionPointer right = parseConcatenation();
    if (right.isNull()) syntaxError("Syntax error2");
    return binary(left, right, op);
}

// concatenation -> additive { & additive }
ExpressionPointer ExpressionParser::parseConcatenation() {
    Nesting nesting(*this);
    ExpressionPointer left = parseAdditive();
    while (!left.isNull() && m_stream->peek()->code() == kConcat) {
        nesting.enter(Nesting::kChainLink);
        m_stream->next();
        ExpressionPointer right = parseAdditive();
        if (right.isNull()) syntaxError("Syntax error2");
        left = binary(left, right, kConcat);
    }
    return left;
}

// additive -> multiplicative { (+ | -) multiplicative }; a missing operand ends it.
ExpressionPointer ExpressionParser::parseAdditive() {
    Nesting nesting(*this);
    ExpressionPointer left = parseMultiplicative();
    while (!left.isNull()) {
        std::int32_t op = m_stream->peek()->code();
        if (op != kPlus && op != kMinus) break;
        nesting.enter(Nesting::kChainLink);
        m_stream->next();
        ExpressionPointer right = parseMultiplicative();
        if (right.isNull()) break;
        left = binary(left, right, op);
    }
    return left;
}

// multiplicative -> unary { (* | /) unary }; a missing operand ends it.
ExpressionPointer ExpressionParser::parseMultiplicative() {
    Nesting nesting(*this);
    ExpressionPointer left = parseUnary();
    while (!left.isNull()) {
        std::int32_t op = m_stream->peek()->code();
        if (op != kTimes && op != kDivide) break;
        nesting.enter(Nesting::kChainLink);
        m_stream->next();
        ExpressionPointer right = parseUnary();
        if (right.isNull()) break;
        left = binary(left, right, op);
    }
    return left;
}

// unary -> (+ | -) unary | postfix
ExpressionPointer ExpressionParser::parseUnary() {
    std::int32_t op = m_stream->peek()->code();
    if (op != kPlus && op != kMinus) return parsePostfix();
    Nesting nesting(*this);
    nesting.enter(Nesting::kLevel);
    m_stream->next();
    ExpressionPointer operand = parseUnary();
    if (operand.isNull()) syntaxError("expecting expression after unary operator");
    return make<UnaryExpression>(operand, op);
}

// postfix -> primary { "[" conditional "]" | "." primary }
ExpressionPointer ExpressionParser::parsePostfix() {
    Nesting nesting(*this);
    ExpressionPointer target = parsePrimary();
    while (!target.isNull()) {
        std::int32_t code = m_stream->peek()->code();
        if (code == kOpenBracket) {
            nesting.enter(Nesting::kChainLink);
            m_stream->next();
            ExpressionPointer index = parseBracketed();
            if (index.isNull()) syntaxError("expecting expression after [");
            m_stream->expect(kCloseBracket, "]");
            target = make<IndexOperatorExpression>(target, index);
        } else if (code == kDot) {
            nesting.enter(Nesting::kChainLink);
            m_stream->next();
            std::int32_t memberAt = m_stream->peek()->begin();
            ExpressionPointer member = parsePrimary();
            if (!is<IdentifierExpression>(member) && !is<FuncExpression>(member) &&
                !is<AtExpression>(member)) {
                m_stream->setErrorOffset(memberAt);  // the member, not its end
                syntaxError("expecting Identifier or function call after '.'");
            }
            target = make<DotOperatorExpression>(target, member);
        } else {
            break;
        }
    }
    return target;
}

// primary -> ( conditional ) | name name-form | literal | ?
ExpressionPointer ExpressionParser::parsePrimary() {
    const Pointer<Token>& token = m_stream->peek();
    switch (token->code()) {
        case kOpenParen: {
            m_stream->next();
            ExpressionPointer inner = parseBracketed();
            if (inner.isNull()) syntaxError("expecting expression in parentasis");
            m_stream->expect(kCloseParen, ")");
            return inner;
        }
        case kIdentifier:
        case kOpenBracket: {
            std::int32_t at = nameOffset();
            return parseNameForm(readName(), at);
        }
        case kLiteral:
            return readLiteral();
        case kEmptyValue:
            m_stream->next();
            return make<ValueExpression>(Pointer<Object>());
        default:
            return ExpressionPointer();
    }
}

// A string literal or bracketed name left open runs to the end of the text;
// the stored text must close it, or it would swallow what a document puts
// after the formula. Only these two constructs can be open after a parse.
ExpressionPointer ExpressionParser::readLiteral() {
    Pointer<Token> token = m_stream->next();
    if (token->isString()) {
        std::string_view text = m_stream->source()->view();
        auto end = static_cast<std::size_t>(m_stream->position());
        std::size_t length = token->text()->view().size();
        // A closed literal ends in its quote; an open empty one ends in its
        // opening quote, which a closing quote cannot directly precede.
        bool closed = end < text.size() ||
                      (end >= 2 && text[end - 1] == '"' && (length > 0 || text[end - 2] == '"'));
        if (!closed) m_unclosed = '"';
    }
    return make<ValueExpression>(token->value());
}

StringPointer ExpressionParser::readName() {
    if (m_stream->peek()->code() != kOpenBracket) return m_stream->readIdentifier();
    StringPointer name = m_stream->readIdentifier();
    std::string_view text = m_stream->source()->view();
    auto end = static_cast<std::size_t>(m_stream->position());
    if (end > text.size() || text[end - 1] != ']') m_unclosed = ']';
    return name;
}

// name-form -> "(" arguments ")" | "@" name | nothing
ExpressionPointer ExpressionParser::parseNameForm(const StringPointer& name, std::int32_t at) {
    std::int32_t code = m_stream->peek()->code();
    if (code == kOpenParen) {
        m_stream->expect(kOpenParen, "(");
        Pointer<ExpressionList> arguments = parseArguments();
        m_stream->expect(kCloseParen, ")");
        return make<FuncExpression>(name, arguments, at);
    }
    if (code == kAt) {
        m_stream->next();
        std::int32_t fieldAt = nameOffset();
        return make<AtExpression>(name, readName(), at, fieldAt);
    }
    return make<IdentifierExpression>(name, at);
}

// Where the next token's first character lies in the formula's text.
std::int32_t ExpressionParser::nameOffset() {
    return m_stream->peek()->begin() - m_nameBase;
}

// arguments -> [ argument { "," [ argument ] } ]
Pointer<ExpressionList> ExpressionParser::parseArguments() {
    Nesting nesting(*this);
    nesting.enter(Nesting::kLevel);
    auto arguments = make<ExpressionList>();
    ExpressionPointer argument = parseArgument();
    if (argument.isNull()) return arguments;
    arguments->add(argument);
    while (m_stream->peek()->code() == kComma) {
        m_stream->next();
        argument = parseArgument();
        if (argument.isNull()) break;
        arguments->add(argument);
    }
    std::int32_t assigned = 0;
    for (const auto& each : *arguments)
        assigned += is<AssignExpression>(each) ? 1 : 0;
    if (assigned != 0 && assigned != arguments->size()) {
        syntaxError("can not  mix assign and not assign arguments in function");
    }
    return arguments;
}

// argument -> alternatives [ ":=" alternatives ]
ExpressionPointer ExpressionParser::parseArgument() {
    ExpressionPointer target = parseComplete(false);
    if (target.isNull() || m_stream->peek()->code() != kDefine) return target;
    m_stream->next();
    ExpressionPointer value = parseComplete(false);
    if (value.isNull()) syntaxError("expecting expression");
    return make<AssignExpression>(target, value);
}

// access-primary -> name | literal
ExpressionPointer ExpressionParser::parseAccessPrimary() {
    std::int32_t code = m_stream->peek()->code();
    if (code == kIdentifier || code == kOpenBracket) {
        std::int32_t at = nameOffset();
        return make<IdentifierExpression>(m_stream->readIdentifier(), at);
    }
    if (code == kLiteral) return make<ValueExpression>(m_stream->next()->value());
    return ExpressionPointer();
}

// access -> access-primary { "." access-primary | "[" "*" "]" | "[" access-primary "]" }
ExpressionPointer ExpressionParser::parseAccess(const StringPointer& text) {
    m_stream = make<StringStream>(text);
    m_nesting = 0;
    m_nameBase = 0;
    Nesting nesting(*this);
    ExpressionPointer target = parseAccessPrimary();
    while (!target.isNull()) {
        std::int32_t code = m_stream->peek()->code();
        if (code == kDot) {
            nesting.enter(Nesting::kChainLink);
            m_stream->next();
            ExpressionPointer member = parseAccessPrimary();
            if (!is<IdentifierExpression>(member)) syntaxError("invalid access expression");
            target = make<DotOperatorExpression>(target, member);
        } else if (code == kOpenBracket) {
            nesting.enter(Nesting::kChainLink);
            m_stream->next();
            if (m_stream->peek()->code() == kTimes) {
                m_stream->next();
                m_stream->expect(kCloseBracket, "]");
                target = make<LastIndexExpression>(target);
                continue;
            }
            ExpressionPointer index = parseAccessPrimary();
            if (index.isNull()) syntaxError("expecting expression after [");
            m_stream->expect(kCloseBracket, "]");
            target = make<IndexOperatorExpression>(target, index);
        } else {
            break;
        }
    }
    return target;
}

ExpressionPointer ExpressionParser::parseFormula(const StringPointer& text) {
    if (text.isNull() || text->trim()->length() == 0) return ExpressionPointer();
    try {
        m_stream = make<StringStream>(text);
        m_nesting = 0;
        m_nameBase = 0;
        m_unclosed = '\0';
        ExpressionPointer expression = parseComplete(true);
        if (expression.isNull()) return expression;
        return make<ExpressionSource>(text, expression, ExpressionSource::Origin::Plain,
                                      m_stream->peek()->position(), m_unclosed);
    } catch (const StringPointer& message) {
        return make<ErrorExpression>(text, make<Warning>(str("Invalid formula: ") + message));
    }
}

Pointer<ParseResult> ExpressionParser::parseFieldName(const StringPointer& text) {
    StringPointer name = text.isNull() ? str("") : text->trim();
    if (name->length() == 0) return make<ParseResult>(Pointer<Object>(), StringPointer());
    try {
        m_stream = make<StringStream>(name);
        m_nesting = 0;
        m_nameBase = 0;
        ExpressionPointer expression = parseComplete(true);
        if (is<IdentifierExpression>(expression)) {
            return make<ParseResult>(cast<IdentifierExpression>(expression)->name(),
                                     StringPointer());
        }
        if (!is<FuncExpression>(expression)) {
            return make<ParseResult>(
                Pointer<Object>(),
                str("Invalid field name: expecting identifier or function signature"));
        }
        auto function = cast<FuncExpression>(expression);
        const auto& parameters = function->arguments();
        for (std::int32_t i = 0; i < parameters->size(); ++i) {
            if (!is<IdentifierExpression>((*parameters)[i])) {
                syntaxError(" function name parameters must be identifiers only");
            }
            StringPointer parameter = (*parameters)[i]->nameText();
            for (std::int32_t k = 0; k < i; ++k) {
                if ((*parameters)[k]->nameText()->equals(parameter->view())) {
                    throwString(parameter + " is repeated in function signature");
                }
            }
        }
        return make<ParseResult>(make<FunctionSignature>(function->name(), parameters),
                                 StringPointer());
    } catch (const StringPointer& message) {
        return make<ParseResult>(Pointer<Object>(), str("Invalid field name: ") + message);
    }
}

Pointer<ParseResult> ExpressionParser::parseIdentifier(const StringPointer& text,
                                                       std::string_view what) {
    StringPointer name = text.isNull() ? str("") : text->trim();
    if (name->length() == 0) return make<ParseResult>(Pointer<Object>(), StringPointer());
    try {
        m_stream = make<StringStream>(name);
        Pointer<Token> token = m_stream->next();
        if (token->code() == kIdentifier && m_stream->next()->code() == kEnd) {
            return make<ParseResult>(token->text(), StringPointer());
        }
    } catch (const StringPointer&) {
        // Falls through to the message below, which names what was expected.
    }
    return make<ParseResult>(Pointer<Object>(), str("Invalid ") + what + ": expecting identifier");
}

}  // namespace qv
