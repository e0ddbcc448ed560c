// The causes of errors: every way an error is made leads back to the cell
// where it began, a cycle to its loop in reading order, a stop to where it
// stopped; plain values have none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/Explanation.h"
#include "kernel/ProgramResult.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::loadModel;

struct CauseCase {
    const char* what;
    std::string program;
    const char* table;
    const char* field;
    std::int32_t row;
    Cause::Kind kind;
    std::string text;
};

CellPlace placeOf(Kernel& kernel, const char* table, const char* field, std::int32_t row) {
    Pointer<TableResult> result = kernel.getTableByName(table);
    return {kernel.getTableIndex(table), result->resolved()->fieldIndexOf(field), row};
}

// Also the facts: a cycle lists its loop once, the text repeats the first;
// an origin's value is its own error.
void expectCauses(const std::vector<CauseCase>& cases) {
    for (const CauseCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.table + "." + c.field + " row " +
                     std::to_string(c.row));
        auto kernel = loadModel(c.program);
        CellPlace place = placeOf(*kernel, c.table, c.field, c.row);
        ASSERT_GE(place.field, 0);
        Cause cause = Explanation(*kernel).cause(place);
        EXPECT_EQ(cause.kind, c.kind);
        EXPECT_EQ(cause.text->toStdString(), c.text);
        if (cause.kind == Cause::Kind::Origin) {
            std::string expected = "caused by " + cause.origin.name->toStdString() + ": " +
                                   test::display(cause.origin.value);
            EXPECT_EQ(cause.text->toStdString(), expected);
        }
        if (cause.kind == Cause::Kind::Cycle) {
            ASSERT_FALSE(cause.cycle.empty());
            std::string loop = "cycle:";
            for (const CellFacts& cell : cause.cycle)
                loop += " " + cell.name->toStdString() + " ->";
            EXPECT_EQ(cause.text->toStdString(), loop + " " + cause.cycle[0].name->toStdString());
        }
    }
}

const std::string kLedger =
    "table L{ rate:=if row=3 then find(false) else row! pay:=rate*2! total:=sum(pay)! <4>:={} }";

// Cells that repeat their formula row's value are named by that row, where
// the value was computed, as loops of one cell are (a row override, which
// is computed in its row, keeps its own name: "a row override" above).
const std::string kRepeat = "table b{ x:=range 1 to 3! e:=(1).x! f:=e+1! g:=b[2].e! }";

// Special values that are neither cycles nor stops, read by other cells.
const std::string kRange =
    "table T{ r:=range 1 to 3! s:=sort(r)! }"
    " table V{ x:=range 1 to 2! v:=T.r! w:=v! h:=T.s! a:=T.s alt 1! }";

