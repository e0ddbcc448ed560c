// A formula's run while explaining ends as soon as the recorder has enough:
// the cells it may keep, the watched cell, its share of the reads or a
// stop. What it found so far is kept, and no value changes.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "kernel/CellReads.h"
#include "kernel/Explanation.h"
#include "kernel/ProgramResult.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::loadModel;
using test::renderTable;
using Names = std::vector<std::string>;

// A run cut short may be in the middle of an aggregate (total), of the
// second alternative (a), of a user function's body (u) or of a local
// table's cells (what).
const std::string kCut =
    "table T{ x:=range 1 to 6! total:=sum(x)! b:=nosuch! a:=b alt x[1]+x[2]+x[3]! k:=3!"
    " [f(v)]:=v*k+x[2]+x[3]! u:=f(1)! }"
    " table P{ base:=100! more:=P.base+1! }"
    " table L{ rate:=0.1! amount:=P.base+P.more! total:=amount*(1+rate)! }"
    " table W{ what:=L(rate := 0.05).total+T.k! }";

Names namesOf(ProgramResult& results, const std::vector<CellPlace>& places) {
    Names out;
    for (const CellPlace& place : places)
        out.push_back(cellName(results, place)->toStdString());
    return out;
}

Names namesOf(const std::vector<CellFacts>& cells) {
    Names out;
    for (const CellFacts& cell : cells)
        out.push_back(cell.name->toStdString());
    return out;
}

std::vector<std::vector<std::string>> shown(Kernel& kernel) {
    std::vector<std::vector<std::string>> tables;
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t)
        tables.push_back(renderTable(kernel, kernel.getTable(t)->name()->view()));
    return tables;
}

struct CutCase {
    const char* what;
    const char* cell;
    std::int32_t limit;
    const char* watch;  // null: none
    std::int64_t maxReads;
    // What the run found before it ended, and how many reads it made.
    Names kept;
    std::int64_t reads;
    // A confirmation keeps no cell: any read is past its limit of 0.
    bool truncated;
    bool watchedRead;
    bool exhausted;
    // All the cells the formula reads, asked again afterwards.
    Names all;
};

TEST(CellReads, RunEndsWhenItHasEnough) {
    const Names column = {"T[1].x", "T[2].x", "T[3].x", "T[4].x", "T[5].x", "T[6].x"};
    const std::vector<CutCase> cases = {
        {"the limit reached mid-aggregate",
         "T.total",
         2,
         nullptr,
         INT64_MAX,
         {"T[1].x", "T[2].x"},
         3,
         true,
         false,
         false,
         column},
        {"the limit reached in the second alternative",
         "T.a",
         2,
         nullptr,
         INT64_MAX,
         {"T.b", "T[1].x"},
         3,
         true,
         false,
         false,
         {"T.b", "T[1].x", "T[2].x", "T[3].x"}},
        {"the limit reached in a user function's body",
         "T.u",
         1,
         nullptr,
         INT64_MAX,
         {"T.k"},
         2,
         true,
         false,
         false,
         {"T.k", "T[2].x", "T[3].x"}},
        {"the limit reached in a local table's cells",
         "W.what",
         1,
         nullptr,
         INT64_MAX,
         {"P.base"},
         2,
         true,
         false,
         false,
         {"P.base", "P.more", "T.k"}},
        {"all kept when the limit is not reached", "T.total", 6, nullptr, INT64_MAX, column, 6,
         false, false, false, column},
        {"a confirmation ends at the watched cell",
         "T.total",
         0,
         "T[4].x",
         INT64_MAX,
         {},
         4,
         true,
         true,
         false,
         column},
        {"the watched cell read in a local table",
         "W.what",
         0,
         "P.more",
         INT64_MAX,
         {},
         2,
         true,
         true,
         false,
         {"P.base", "P.more", "T.k"}},
        {"a confirmation that never meets its cell reads all",
         "T.u",
         0,
         "T[5].x",
         INT64_MAX,
         {},
         3,
         true,
         false,
         false,
         {"T.k", "T[2].x", "T[3].x"}},
        {"the share of reads spent mid-aggregate",
         "T.total",
         0,
         "T[6].x",
         3,
         {},
         3,
         true,
         false,
         true,
         column},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto kernel = loadModel(kCut);
        auto before = shown(*kernel);
        Explanation explanation(*kernel);
        ProgramResult& results = *kernel->getResults();
        CellPlace place = explanation.placeOf(str(c.cell));
        CellPlace watched;
        ReadBounds bounds;
        bounds.limit = c.limit;
        bounds.maxReads = c.maxReads;
        if (c.watch != nullptr) {
            watched = explanation.placeOf(str(c.watch));
            bounds.watch = &watched;
        }
        CellReads reads = readCells(results, place, bounds);
        EXPECT_EQ(namesOf(results, reads.places), c.kept);
        EXPECT_EQ(reads.readCount, c.reads);
        EXPECT_EQ(reads.truncated, c.truncated);
        EXPECT_EQ(reads.watchedRead, c.watchedRead);
        EXPECT_EQ(reads.exhausted, c.exhausted);
        EXPECT_FALSE(reads.stopped);
        // Explained again in full and shown: nothing the cut left behind.
        EXPECT_EQ(namesOf(explanation.precedents(place)), c.all);
        EXPECT_EQ(shown(*kernel), before);
    }
}

