// The randomised sort behind "sort": ascending by the shared ordering for any
// mix of values, and fast and shallow on the inputs that defeat a plain
// quicksort (a million equal values, a million values already in order).
#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "FunctionTestSupport.h"
#include "core/ValueConversions.h"
#include "functions/RandomGenerator.h"
#include "functions/SortSumFunction.h"

namespace qv {
namespace {

using test::num;
using test::text;
using test::truth;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMillion = 1000000;

// Runs the action on a thread with a 256 KB stack, so that deep recursion
// fails the test instead of passing on a large main stack.
void runOnSmallStack(const std::function<void()>& action) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    auto entry = [](void* argument) -> void* {
        (*static_cast<const std::function<void()>*>(argument))();
        return nullptr;
    };
    ASSERT_EQ(
        pthread_create(&thread, &attributes, entry, const_cast<std::function<void()>*>(&action)),
        0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

bool isNotANumber(const Object& value) {
    return is<Double>(value) && std::isnan(static_cast<const Double&>(value).value());
}

// The first position where a value is greater than a later neighbour, -1 when
// none. A not-a-number is unordered: the values around it are compared.
std::int32_t firstDisorder(const Vector& values) {
    const Object* previous = nullptr;
    for (std::int32_t i = 0; i < values.size(); ++i) {
        const Object& value = *values.elementAt(i).object();
        if (isNotANumber(value)) continue;
        if (previous != nullptr && isGreater(*previous, value)) return i;
        previous = &value;
    }
    return -1;
}

TEST(Sort, LargeColumnsFinishQuicklyWithoutDeepRecursion) {
    struct Row {
        const char* name;
        std::function<Pointer<Object>(std::int32_t)> value;
    };
    const Row rows[] = {
        {"equal", [](std::int32_t) { return num(7); }},
        {"ascending", [](std::int32_t i) { return num(i); }},
        {"descending", [](std::int32_t i) { return num(-i); }},
        {"not-a-number", [](std::int32_t) { return num(kNaN); }},
        {"two values", [](std::int32_t i) { return num(i % 2); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto accumulator = test::store().findAggregate("sort", 1)->newAccumulator();
        accumulator->start(kMillion);
        for (std::int32_t i = 0; i < kMillion; ++i) {
            Pointer<Object> value = row.value(i);
            accumulator->add(i + 1, Arguments(&value, 1));
        }
        auto begin = std::chrono::steady_clock::now();
        runOnSmallStack([&] { accumulator->finish(); });
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        EXPECT_LT(seconds, 10.0);
        auto sorted = Pointer<Vector>(make<Vector>());
        for (std::int32_t r = 1; r <= kMillion; ++r)
            sorted->addElement(accumulator->result(r));
        EXPECT_EQ(firstDisorder(*sorted), -1);
        EXPECT_EQ(test::render(accumulator->result(kMillion + 1)), "StringSpecialValue:(sort)");
    }
}

// Mixed kinds, texts differing in case, repeated values and not-a-numbers:
// every ordered pair ends in ascending order, every object is kept.
TEST(Sort, MixedValuesEndAscending) {
    const Pointer<Object> kinds[] = {num(3),       num(-1),          num(3),           num(kNaN),
                                     text("abc"),  text("ABC"),      text("abd"),      truth(true),
                                     truth(false), make<Integer>(2), Pointer<Object>()};
    seedRandom(12345);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        auto values = make<Vector>();
        std::int32_t count = 1 + drawRandom() % 300;
        for (std::int32_t i = 0; i < count; ++i)
            values->addElement(kinds[drawRandom() % std::size(kinds)]);
        auto identities = [&] {
            std::vector<const Object*> seen;
            for (std::int32_t i = 0; i < values->size(); ++i)
                seen.push_back(values->elementAt(i).object());
            std::sort(seen.begin(), seen.end());
            return seen;
        };
        const auto before = identities();
        SortSumFunction::sortValues(*values);
        EXPECT_EQ(identities(), before);
        EXPECT_EQ(firstDisorder(*values), -1);
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Columns of plain numbers take a faster path; it must put every object
// where the general path puts it and draw the same pivots.
TEST(Sort, NumberColumnsSortAsTheGeneralPathDoes) {
    const struct {
        const char* name;
        std::int32_t size;
        std::int32_t distinct;  // values are drawn from this many
    } rows[] = {
        {"empty", 0, 1},
        {"one", 1, 1},
        {"equal", 50, 1},
        {"few distinct", 500, 7},
        {"many distinct", 3000, 100000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        auto fast = make<Vector>();
        for (std::int32_t i = 0; i < row.size; ++i)
            fast->addElement(num(static_cast<double>((i * 7919) % row.distinct) - 3.5));
        auto general = make<Vector>();
        for (std::int32_t i = 0; i < fast->size(); ++i)
            general->addElement(fast->elementAt(i));
        seedRandom(11);
        SortSumFunction::sortValues(*fast);
        std::int32_t drawAfterFast = drawRandom();
        seedRandom(11);
        SortSumFunction::sortValuesAsObjects(*general);
        EXPECT_EQ(drawRandom(), drawAfterFast);
        for (std::int32_t i = 0; i < fast->size(); ++i)
            ASSERT_EQ(fast->elementAt(i).object(), general->elementAt(i).object()) << i;
        EXPECT_EQ(firstDisorder(*fast), -1);
    }
}

}  // namespace
}  // namespace qv