TEST(ExplainCause, ErrorsLeadToTheCellWhereTheyBegan) {
    const auto origin = Cause::Kind::Origin;
    const std::string notFound = ": not found";
    const std::string noAccess = ": result not supporting identifier access";
    const std::string inherited =
        "table B{ a:=find(false)! b:=a+1! } table D extends B{ c:=b*10! }";
    const std::string overrides = "table R{ a:=row! b:=a+1! <2>:={a:=find(false)} <3>:={} }";
    expectCauses({
        {"the origin itself", kLedger, "L", "rate", 3, origin, "caused by L[3].rate" + notFound},
        {"a reader in the same row", kLedger, "L", "pay", 3, origin,
         "caused by L[3].rate" + notFound},
        {"an aggregate", kLedger, "L", "total", 0, origin, "caused by L[3].rate" + notFound},
        {"through a dot", kLedger + " table M{ w:=L.total+1! }", "M", "w", 0, origin,
         "caused by L[3].rate" + notFound},
        {"through an index and a dot", kLedger + " table M{ v:=L[3].pay+1! }", "M", "v", 0, origin,
         "caused by L[3].rate" + notFound},
        {"the last alternative", "table A{ s:=find(false)! y:=s+1 alt s*2! }", "A", "y", 0, origin,
         "caused by A.s" + notFound},
        {"a user function", "table U{ bad:=find(false)! [f(n)]:=n+bad! v:=f(2)! }", "U", "v", 0,
         origin, "caused by U.bad" + notFound},
        {"a field error shared by the rows",
         "table T{ a:=if row>0 then nosuch(1) else 0! <2>:={} }", "T", "a", 2, origin,
         "caused by T[2].a: func unknown"},
        {"an inherited formula in the derived table", inherited, "D", "c", 0, origin,
         "caused by D.a" + notFound},
        {"the base table keeps its own", inherited, "B", "b", 0, origin,
         "caused by B.a" + notFound},
        {"a row override", overrides, "R", "b", 2, origin, "caused by R[2].a" + notFound},
        {"a row without the override", overrides, "R", "b", 3, Cause::Kind::None, ""},
        {"a plain value", kLedger, "L", "pay", 2, Cause::Kind::None, ""},
        {"a field that cannot differ by row", kRepeat, "b", "e", 0, origin,
         "caused by b.e" + noAccess},
        {"the same asked in a data row", kRepeat, "b", "e", 1, origin, "caused by b.e" + noAccess},
        {"its reader in a data row", kRepeat, "b", "f", 2, origin, "caused by b.e" + noAccess},
        {"a reader of one of its data rows", kRepeat, "b", "g", 0, origin,
         "caused by b.e" + noAccess},
        {"a range read by another table", kRange, "V", "v", 0, origin, "caused by T.r: (range)"},
        {"a reader of the range's reader", kRange, "V", "w", 0, origin, "caused by T.r: (range)"},
        {"a data row of the reader", kRange, "V", "w", 2, origin, "caused by T.r: (range)"},
        {"the range itself", kRange, "T", "r", 0, origin, "caused by T.r: (range)"},
        {"a sort read by another table", kRange, "V", "h", 0, origin, "caused by T.s: (sort)"},
        {"a sort read in an alternative", kRange, "V", "a", 0, origin, "caused by T.s: (sort)"},
        {"too many rows", "table G{ i:=range 1 to 100000000! j:=i+1! }", "G", "j", 0, origin,
         "caused by G.i: too many rows: 100000000 rows pass the limit of 10000000"},
        // User functions are bounded far below cell chains; the cell whose
        // call went too deep holds the error.
        {"nested too deeply", "table N{ [f(n)]:=f(n+1)! x:=f(1)! y:=x+1! }", "N", "x", 0, origin,
         "caused by N.x: calculation nested too deeply"},
        {"a reader of a cell nested too deeply", "table N{ [f(n)]:=f(n+1)! x:=f(1)! y:=x+1! }", "N",
         "y", 0, origin, "caused by N.x: calculation nested too deeply"},
    });
}

// A what-if's cells are no cells of the results: they are named by the call
// as written, whoever reads them.
const std::string kLocal = "table Loc{ a:=1! b:=find(false)! c:=b+a! }";
const std::string kLocalRows =
    "table Loc{ a:=1! x:=range 1 to 3! b:=if x=3 then find(false) else x*a! c:=b+1! }";

TEST(ExplainCause, ErrorsInLocalTablesNameTheCallsCell) {
    const auto origin = Cause::Kind::Origin;
    const std::string notFound = ": not found";
    const std::string readers = kLocal + " table V{ v:=Loc(a:=2).c! w:=v+1! d:=Loc(a:=2).b! }";
    const std::string perRow = kLocal + " table V{ x:=range 1 to 3! v:=Loc(a:=x).c! s:=sum(v)! }";
    expectCauses({
        {"a local table", readers, "V", "v", 0, origin, "caused by Loc(a := 2).b" + notFound},
        {"a reader of its reader", readers, "V", "w", 0, origin,
         "caused by Loc(a := 2).b" + notFound},
        {"the local cell read itself", readers, "V", "d", 0, origin,
         "caused by Loc(a := 2).b" + notFound},
        {"a data row of the local table", kLocalRows + " table V{ v:=Loc(a:=2)[3].c! }", "V", "v",
         0, origin, "caused by Loc(a := 2)[3].b" + notFound},
        {"a data row that is fine", kLocalRows + " table V{ v:=Loc(a:=2)[2].c! }", "V", "v", 0,
         Cause::Kind::None, ""},
        {"a nested what-if names the inner call",
         kLocal + " table Mid{ k:=0! m:=Loc(a:=k).c! } table V{ v:=Mid(k:=2).m! }", "V", "v", 0,
         origin, "caused by Loc(a := k).b" + notFound},
        {"a what-if in every row", perRow, "V", "v", 2, origin,
         "caused by Loc(a := x).b" + notFound},
        {"an aggregate of them", perRow, "V", "s", 0, origin, "caused by Loc(a := x).b" + notFound},
        {"an error of the program read by the local table is the program's",
         "table P{ e:=find(false)! } table Loc{ a:=1! c:=P.e+a! } table V{ v:=Loc(a:=2).c! }", "V",
         "v", 0, origin, "caused by P.e" + notFound},
        {"a row override of the local table",
         "table Loc{ a:=1! x:=range 1 to 2! b:=x*a! c:=b+1! <2>:={b:=find(false)} }"
         " table V{ v:=Loc(a:=2)[2].c! }",
         "V", "v", 0, origin, "caused by Loc(a := 2)[2].b" + notFound},
        {"a user function whose body asks the what-if",
         kLocal + " table U{ [f(n)]:=Loc(a:=n).c! v:=f(2)! }", "U", "v", 0, origin,
         "caused by Loc(a := n).b" + notFound},
        // The call site keeps the first error met at the cell: row 1 of V
        // fails otherwise than rows 2 and 3.
        {"calls that fail differently give the first error met",
         "table Loc{ a:=1! b:=if a=1 then [a].zz else find(false)! c:=b+a! }"
         " table V{ x:=range 1 to 3! v:=Loc(a:=x).c! }",
         "V", "v", 3, origin, "caused by Loc(a := x).b: undefined: zz"},
        // A loop inside a local table runs through no cell of the results:
        // its reader is named, as for any loop that could not be gathered.
        {"a loop inside a local table",
         "table Loc{ a:=1! b:=c+a! c:=b! } table V{ v:=Loc(a:=2).c! }", "V", "v", 0,
         Cause::Kind::Cycle, "cycle: V.v -> V.v"},
    });
}

