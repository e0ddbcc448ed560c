// Derivations: the cells a cell's value read and the cells that read it, by
// name, each once, bounded; explaining changes no value.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "kernel/Explanation.h"
#include "kernel/ProgramResult.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::display;
using test::loadModel;
using test::renderTable;

std::vector<std::string> names(const std::vector<CellFacts>& cells) {
    std::vector<std::string> out;
    for (const CellFacts& cell : cells)
        out.push_back(cell.name->toStdString());
    return out;
}

using Names = std::vector<std::string>;

const std::string kRunning =
    "table T{ x:=range 1 to 4! y:=x*2! s:=if row=1 then x else prev+x! z:=if row=1 then 0 else "
    "x[row-1]! }";
const std::string kAcross = "table P{ rate:=4! } table T{ v:=P.rate+1! w:=v*2! }";
const std::string kAggregate = "table T{ x:=range 1 to 3! total:=sum(x)! }";
const std::string kAlternative = "table T{ a:=b alt c! b:=nosuch! c:=5! }";
const std::string kFunction = "table T{ k:=3! [tw(v)]:=v*k! a:=tw(2)! }";
const std::string kLocal =
    "table P{ base:=100! } table T{ rate:=0.1! amount:=P.base! total:=amount*(1+rate)! }"
    " table W{ what:=T(rate := 0.05).total! }";
const std::string kInherited = "table B{ a:=1! b:=a+1! } table D extends B{ a:=5! }";
const std::string kOverride = "table T{ a:=1! b:=2! c:=a! <1>:={} <2>:={c:=b} }";
const std::string kShared = "table P{ r:=2! } table T{ x:=range 1 to 3! k:=P.r*10! }";

struct DerivationCase {
    const char* what;
    std::string program;
    const char* cell;
    Names precedents;
    Names dependents;
};

TEST(Explanation, PrecedentsAndDependents) {
    const std::vector<DerivationCase> cases = {
        {"same row", kRunning, "T[2].x", {}, {"T[sum].x", "T[2].y", "T[2].s", "T[3].z"}},
        {"a row reads its own x", kRunning, "T[2].y", {"T[2].x"}, {"T[sum].y"}},
        {"prev reads the row before",
         kRunning,
         "T[3].s",
         {"T[2].s", "T[3].x"},
         {"T[sum].s", "T[4].s"}},
        {"an index reads another row", kRunning, "T[3].z", {"T[2].x"}, {"T[sum].z"}},
        {"a dot across tables", kAcross, "T.v", {"P.rate"}, {"T.w"}},
        {"read by another table", kAcross, "P.rate", {}, {"T.v"}},
        {"an aggregate reads its column",
         kAggregate,
         "T.total",
         {"T[1].x", "T[2].x", "T[3].x"},
         {}},
        {"a column cell is read by the aggregate",
         kAggregate,
         "T[2].x",
         {},
         {"T[sum].x", "T.total"}},
        {"a summary without formula totals its column",
         kAggregate,
         "T[sum].x",
         {"T[1].x", "T[2].x", "T[3].x"},
         {}},
        {"every alternative tried", kAlternative, "T.a", {"T.b", "T.c"}, {}},
        {"the alternative that served", kAlternative, "T.c", {}, {"T.a"}},
        {"a user function's body", kFunction, "T.a", {"T.k"}, {}},
        {"read through a user function", kFunction, "T.k", {}, {"T.a"}},
        {"a local table's cells", kLocal, "W.what", {"P.base"}, {}},
        {"read through a local table", kLocal, "P.base", {}, {"T.amount", "W.what"}},
        {"an inherited formula", kInherited, "D.b", {"D.a"}, {}},
        {"the base's own cells", kInherited, "B.a", {}, {"B.b"}},
        {"a row override", kOverride, "T[2].c", {"T[2].b"}, {"T[sum].c"}},
        {"the field's formula elsewhere", kOverride, "T[1].c", {"T[1].a"}, {"T[sum].c"}},
        {"read by a row override", kOverride, "T[2].b", {}, {"T[sum].b", "T[2].c"}},
        {"a row repeating its formula row", kShared, "T[2].k", {"P.r"}, {"T[sum].k"}},
        {"a constant", kAcross, "P.rate", {}, {"T.v"}},
    };
    for (const DerivationCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto kernel = loadModel(c.program);
        Explanation explanation(*kernel);
        CellPlace place = explanation.placeOf(str(c.cell));
        EXPECT_EQ(names(explanation.precedents(place)), c.precedents);
        bool complete = false;
        EXPECT_EQ(names(explanation.dependents(place, {}, &complete)), c.dependents);
        EXPECT_TRUE(complete);
    }
}

