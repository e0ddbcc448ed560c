// How failures travel between cells: cycles closed through a dot, an index
// or a data range are caught whatever the order of the tables, errors read
// through a dot spread as errors, alternatives fall back past cycles in
// other tables, and a text cannot grow past its limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/TextBudget.h"
#include "core/ValueConversions.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::loadModel;

struct CellCase {
    const char* what;
    std::string program;
    const char* table;
    const char* field;
    std::int32_t row;
    std::string expected;
};

const std::string kCircular = "(circular)";
const std::string kDepends = "depends on cell that contain error";

void expectCells(const std::vector<CellCase>& cases) {
    for (const CellCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.table + "." + c.field + " row " +
                     std::to_string(c.row));
        auto kernel = loadModel(c.program);
        EXPECT_EQ(cell(*kernel, c.table, c.field, c.row), c.expected);
    }
}

TEST(Propagation, CyclesThroughADotWhateverTheOrderOfTheTables) {
    const std::string ab = "table A{ x:=B.y+1! } table B{ y:=A.x+1! }";
    const std::string ba = "table B{ y:=A.x+1! } table A{ x:=B.y+1! }";
    expectCells({
        {"A first", ab, "A", "x", 0, kCircular},
        {"A first", ab, "B", "y", 0, kCircular},
        {"B first", ba, "A", "x", 0, kCircular},
        {"B first", ba, "B", "y", 0, kCircular},
        {"a table naming its own field", "table E{ c:=E.c+1! }", "E", "c", 0, kCircular},
        {"the same without the dot", "table E{ c:=c+1! }", "E", "c", 0, kCircular},
        {"through a row of another table", "table A{ x:=B[1].y! } table B{ y:=A.x! <1>:={} }", "A",
         "x", 0, kCircular},
        {"a data range over its own column", "table P{ p:=datarange P.p! }", "P", "p", 0,
         kCircular},
        {"a data range over its own column with rows", "table P{ p:=datarange P.p! <3>:={} }", "P",
         "p", 0, kCircular},
        {"an aggregate over its own column read by a dot",
         "table C{ x:=range 1 to 3! z:=sum(C.z)! }", "C", "z", 2, kCircular},
        {"the same in a table without data rows", "table C{ z:=sum(C.z)! }", "C", "z", 0,
         kCircular},
        {"without data rows other failures add nothing", "table C{ x:=nosuch! s:=sum(x)! }", "C",
         "s", 0, "0"},
        {"nor does the formula row's own range", "table C{ s:=sum(row)! }", "C", "s", 0, "0"},
        {"three tables in a ring", "table A{ a:=C.c! } table B{ b:=A.a! } table C{ c:=B.b! }", "B",
         "b", 0, kCircular},
    });
}

TEST(Propagation, ErrorsReadThroughADotOrAnIndexStayErrors) {
    const std::string broken = "table T{ y:=nosuch! <2>:={} } ";
    expectCells({
        {"the error itself", broken + "table U{ u:=T.y+1! }", "T", "y", 0, "undefined: nosuch"},
        {"read by a dot", broken + "table U{ u:=T.y+1! }", "U", "u", 0, kDepends},
        {"read by an index", broken + "table U{ u:=T[2].y! }", "U", "u", 0, kDepends},
        {"read by a column index", broken + "table U{ u:=T.y[1]! }", "U", "u", 0, kDepends},
        {"a reader of the reader", broken + "table U{ u:=T.y! v:=U.u! }", "U", "v", 0, kDepends},
        {"a special value read by a dot", "table T{ r:=range 1 to 3! } table U{ u:=T.r! }", "U",
         "u", 0, "(range)"},
        {"a message raised on the right of a dot", "table U{ x:=1! u:=(1).x! }", "U", "u", 0,
         "result not supporting identifier access"},
        {"an unknown field of a table", "table T{ y:=1! } table U{ u:=T.nosuch! }", "U", "u", 0,
         "undefined: nosuch"},
        {"a healthy read stays a number", "table T{ y:=2! } table U{ u:=T.y*3! }", "U", "u", 0,
         "6"},
    });
}