// The origin is no cell: its facts have no place, and give the local
// field's formula and the error met there.
TEST(ExplainCause, ALocalOriginHasTheFactsOfItsCell) {
    auto kernel = loadModel(kLocalRows + " table V{ v:=Loc(a:=2)[3].c! }");
    CellPlace reader = placeOf(*kernel, "V", "v", 0);
    Cause cause = Explanation(*kernel).cause(reader);
    ASSERT_EQ(cause.kind, Cause::Kind::Origin);
    EXPECT_FALSE(cause.origin.place.isCell());
    EXPECT_EQ(cause.origin.name->toStdString(), "Loc(a := 2)[3].b");
    EXPECT_EQ(cause.origin.formula->toStdString(), "if x=3 then find(false) else x*a");
    EXPECT_EQ(test::display(cause.origin.value), "not found");
    // The cells keep the text they always showed.
    EXPECT_EQ(test::display(kernel->getTableByName("V")->value(reader.field, 0)),
              "depends on cell that contain error");
}

// A what-if asked in every row of a long table makes one warning for the
// readers of its failing cell, not one per row or per call.
TEST(ExplainCause, AWhatIfInEveryRowSharesOneWarning) {
    auto kernel = loadModel(kLocal +
                            " table V{ x:=range 1 to 2000! v:=Loc(a:=x).c! w:=v+1!"
                            " d:=Loc(a:=x).b! }");
    Pointer<TableResult> table = kernel->getTableByName("V");
    auto value = [&](const char* field, std::int32_t row) {
        return table->value(placeOf(*kernel, "V", field, row).field, row);
    };
    Pointer<Object> shared = value("v", 1);
    EXPECT_EQ(test::display(shared), "depends on cell that contain error");
    for (std::int32_t row = 1; row <= 2000; row += 37) {
        EXPECT_EQ(value("v", row), shared) << row;
        EXPECT_EQ(value("w", row), shared) << row;
    }
    EXPECT_EQ(value("v", 2000), shared);
    // The readers of the call's other cell share another one, which names it.
    Pointer<Object> direct = value("d", 1);
    EXPECT_NE(direct, shared);
    EXPECT_EQ(value("d", 2000), direct);
    Explanation explanation(*kernel);
    EXPECT_EQ(explanation.causeOfValue(direct, {}).text->toStdString(),
              "caused by Loc(a := x).b: not found");
}

