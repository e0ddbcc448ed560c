// The matching of find and replace: plain queries with their options, the
// regular expressions of LinearRegex (syntax, leftmost-first extents, the
// messages for patterns it cannot read, and bounded work on patterns that
// make a backtracking matcher take exponential time), and replacing.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/TextMatcher.h"

namespace qv {
namespace {

using test::thrownMessage;

// Every match as "start-end", joined by spaces.
std::string matchesOf(const TextMatcher& matcher, std::string_view text) {
    std::string out;
    TextMatcher::Matches matches(matcher, text);
    std::int64_t budget = std::numeric_limits<std::int64_t>::max();
    while (matches.next(budget) == TextMatcher::Matches::State::Found) {
        if (!out.empty()) out += ' ';
        out += std::to_string(matches.span().start) + "-" + std::to_string(matches.span().end);
    }
    return out;
}

struct MatchRow {
    const char* query;
    FindOptions options;
    const char* text;
    const char* expected;
};

constexpr FindOptions kPlain{};
constexpr FindOptions kCase{true, false, false};
constexpr FindOptions kWord{false, true, false};
constexpr FindOptions kRegex{false, false, true};
constexpr FindOptions kRegexCase{true, false, true};
constexpr FindOptions kRegexWord{false, true, true};

TEST(TextMatcher, FindsEveryMatchWithTheOptions) {
    const MatchRow rows[] = {
        {"rate", kPlain, "Rate*rate+RATE", "0-4 5-9 10-14"},
        {"rate", kCase, "Rate*rate+RATE", "5-9"},
        {"rate", kWord, "rate+rates+my_rate+(rate)", "0-4 20-24"},
        {"aa", kPlain, "aaaaa", "0-2 2-4"},  // no overlaps
        {"x+1", kPlain, "x+1 + X+1", "0-3 6-9"},
        {"+", kWord, "a+b", "1-2"},  // only a word byte's side is bound
        {"+b", kWord, "a+b a+bc", "1-3"},
        {"zz", kPlain, "z", ""},
        {"\xc3\xa9t\xc3\xa9", kPlain, "l'\xc3\xa9t\xc3\xa9", "2-7"},
        // Regular expressions.
        {"r[a-z]+e", kRegex, "rate+RINSE", "0-4 5-10"},
        {"r[a-z]+e", kRegexCase, "rate+RINSE", "0-4"},
        {"a|ab", kRegex, "ab", "0-1"},  // leftmost-first: the first choice wins
        {"ab|a", kRegex, "ab", "0-2"},
        {"a+?", kRegex, "aaa", "0-1 1-2 2-3"},  // lazy
        {"a{2,3}", kRegex, "aaaaaaa", "0-3 3-6"},
        {"a{2}", kRegex, "aaaaa", "0-2 2-4"},
        {"x{,2}", kRegex, "x{,2}", "0-5"},  // not a count: bytes
        {"\\d+(\\.\\d+)?", kRegex, "1.25 and 30", "0-4 9-11"},
        {"\\bab", kRegex, "ab cab ab_", "0-2 7-9"},
        {"ab\\B", kRegex, "ab abc", "3-5"},
        {"^t", kRegex, "top\ntap tip", "0-1 4-5"},
        {"p$", kRegex, "top\ntap tip", "2-3 10-11"},
        {"a*", kRegex, "baab", "1-3"},  // empty matches are skipped
        {"x*", kRegex, "abc", ""},
        {"rate", kRegexWord, "rate rates _rate", "0-4"},
        {"\\+b", kRegexWord, "a+b a+bc", "1-3"},
        {"[^a-c]+", kRegex, "abxyc", "2-4"},
        {"[^a-c]+", kRegex, "ABxYC", "2-4"},
        {"[]a]+", kRegex, "x]a]", "1-4"},
        {"[\\d.]+", kRegex, "v1.5;", "1-4"},
        {"(?:ab)+", kRegex, "ababa", "0-4"},
        {"a.c", kRegex, "a\nc abc", "4-7"},  // a dot is no line feed
        {"\\(x\\)", kRegex, "f(x)", "1-4"},
        {"\\t", kRegex, "a\tb", "1-2"},
    };
    for (const MatchRow& row : rows) {
        TextMatcher matcher(row.query, row.options);
        EXPECT_EQ(matchesOf(matcher, row.text), row.expected) << row.query << " in " << row.text;
    }
}

// Without regard to case the Latin letters fold as the ASCII ones do, in
// plain, whole-word and regular-expression search alike; with regard to
// case they do not. A fold keeps every byte's place, so the spans are the
// text's own.
TEST(TextMatcher, FoldsTheLatinLettersWithoutRegardToCase) {
    const MatchRow rows[] = {
        {"Ä", kPlain, "ä Ä a", "0-2 3-5"},
        {"ä", kCase, "ä Ä", "0-2"},
        {"ŐR", kPlain, "őr Őr őR", "0-3 4-7 8-11"},
        {"árvíztűrő", kPlain, "ÁRVÍZTŰRŐ tükörfúrógép", "0-13"},
        {"ÿ", kPlain, "Ÿ ÿ", "0-2 3-5"},       // a pair across two blocks
        {"ž", kPlain, "Ž ž z", "0-2 3-5"},     // an odd-even pair
        {"ß", kPlain, "ß SS", "0-2"},          // no two-letter folds
        {"×", kPlain, "× ÷", "0-2"},           // signs, not letters
        {"istanbul", kPlain, "İstanbul", ""},  // lengths differ: left alone
        {"Ölçek", kWord, "ölçek ölçekler", "0-7"},
        {"Ő+r", kRegex, "őőr ŐŐR", "2-5 8-11"},
        {"[ÁÉ]", kRegex, "á", "0-1 1-2"},  // classes hold bytes, folded too
        {"ő\\w", kRegex, "Őx", "0-3"},
        {"ő", kRegexCase, "Ő ő", "3-5"},
        // Queries without letters need no folding and find the same.
        {"1,5", kPlain, "Ő1,5 Ä", "2-5"},
        {"\\d+,\\d", kRegex, "ŐR 12,5", "4-8"},
        {"[^a ]+", kRegex, "ÁBa Ő", "0-3 5-7"},
        {"łódź", kRegexWord, "ŁÓDŹ łódźka", "0-7"},
        {"łódź", kWord, "łódźka ŁÓDŹ", "10-17"},  // a letter beyond ASCII goes on a word
        {"rak", kWord, "árak rak", "6-9"},
        {"5", kWord, "5× 5÷2", "0-1 4-5"},
    };
    for (const MatchRow& row : rows) {
        TextMatcher matcher(row.query, row.options);
        EXPECT_EQ(matchesOf(matcher, row.text), row.expected) << row.query << " in " << row.text;
        if (row.options.regularExpression || *row.expected == '\0') continue;
        // A single search finds the first one too.
        std::optional<TextMatcher::Span> first = matcher.find(row.text);
        ASSERT_TRUE(first.has_value()) << row.query;
        EXPECT_EQ(std::to_string(first->start) + "-" + std::to_string(first->end),
                  std::string(row.expected).substr(0, std::string(row.expected).find(' ')));
    }
}

TEST(TextMatcher, RefusesWhatItCannotRead) {
    const std::pair<const char*, const char*> rows[] = {
        {"(ab", "invalid regular expression: missing ) at 4"},
        {"ab)", "invalid regular expression: unmatched ) at 3"},
        {"[ab", "invalid regular expression: missing ] at 4"},
        {"*a", "invalid regular expression: nothing to repeat at 1"},
        {"a**", "invalid regular expression: nothing to repeat at 3"},
        {"a{3,2}", "invalid regular expression: repeat count out of order at 6"},
        {"a{2000}", "invalid regular expression: repeat count too large at 6"},
        {"a{1,", "invalid regular expression: missing } at 5"},
        {"[z-a]", "invalid regular expression: class range out of order at 5"},
        {"a\\", "invalid regular expression: trailing backslash at 3"},
        {"\\q", "invalid regular expression: unknown escape at 3"},
        {"(?=a)", "invalid regular expression: unsupported group at 2"},
        {"(a{1000}){1000}", "invalid regular expression: pattern too large at 16"},
        {"((()){1000}){1000}", "invalid regular expression: pattern too large at 19"},
        {"", "nothing to find"},
    };
    for (const auto& row : rows) {
        const char* pattern = row.first;
        EXPECT_EQ(thrownMessage([&] { TextMatcher(pattern, kRegex); }), row.second) << pattern;
    }
    std::string deep(LinearRegex::kMaxNesting + 1, '(');
    deep += std::string(LinearRegex::kMaxNesting + 1, ')');
    EXPECT_EQ(thrownMessage([&] { TextMatcher(deep, kRegex); }),
              "invalid regular expression: groups nested too deep at 101");
    std::string longPattern(LinearRegex::kMaxPatternBytes + 1, 'a');
    EXPECT_EQ(thrownMessage([&] { TextMatcher(longPattern, kRegex); }),
              "invalid regular expression: pattern too long at 1");
}

// "(a*)*b" over a's takes a backtracking matcher 2^n steps; here the work
// grows with the text times the program, and the scan pauses when its
// budget is spent.
TEST(TextMatcher, PathologicalPatternsTakeLinearWork) {
    const std::string text(100000, 'a');
    const char* patterns[] = {"(a*)*b", "(a|a)*b", "(a+)+$b", "(x+x+)+y|a{100}b"};
    for (const char* pattern : patterns) {
        TextMatcher matcher(pattern, kRegex);
        TextMatcher::Matches matches(matcher, text);
        std::int64_t budget = std::int64_t{400} * 1000 * 1000;
        EXPECT_EQ(matches.next(budget), TextMatcher::Matches::State::Done) << pattern;
        EXPECT_GT(budget, 0) << pattern;
    }
    // Paused, then resumed to the same answer.
    TextMatcher matcher("(a*)*b", kRegex);
    std::string ending = text + "b";
    TextMatcher::Matches matches(matcher, ending);
    std::int64_t small = 1000;
    EXPECT_EQ(matches.next(small), TextMatcher::Matches::State::Paused);
    std::int32_t pauses = 0;
    for (;;) {
        std::int64_t slice = 100000;
        auto state = matches.next(slice);
        if (state != TextMatcher::Matches::State::Paused) {
            EXPECT_EQ(state, TextMatcher::Matches::State::Found);
            break;
        }
        ++pauses;
    }
    EXPECT_GT(pauses, 0);
    EXPECT_EQ(matches.span().start, 0u);
    EXPECT_EQ(matches.span().end, ending.size());
}

TEST(TextMatcher, ReplacesEveryMatch) {
    const struct {
        const char* query;
        FindOptions options;
        const char* text;
        const char* replacement;
        const char* expected;
        std::int32_t count;
    } rows[] = {
        {"rate", kPlain, "rate*Rate+rates", "r", "r*r+rs", 3},
        {"rate", kWord, "rate*Rate+rates", "r", "r*r+rates", 2},
        {"rate", kCase, "rate*Rate", "", "*Rate", 1},
        {"\\d+", kRegex, "a1+b22", "N", "aN+bN", 2},
        {"x", kPlain, "abc", "y", "abc", 0},
        {"a", kPlain, "aaa", "aa", "aaaaaa", 3},  // the replacement is not searched again
    };
    for (const auto& row : rows) {
        std::int32_t count = -1;
        TextMatcher matcher(row.query, row.options);
        EXPECT_EQ(matcher.replaceAll(row.text, row.replacement, count), row.expected) << row.query;
        EXPECT_EQ(count, row.count) << row.query;
    }
}

TEST(TextMatcher, KnowsWhenNoNumberCanMatch) {
    const std::pair<const char*, bool> rows[] = {
        {"12.5", true}, {"-1e", true}, {"inf", true}, {"NaN", true}, {"rate", false}, {"1 ", false},
    };
    for (const auto& [query, may] : rows)
        EXPECT_EQ(TextMatcher(query, kPlain).mayMatchNumbers(), may) << query;
    EXPECT_TRUE(TextMatcher("[a-z]", kRegex).mayMatchNumbers());
}

// The bytes every match must hold, and the longest run of them in a row,
// let a text without them go unscanned.
TEST(LinearRegex, TellsWhichTextsCannotMatch) {
    const struct {
        const char* pattern;
        LinearRegex::Case caseMode;
        const char* text;
        bool may;
    } rows[] = {
        {"\\d+5e6", LinearRegex::Case::Sensitive, "1.5e7", false},
        {"\\d+5e6", LinearRegex::Case::Sensitive, "6e5", false},  // the bytes, not the run
        {"\\d+5e6", LinearRegex::Case::Sensitive, "x15e6", true},
        {"ab|ac", LinearRegex::Case::Sensitive, "a", true},  // only "a" is common
        {"ab|ac", LinearRegex::Case::Sensitive, "bc", false},
        {"x?y", LinearRegex::Case::Sensitive, "y", true},
        {"x+y", LinearRegex::Case::Sensitive, "y", false},
        {"Rate", LinearRegex::Case::Insensitive, "RATE", true},
        {"Rate", LinearRegex::Case::Sensitive, "RATE", false},
        {"Rate", LinearRegex::Case::Insensitive, "tare", false},
        {"^9+\\.5$", LinearRegex::Case::Sensitive, "9.25", false},
        {"^9+\\.5$", LinearRegex::Case::Sensitive, "99.5", true},
        {"őr", LinearRegex::Case::Insensitive, "ŐR", true},
        {"ŐR", LinearRegex::Case::Insensitive, "az őr", true},
        {"őr", LinearRegex::Case::Sensitive, "ŐR", false},
    };
    for (const auto& row : rows) {
        LinearRegex regex(row.pattern, row.caseMode);
        EXPECT_EQ(regex.mayMatch(row.text), row.may) << row.pattern << " in " << row.text;
    }
}

// The run every match holds: bytes in a row of a sequence, through groups
// and repeats that must come, never across a choice or an assertion.
TEST(LinearRegex, FindsTheLiteralEveryMatchHolds) {
    const struct {
        const char* pattern;
        const char* literal;
    } rows[] = {
        {"\\d+5e6", "5e6"},     {"^9+\\.5$", ".5"},    {"net|gross", ""},
        {"a(bcd)+e", "bcd"},    {"ab?cd", "cd"},       {"x(?:yz)*", ""},
        {"[0-9]+\\.00", ".00"}, {"Total\\b", "total"}, {"(ab|ab)c", ""},
    };
    for (const auto& row : rows) {
        // Without regard to case the run is folded, as the texts are.
        LinearRegex regex(row.pattern, LinearRegex::Case::Insensitive);
        EXPECT_EQ(regex.requiredLiteral(), row.literal) << row.pattern;
    }
}

}  // namespace
}  // namespace qv