TEST(Explanation, PrecedentsCarryFormulasAndValues) {
    auto kernel = loadModel(kAcross);
    Explanation explanation(*kernel);
    std::vector<CellFacts> cells = explanation.precedents(explanation.placeOf(str("T.w")));
    ASSERT_EQ(cells.size(), 1u);
    EXPECT_EQ(cells[0].formula->toStdString(), "P.rate+1");
    EXPECT_EQ(display(cells[0].value), "5");
    CellFacts own = explanation.facts(explanation.placeOf(str("T.w")));
    EXPECT_EQ(own.name->toStdString(), "T.w");
    EXPECT_EQ(own.formula->toStdString(), "v*2");
    EXPECT_EQ(display(own.value), "10");
    auto overrides = loadModel(kOverride);
    Explanation overridden(*overrides);
    EXPECT_EQ(overridden.facts(overridden.placeOf(str("T[2].c"))).formula->toStdString(), "b");
    EXPECT_EQ(overridden.facts(overridden.placeOf(str("T[1].c"))).formula->toStdString(), "a");
    EXPECT_EQ(overridden.facts(overridden.placeOf(str("T[sum].c"))).formula->toStdString(), "");
}

TEST(Explanation, BoundedByMaxCells) {
    auto kernel = loadModel(kAggregate);
    Explanation explanation(*kernel);
    ExplainLimits limits;
    limits.maxCells = 2;
    EXPECT_EQ(names(explanation.precedents(explanation.placeOf(str("T.total")), limits)),
              (Names{"T[1].x", "T[2].x"}));
}

// A list of dependents cut short by a bound says so; one that ends with
// every candidate looked at is whole, even when it just fills the bound.
TEST(Explanation, DependentsSayWhetherTheyAreWhole) {
    struct WholeCase {
        const char* what;
        std::string program;
        const char* cell;
        std::int32_t maxCells;
        std::int32_t maxScanned;
        std::int64_t maxReads;
        Names found;
        bool complete;
    };
    const Names running = {"T[sum].x", "T[2].y", "T[2].s", "T[3].z"};
    const std::vector<WholeCase> cases = {
        {"within every bound", kRunning, "T[2].x", 100, 100, 1000, running, true},
        {"cells kept, rows left", kRunning, "T[2].x", 1, 100, 1000, {"T[sum].x"}, false},
        {"all found, rows left to confirm", kRunning, "T[2].x", 4, 100, 1000, running, false},
        {"formulas run again", kRunning, "T[2].x", 100, 3, 1000, {"T[sum].x"}, false},
        {"reads", kAggregate, "T[2].x", 100, 100, 1, {"T[sum].x"}, false},
        {"the bound just filled, nothing left",
         kAggregate,
         "T[2].x",
         2,
         100,
         1000,
         {"T[sum].x", "T.total"},
         true},
        {"a formula row only", kAcross, "P.rate", 1, 100, 1000, {"T.v"}, true},
        {"no candidate at all", kAcross, "T.w", 0, 0, 0, {}, true},
    };
    for (const WholeCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto kernel = loadModel(c.program);
        Explanation explanation(*kernel);
        ExplainLimits limits;
        limits.maxCells = c.maxCells;
        limits.maxScanned = c.maxScanned;
        limits.maxReads = c.maxReads;
        bool complete = !c.complete;
        EXPECT_EQ(
            names(explanation.dependents(explanation.placeOf(str(c.cell)), limits, &complete)),
            c.found);
        EXPECT_EQ(complete, c.complete);
    }
}