TEST(ExplainCause, CyclesGiveTheirLoopInReadingOrder) {
    const auto cycle = Cause::Kind::Cycle;
    const std::string loan = "table Loan{ rate:=payment/2! payment:=rate*3! <3>:={} }";
    const std::string ab = "table A{ x:=B.y+1! } table B{ y:=A.x+1! }";
    const std::string ba = "table B{ y:=A.x+1! } table A{ x:=B.y+1! }";
    const std::string ring = "table C{ a:=b! b:=c! c:=d! d:=a! }";
    const std::string readers = "table E{ c:=c+1! d:=c*2! e:=d+1! }";
    const std::string rows = "table S{ x:=range 1 to 3! y:=y+x! z:=y*2! w:=z-1! }";
    const std::string fallback = "table A{ y:=y+1 alt 5! z:=y+1! }";
    const std::string shifted =
        "table S{ x:=range 1 to 3! y:=y+x! z:=if row=1 then 0 else y[row-1]! }";
    const std::string running =
        "table S{ x:=range 1 to 4! y:=if row=1 then y else x! t:=if row=1 then y else prev+x! }";
    expectCauses({
        {"one cell", "table E{ c:=c+1! }", "E", "c", 0, cycle, "cycle: E.c -> E.c"},
        {"a cell after the cycle gets the cycle", "table E{ c:=c+1! d:=c*2! }", "E", "d", 0, cycle,
         "cycle: E.c -> E.c"},
        {"a reader computed before the cell", "table E{ d:=c*2! c:=c+1! }", "E", "d", 0, cycle,
         "cycle: E.c -> E.c"},
        {"a reader of the reader", readers, "E", "e", 0, cycle, "cycle: E.c -> E.c"},
        {"a reader in another table", "table F{ r:=E.c+1! } " + readers, "F", "r", 0, cycle,
         "cycle: E.c -> E.c"},
        {"one cell in each data row", rows, "S", "y", 2, cycle, "cycle: S[2].y -> S[2].y"},
        {"a reader in a data row", rows, "S", "z", 3, cycle, "cycle: S[3].y -> S[3].y"},
        {"a reader of the reader in a data row", rows, "S", "w", 1, cycle,
         "cycle: S[1].y -> S[1].y"},
        {"a reader in the next row", shifted, "S", "z", 3, cycle, "cycle: S[2].y -> S[2].y"},
        {"a reader of a row in another table", "table F{ r:=S[2].w! } " + rows, "F", "r", 0, cycle,
         "cycle: S[2].y -> S[2].y"},
        {"a running total over a loop", running, "S", "t", 4, cycle, "cycle: S[1].y -> S[1].y"},
        {"an alternative falls back", fallback, "A", "y", 0, Cause::Kind::None, ""},
        {"the reader of a fallen-back cell", fallback, "A", "z", 0, Cause::Kind::None, ""},
        {"the last alternative reads itself", "table A{ y:=y+1 alt y*2! z:=y+1! }", "A", "z", 0,
         cycle, "cycle: A.y -> A.y"},
        {"a loop of two through an alternative that reads itself", "table A{ x:=y! y:=y alt x! }",
         "A", "x", 0, cycle, "cycle: A.x -> A.y -> A.x"},
        {"two cells", loan, "Loan", "rate", 0, cycle,
         "cycle: Loan.rate -> Loan.payment -> Loan.rate"},
        {"two cells, asked at the second", loan, "Loan", "payment", 0, cycle,
         "cycle: Loan.rate -> Loan.payment -> Loan.rate"},
        {"two cells in a data row", loan, "Loan", "payment", 2, cycle,
         "cycle: Loan[2].rate -> Loan[2].payment -> Loan[2].rate"},
        {"many cells", ring, "C", "c", 0, cycle, "cycle: C.a -> C.b -> C.c -> C.d -> C.a"},
        {"across tables", ab, "B", "y", 0, cycle, "cycle: A.x -> B.y -> A.x"},
        {"across tables the other way", ba, "A", "x", 0, cycle, "cycle: B.y -> A.x -> B.y"},
        // B[1].y does not vary by row: it is B.y's value, computed there.
        {"through a row of another table", "table A{ x:=B[1].y! } table B{ y:=A.x! <1>:={} }", "A",
         "x", 0, cycle, "cycle: A.x -> B[1].y -> B.y -> A.x"},
        {"a data range", "table P{ p:=datarange P.p! }", "P", "p", 0, cycle, "cycle: P.p -> P.p"},
        {"an aggregate over its own column", "table C{ z:=sum(C.z)! }", "C", "z", 0, cycle,
         "cycle: C.z -> C.z"},
        // C.z names the formula row, whose value every row repeats.
        {"an aggregate over its own column with rows", "table C{ x:=range 1 to 3! z:=sum(C.z)! }",
         "C", "z", 2, cycle, "cycle: C.z -> C.z"},
    });
}