TEST(Propagation, AlternativesFallBackPastCyclesInOtherTables) {
    const std::string program = "table A{ x:=B.y alt 5! } table B{ y:=A.x+1! }";
    expectCells({
        {"the alternative taken", program, "A", "x", 0, "5"},
        {"the other table computed afresh", program, "B", "y", 0, "6"},
        {"an error read through a dot also falls back",
         "table T{ y:=nosuch! } table U{ u:=T.y alt 7! }", "U", "u", 0, "7"},
    });
}

TEST(Propagation, RowFunctionsInTheFormulaRowPassOnTheirSpecialValue) {
    expectCells({
        {"row in the formula row", "table T{ r:=row! <2>:={} }", "T", "r", 0, "(range)"},
        {"a reader of it", "table T{ r:=row! s:=r+1! <2>:={} }", "T", "s", 0, "(range)"},
        {"prev in the formula row", "table T{ p:=prev! <2>:={} }", "T", "p", 0, "(range)"},
        {"in a data row it is a value", "table T{ r:=row! s:=r+1! <2>:={} }", "T", "s", 2, "3"},
    });
}

TEST(Propagation, TextsStopAtTheirLimit) {
    const std::string limit =
        "text too long: a text may hold at most " + std::to_string(kMaxTextBytes) + " bytes";
    // Each row doubles the text of the row before: row 25 holds 2^24 bytes,
    // exactly the limit; row 26 would pass it.
    auto doubling =
        loadModel("table T{ i:=range 1 to 26! t:=if i = 1 then \"a\" else prev & prev! n:=i! }");
    Pointer<TableResult> table = doubling->getTableByName("T");
    std::int32_t text = table->resolved()->fieldIndexOf("t");
    EXPECT_EQ(toText(table->value(text, 25))->length(), std::int32_t{1} << 24);
    EXPECT_EQ(cell(*doubling, "T", "t", 26), limit);

    const std::string piece(10000, 'a');
    auto joined = loadModel("table T{ i:=range 1 to 2000! c:=concat(\"" + piece + "\")! }");
    EXPECT_EQ(cell(*joined, "T", "c", 0), limit);
    auto fits = loadModel("table T{ i:=range 1 to 1000! c:=concat(\"" + piece + "\")! }");
    EXPECT_EQ(toText(fits->getTableByName("T")->value(1, 0))->length(), 10000 * 1000);
}

// The text of a cell of a computation whose joins may make `limit` bytes.
std::string cellWithTextLimit(std::int64_t limit, std::string_view text, std::string_view table,
                              std::string_view field, std::int32_t row) {
    auto kernel = loadModel(text);
    auto results = make<ProgramResult>(ResultOptions{}, kernel->getLinked(), limit);
    results->compute();
    const Pointer<TableResult>& result = results->getTable(kernel->getTableIndex(table));
    return toText(result->value(result->resolved()->fieldIndexOf(field), row))->toStdString();
}