TEST(Explanation, StopFlagEndsTheSearch) {
    auto kernel = loadModel(kRunning);
    Explanation explanation(*kernel);
    std::atomic<bool> stop{true};
    ExplainLimits limits;
    limits.stop = &stop;
    CellPlace place = explanation.placeOf(str("T[2].x"));
    EXPECT_TRUE(explanation.precedents(explanation.placeOf(str("T[3].s")), limits).empty());
    bool complete = true;
    EXPECT_TRUE(explanation.dependents(place, limits, &complete).empty());
    EXPECT_FALSE(complete);
    stop = false;
    EXPECT_FALSE(explanation.dependents(place, limits, &complete).empty());
    EXPECT_TRUE(complete);
}

// Runs cut short (one cell kept, two reads per search) come first, in the
// middle of aggregates, alternatives, user functions and local tables;
// then everything is explained in full.
TEST(Explanation, ExplainingChangesNoValue) {
    const std::string cutShort =
        "table T{ x:=range 1 to 6! total:=sum(x)! b:=nosuch! a:=b alt x[1]+x[2]+x[3]! k:=3!"
        " [f(v)]:=v*k+x[2]+x[3]! u:=f(1)! } table P{ base:=100! more:=P.base+1! }"
        " table L{ rate:=0.1! amount:=P.base+P.more! total:=amount*(1+rate)! }"
        " table W{ what:=L(rate := 0.05).total+T.k! }";
    ExplainLimits tight;
    tight.maxCells = 1;
    tight.maxReads = 2;
    for (const std::string& program :
         {kRunning, kLocal, kAlternative, kOverride, kInherited, cutShort}) {
        SCOPED_TRACE(program);
        auto kernel = loadModel(program);
        std::vector<std::vector<std::string>> before;
        for (std::int32_t t = 0; t < kernel->getTableCount(); ++t)
            before.push_back(renderTable(*kernel, kernel->getTable(t)->name()->view()));
        Explanation explanation(*kernel);
        ProgramResult& results = *kernel->getResults();
        for (const ExplainLimits& limits : {tight, ExplainLimits{}}) {
            for (std::int32_t t = 0; t < results.tableCount(); ++t) {
                TableResult& table = *results.getTable(t);
                for (std::int32_t field = 0; field < table.fieldCount(); ++field) {
                    for (std::int32_t row = -1; row < table.rowCount(); ++row) {
                        explanation.precedents({t, field, row}, limits);
                        explanation.dependents({t, field, row}, limits);
                    }
                }
            }
        }
        for (std::int32_t t = 0; t < kernel->getTableCount(); ++t)
            EXPECT_EQ(renderTable(*kernel, kernel->getTable(t)->name()->view()),
                      before[static_cast<std::size_t>(t)]);
    }
}

TEST(Explanation, PlaceOfReadsBackCellNames) {
    const std::string program =
        "table [My Prices]{ [unit rate]:=4! x:=[unit rate]+1! <1>:={} <2>:={} }"
        " table N{ k~name:=1! v:=10! <2>:={second, 7} } table B{ a:=1! } table D extends B{ c:=a! "
        "}";
    auto kernel = loadModel(program);
    Explanation explanation(*kernel);
    ProgramResult& results = *kernel->getResults();
    for (std::int32_t t = 0; t < results.tableCount(); ++t) {
        TableResult& table = *results.getTable(t);
        for (std::int32_t field = 0; field < table.fieldCount(); ++field) {
            for (std::int32_t row = -1; row < table.rowCount(); ++row) {
                CellPlace place{t, field, row};
                StringPointer name = cellName(results, place);
                SCOPED_TRACE(name->toStdString());
                EXPECT_EQ(explanation.placeOf(name), place);
            }
        }
    }
}

