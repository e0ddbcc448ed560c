// Find over a whole model: each kind of place (names, formulas with row
// overrides and summary formulas, shown values, errors, text areas), the
// options, the three scopes, the bound on the kept matches with the count
// past it, searching in slices and stopping.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "ModelTestSupport.h"
#include "kernel/FindSearch.h"

namespace qv {
namespace {

using test::loadModel;

constexpr const char* kModel =
    "table Fruit{ item~name:=\"\"! net:=0! gross:=net*1.25! note:=\"\"! "
    "<sum>:={gross:=sum(gross)*1} "
    "<1>:={apple, 10, note:=\"apple pie\"} <2>:={pear, 12.5} "
    "<3>:={banana, 4, gross:=nett*2} } "
    "table Basket extends Fruit{ count:=row*3! }";

const std::vector<std::string> kTextAreas = {"Prices of fruit.\nThe pear is dear.",
                                             "Nothing here."};

// One line per kept match: kind, place, and the excerpt with the match in
// brackets.
std::string describe(const FindHit& hit) {
    const FindPlace& place = hit.place;
    std::string line = findKindName(place.kind);
    if (place.kind == FindKind::TextArea) {
        line += " " + std::to_string(place.textArea);
    } else {
        line += " " + std::to_string(place.table) + "." + std::to_string(place.field) + "[" +
                std::to_string(place.row) + "]";
        if (place.definition >= 0) line += "d" + std::to_string(place.definition);
    }
    const std::string& text = hit.excerpt;
    line += ": " + text.substr(0, hit.excerptSpan.start) + "[" +
            text.substr(hit.excerptSpan.start, hit.excerptSpan.end - hit.excerptSpan.start) + "]" +
            text.substr(hit.excerptSpan.end);
    return line;
}

std::vector<std::string> findAll(Kernel& kernel, const std::string& query, FindOptions options,
                                 FindScope scope = {}, std::uint32_t kinds = kAllFindKinds) {
    FindSearch search(kernel, TextMatcher(query, options), scope, kinds, kTextAreas);
    EXPECT_EQ(search.run(), FindSearch::State::Done);
    std::vector<std::string> lines;
    for (const FindHit& hit : search.hits())
        lines.push_back(describe(hit));
    EXPECT_EQ(search.total(), static_cast<std::int64_t>(lines.size()));
    return lines;
}

using Lines = std::vector<std::string>;

// Names and values with letters beyond ASCII are found in either case,
// with every option, unless case matters.
TEST(FindSearch, FindsLatinLettersInEitherCase) {
    Pointer<Kernel> kernel = loadModel(
        "table [Árak]{ [Őr]:=range 1 to 1! [név]:=\"ÉVA Łódź\"! } "
        "table [Ünnep]{ x:=[Árak][1].[név]! }");
    const struct {
        const char* query;
        FindOptions options;
        std::uint32_t kinds;
        Lines expected;
    } rows[] = {
        {"ÁRAK", {}, findKindBit(FindKind::TableName), {"table name 0.-1[0]: [Árak]"}},
        {"őr",
         {false, true, false},
         findKindBit(FindKind::FieldName),
         {"field name 0.0[0]d0: [Őr]"}},
        {"éva ŁÓDŹ",
         {},
         findKindBit(FindKind::Value),
         {"value 0.1[1]: [ÉVA Łódź]", "value 1.0[0]: [ÉVA Łódź]"}},
        {"ünnep",
         {false, false, true},
         findKindBit(FindKind::TableName),
         {"table name 1.-1[0]: [Ünnep]"}},
        {"árak\\]\\[1\\]\\.\\[NÉV",
         {false, false, true},
         findKindBit(FindKind::Formula),
         {"formula 1.0[0]d0: [[Árak][1].[név]]"}},
        {"éva", {true, false, false}, kAllFindKinds, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        EXPECT_EQ(findAll(*kernel, row.query, row.options, {}, row.kinds), row.expected);
    }
}

// The text of a number is reused while a column repeats it, never after
// another text took its place.
TEST(FindSearch, ARepeatedNumberIsFoundAfterATextBetween) {
    Pointer<Kernel> kernel = loadModel("table R{ v:=5! w:=\"x\"! z:=5! y:=5! }");
    EXPECT_EQ(findAll(*kernel, "5", {}, {}, findKindBit(FindKind::Value)),
              (Lines{"value 0.0[0]: [5]", "value 0.2[0]: [5]", "value 0.3[0]: [5]"}));
}

TEST(FindSearch, LooksInEveryKindOfPlace) {
    Pointer<Kernel> kernel = loadModel(kModel);
    const struct {
        const char* query;
        std::uint32_t kinds;
        Lines expected;
    } rows[] = {
        {"fruit",
         kAllFindKinds,
         {"table name 0.-1[0]: [Fruit]", "text area 0: Prices of [fruit]."}},
        {"gross", findKindBit(FindKind::FieldName), {"field name 0.2[0]d2: [gross]"}},
        {"pear",
         kAllFindKinds,
         {"formula 0.0[2]d0: [pear]", "row name 0.0[2]: [pear]", "row name 1.0[2]: [pear]",
          "text area 0: The [pear] is dear."}},
        {"sum(", findKindBit(FindKind::Formula), {"formula 0.2[-1]d2: [sum(]gross)*1"}},
        {"nett", kAllFindKinds, {"formula 0.2[3]d2: [nett]*2", "error 0.2[3]: undefined: [nett]"}},
        // Basket has Fruit's row names but not its overrides.
        {"15.62", findKindBit(FindKind::Value), {"value 0.2[2]: [15.62]5"}},
        {"apple p",
         kAllFindKinds,
         {"formula 0.3[1]d3: \"[apple p]ie\"", "value 0.3[1]: [apple p]ie"}},
        {"row*3", kAllFindKinds, {"formula 1.4[0]d0: [row*3]"}},
        {"dear", findKindBit(FindKind::Formula), {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(findAll(*kernel, row.query, {}, {}, row.kinds), row.expected) << row.query;
    }
}

TEST(FindSearch, AppliesTheOptions) {
    Pointer<Kernel> kernel = loadModel(kModel);
    const std::uint32_t formulas = findKindBit(FindKind::Formula);
    const struct {
        const char* query;
        FindOptions options;
        Lines expected;
    } rows[] = {
        {"NET", {}, {"formula 0.2[0]d2: [net]*1.25", "formula 0.2[3]d2: [net]t*2"}},
        {"NET", {true, false, false}, {}},
        {"net", {false, true, false}, {"formula 0.2[0]d2: [net]*1.25"}},
        {"n[a-z]+t",
         {false, false, true},
         {"formula 0.2[0]d2: [net]*1.25", "formula 0.2[3]d2: [nett]*2"}},
        {"\\bnet\\b|row",
         {false, false, true},
         {"formula 0.2[0]d2: [net]*1.25", "formula 1.4[0]d0: [row]*3"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(findAll(*kernel, row.query, row.options, {}, formulas), row.expected)
            << row.query;
    }
}

TEST(FindSearch, KeepsToItsScope) {
    Pointer<Kernel> kernel = loadModel(kModel);
    FindScope table{FindScope::Kind::Table, 1};
    // Fields net and gross (1 and 2) of rows 2 and 3 of Fruit.
    FindScope selection{FindScope::Kind::Selection, 0, 1, 2, 2, 3};
    FindScope summary{FindScope::Kind::Selection, 0, 2, 2, -1, -1};
    const struct {
        const char* query;
        FindScope scope;
        Lines expected;
    } rows[] = {
        {"pear", table, {"row name 1.0[2]: [pear]"}},
        {"fruit", table, {}},
        {"1",
         selection,
         {"formula 0.1[2]d1: [1]2.5", "formula 0.2[0]d2: net*[1].25", "value 0.1[2]: [1]2.5",
          "value 0.2[2]: [1]5.625"}},
        {"nett", selection, {"formula 0.2[3]d2: [nett]*2", "error 0.2[3]: undefined: [nett]"}},
        {"pear", selection, {}},
        {"sum", summary, {"formula 0.2[-1]d2: [sum](gross)*1"}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(findAll(*kernel, row.query, {}, row.scope), row.expected) << row.query;
    }
}

// A table of many rows: the kept matches stop at the bound, the count goes
// on, and a search in small slices finds what one in a single call does.
TEST(FindSearch, BoundsTheListAndCountsTheRest) {
    Pointer<Kernel> kernel = loadModel("table Big{ x:=range 1 to 3000! y:=x*2! }");
    const std::vector<std::pair<std::size_t, std::int64_t>> slices = {{100, 1}, {10000, 1 << 20}};
    for (const auto& [bound, slice] : slices) {
        FindSearch search(*kernel, TextMatcher("1", {}), {}, kAllFindKinds, {}, bound);
        std::int32_t calls = 0;
        while (search.advance(slice) == FindSearch::State::Running)
            ++calls;
        EXPECT_EQ(search.state(), FindSearch::State::Done);
        // Each number with a "1" in x (1..3000) and y (2..6000), counted by hand.
        std::int64_t expected = 0;
        for (int x = 1; x <= 3000; ++x) {
            auto ones = [](const std::string& text) {
                std::int64_t count = 0;
                for (char ch : text)
                    count += ch == '1';
                return count;
            };
            expected += ones(std::to_string(x)) + ones(std::to_string(x * 2));
        }
        // The summary row: sum(x) = 4501500 shows as 4.5015e6, sum(y) as 9.003e6.
        expected += 1;
        // The formula "x*2" holds no "1"; "range 1 to 3000" holds one.
        expected += 1;
        EXPECT_EQ(search.total(), expected) << bound;
        EXPECT_EQ(search.hits().size(), std::min<std::size_t>(bound, expected)) << bound;
        if (slice == 1) {
            EXPECT_GT(calls, 1000);
        }
    }
}

TEST(FindSearch, StopsWhenAsked) {
    Pointer<Kernel> kernel = loadModel("table Big{ x:=range 1 to 100000! }");
    std::atomic<bool> stop{false};
    FindSearch search(*kernel, TextMatcher("7", {}), {});
    std::int32_t reports = 0;
    FindSearch::State state = search.run(&stop, [&](double done) {
        EXPECT_GE(done, 0.0);
        EXPECT_LE(done, 1.0);
        if (++reports == 1) stop = true;
    });
    EXPECT_EQ(state, FindSearch::State::Stopped);
    EXPECT_EQ(reports, 1);
    EXPECT_GT(search.total(), 0);
    EXPECT_LT(search.total(), 40951);  // the count of 7s in 1 ... 100000
}

// "(a*)*b" over a long text of a's (after a "b", so that the quick test
// for a "b" lets the text through): the search answers, in slices of
// bounded work, without hanging.
TEST(FindSearch, PathologicalPatternAnswersInSlices) {
    Pointer<Kernel> kernel = loadModel("table T{ x:=1! }");
    FindSearch search(*kernel, TextMatcher("(a*)*b", {false, false, true}), {}, kAllFindKinds,
                      {"b" + std::string(200000, 'a')});
    std::int32_t slices = 0;
    while (search.advance(100000) == FindSearch::State::Running)
        ++slices;
    EXPECT_EQ(search.state(), FindSearch::State::Done);
    EXPECT_EQ(search.total(), 1);
    EXPECT_GT(slices, 1);
}

}  // namespace
}  // namespace qv
