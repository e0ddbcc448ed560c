// Calculators: what every operator makes of every kind of value, the
// conditionals, the order in which a name is resolved, and member and index
// access on tables, rows and columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/LinkContext.h"
#include "kernel/ResultEvaluatable.h"
#include "language/ExpressionParser.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::loadModel;
using test::typed;

struct ExpressionCase {
    std::string expression;
    std::string expected;  // "Class:text"
};

void expectValues(Kernel& kernel, const std::vector<ExpressionCase>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(typed(kernel.evaluateExpression(str(c.expression))), c.expected) << c.expression;
    }
}

// "if 0 then 1": the empty result.
constexpr const char* kEmpty = "(if 0 then 1)";

std::string withEmpty(const std::string& pattern) {
    std::string out;
    for (char c : pattern) {
        if (c == '@') {
            out += kEmpty;
        } else {
            out += c;
        }
    }
    return out;
}

TEST(Calculators, ArithmeticAndText) {
    Pointer<Kernel> kernel = loadModel("");
    expectValues(*kernel, {
                              {"1+2", "Double:3"},
                              {"7-10", "Double:-3"},
                              {"6*7", "Double:42"},
                              {"3/4", "Double:0.75"},
                              {"8-3-2", "Double:3"},
                              // Text counts as 0 in arithmetic, nothing is rejected.
                              {"1+\"x\"", "Double:1"},
                              {"\"x\"*5", "Double:0"},
                              {"true+true", "Double:2"},
                              {"?+4", "Double:4"},
                              // Concatenation uses each value's own text.
                              {"\"x\"&1", "String:x1"},
                              {"1&2", "String:12"},
                              {"\"a\"&(1<2)", "String:atrue"},
                              {"\"a\"&?", "String:a"},
                              // Division by zero is IEEE, never an error.
                              {"1/0", "Double:inf"},
                              {"-1/0", "Double:-inf"},
                              {"0/0", "Double:nan"},
                              {"\"x\"/0", "Double:nan"},
                              // Prefix signs are arithmetic.
                              {"-\"5\"", "Double:0"},
                              {"-(2<3)", "Double:-1"},
                              {"+true", "Double:1"},
                              {"--4", "Double:4"},
                          });
}

TEST(Calculators, ComparisonsAndLogic) {
    Pointer<Kernel> kernel = loadModel("");
    expectValues(*kernel, {
                              {"1<2", "Boolean:true"},
                              {"2<1", "Boolean:false"},
                              {"2<=2", "Boolean:true"},
                              {"3>=4", "Boolean:false"},
                              {"3>2", "Boolean:true"},
                              {"2=2", "Boolean:true"},
                              {"2=3", "Boolean:false"},
                              // Texts order without regard to case ...
                              {"\"abc\"<\"ABD\"", "Boolean:true"},
                              {"\"ABD\">\"abc\"", "Boolean:true"},
                              {"\"abc\"<\"ABC\"", "Boolean:false"},
                              {"\"abc\">\"ABC\"", "Boolean:false"},
                              {"\"ABC\"<\"abc\"", "Boolean:false"},
                              // ... while equality compares the bytes.
                              {"\"abc\"=\"abc\"", "Boolean:true"},
                              {"\"abc\"=\"ABC\"", "Boolean:false"},
                              // Values of different kinds order by their class names.
                              {"1<\"a\"", "Boolean:true"},
                              {"\"a\"<1", "Boolean:false"},
                              // The null object is below everything.
                              {"?<1", "Boolean:true"},
                              {"1<?", "Boolean:false"},
                              {"?=?", "Boolean:true"},
                              {"true and 0", "Boolean:false"},
                              {"1 and \"x\"", "Boolean:true"},
                              {"0 or 0", "Boolean:false"},
                              {"0 or \"\"", "Boolean:true"},
                              {"? or 0", "Boolean:false"},
                              // "not" converts to a number: any text is 0.
                              {"not \"x\"", "Boolean:true"},
                              {"not \"\"", "Boolean:true"},
                              {"not 0", "Boolean:true"},
                              {"not 2", "Boolean:false"},
                              {"not 1=2", "Boolean:true"},
                          });
}