TEST(Explanation, PlaceOfRefusesWhatNamesNoCell) {
    auto kernel = loadModel(kAcross);
    Explanation explanation(*kernel);
    for (const char* text : {"1+2", "T", "P[1]", "nosuch.x", "T.v+1", "T.(", ""}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(explanation.placeOf(str(text)), StringPointer);
    }
}

// An expression reading an error cell names the cell where it began.
TEST(Explanation, ExpressionErrorsCarryTheirCause) {
    auto kernel = loadModel("table P{ rate:=nosuch! } table T{ v:=P.rate+1! }");
    Explanation explanation(*kernel);
    Explanation::ExpressionFacts facts = explanation.expression(str("T.v*2"));
    EXPECT_EQ(names(facts.precedents), (Names{"T.v"}));
    EXPECT_EQ(facts.cause.kind, Cause::Kind::Origin);
    EXPECT_EQ(facts.cause.origin.name->toStdString(), "P.rate");
}

// The cells an expression reads were computed by the kernel before it: a
// cell that reads itself holds the kernel's "(circular)", a range its own
// value, and the expression's cause names them as the cells' readers do.
TEST(Explanation, ExpressionsReadingComputedSpecialValues) {
    struct ExpressionCause {
        std::string program;
        const char* text;
        Cause::Kind kind;
        const char* cause;
    };
    const std::string self = "table E{ c:=c+1! d:=c*2! } table L{ a:=b! b:=a! }";
    const std::string range = "table T{ r:=range 1 to 3! } table V{ v:=T.r! }";
    const std::vector<ExpressionCause> cases = {
        {self, "E.c+1", Cause::Kind::Cycle, "cycle: E.c -> E.c"},
        {self, "E.d+1", Cause::Kind::Cycle, "cycle: E.c -> E.c"},
        {self, "L.a+1", Cause::Kind::Cycle, "cycle: L.a -> L.b -> L.a"},
        {range, "T.r&\"\"", Cause::Kind::Origin, "caused by T.r: (range)"},
        {range, "V.v&\"\"", Cause::Kind::Origin, "caused by T.r: (range)"},
    };
    for (const ExpressionCause& c : cases) {
        SCOPED_TRACE(c.text);
        auto model = loadModel(c.program);
        Cause cause = Explanation(*model).expression(str(c.text)).cause;
        EXPECT_EQ(cause.kind, c.kind);
        EXPECT_EQ(cause.text->toStdString(), c.cause);
    }
}

TEST(Explanation, ExpressionsAsEvalComputesThem) {
    auto kernel = loadModel(kAcross);
    Explanation explanation(*kernel);
    struct ExpressionCase {
        const char* text;
        const char* value;
        Names precedents;
        Cause::Kind cause;
    };
    const std::vector<ExpressionCase> cases = {
        {"P.rate*2", "8", {"P.rate"}, Cause::Kind::None},
        {"T.w+T.v+P.rate", "19", {"T.w", "T.v", "P.rate"}, Cause::Kind::None},
        {"(", "bad expression", {}, Cause::Kind::Origin},
        {"nosuch+1", "undefined: nosuch", {}, Cause::Kind::Origin},
    };
    for (const ExpressionCase& c : cases) {
        SCOPED_TRACE(c.text);
        Explanation::ExpressionFacts facts = explanation.expression(str(c.text));
        EXPECT_EQ(display(facts.value), c.value);
        EXPECT_EQ(display(facts.value), display(kernel->evaluateExpression(str(c.text))));
        EXPECT_EQ(names(facts.precedents), c.precedents);
        EXPECT_EQ(facts.cause.kind, c.cause);
    }
}

}  // namespace
}  // namespace qv
