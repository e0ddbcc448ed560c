// The expression grammar: which tree a formula gives (precedence,
// associativity, the name forms), which message each malformed formula
// gives, the access grammar, field names, identifiers and nesting limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExpressionTestSupport.h"
#include "core/Warning.h"
#include "language/FunctionSignature.h"

namespace qv {
namespace {

using test::shape;

// The shape of a whole formula, "null" for the null object, or "!" and the
// message of the ErrorExpression without its "Invalid formula: " prefix.
std::string formula(const std::string& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(str(text));
    if (parsed.isNull()) return "null";
    if (auto error = cast<ErrorExpression>(parsed)) {
        std::string message = error->error()->message()->toStdString();
        const std::string prefix = "Invalid formula: ";
        if (message.rfind(prefix, 0) != 0) return "?unprefixed " + message;
        return "!" + message.substr(prefix.size());
    }
    if (!is<ExpressionSource>(parsed)) return std::string("?class ") + parsed->getClassName();
    return shape(parsed);
}

struct ParseCase {
    std::string source;
    std::string expected;
};

TEST(ExpressionParser, PrecedenceAndAssociativity) {
    const std::vector<ParseCase> cases = {
        {"1+2*3", "(1 + (2 * 3))"},
        {"1*2+3", "((1 * 2) + 3)"},
        {"8-3-2", "((8 - 3) - 2)"},
        {"8/4/2", "((8 / 4) / 2)"},
        {"a&b+c", "(<a> & (<b> + <c>))"},
        {"a&b&c", "((<a> & <b>) & <c>)"},
        {"a<b", "(<a> < <b>)"},
        {"a&b<=c+d", "((<a> & <b>) <= (<c> + <d>))"},
        {"a>=b", "(<a> >= <b>)"},
        {"a and b or c", "((<a> and <b>) or <c>)"},
        {"a or b and c", "(<a> or (<b> and <c>))"},
        {"a or b or c", "((<a> or <b>) or <c>)"},
        {"not a=b", "(not (<a> = <b>))"},
        {"not a and b", "((not <a>) and <b>)"},
        {"a and not b", "(<a> and (not <b>))"},
        {"not (not a)", "(not (not <a>))"},
        {"--x", "(- (- <x>))"},
        {"+-x", "(+ (- <x>))"},
        {"-a*b", "((- <a>) * <b>)"},
        {"-a.b", "(- dot(<a>,<b>))"},
        {"(1+2)*3", "((1 + 2) * 3)"},
        {"((((x))))", "<x>"},
        {"1+", "1"},
        {"1*", "1"},
        {"1+2-", "(1 + 2)"},
        {"if a then b else c", "if(<a>,<b>,<c>)"},
        {"if a then b", "if(<a>,<b>,_)"},
        {"if a then b else if c then d else e", "if(<a>,<b>,if(<c>,<d>,<e>))"},
        {"if a or b then c and d else e", "if((<a> or <b>),(<c> and <d>),<e>)"},
        {"if a then (if b then c) else d", "if(<a>,if(<b>,<c>,_),<d>)"},
        {"f()", "f{}"},
        {"f(a,)", "f{<a>}"},
        {"f(a, b+1, \"s\")", "f{<a>,(<b> + 1),\"s\"}"},
        {"f(a:=1, b:=2)", "f{(<a> := 1),(<b> := 2)}"},
        {"f(a alt b)", "f{alt(<a>,<b>)}"},
        {"f(range 1 to 3, x)", "f{range(1,3,_,_),<x>}"},
        {"f(x, range 1 to 3,)", "f{<x>,range(1,3,_,_)}"},
        {"g(f(1), h())", "g{f{1},h{}}"},
        {"x@y", "at(x,y)"},
        {"[my row]@[my field]", "at(my row,my field)"},
        {"t.f(1)", "dot(<t>,f{1})"},
        {"t.(x)", "dot(<t>,<x>)"},
        {"t.x@y", "dot(<t>,at(x,y))"},
        {"a.b.c", "dot(dot(<a>,<b>),<c>)"},
        {"a[1][2]", "idx(idx(<a>,1),2)"},
        {"a.b[i+1]", "idx(dot(<a>,<b>),(<i> + 1))"},
        {"a[if c then 1 else 2]", "idx(<a>,if(<c>,1,2))"},
        {"(1).x", "dot(1,<x>)"},
        {"\"s\".len", "dot(\"s\",<len>)"},
        {"?", "?"},
        {"? + 1", "(? + 1)"},
        {"[unit price] * 2", "(<unit price> * 2)"},
        {"[  spaced  ]", "<spaced>"},
        {"[alt]", "<alt>"},
        {"range 1 to 10", "range(1,10,_,_)"},
        {"range 1 to 10 step 2 steps 5", "range(1,10,2,5)"},
        {"range 1 to 10 steps 5 step 2", "range(1,10,2,5)"},
        {"range 1 to 10 step 2 step 3", "range(1,10,3,_)"},
        {"range a+1 to if c then 2 else 3", "range((<a> + 1),if(<c>,2,3),_,_)"},
        {"datarange x", "datarange(<x>)"},
        {"datarange", "datarange(_)"},
        {"select * from [My Table] where x>1", "select(My Table,(<x> > 1))"},
        {"select * from T where a and b", "select(T,(<a> and <b>))"},
        {"a alt b alt c", "alt(<a>,<b>,<c>)"},
        {"a alt range 1 to 2", "alt(<a>,range(1,2,_,_))"},
        {"select * from T where x alt 0", "alt(select(T,<x>),0)"},
        {"a alt alt", "alt(<a>,<alt>)"},
        {"1.5e3 + .5", "(1500 + 0.5)"},
        {"1 // comment", "1"},
        {"/* lead */ a /* mid */ + b", "(<a> + <b>)"},
        {"   ", "null"},
        {"", "null"},
        {"// only a comment", "null"},
        {"/* closed */", "null"},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(formula(c.source), c.expected) << c.source;
}

struct ErrorCase {
    const char* source;
    const char* expected;
    // The column a document reading names: the token the parser could not
    // use. 0 where only a whole formula fails (text after the expression).
    std::int32_t column;
};

// The column of the error parse(stream) throws, as a document names it.
std::int32_t errorColumn(const char* source) {
    auto stream = make<StringStream>(str(source));
    try {
        make<ExpressionParser>()->parse(stream);
    } catch (const StringPointer&) {
        return stream->positionOf(stream->errorOffset()).column;
    }
    return 0;
}

// One row per message of the grammar and of the stream it reads.
TEST(ExpressionParser, ErrorMessages) {
    const std::vector<ErrorCase> cases = {
        {"a <", "!Syntax error2", 4},
        {"a &", "!Syntax error2", 4},
        {"a and", "!Syntax error3", 6},
        {"not not a", "!Syntax error3", 5},
        {"not", "!Syntax error3", 4},
        {"a or", "!Syntax error4", 5},
        {"if then 1", "!Syntax error5", 4},
        {"if a then if b then c", "!Syntax error6", 11},
        {"if a then", "!Syntax error6", 10},
        {"if a then b else", "!Syntax error7", 17},
        {"range", "!Syntax error8", 6},
        {"range 1 3", "!Syntax error9", 9},
        {"range 1", "!Syntax error9", 8},
        {"range 1 to", "!Syntax error10", 11},
        {"f(range 1 to 3)", "!Syntax error11", 16},
        {"range 1 to 3 step", "!Syntax error11", 18},
        {"range 1 to 10 foo 3", "!Syntax error12", 20},
        {"1 2", "!unexpected character", 0},
        {"a<b=c", "!unexpected character", 0},
        {"1*)", "!unexpected character", 0},
        {"t.1", "!unexpected character", 0},
        {"a )", "!unexpected character", 0},
        {"#hash#", "!unexpected character", 0},
        {"a alt", "!expecting expression after \"alt\"", 6},
        {"a alt b alt", "!expecting expression after \"alt\"", 12},
        {"select * from T where", "!expecting expression after where", 22},
        {"-", "!expecting expression after unary operator", 2},
        {"1 + -", "!expecting expression after unary operator", 6},
        {"()", "!expecting expression in parentasis", 2},
        {"a[]", "!expecting expression after [", 3},
        {"a[*]", "!expecting expression after [", 3},
        {"t.\"x\"", "!expecting Identifier or function call after '.'", 3},
        {"t.", "!expecting Identifier or function call after '.'", 3},
        {"t.?", "!expecting Identifier or function call after '.'", 3},
        {"t.(a+b)", "!expecting Identifier or function call after '.'", 3},
        {"f(a:=)", "!expecting expression", 6},
        {"f(a, b:=1)", "!can not  mix assign and not assign arguments in function", 10},
        {"f(a:=1, b)", "!can not  mix assign and not assign arguments in function", 10},
        {"if a b", "!expecting then", 6},
        {"f(,a)", "!expecting )", 3},
        {"(1", "!expecting )", 3},
        {"f(a b)", "!expecting )", 5},
        {"a[1", "!expecting ]", 4},
        {"select from T where x", "!expecting *", 8},
        {"select * T where x", "!expecting from", 10},
        {"select * from T x>1", "!expecting where", 17},
        {"select * from 1 where x", "!expecting identifier", 15},
        {"x@1", "!expecting identifier", 3},
        {"1 $ 2", "!invalid char", 3},
        {"1..2", "!invalid number", 1},
        {"1 + /* x", "!unterminated comment", 5},
        {"1 /* a */ + 2 /*", "!unterminated comment", 15},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(formula(c.source), c.expected) << c.source;
        EXPECT_EQ(errorColumn(c.source), c.column) << c.source;
    }
}

// parse(stream) lets errors propagate and leaves the first unused token.
TEST(ExpressionParser, ParseFromStreamLeavesTheStopToken) {
    const std::vector<ParseCase> cases = {
        {"a+b; c", "(<a> + <b>)|16"},
        {"a<b=c", "(<a> < <b>)|26"},
        {"range 1 to 3! x", "range(1,3,_,_)|17"},
        {"range 1 to 3, x", "range(1,3,_,_)|7"},
        {"x := 1", "<x>|9"},
        {"} x", "_|14"},
        {"a and", "!Syntax error3"},
        {"f(a, b:=1)", "!can not  mix assign and not assign arguments in function"},
    };
    for (const ParseCase& c : cases) {
        auto stream = make<StringStream>(str(c.source));
        std::string result;
        try {
            result = shape(make<ExpressionParser>()->parse(stream));
            result += "|" + std::to_string(stream->next()->code());
        } catch (const StringPointer& message) {
            result = "!" + message->toStdString();
        }
        EXPECT_EQ(result, c.expected) << c.source;
    }
}

TEST(ExpressionParser, ErrorExpressionKeepsTheText) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(str(" 1 2 "));
    auto error = cast<ErrorExpression>(parsed);
    ASSERT_FALSE(error.isNull());
    EXPECT_EQ(error->text()->toStdString(), " 1 2 ");
    EXPECT_EQ(cast<Warning>(error->errorOf())->message()->toStdString(),
              "Invalid formula: unexpected character");
    EXPECT_TRUE(make<ExpressionParser>()->parseFormula(StringPointer()).isNull());
    // The untrimmed text is kept with the tree.
    auto source = cast<ExpressionSource>(make<ExpressionParser>()->parseFormula(str(" 1+ ")));
    ASSERT_FALSE(source.isNull());
    EXPECT_EQ(source->text()->toStdString(), " 1+ ");
}

std::string access(const std::string& text) {
    try {
        return shape(make<ExpressionParser>()->parseAccess(str(text)));
    } catch (const StringPointer& message) {
        return "!" + message->toStdString();
    }
}

TEST(ExpressionParser, AccessGrammar) {
    const std::vector<ParseCase> cases = {
        {"a", "<a>"},
        {"a.b", "dot(<a>,<b>)"},
        {"a[*]", "last(<a>)"},
        {"a[1]", "idx(<a>,1)"},
        {"a[\"k\"]", "idx(<a>,\"k\")"},
        {"a[b]", "idx(<a>,<b>)"},
        {"a.b[*].c", "dot(last(dot(<a>,<b>)),<c>)"},
        {"[my table].[my field][2]", "idx(dot(<my table>,<my field>),2)"},
        {"\"s\"", "\"s\""},
        {"", "_"},
        {"a.", "!invalid access expression"},
        {"a.\"x\"", "!invalid access expression"},
        {"a[]", "!expecting expression after ["},
        {"a[", "!expecting expression after ["},
        {"a[1", "!expecting ]"},
        {"a[*", "!expecting ]"},
        {"a[b.c]", "!expecting ]"},
        {"a $", "!invalid char"},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(access(c.source), c.expected) << c.source;
}

// "name" for a String, "sig key|text" for a signature, "!error", or "empty".
std::string fieldName(const StringPointer& text) {
    Pointer<ParseResult> result = make<ExpressionParser>()->parseFieldName(text);
    if (result->failed()) {
        return result->value().isNull() ? "!" + result->error()->toStdString() : "?value and error";
    }
    if (result->value().isNull()) return "empty";
    if (auto name = cast<String>(result->value())) return name->toStdString();
    if (auto signature = cast<FunctionSignature>(result->value())) {
        return "sig " + signature->key()->toStdString() + "|" +
               signature->toString()->toStdString();
    }
    return std::string("?class ") + result->value()->getClassName();
}

TEST(ExpressionParser, FieldNames) {
    const std::vector<ParseCase> cases = {
        {"price", "price"},
        {"  price  ", "price"},
        {"[unit price]", "unit price"},
        {"f(a,b)", "sig f(?,?)|f(a,b)"},
        {"f()", "sig f()|f()"},
        {"g( x , [y] )", "sig g(?,?)|g(x,y)"},
        {"f(1)", "!Invalid field name:  function name parameters must be identifiers only"},
        {"f(a, b+1)", "!Invalid field name:  function name parameters must be identifiers only"},
        {"f(a:=1)", "!Invalid field name:  function name parameters must be identifiers only"},
        {"f(a,b,a)", "!Invalid field name: a is repeated in function signature"},
        {"1+2", "!Invalid field name: expecting identifier or function signature"},
        {"x@y", "!Invalid field name: expecting identifier or function signature"},
        {"\"name\"", "!Invalid field name: expecting identifier or function signature"},
        {"a b", "!Invalid field name: unexpected character"},
        {"a $", "!Invalid field name: invalid char"},
        {"f(", "!Invalid field name: expecting )"},
        {"", "empty"},
        {"  ", "empty"},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(fieldName(str(c.source)), c.expected) << c.source;
    EXPECT_EQ(fieldName(StringPointer()), "empty");
}

TEST(ExpressionParser, FunctionSignatureParameters) {
    auto result = make<ExpressionParser>()->parseFieldName(str("area(w, h)"));
    auto signature = cast<FunctionSignature>(result->value());
    ASSERT_FALSE(signature.isNull());
    EXPECT_EQ(signature->name()->toStdString(), "area");
    ASSERT_EQ(signature->argumentCount(), 2);
    EXPECT_EQ(signature->parameterName(0)->toStdString(), "w");
    EXPECT_EQ(signature->parameterName(1)->toStdString(), "h");
    // Calls with the same name and count share a key, whatever the arguments.
    auto other = cast<FunctionSignature>(
        make<ExpressionParser>()->parseFieldName(str("area(a, b)"))->value());
    auto third =
        cast<FunctionSignature>(make<ExpressionParser>()->parseFieldName(str("area(a)"))->value());
    EXPECT_TRUE(signature->equals(*other));
    EXPECT_EQ(signature->hashCode(), other->hashCode());
    EXPECT_FALSE(signature->equals(*third));
    EXPECT_FALSE(signature->equals(*str("area(?,?)")));
}

struct IdentifierCase {
    std::string source;
    std::string what;
    std::string expected;
};

TEST(ExpressionParser, Identifiers) {
    const std::vector<IdentifierCase> cases = {
        {"price", "table name", "price"},
        {"  price ", "table name", "price"},
        {"alt", "table name", "alt"},
        {"a // note", "table name", "a"},
        {"", "table name", "empty"},
        {"   ", "table name", "empty"},
        {"a b", "table name", "!Invalid table name: expecting identifier"},
        {"1", "field", "!Invalid field: expecting identifier"},
        {"if", "field", "!Invalid field: expecting identifier"},
        {"[a b]", "column", "!Invalid column: expecting identifier"},
        {"a$", "column", "!Invalid column: expecting identifier"},
        {"$", "row name", "!Invalid row name: expecting identifier"},
    };
    for (const IdentifierCase& c : cases) {
        Pointer<ParseResult> result =
            make<ExpressionParser>()->parseIdentifier(str(c.source), c.what);
        std::string outcome;
        if (result->failed()) {
            outcome = "!" + result->error()->toStdString();
        } else if (result->value().isNull()) {
            outcome = "empty";
        } else {
            outcome = cast<String>(result->value())->toStdString();
        }
        EXPECT_EQ(outcome, c.expected) << c.source;
    }
}

std::string repeated(const std::string& part, int count) {
    std::string out;
    out.reserve(part.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        out += part;
    return out;
}

std::string nested(int depth, const std::string& open, const std::string& inner,
                   const std::string& close) {
    return repeated(open, depth) + inner + repeated(close, depth);
}

TEST(ExpressionParser, NestingLimit) {
    const std::string tooDeep = "!expression nested too deeply";
    const int limit = ExpressionParser::kMaxNesting;
    ASSERT_EQ(limit, 1000);
    const std::vector<ParseCase> cases = {
        {nested(limit, "(", "x", ")"), "<x>"},
        {nested(limit + 1, "(", "x", ")"), tooDeep},
        {repeated("-", limit + 1) + "x", tooDeep},
        {nested(limit + 1, "f(", "x", ")"), tooDeep},
        {repeated("if a then b else ", limit + 1) + "c", tooDeep},
        {nested(100000, "(", "x", ")"), tooDeep},
        {repeated("(", 100000), tooDeep},
        {repeated("-", 100000) + "x", tooDeep},
        {nested(100000, "-(", "x", ")"), tooDeep},
        {nested(100000, "f(", "x", ")"), tooDeep},
        {nested(100000, "a[", "x", "]"), tooDeep},
        {repeated("if a then b else ", 100000) + "c", tooDeep},
        {nested(100000, "t.(", "x", ")"), tooDeep},
        {"x" + repeated("+x", 20000), tooDeep},
        {"x" + repeated(".x", 20000), tooDeep},
        {"x" + repeated("[1]", 20000), tooDeep},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(formula(c.source), c.expected) << c.source.substr(0, 40);
    }
    // Within the limit the tree is built whole.
    EXPECT_EQ(formula(repeated("-", limit) + "x").substr(0, 6), "(- (- ");
    EXPECT_EQ(formula(nested(limit, "f(", "x", ")")).substr(0, 6), "f{f{f{");
    EXPECT_EQ(formula(nested(limit / 2, "a[", "x", "]")).substr(0, 12), "idx(<a>,idx(");
    EXPECT_EQ(formula(repeated("if a then b else ", limit) + "c").substr(0, 12), "if(<a>,<b>,i");
    // A long chain is a left-leaning tree of one node per operator (walked
    // in a loop: a recursive walk of 5000 nodes is the test's own risk).
    auto chain = cast<ExpressionSource>(
        make<ExpressionParser>()->parseFormula(str("x" + repeated("+x", 5000))));
    ASSERT_FALSE(chain.isNull());
    int operators = 0;
    ExpressionPointer node = chain->expression();
    for (; is<BinaryExpression>(node); node = cast<BinaryExpression>(node)->left())
        ++operators;
    EXPECT_EQ(operators, 5000);
    EXPECT_TRUE(is<IdentifierExpression>(node));
    // The access grammar has the same bound on its chains.
    EXPECT_EQ(access("a" + repeated(".b", 20000)), tooDeep);
    // A refused formula leaves the parser usable.
    auto parser = make<ExpressionParser>();
    EXPECT_TRUE(is<ErrorExpression>(parser->parseFormula(str(repeated("(", 5000)))));
    EXPECT_TRUE(is<ExpressionSource>(parser->parseFormula(str(nested(limit, "(", "x", ")")))));
}

}  // namespace
}  // namespace qv