TEST(Calculators, TwoEmptyResultsStayEmpty) {
    Pointer<Kernel> kernel = loadModel("");
    const std::vector<ExpressionCase> cases = {
        {"@+@", "NullResult:"},
        {"@-@", "NullResult:"},
        {"@*@", "NullResult:"},
        {"@/@", "NullResult:"},
        {"@&@", "NullResult:"},
        {"@<@", "NullResult:"},
        {"@<=@", "NullResult:"},
        {"@>@", "NullResult:"},
        {"@>=@", "NullResult:"},
        {"@=@", "NullResult:"},
        {"@ and @", "NullResult:"},
        {"@ or @", "NullResult:"},
        {"@+@+@", "NullResult:"},
        // One empty result converts like any value: 0, false, empty text.
        {"@+1", "Double:1"},
        {"1+@", "Double:1"},
        {"@*5", "Double:0"},
        {"@&\"a\"", "String:a"},
        {"@=0", "Boolean:false"},
        {"@ or 1", "Boolean:true"},
        // The empty result is a value of its own class, not the null object.
        {"@<1", "Boolean:false"},
        {"1<@", "Boolean:true"},
        // Unary operators have no pair rule.
        {"not @", "Boolean:true"},
        {"-@", "Double:0"},
    };
    for (const auto& c : cases) {
        std::string expression = withEmpty(c.expression);
        EXPECT_EQ(typed(kernel->evaluateExpression(str(expression))), c.expected) << expression;
    }
}

TEST(Calculators, Conditionals) {
    Pointer<Kernel> kernel = loadModel("");
    expectValues(*kernel, {
                              {"if 1 then 2 else 3", "Double:2"},
                              {"if 0 then 2 else 3", "Double:3"},
                              {"if \"\" then 2 else 3", "Double:2"},
                              {"if ? then 2 else 3", "Double:3"},
                              {"if 0/0 then 2 else 3", "Double:2"},
                              {"if 1 then 1", "Double:1"},
                              {"if 0 then 1", "NullResult:"},
                              {"if 0 then 1 else if 1 then 2 else 3", "Double:2"},
                              {"if 1<2 then \"yes\" else \"no\"", "String:yes"},
                          });
    // Only the chosen branch is evaluated: the other one's error stays unseen.
    Pointer<Kernel> model = loadModel(
        "table T{ x:=1! a:=if 1 then 5 else (1).x! b:=if 0 then (1).x else 6! "
        "c:=if 1 then (1).x else 6! }");
    EXPECT_EQ(cell(*model, "T", "a", 0), "5");
    EXPECT_EQ(cell(*model, "T", "b", 0), "6");
    EXPECT_EQ(cell(*model, "T", "c", 0), "result not supporting identifier access");
}

struct NameCase {
    std::string what;
    std::string program;
    std::string field;  // of table T
    std::int32_t row;
    std::string expected;
};