// The joins of one computation draw on one text budget: a column whose rows
// each grow the row before stops at it, with the message in the first row
// past it, while the rows before keep their whole texts. Row n of `growing`
// holds 10 n bytes; the joins up to it make 10 (n (n + 1) / 2 - 1), which
// passes 5,000 at row 32. The budget is low here; documents get
// kMaxJoinedTextBytes.
TEST(Propagation, JoinsStopAtTheTextBudgetOfTheComputation) {
    const std::string growing =
        "table T{ i:=range 1 to 100! s:=if i = 1 then \"xxxxxxxxxx\" else prev & \"xxxxxxxxxx\"! }"
        " table U{ j:=range 1 to 1! t:=\"a\" & j! }";
    const std::string refused =
        "too much text: the texts joined in one computation pass the limit of 5000 bytes";
    struct Row {
        const char* what;
        std::int64_t limit;
        const char* table;
        const char* field;
        std::int32_t row;
        std::string expected;
    } rows[] = {
        {"the last row within", 5000, "T", "s", 31, std::string(310, 'x')},
        {"the first row past", 5000, "T", "s", 32, refused},
        {"the rows after it", 5000, "T", "s", 100, "depends on cell that contain error"},
        // Refused joins take nothing: the 2 bytes of a later table still fit.
        {"a table computed later", 5000, "U", "t", 1, "a1"},
        {"a budget of exactly the joins", 10 * (100 * 101 / 2 - 1) + 2, "T", "s", 100,
         std::string(1000, 'x')},
        {"exactly the joins, the last table", 10 * (100 * 101 / 2 - 1) + 2, "U", "t", 1, "a1"},
        {"one byte short", 10 * (100 * 101 / 2 - 1) + 1, "U", "t", 1,
         "too much text: the texts joined in one computation pass the limit of 50491 bytes"},
        {"the documents' budget", kMaxJoinedTextBytes, "T", "s", 100, std::string(1000, 'x')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(cellWithTextLimit(row.limit, growing, row.table, row.field, row.row),
                  row.expected);
    }
}

// The kernel's computations, and the expressions evaluated against them,
// draw on the budget of their results.
TEST(Propagation, TheKernelsJoinsDrawOnTheBudgetOfItsResults) {
    auto kernel = loadModel("table T{ i:=range 1 to 3! s:=\"ab\" & i! }");
    EXPECT_EQ(cell(*kernel, "T", "s", 3), "ab3");
    const TextBudget& budget = kernel->getResults()->textBudget();
    EXPECT_EQ(budget.limit(), kMaxJoinedTextBytes);
    // The three data rows each join three bytes; in the formula row i is
    // no number to join.
    EXPECT_EQ(budget.used(), 9);
    EXPECT_EQ(toText(kernel->evaluateExpression(str("\"abcd\" & \"e\"")))->toStdString(), "abcde");
    EXPECT_EQ(budget.used(), 14);
}

// A runaway model (a function of exponential cost, and a long chain of
// cells) stops on request from the waiting thread: the cells not yet
// computed say so, and the next change computes again.
TEST(Propagation, AComputationStopsOnRequest) {
    auto kernel = loadModel(
        "table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(60)! y:=x+1! }"
        " table C{ i:=range 1 to 3000! s:=if i = 1 then 1 else prev+i! }");
    int waits = 0;
    kernel->setWaitingHook([&] {
        if (++waits == 2) kernel->requestStop();
    });
    EXPECT_EQ(cell(*kernel, "R", "x", 0), "calculation stopped");
    EXPECT_EQ(cell(*kernel, "R", "y", 0), "calculation stopped");
    EXPECT_EQ(cell(*kernel, "C", "s", 3000), "calculation stopped");
    EXPECT_GE(waits, 2);
    // The next change computes again, without the stop.
    Pointer<TableResult> table = kernel->getTableByName("R");
    make<ModelEditor>(kernel->program(), nullptr)
        ->setCellFormula(*table, table->resolved()->fieldIndexOf("x"), 0, str("f(3)"));
    EXPECT_EQ(cell(*kernel, "R", "x", 0), "8");
    EXPECT_EQ(cell(*kernel, "C", "s", 3), "6");
}

// The call after waiting takes down what the hook put up: it comes once
// the waited-for work has ended, before the caller reads the result, and
// never for work that ended before the hook's first call.
TEST(Propagation, TheCallAfterWaitingComesOnlyAfterAWait) {
    struct Case {
        const char* program;
        const char* expected;
        bool waits;
    };
    const Case cases[] = {
        {"table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(60)! }", "calculation stopped",
         true},
        {"table R{ x:=1+2! }", "3", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        auto kernel = loadModel(c.program);
        int waits = 0;
        int ends = 0;
        bool waitingAtEnd = false;
        kernel->setWaitingHook(
            [&] {
                waitingAtEnd = true;
                ++waits;
                kernel->requestStop();
            },
            [&] {
                ++ends;
                waitingAtEnd = false;
            });
        EXPECT_EQ(cell(*kernel, "R", "x", 0), c.expected);
        EXPECT_EQ(waits > 0, c.waits);
        EXPECT_EQ(ends > 0, c.waits);
        EXPECT_LE(ends, waits);
        EXPECT_FALSE(waitingAtEnd);
    }
}

}  // namespace
}  // namespace qv