// A cell that reads itself keeps the evaluator's one "(circular)", and so
// do the cells reading it and their own readers: their loop is found on
// request, so that a loop in every row costs its readers nothing.
TEST(ExplainCause, ALoopOfOneCellAllocatesNothing) {
    auto kernel = loadModel(
        "table S{ x:=range 1 to 3! y:=y+x! z:=y*2! w:=z+1! }"
        " table E{ c:=c+1! d:=c*2! e:=c*3! } table L{ a:=b! b:=a! }");
    auto value = [&](const char* table, const char* field, std::int32_t row) {
        return kernel->getTableByName(table)->value(placeOf(*kernel, table, field, row).field, row);
    };
    Pointer<Object> shared = value("S", "y", 1);
    EXPECT_EQ(test::display(shared), "(circular)");
    EXPECT_EQ(value("S", "y", 2), shared);
    EXPECT_EQ(value("S", "y", 0), shared);
    EXPECT_EQ(value("E", "c", 0), shared);
    for (const char* field : {"z", "w"}) {
        for (std::int32_t row : {0, 1, 2})
            EXPECT_EQ(value("S", field, row), shared) << field << row;
    }
    EXPECT_EQ(value("E", "d", 0), shared);
    EXPECT_EQ(value("E", "e", 0), shared);
    // A special value read from a cell is copied once for its reader, whose
    // own readers share the copy.
    auto ranges = loadModel(kRange);
    auto rangeValue = [&](const char* field, std::int32_t row) {
        return ranges->getTableByName("V")->value(placeOf(*ranges, "V", field, row).field, row);
    };
    EXPECT_EQ(test::display(rangeValue("w", 0)), "(range)");
    EXPECT_EQ(rangeValue("w", 0), rangeValue("v", 0));
    EXPECT_EQ(rangeValue("w", 1), rangeValue("v", 0));
    // A loop of two has a value of its own.
    EXPECT_EQ(test::display(value("L", "a", 0)), "(circular)");
    EXPECT_NE(value("L", "a", 0), shared);
}

// A chain of readers holding the shared "(circular)" is followed so far: a
// longer one names the cell reached, where asking again goes on.
TEST(ExplainCause, ALongChainToALoopOfOneIsFollowedSoFar) {
    auto kernel = loadModel(
        "table S{ x:=range 1 to 10005! y:=if row=1 then y else x!"
        " t:=if row=1 then y else prev+x! }");
    Explanation explanation(*kernel);
    Cause cause = explanation.cause(placeOf(*kernel, "S", "t", 10005));
    EXPECT_EQ(cause.kind, Cause::Kind::Origin);
    EXPECT_EQ(cause.text->toStdString(), "caused by S[5].t: (circular)");
    cause = explanation.cause(cause.origin.place);
    EXPECT_EQ(cause.kind, Cause::Kind::Cycle);
    EXPECT_EQ(cause.text->toStdString(), "cycle: S[1].y -> S[1].y");
}

// The stop is met inside R.x's function calls; the cells waiting on it
// point there.
TEST(ExplainCause, AStopSaysWhereItStopped) {
    auto kernel =
        loadModel("table R{ [f(n)]:=if n <= 0 then 1 else f(n-1)+f(n-1)! x:=f(60)! y:=x+1! }");
    int waits = 0;
    kernel->setWaitingHook([&] {
        if (++waits == 2) kernel->requestStop();
    });
    Explanation explanation(*kernel);
    for (const char* field : {"x", "y"}) {
        SCOPED_TRACE(field);
        Cause cause = explanation.cause(placeOf(*kernel, "R", field, 0));
        EXPECT_EQ(cause.kind, Cause::Kind::Stopped);
        EXPECT_EQ(cause.origin.place, placeOf(*kernel, "R", "x", 0));
        EXPECT_EQ(cause.text->toStdString(), "caused by R.x: calculation stopped");
    }
}

TEST(ExplainCause, APlaceOutsideTheResultsIsNoCell) {
    auto kernel = loadModel("table T{ a:=1! }");
    for (const CellPlace& place : std::vector<CellPlace>{{}, {1, 0, 0}, {0, 0, 1}}) {
        try {
            Explanation(*kernel).cause(place);
            ADD_FAILURE() << "no error";
        } catch (const StringPointer& message) {
            EXPECT_EQ(message->toStdString(), "no such cell");
        }
    }
}

}  // namespace
}  // namespace qv