TEST(Calculators, NamesResolveInOrder) {
    const std::vector<NameCase> cases = {
        {"a field hides a table", "table A{ v:=7! } table T{ A:=3! x:=A*2! }", "x", 0, "6"},
        {"a table is reached by its name", "table A{ v:=7! } table T{ x:=A.v! }", "x", 0, "7"},
        {"a table hides a library name", "table pi{ v:=1! } table T{ x:=pi! }", "x", 0, "pi"},
        {"a library constant", "table T{ x:=pi! }", "x", 0, "3.141592654"},
        {"e", "table T{ x:=e*1! }", "x", 0, "2.718281828"},
        {"true", "table T{ x:=true! }", "x", 0, "true"},
        {"false", "table T{ x:=false! }", "x", 0, "false"},
        {"constants are bare names only", "table T{ x:=pi()! }", "x", 0, "func unknown"},
        {"true() is not a call either", "table T{ x:=true()! }", "x", 0, "func unknown"},
        {"a library function of no arguments by its bare name", "table T{ x:=row*3! <2>:={} }", "x",
         2, "6"},
        {"a parameter hides a field", "table T{ a:=100! [f(a)]:=a*2! x:=f(3)! }", "x", 0, "6"},
        {"a parameter hides a table", "table a{ v:=1! } table T{ [f(a)]:=a+1! x:=f(1)! }", "x", 0,
         "2"},
        {"a parameter is out of sight right of a dot",
         "table A{ a:=7! } table T{ a:=1! [f(a)]:=A.a! x:=f(3)! }", "x", 0, "7"},
        {"a field hides a row", "table T{ k~name:=1! r:=5! v:=r! <1>:={r, 2, 9} }", "v", 0, "5"},
        {"a row hides a table",
         "table second{ q:=1! } table T{ k~name:=1! v:=second! <2>:={second, 7} }", "v", 0, "7"},
        {"a row hides a library name", "table T{ k~name:=1! v:=pi! <1>:={pi, 4} }", "v", 0, "4"},
        {"a function without parameters by its bare name", "table T{ [g()]:=5*2! x:=g+1! }", "x", 0,
         "11"},
        {"col is always the column", "table T{ col:=5! x:=col! }", "x", 0, "2"},
        {"col counts after the marker fields", "table T{ k~name:=1! b~base:=2! v:=col! w:=col()! }",
         "v", 0, "1"},
        {"col() as well", "table T{ k~name:=1! b~base:=2! v:=col! w:=col()! }", "w", 0, "2"},
        {"col before the marker fields", "table T{ v:=col! k~name:=1! }", "v", 0, ""},
        {"col in the base marker", "table T{ b~base:=col! v:=1! }", "b~base", 0, "(range)"},
        {"unresolved names", "table T{ x:=a+b*c! }", "x", 0, "undefined: a,b,c"},
        {"a name right of a dot that no table has", "table A{ v:=1! } table T{ x:=A.w! }", "x", 0,
         "undefined: w"},
        {"a call right of a dot", "table A{ v:=1! } table T{ x:=A.v(1)! }", "x", 0, "func unknown"},
        {"names are case-sensitive", "table T{ a:=1! x:=A! }", "x", 0, "undefined: A"},
        {"a cell by row name and field name",
         "table T{ k~name:=1! v:=10! w:=second@v*2! <2>:={second, 7} }", "w", 0, "14"},
        {"a cell of an unknown field", "table T{ k~name:=1! v:=second@zz! <2>:={second} }", "v", 0,
         "undefined field:zz"},
        {"a cell of an unknown row", "table T{ k~name:=1! v:=nobody@v! <2>:={second} }", "v", 0,
         "undefined tuple:nobody"},
        {"a cell reference right of a dot", "table A{ v:=1! } table T{ x:=A.r@v! }", "x", 0,
         "unimplemented"},
    };
    for (const auto& c : cases) {
        Pointer<Kernel> kernel = loadModel(c.program);
        EXPECT_EQ(cell(*kernel, "T", c.field, c.row), c.expected) << c.what;
    }
}

// A table with a name marker, three data rows and two ordinary fields, and
// a table reading it in every way a formula can.
constexpr const char* kAccessModel =
    "table A{ k~name:=1! v:=row*10! w:=v+1! <1>:={one} <2>:={two} <3>:={three} }"
    "table T{ a:=A[2].v! b:=A[2.9].v! c:=A[0]! d:=A[-1]! e:=A[base].w! f:=A[sum].v! "
    "g:=A.w! h:=A[2][1]! i:=A[2][2]! j:=A[2][3]! k:=A[2][0]! l:=A[2].a! m:=A.a! "
    "n:=(1).v! o:=(1)[1]! p:=(1)[sum]! q:=A[2]! r:=A.v[3]! s:=A[2].v+A[3].v! "
    "t:=A[1e10]! u:=A[2][2147483647]! x:=5! y:=x[base]! z:=q.w! zz:=x[Sum]! "
    "aa:=A.v[sum]! bb:=A[\"2\"]! cc:=(q).(v)! dd:=B[1][2147483647]! }"
    "table B{ k~name:=1! b~base:=2! v:=3! }";

