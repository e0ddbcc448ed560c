// The expression tree: printing back as formula text (fewest parentheses,
// bracketed names, reading back to the same tree), the node queries, deep
// copies, and the display, edit and stored texts of ExpressionSource and
// ErrorExpression.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExpressionTestSupport.h"
#include "core/Warning.h"
#include "language/FunctionSignature.h"

namespace qv {
namespace {

using test::printed;
using test::shape;
using test::treeOf;

struct PrintCase {
    std::string source;
    std::string expected;
};

TEST(ExpressionTree, PrintsWithTheFewestParentheses) {
    const std::vector<PrintCase> cases = {
        {"1+2*3", "1 + 2 * 3"},
        {"(1+2)*3", "(1 + 2) * 3"},
        {"(8-3)-2", "8 - 3 - 2"},
        {"8-(3-2)", "8 - (3 - 2)"},
        {"8/(4*2)", "8 / (4 * 2)"},
        {"a&(b&c)", "a & (b & c)"},
        {"(a&b)+c", "(a & b) + c"},
        {"a&b+c", "a & b + c"},
        {"(a<b)=c", "(a < b) = c"},
        {"a=(b<c)", "a = (b < c)"},
        {"a<=b&c", "a <= b & c"},
        {"not(a=b)", "not a = b"},
        {"not (a and b)", "not (a and b)"},
        {"not (not a)", "not (not a)"},
        {"(not a)=b", "(not a) = b"},
        {"a and not b", "a and not b"},
        {"a and (b or c)", "a and (b or c)"},
        {"(a or b) and c", "(a or b) and c"},
        {"(a and b) or c", "a and b or c"},
        {"-(a+b)", "-(a + b)"},
        {"- -x", "--x"},
        {"-(-x)", "--x"},
        {"+x", "+x"},
        {"a - -1", "a - -1"},
        {"-a*b", "-a * b"},
        {"-(a*b)", "-(a * b)"},
        {"(-a).b", "(-a).b"},
        {"-(a.b)", "-a.b"},
        {"( a ).( b )", "a.b"},
        {"f( a ,b )", "f(a, b)"},
        {"f ( )", "f()"},
        {"x @ y", "x@y"},
        {"t . f ( 1 )", "t.f(1)"},
        {"a [ i ]", "a[i]"},
        {"(a+b)[1]", "(a + b)[1]"},
        {"if c then t else e", "if c then t else e"},
        {"if (a) then (b) else (c)", "if a then b else c"},
        {"if a then (if b then c else d) else e", "if a then (if b then c else d) else e"},
        {"if a then b else (if c then d)", "if a then b else if c then d"},
        {"(if a then b) + 1", "(if a then b) + 1"},
        {"f(if a then b, c)", "f(if a then b, c)"},
        {"a[if c then 1 else 2]", "a[if c then 1 else 2]"},
        {"select * from [My Table] where (x > 1)", "select * from [My Table] where x > 1"},
        {"select * from T where if a then b else c", "select * from T where if a then b else c"},
        {"range 1 to 10 step 2 steps 5", "range 1 to 10 step 2 steps 5"},
        {"range (1) to (a+b)", "range 1 to a + b"},
        {"datarange (x)", "datarange x"},
        {"datarange", "datarange"},
        {"datarange alt", "datarange [alt]"},
        {"a alt (b)", "a alt b"},
        {"a alt alt", "a alt [alt]"},
        {"f(a:=1,b:=2)", "f(a := 1, b := 2)"},
        {"f(a alt b := c)", "f(a alt b := c)"},
        {"f(range 1 to 3,)", "f(range 1 to 3,)"},
        {"f(range 1 to 3, x)", "f(range 1 to 3, x)"},
        {"f(x, range 1 to 3 step 1,)", "f(x, range 1 to 3 step 1,)"},
        {"f(a := range 1 to 3,)", "f(a := range 1 to 3,)"},
        {"f(a alt range 1 to 2,)", "f(a alt range 1 to 2,)"},
        {"f(range 1 to 2 steps 3, range 4 to 5,)", "f(range 1 to 2 steps 3, range 4 to 5,)"},
        {"[price]", "price"},
        {"[unit price]", "[unit price]"},
        {"[select] + [to]", "[select] + [to]"},
        {"[if] & [then] & [else] & [not]", "[if] & [then] & [else] & [not]"},
        {"[and]+[or]+[alt]+[range]", "[and] + [or] + [alt] + [range]"},
        {"[datarange]*[step]*[steps]", "[datarange] * [step] * [steps]"},
        {"[from]-[where]-[extends]-[table]", "[from] - [where] - [extends] - [table]"},
        {"[1x] + [a.b] + []", "[1x] + [a.b] + []"},
        {"range [to] to [step]", "range [to] to [step]"},
        {"AND + Or + _x~1", "AND + Or + _x~1"},
        {"[my row]@[my field]", "[my row]@[my field]"},
        {"[my f](1)", "[my f](1)"},
        {"t.[my field]", "t.[my field]"},
        {"(1).x", "(1).x"},
        {"(1)[2]", "(1)[2]"},
        {"(1.5).f(2)", "(1.5).f(2)"},
        {"\"s\".x", "\"s\".x"},
        {"?[1]", "?[1]"},
        {"1e21", "1e+21"},
        {"1e-7", "1e-07"},
        {"1e999", "1e999"},
        {".5", "0.5"},
        {"007", "7"},
        {"123456789.125", "123456789.125"},
        {"?", "?"},
        {"\"\"", "\"\""},
        {"\"a b // c\"", "\"a b // c\""},
    };
    for (const PrintCase& c : cases) {
        ExpressionPointer tree = treeOf(c.source);
        ASSERT_FALSE(tree.isNull()) << c.source;
        EXPECT_EQ(printed(tree), c.expected) << c.source;
    }
}

// Nodes only the access grammar builds print as the access text.
TEST(ExpressionTree, PrintsAccessExpressions) {
    const std::vector<PrintCase> cases = {
        {"a[*]", "a[*]"},
        {"a . b [ * ] . c", "a.b[*].c"},
        {"1[*]", "(1)[*]"},
        {"[my t].x[\"k\"]", "[my t].x[\"k\"]"},
    };
    for (const PrintCase& c : cases) {
        EXPECT_EQ(printed(make<ExpressionParser>()->parseAccess(str(c.source))), c.expected)
            << c.source;
    }
}

// Formulas for the round trip; every one must parse.
const std::vector<std::string>& corpus() {
    static const std::vector<std::string> formulas = {
        "1+2*3",
        "8-3-2",
        "8-(3-2)",
        "a&b+c",
        "(a&b)+c",
        "a<b",
        "(a<b)=c",
        "a and b or c",
        "a or (b and c)",
        "not a=b",
        "not (a and b)",
        "(not a)=b",
        "--x",
        "-(a+b)",
        "a - -1",
        "-a*b",
        "(-a).b",
        "-a.b",
        "f()",
        "f(a,)",
        "f(a, b+1, \"s\")",
        "f(a:=1, b:=2)",
        "g(f(1), h())",
        "x@y",
        "[my row]@[my field]",
        "t.f(1)",
        "t.(x)",
        "t.x@y",
        "a.b.c",
        "a[1][2]",
        "a.b[i+1]",
        "a[if c then 1 else 2]",
        "(1).x",
        "(1)[2]",
        "\"s\".len",
        "?",
        "? + 1",
        "[unit price] * 2",
        "[alt]",
        "[select] + [to]",
        "[1x] - []",
        "if a then b else c",
        "if a then b",
        "if a then b else if c then d else e",
        "if a or b then c and d else e",
        "if a then (if b then c) else d",
        "(if a then b else c) * 2",
        "range 1 to 10",
        "range 1 to 10 step 2 steps 5",
        "range a+1 to if c then 2 else 3",
        "range [to] to [step]",
        "datarange x",
        "datarange",
        "datarange alt",
        "select * from [My Table] where x>1",
        "select * from T where a and b",
        "a alt b alt c",
        "a alt range 1 to 2",
        "select * from T where x alt 0",
        "a alt alt",
        "f(range 1 to 3, x)",
        "f(x, range 1 to 3,)",
        "f(a := range 1 to 3 steps 4,)",
        "f(a alt range 1 to 2,)",
        "f(a alt b := c)",
        "1.5e3 + .5",
        "1e21 * 1e-7",
        "1e999 / 3",
        "\"a\" & \"b // c\"",
        "1 // comment",
        "/* lead */ a /* mid */ + b",
        "1+",
        "1*",
        "AND + Or",
        "[my f](x).y[2].[z]@w",
        "(((x)))",
        "not x < y & z",
        "-(-(-1))",
        "a / b / (c / d)",
        "a = b & c + d * -e",
    };
    return formulas;
}

// print(parse(F)) reads back as the same tree and prints the same text.
TEST(ExpressionTree, PrintingIsAFixedPoint) {
    ASSERT_GE(corpus().size(), 60u);
    for (const std::string& source : corpus()) {
        ExpressionPointer first = treeOf(source);
        ASSERT_FALSE(first.isNull()) << source;
        std::string text = printed(first);
        ExpressionPointer second = treeOf(text);
        ASSERT_FALSE(second.isNull()) << source << " printed as " << text;
        EXPECT_EQ(shape(second), shape(first)) << source << " printed as " << text;
        EXPECT_EQ(printed(second), text) << source;
        EXPECT_EQ(first->toSource()->toStdString(), text) << source;
    }
}

TEST(ExpressionTree, CloneIsADeepCopy) {
    for (const std::string& source : corpus()) {
        ExpressionPointer original = make<ExpressionParser>()->parseFormula(str(source));
        auto copy = cast<ExpressionSource>(original->clone());
        ASSERT_FALSE(copy.isNull()) << source;
        EXPECT_NE(copy.object(), original.object()) << source;
        EXPECT_NE(copy->expression().object(),
                  cast<ExpressionSource>(original)->expression().object())
            << source;
        EXPECT_EQ(shape(copy), shape(original)) << source;
        EXPECT_EQ(copy->toSource()->toStdString(), original->toSource()->toStdString()) << source;
        EXPECT_EQ(copy->displayText()->toStdString(), original->displayText()->toStdString());
    }
    // The children are copied too, not shared.
    auto sum = cast<BinaryExpression>(treeOf("a + f(b)"));
    ASSERT_FALSE(sum.isNull());
    auto sumCopy = cast<BinaryExpression>(sum->clone());
    EXPECT_NE(sumCopy->left().object(), sum->left().object());
    auto call = cast<FuncExpression>(sum->right());
    auto callCopy = cast<FuncExpression>(sumCopy->right());
    EXPECT_NE(callCopy->arguments().object(), call->arguments().object());
    EXPECT_NE((*callCopy->arguments())[0].object(), (*call->arguments())[0].object());
    auto error = make<ExpressionParser>()->parseFormula(str("1 2"));
    auto errorCopy = error->clone();
    EXPECT_NE(errorCopy.object(), error.object());
    EXPECT_EQ(errorCopy->toSource()->toStdString(), "#1 2#");
    EXPECT_EQ(cast<ErrorExpression>(errorCopy)->errorOf()->toString()->toStdString(),
              "Invalid formula: unexpected character");
}

struct QueryCase {
    std::string source;
    bool isRange;
    std::string nameText;  // "null" for the null object
    std::string error;     // "" for the null object
};

TEST(ExpressionTree, NodeQueries) {
    const std::vector<QueryCase> cases = {
        {"price", false, "price", ""},
        {"[unit price]", false, "unit price", ""},
        {"\"text\"", false, "text", ""},
        {"\"\"", false, "", ""},
        {"42", false, "null", ""},
        {"?", false, "null", ""},
        {"f(x)", false, "null", ""},
        {"x@y", false, "null", ""},
        {"(price)", false, "price", ""},
        {"-x", false, "null", ""},
        {"range 1 to 3", true, "null", ""},
        {"datarange x", true, "null", ""},
        {"datarange", true, "null", ""},
        {"a alt range 1 to 2", false, "null", ""},
        {"f(range 1 to 2,)", false, "null", ""},
        {"1 2", false, "null", "Invalid formula: unexpected character"},
        {"(", false, "null", "Invalid formula: expecting expression in parentasis"},
    };
    for (const QueryCase& c : cases) {
        ExpressionPointer node = make<ExpressionParser>()->parseFormula(str(c.source));
        ASSERT_FALSE(node.isNull()) << c.source;
        EXPECT_EQ(node->isRange(), c.isRange) << c.source;
        StringPointer name = node->nameText();
        EXPECT_EQ(name.isNull() ? std::string("null") : name->toStdString(), c.nameText)
            << c.source;
        Pointer<Object> error = node->errorOf();
        EXPECT_EQ(error.isNull() ? std::string() : error->toString()->toStdString(), c.error)
            << c.source;
        EXPECT_EQ(is<Warning>(error), !c.error.empty()) << c.source;
    }
}

struct TextCase {
    std::string source;
    std::string display;
    std::string edit;
    std::string stored;
};

TEST(ExpressionTree, DisplayEditAndStoredTexts) {
    const std::vector<TextCase> cases = {
        {"1+2", "=1+2", "1+2", "1+2"},
        {"  1 + 2  ", "=1 + 2", "  1 + 2  ", "1 + 2"},
        {"-1", "=-1", "-1", "-1"},
        {"range 1 to 2", "=range 1 to 2", "range 1 to 2", "range 1 to 2"},
        {"1+", "1+", "1+", "1+"},
        {"\"abc\"", "abc", "\"abc\"", "\"abc\""},
        {"\"abc", "abc", "\"abc\"", "\"abc\""},
        {" \"abc\" // note", "abc", "\"abc\"", "\"abc\""},
        {"\"\"", "", "\"\"", "\"\""},
        {"\"", "", "\"\"", "\"\""},
        {"42", "42", "42", "42"},
        {" 1.50 ", "1.50", " 1.50 ", "1.50"},
        {"?", "?", "?", "?"},
        {"a+b // note", "=a+b // note", "a+b // note", "a+b"},
        {"a+b /* shut */", "=a+b /* shut */", "a+b /* shut */", "a+b"},
        // A comment without its end does not parse: the text is kept whole.
        {"a+b /* open", "=a+b /* open", "#a+b /* open#", "#a+b /* open#"},
        {"a+b // one\n// two", "=a+b // one\n// two", "a+b // one\n// two", "a+b"},
        {"a /* inner */ + b", "=a /* inner */ + b", "a /* inner */ + b", "a /* inner */ + b"},
        {"/* lead */ a", "=/* lead */ a", "/* lead */ a", "/* lead */ a"},
        {"1 & \"abc", "=1 & \"abc", "1 & \"abc", "1 & \"abc\""},
        {"1 & \"ab  ", "=1 & \"ab", "1 & \"ab  ", "1 & \"ab  \""},
        {"a & \"", "=a & \"", "a & \"", "a & \"\""},
        {"a & \"\"", "=a & \"\"", "a & \"\"", "a & \"\""},
        {"a + [unit price", "=a + [unit price", "a + [unit price", "a + [unit price]"},
        {"a + [", "=a + [", "a + [", "a + []"},
        {"x@[my field", "=x@[my field", "x@[my field", "x@[my field]"},
        {"1 2", "=1 2", "#1 2#", "#1 2#"},
        {" a # b ", "= a # b ", "# a  b #", "# a  b #"},
        {"f(,", "=f(,", "#f(,#", "#f(,#"},
    };
    for (const TextCase& c : cases) {
        ExpressionPointer node = make<ExpressionParser>()->parseFormula(str(c.source));
        ASSERT_FALSE(node.isNull()) << c.source;
        EXPECT_EQ(node->displayText()->toStdString(), c.display) << c.source;
        EXPECT_EQ(node->editText()->toStdString(), c.edit) << c.source;
        EXPECT_EQ(node->toSource()->toStdString(), c.stored) << c.source;
    }
}

// What a document stores reads back to the same tree and leaves the text
// after it (here a field terminator) to the reader.
TEST(ExpressionTree, StoredTextEndsWhereTheFormulaEnds) {
    const std::vector<std::string> sources = {
        "1+2",
        "a+b // note",
        "a+b /* shut */",
        "\"abc",
        " \"abc\" // c",
        "42 // n",
        "f(range 1 to 3,) /* c */",
        "1+ // c",
        "[a] + b /* x */",
        "1 & \"abc",
        "1 & \"ab  ",
        "a & \"",
        "\"a\" & \"\"",
        "a + [unit price",
        "a + [",
        "x@[my field",
        "t.[f",
        "select * from T where [x",
        "f(1) & \"open // not a comment",
    };
    for (const std::string& source : sources) {
        ExpressionPointer node = make<ExpressionParser>()->parseFormula(str(source));
        ASSERT_TRUE(is<ExpressionSource>(node)) << source;
        auto stream = make<StringStream>(node->toSource() + "; next");
        ExpressionPointer again = make<ExpressionParser>()->parse(stream);
        EXPECT_EQ(shape(again), shape(node)) << source;
        EXPECT_EQ(stream->next()->code(), kSemicolon) << source;
    }
}

// Hash text read from a document is stored as hash text again.
TEST(ExpressionTree, HashTextOrigin) {
    const std::vector<TextCase> cases = {
        {"1+2", "=1+2", "1+2", "#1+2#"},
        {"\"abc\"", "abc", "\"abc\"", "#\"abc\"#"},
        {"1 2", "=1 2", "#1 2#", "#1 2#"},
    };
    for (const TextCase& c : cases) {
        ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(str(c.source));
        auto node =
            make<ExpressionSource>(str(c.source), parsed, ExpressionSource::Origin::HashText);
        EXPECT_EQ(node->displayText()->toStdString(), c.display) << c.source;
        EXPECT_EQ(node->editText()->toStdString(), c.edit) << c.source;
        EXPECT_EQ(node->toSource()->toStdString(), c.stored) << c.source;
        EXPECT_EQ(node->errorOf().isNull(), !is<ErrorExpression>(parsed)) << c.source;
    }
}

// A formula that does not parse keeps its text and says why; one that
// parses keeps the text as typed, spaces included; trees print as source.
TEST(ExpressionTree, FormulasKeepTheirTextAndTheirError) {
    ExpressionPointer broken = make<ExpressionParser>()->parseFormula(str("1 2"));
    ASSERT_TRUE(is<ErrorExpression>(broken));
    EXPECT_EQ(cast<ErrorExpression>(broken)->text()->toStdString(), "1 2");
    EXPECT_EQ(broken->errorOf()->toString()->toStdString(),
              "Invalid formula: unexpected character");
    ExpressionPointer spaced = make<ExpressionParser>()->parseFormula(str(" a+b "));
    ASSERT_TRUE(is<ExpressionSource>(spaced));
    EXPECT_EQ(spaced->editText()->toStdString(), " a+b ");
    EXPECT_TRUE(spaced->errorOf().isNull());
    EXPECT_EQ(treeOf("a+b*2")->toSource()->toStdString(), "a + b * 2");
    EXPECT_EQ(treeOf("f(x)")->toSource()->toStdString(), "f(x)");
}

TEST(ExpressionTree, FunctionSignatureKeyAndText) {
    auto arguments = make<ExpressionList>();
    EXPECT_EQ(make<FunctionSignature>(str("f"), arguments)->key()->toStdString(), "f()");
    EXPECT_EQ(make<FunctionSignature>(str("f"), arguments)->toString()->toStdString(), "f()");
    EXPECT_EQ(make<FunctionSignature>(str("f"), Pointer<ExpressionList>())->key()->toStdString(),
              "f()");
    arguments->add(make<IdentifierExpression>(str("a")));
    arguments->add(make<IdentifierExpression>(str("b")));
    auto signature = make<FunctionSignature>(str("f"), arguments);
    EXPECT_EQ(signature->key()->toStdString(), "f(?,?)");
    EXPECT_EQ(signature->toString()->toStdString(), "f(a,b)");
    auto copy = cast<FunctionSignature>(signature->clone());
    EXPECT_NE(copy.object(), signature.object());
    EXPECT_TRUE(copy->equals(*signature));
    EXPECT_EQ(copy->toString()->toStdString(), "f(a,b)");
    // A call site's signature has the call's arguments, not parameter names.
    auto call = cast<FuncExpression>(treeOf("sum(x+1, \"s\", ?)"));
    ASSERT_FALSE(call.isNull());
    auto site = make<FunctionSignature>(call->name(), call->arguments());
    EXPECT_EQ(site->key()->toStdString(), "sum(?,?,?)");
    EXPECT_EQ(site->toString()->toStdString(), "sum(x + 1,\"s\",?)");
}

}  // namespace
}  // namespace qv
