// The aggregates, driven as the calculators drive them: newAccumulator,
// start, add per item, finish, then result per row. Results are rendered as
// "Class:text" so that a row of the table states kind and value at once.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "FunctionTestSupport.h"
#include "functions/MainPackage.h"

namespace qv {
namespace {

using test::aggregate;
using test::none;
using test::num;
using test::render;
using test::text;
using test::truth;
using test::Values;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMinInt = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMaxInt = std::numeric_limits<std::int32_t>::max();

std::vector<Values> column(std::initializer_list<double> values) {
    std::vector<Values> items;
    for (double value : values)
        items.push_back({num(value)});
    return items;
}

// Items of two arguments: (first, second) per item.
std::vector<Values> pairs(std::initializer_list<std::pair<double, double>> values) {
    std::vector<Values> items;
    for (const auto& [first, second] : values)
        items.push_back({num(first), num(second)});
    return items;
}

std::string resultsAt(const Pointer<SumFunction>& accumulator,
                      const std::vector<std::int32_t>& rows) {
    std::string out;
    for (std::int32_t row : rows)
        out += (out.empty() ? "" : " | ") + render(accumulator->result(row));
    return out;
}

struct Row {
    const char* name;
    std::int32_t arity;
    std::vector<Values> items;
    std::vector<std::int32_t> rows;
    const char* expected;
};

TEST(Aggregates, ResultsPerRow) {
    const Row rows[] = {
        {"sum", 1, column({1, 2, 3}), {1}, "Double:6"},
        {"sum", 1, {}, {1}, "Double:0"},
        {"sum", 1, {{text("7")}, {truth(true)}, {num(2)}, {none()}}, {1}, "Double:3"},
        {"concat", 1, {{text("a")}, {text("b")}, {text("c")}}, {1}, "String:abc"},
        {"concat", 1, {{text("a")}, {num(2)}, {none()}, {truth(false)}}, {1}, "String:a2false"},
        {"concat", 1, {{num(2.5)}}, {1}, "Double:2.5"},
        {"concat", 1, {{none()}, {text("x")}}, {1}, "String:x"},
        {"concat", 1, {}, {1}, "null"},
        {"_or", 1, {{truth(false)}, {truth(true)}, {truth(false)}}, {1}, "Boolean:true"},
        {"_or", 1, {{num(0)}, {none()}}, {1}, "Boolean:false"},
        {"_or", 1, {{num(0)}, {text("")}}, {1}, "Boolean:true"},  // any text is true
        {"_or", 1, {}, {1}, "Boolean:false"},
        {"_and", 1, {}, {1}, "Boolean:true"},
        {"_and", 1, {{truth(true)}, {num(3)}, {text("x")}}, {1}, "Boolean:true"},
        {"_and", 1, {{truth(true)}, {num(0)}, {truth(true)}}, {1}, "Boolean:false"},
        {"max", 1, column({2, 5, 3}), {1}, "Double:5"},
        {"max", 1, {{num(9)}, {text("a")}}, {1}, "String:a"},  // by class name
        {"max", 1, {}, {1}, "null"},
        {"min", 1, column({3, 1, 2}), {1}, "Double:1"},
        {"min", 1, {{none()}, {num(4)}}, {1}, "Double:4"},
        {"min", 1, {}, {1}, "null"},
        {"avg", 1, column({2, 4}), {1}, "Double:3"},
        {"avg", 1, {}, {1}, "Double:nan"},
        {"wavg", 2, pairs({{1, 3}, {3, 1}}), {1}, "Double:1.5"},
        {"wavg", 2, pairs({{1, 0}, {5, 0}}), {1}, "Double:nan"},
        {"wavg", 2, pairs({{2, 1}, {5, -1}}), {1}, "Double:-inf"},
        // Window first, value second; the last item's window counts.
        {"mavg",
         2,
         pairs({{2, 1}, {2, 3}, {2, 5}, {2, 7}}),
         {1, 2, 3, 4},
         "Double:1 | Double:2 | Double:4 | Double:6"},
        {"mavg",
         2,
         pairs({{-2, 1}, {-2, 3}, {-2, 5}, {-2, 7}}),
         {1, 2, 3, 4},
         "Double:1 | Double:2 | Double:4 | Double:6"},
        {"mavg",
         2,
         pairs({{9, 1}, {9, 3}, {1, 5}, {2.9, 7}}),
         {1, 2, 3, 4},
         "Double:1 | Double:2 | Double:4 | Double:6"},
        {"mavg", 2, pairs({{1, 1}, {1, 3}, {1, 5}}), {1, 2, 3}, "Double:1 | Double:3 | Double:5"},
        {"mavg", 2, pairs({{0, 1}, {0, 3}}), {1, 2}, "Double:nan | Double:nan"},
        {"mavg", 2, pairs({{kNaN, 1}, {kNaN, 3}}), {1, 2}, "Double:nan | Double:nan"},
        {"mavg",
         2,
         pairs({{1e300, 1}, {1e300, 3}, {1e300, 8}}),
         {1, 2, 3},
         "Double:1 | Double:2 | Double:4"},
        {"mavg", 2, pairs({{-3e9, 1}, {-3e9, 3}}), {1, 2}, "Double:1 | Double:2"},
        {"mavg", 2, pairs({{kMinInt, 2}, {kMinInt, 4}}), {1, 2}, "Double:2 | Double:3"},
        // Outside the rows of the aggregation: the null object.
        {"mavg",
         2,
         pairs({{1, 1}, {1, 3}}),
         {0, 3, -1, kMinInt, kMaxInt},
         "null | null | null | null | null"},
        {"mavg", 2, {}, {1, 0}, "null | null"},
        {"sort",
         1,
         column({3, 1, 2}),
         {1, 2, 3, 4, 0, -1, kMinInt, kMaxInt},
         "Double:1 | Double:2 | Double:3 | StringSpecialValue:(sort) | "
         "StringSpecialValue:(sort) | StringSpecialValue:(sort) | StringSpecialValue:(sort) | "
         "StringSpecialValue:(sort)"},
        // Class names first ("Boolean" < "Double" < "String"), texts without case.
        {"sort",
         1,
         {{text("b")}, {num(2)}, {text("A")}, {num(-1)}, {truth(true)}},
         {1, 2, 3, 4, 5},
         "Boolean:true | Double:-1 | Double:2 | String:A | String:b"},
        {"sort", 1, {{none()}, {num(1)}}, {1, 2}, "null | Double:1"},
        {"sort", 1, {}, {1}, "StringSpecialValue:(sort)"},
        {"plot",
         2,
         pairs({{1, 10}, {2, 20}, {3, 30}}),
         {1, -1},
         "Trajectory2D:plot (1,10) (2,20) (3,30) | Trajectory2D:plot (1,10) (2,20) (3,30)"},
        {"plot", 2, {{text("x"), truth(true)}}, {1}, "Trajectory2D:plot (0,1)"},
        {"plot", 2, {}, {1}, "Trajectory2D:plot"},
        {"collect", 1, {{num(1)}, {text("plot")}}, {1}, "Vector:[]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + ": " + row.expected);
        Pointer<SumFunction> accumulator = aggregate(row.name, row.arity, row.items);
        ASSERT_FALSE(accumulator.isNull());
        EXPECT_EQ(resultsAt(accumulator, row.rows), row.expected);
    }
}

// A local aggregate numbers its items from 0 and asks for row 0.
TEST(Aggregates, LocalAggregateAtRowZero) {
    const Row rows[] = {
        {"sum", 1, column({1, 2, 3}), {0}, "Double:6"},
        {"max", 1, column({4, 9, 2}), {0}, "Double:9"},
        {"sort", 1, column({3, 1, 2}), {0}, "StringSpecialValue:(sort)"},
        {"concat", 1, {{text("x")}, {num(1)}}, {0}, "String:x1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(resultsAt(aggregate(row.name, row.arity, row.items, 0), row.rows), row.expected);
    }
}

// Indexes outside 1 ... count never reach the per-row storage.
TEST(Aggregates, PerRowStorageIgnoresIndexesOutsideTheItems) {
    struct StorageRow {
        const char* name;
        const char* expected;
    };
    const StorageRow rows[] = {
        {"mavg", "Double:0 | Double:7"},
        {"plot", "Trajectory2D:plot (0,0) (1,7) | Trajectory2D:plot (0,0) (1,7)"},
    };
    for (const StorageRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto accumulator = test::store().findAggregate(row.name, 2)->newAccumulator();
        accumulator->start(2);
        const Values item = {num(1), num(7)};
        for (std::int32_t index : {0, 3, -1, kMinInt, kMaxInt, 2})
            accumulator->add(index, Arguments(item));
        accumulator->finish();
        EXPECT_EQ(resultsAt(accumulator, {1, 2}), row.expected);
    }
    for (std::int32_t count : {0, -5}) {
        auto accumulator = test::store().findAggregate("mavg", 2)->newAccumulator();
        accumulator->start(count);
        const Values item = {num(1), num(7)};
        accumulator->add(1, Arguments(item));
        accumulator->finish();
        EXPECT_EQ(resultsAt(accumulator, {1, 0}), "null | null") << count;
    }
}

// Where values are equal for the ordering, the objects show which is kept.
TEST(Aggregates, KeepTheDocumentedObjects) {
    struct IdentityRow {
        const char* name;
        Values values;
        std::size_t expectedIndex;
    };
    const IdentityRow rows[] = {
        {"concat", {num(4)}, 0},
        {"concat", {text("only")}, 0},
        {"max", {num(2), num(5), num(5)}, 1},
        {"min", {num(3), num(1), num(1)}, 2},
        {"max", {text("b"), text("B")}, 0},
        {"min", {text("b"), text("B")}, 1},
        {"sort", {num(8)}, 0},
    };
    for (const IdentityRow& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<Values> items;
        for (const auto& value : row.values)
            items.push_back({value});
        EXPECT_EQ(aggregate(row.name, 1, items)->result(1).object(),
                  row.values[row.expectedIndex].object());
    }
    // "collect" keeps the trajectories themselves, in order.
    auto first = aggregate("plot", 2, pairs({{1, 2}}))->result(1);
    auto second = aggregate("plot", 2, pairs({{3, 4}}))->result(1);
    auto collected =
        cast<Vector>(aggregate("collect", 1, {{first}, {num(5)}, {second}})->result(1));
    ASSERT_EQ(collected->size(), 2);
    EXPECT_EQ(collected->elementAt(0).object(), first.object());
    EXPECT_EQ(collected->elementAt(1).object(), second.object());
}

TEST(Aggregates, WantsMoreUntilTheResultIsSettled) {
    struct WantsRow {
        const char* name;
        Values values;
        const char* expected;  // wantsMore after start, then after each item
    };
    const WantsRow rows[] = {
        {"_or", {truth(false), truth(true), truth(false)}, "1 1 0 0"},
        {"_and", {truth(true), truth(false), truth(true)}, "1 1 0 0"},
        {"sum", {num(1), num(2)}, "1 1 1"},
        {"max", {num(1)}, "1 1"},
    };
    for (const WantsRow& row : rows) {
        SCOPED_TRACE(row.name);
        auto accumulator = test::store().findAggregate(row.name, 1)->newAccumulator();
        accumulator->start(static_cast<std::int32_t>(row.values.size()));
        std::string seen = accumulator->wantsMore() ? "1" : "0";
        std::int32_t index = 1;
        for (const auto& value : row.values) {
            accumulator->add(index++, Arguments(&value, 1));
            seen += accumulator->wantsMore() ? " 1" : " 0";
        }
        EXPECT_EQ(seen, row.expected);
    }
}

TEST(Aggregates, TrajectoryShowsPlot) {
    auto trajectory = cast<Trajectory2D>(aggregate("plot", 2, pairs({{1, 2}}))->result(1));
    ASSERT_FALSE(trajectory.isNull());
    EXPECT_EQ(trajectory->toString()->toStdString(), "plot");
    EXPECT_EQ(trajectory->name()->toStdString(), "name");
    EXPECT_EQ(make<Trajectory2D>(-3)->pointCount(), 0);
}

// Every aggregate with state hands out fresh accumulators: two aggregations
// run side by side give what each gives alone.
TEST(Aggregates, AccumulatorsAreIndependent) {
    auto package = make<MainPackage>();
    const auto plotted = aggregate("plot", 2, pairs({{1, 1}}))->result(1);
    const std::vector<Values> first = {{num(3), num(1)}, {plotted, num(2)}};
    const std::vector<Values> second = {{num(0), num(2)}};
    for (const auto& shared : *package->aggregates()) {
        SCOPED_TRACE(shared->name());
        auto a = shared->newAccumulator();
        auto b = shared->newAccumulator();
        EXPECT_NE(a.object(), shared.object());
        EXPECT_NE(a.object(), b.object());
        EXPECT_STREQ(a->name(), shared->name());
        EXPECT_EQ(a->arity(), shared->arity());
        a->start(2);
        b->start(1);
        a->add(1, Arguments(first[0]));
        b->add(1, Arguments(second[0]));
        a->add(2, Arguments(first[1]));
        a->finish();
        b->finish();
        const std::vector<std::int32_t> at = {1, 2};
        EXPECT_EQ(resultsAt(a, at),
                  resultsAt(aggregate(shared->name(), shared->arity(), first), at));
        EXPECT_EQ(resultsAt(b, at),
                  resultsAt(aggregate(shared->name(), shared->arity(), second), at));
    }
}

}  // namespace
}  // namespace qv