TEST(Calculators, AccessToTablesRowsAndColumns) {
    Pointer<Kernel> kernel = loadModel(kAccessModel);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a", "20"},
        {"b", "20"},  // 2.9 addresses row 2
        {"c", ""},    // index 0 and below give the null object
        {"d", ""},
        {"e", "(range)"},  // [base]: the formula row, where "row" has no value
        {"f", "60"},       // [sum]: the summary row
        {"g", "(range)"},  // a dot on a table reads the formula row
        {"h", "20"},       // [i] on a row counts fields after the markers
        {"i", "21"},
        {"j", ""},
        {"k", ""},
        {"l", "identifier not found in table A"},
        {"m", "identifier not found in table A"},
        {"n", "result not supporting identifier access"},
        {"o", "result does not support index"},
        {"p", "result does not support index"},
        {"q", "Tuple"},
        {"r", "30"},  // the column v, row 3
        {"s", "50"},
        {"t", ""},  // beyond any row a table may have
        {"u", ""},
        {"y", "5"},
        {"z", "21"},  // a row held in a cell
        {"zz", "undefined: Sum"},
        {"aa", "60"},
        {"bb", ""},    // a text index counts as 0
        {"cc", "20"},  // parentheses leave no node
        {"dd", ""},    // far beyond the fields of a row after two markers
    };
    for (const auto& [field, value] : expected)
        EXPECT_EQ(cell(*kernel, "T", field, 0), value) << field;
}

// Reference expressions in the access grammar, compiled and evaluated as
// the kernel does a typed expression; only they can write [*].
Pointer<Object> evaluateAccess(Kernel& kernel, std::string_view text) {
    ExpressionPointer expression = make<ExpressionParser>()->parseAccess(str(text));
    const Pointer<ResolvedProgram>& linked = kernel.getLinked();
    const Pointer<ProgramResult>& results = kernel.getResults();
    auto context = make<LinkContext>(*linked, nullptr, Pointer<FunctionSignature>());
    CalculatorPointer calculator = expression->compile(*context);
    Evaluator evaluator;
    ResultEvaluatable top(*results, evaluator, calculator);
    return evaluator.evaluateTop(top);
}

TEST(Calculators, LastIndexReachesTheLastElement) {
    Pointer<Kernel> kernel = loadModel(kAccessModel);
    const std::vector<ExpressionCase> cases = {
        {"A[*].v", "Double:30"},   // the last data row of a table
        {"A.v[*]", "Double:30"},   // the last data row of a column
        {"A[2][*]", "Double:21"},  // the last field of a row
        {"A[2].w", "Double:21"},  {"1[*]", "Warning:result does not support index"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typed(evaluateAccess(*kernel, c.expression)), c.expected) << c.expression;
}

// Comparisons in a find read their left side in the searched row and their
// right side in the calling cell, also below "and" and "or".
TEST(Calculators, ComparisonsReadTwoRows) {
    Pointer<Kernel> kernel = loadModel(
        "table T{ v:=row*10! f:=find(v=20).v! g:=find(v>15 and v<35 and v>v).v! "
        "h:=find(v=v+10).v! <3>:={} }");
    EXPECT_EQ(cell(*kernel, "T", "f", 0), "20");
    // In row 1 the calling v is 10: the first row above it within 15...35 is 2.
    EXPECT_EQ(cell(*kernel, "T", "g", 1), "20");
    EXPECT_EQ(cell(*kernel, "T", "h", 1), "20");
    EXPECT_EQ(cell(*kernel, "T", "h", 2), "30");
    EXPECT_EQ(cell(*kernel, "T", "h", 3), "result not supporting identifier access");
}

}  // namespace
}  // namespace qv