TEST(CellReads, PrecedentsBoundedMidAggregateAreTruncated) {
    auto kernel = loadModel("table T{ x:=range 1 to 100000! total:=sum(x)! }");
    Explanation explanation(*kernel);
    ProgramResult& results = *kernel->getResults();
    CellPlace place = explanation.placeOf(str("T.total"));
    for (std::int32_t limit : {1, 7, 1000}) {
        SCOPED_TRACE(limit);
        CellReads reads = readCells(results, place, {limit, nullptr, INT64_MAX, nullptr, {}});
        EXPECT_EQ(static_cast<std::int32_t>(reads.places.size()), limit);
        EXPECT_TRUE(reads.truncated);
        // The aggregate stopped at the first cell past the limit.
        EXPECT_EQ(reads.readCount, limit + 1);
        ExplainLimits limits;
        limits.maxCells = limit;
        std::vector<CellFacts> cells = explanation.precedents(place, limits);
        ASSERT_EQ(static_cast<std::int32_t>(cells.size()), limit);
        EXPECT_EQ(cells.back().name->toStdString(), "T[" + std::to_string(limit) + "].x");
    }
}

// The stop is set from the recorder's side, at a chosen read: no timing.
TEST(CellReads, StopEndsTheRunWithWhatItHas) {
    struct StopCase {
        const char* what;
        const char* cell;
        std::int64_t stopAfter;  // 0: stopped before the run
        Names kept;
    };
    const std::vector<StopCase> cases = {
        {"before the run", "T.total", 0, {}},
        {"during an aggregate", "T.total", 3, {"T[1].x", "T[2].x", "T[3].x"}},
        {"during a local table", "W.what", 1, {"P.base"}},
        {"during a user function", "T.u", 2, {"T.k", "T[2].x"}},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto kernel = loadModel(kCut);
        auto before = shown(*kernel);
        Explanation explanation(*kernel);
        ProgramResult& results = *kernel->getResults();
        CellPlace place = explanation.placeOf(str(c.cell));
        std::atomic<bool> stop{c.stopAfter == 0};
        std::int64_t seen = 0;
        ReadBounds bounds;
        bounds.limit = 100;
        bounds.stop = &stop;
        bounds.onRead = [&](const CellPlace&) {
            if (++seen == c.stopAfter) stop = true;
        };
        CellReads reads = readCells(results, place, bounds);
        EXPECT_TRUE(reads.stopped);
        EXPECT_EQ(namesOf(results, reads.places), c.kept);
        EXPECT_EQ(reads.readCount, c.stopAfter);
        EXPECT_EQ(shown(*kernel), before);
    }
}

// The search for dependents shares one budget of reads: a confirmation
// that would pass it ends there, and finds nothing.
TEST(CellReads, DependentsWithinTheirShareOfReads) {
    auto kernel = loadModel("table T{ x:=range 1 to 100000! total:=sum(x)! mean:=avg(x)! }");
    Explanation explanation(*kernel);
    CellPlace place = explanation.placeOf(str("T[99999].x"));
    struct BudgetCase {
        std::int64_t maxReads;
        Names found;
        bool complete;
    };
    const std::vector<BudgetCase> cases = {
        {99998, {"T[sum].x"}, false},
        {150000, {"T[sum].x", "T.total"}, false},
        {199997, {"T[sum].x", "T.total"}, false},
        {199998, {"T[sum].x", "T.total", "T.mean"}, true},
        {200000, {"T[sum].x", "T.total", "T.mean"}, true},
    };
    for (const BudgetCase& c : cases) {
        SCOPED_TRACE(c.maxReads);
        ExplainLimits limits;
        limits.maxReads = c.maxReads;
        bool complete = !c.complete;
        EXPECT_EQ(namesOf(explanation.dependents(place, limits, &complete)), c.found);
        EXPECT_EQ(complete, c.complete);
    }
}

}  // namespace
}  // namespace qv
