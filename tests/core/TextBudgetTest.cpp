// The text budget: takes what fits, refuses what would pass it whole (and
// keeps counting right after a refusal), and reaches the joins of the
// thread whose computation names it, and only those.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/TextBudget.h"
#include "core/ValueConversions.h"
#include "tests/core/CoreTestSupport.h"

namespace qv {
namespace {

std::string refusal(std::int64_t limit) {
    return "too much text: the texts joined in one computation pass the limit of " +
           std::to_string(limit) + " bytes";
}

// Takes each amount in turn; "ok" or the message for each, then the bytes used.
std::string takeAll(std::int64_t limit, const std::vector<std::size_t>& amounts) {
    TextBudget budget(limit);
    std::string out;
    for (std::size_t bytes : amounts) {
        try {
            budget.take(bytes);
            out += "ok ";
        } catch (const StringPointer& message) {
            out += message->equals(refusal(limit)) ? "refused " : message->toStdString() + " ";
        }
    }
    return out + "used " + std::to_string(budget.used());
}

TEST(TextBudgetTest, TakesWhatFitsAndRefusesWhatWouldPassIt) {
    constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();
    struct Row {
        std::int64_t limit;
        std::vector<std::size_t> amounts;
        const char* expected;
    } rows[] = {
        {10, {}, "used 0"},
        {10, {4, 6}, "ok ok used 10"},
        {10, {4, 7}, "ok refused used 4"},
        {10, {11}, "refused used 0"},
        {10, {4, 7, 6, 1}, "ok refused ok refused used 10"},
        {10, {0, 10, 0}, "ok ok ok used 10"},
        // Sizes beyond any budget neither wrap the sum nor count.
        {10, {kHuge, 3}, "refused ok used 3"},
        {kMaxJoinedTextBytes, {kHuge, kHuge - 1}, "refused refused used 0"},
        {kMaxJoinedTextBytes,
         {std::size_t{1} << 29, std::size_t{1} << 29, 1},
         "ok ok refused used 1073741824"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.limit) + " " + row.expected);
        EXPECT_EQ(takeAll(row.limit, row.amounts), row.expected);
    }
}

// Joins outside a scope are not counted; a scope's budget counts until it
// ends, an inner scope's until the inner one ends, and a scope without a
// budget leaves the outer one counting.
TEST(TextBudgetTest, JoinsDrawOnTheBudgetTheirThreadNames) {
    TextBudget outer(100);
    TextBudget inner(100);
    StringPointer four = str("abcd");
    joinTexts(four, four);
    EXPECT_EQ(outer.used(), 0);
    {
        TextBudgetScope scope(&outer);
        joinTexts(four, str("e"));
        {
            TextBudgetScope nested(&inner);
            joinTexts(four, four);
            TextBudgetScope none(nullptr);
            joinTexts(four, str(""));
        }
        joinTexts(str("ab"), str("c"));
    }
    joinTexts(four, four);
    EXPECT_EQ(outer.used(), 5 + 3);
    EXPECT_EQ(inner.used(), 8 + 4);
}

TEST(TextBudgetTest, AJoinPastTheBudgetMakesNoText) {
    TextBudget budget(6);
    TextBudgetScope scope(&budget);
    EXPECT_EQ(joinTexts(str("abc"), str("def"))->toStdString(), "abcdef");
    try {
        joinTexts(str("a"), str(""));
        ADD_FAILURE() << "the join passed the budget";
    } catch (const StringPointer& message) {
        EXPECT_EQ(message->toStdString(), refusal(6));
    }
    EXPECT_EQ(budget.used(), 6);
}

}  // namespace
}  // namespace qv
