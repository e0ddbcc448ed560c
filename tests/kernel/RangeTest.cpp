// Values that span rows: how a range is built from its parts and every
// message it raises, data ranges over columns, rows and selections,
// selections compared with the calling row, and find.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/SelectTableResult.h"
#include "kernel/TableResultSlices.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::column;
using test::display;
using test::joined;
using test::loadModel;
using test::renderTable;

// The values a range formula gives the rows of a one-field table with
// `rows` data rows of its own, or the text of its formula row when that is
// not a range (a message).
std::string rangeValues(const std::string& formula, int rows) {
    std::string program = "table T{ r:=" + formula + "! ";
    if (rows > 0) program += "<" + std::to_string(rows) + ">:={} ";
    auto kernel = loadModel(program + "}");
    std::string formulaRow = cell(*kernel, "T", "r", 0);
    if (formulaRow != "(range)") return formulaRow;
    return joined(column(*kernel, "T", "r"));
}

TEST(Ranges, Construction) {
    struct Case {
        std::string formula;
        int rows;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"range 1 to 10", 0, "1 2 3 4 5 6 7 8 9 10"},
        {"range 10 to 1", 0, "10 9 8 7 6 5 4 3 2 1"},
        {"range 0 to -1", 0, "0 -1"},
        {"range 5 to 5", 0, "5"},
        {"range 1+1 to 2*3", 0, "2 3 4 5 6"},
        {"range 0 to 1 step 0.3", 0, "0 0.3 0.6 0.9"},
        // 0.04 / 0.01 is a hair below 4 in binary; the end is still reached.
        {"range 0.02 to 0.06 step 0.01", 0, "0.02 0.03 0.04 0.05 0.06"},
        {"range 0.1 to 0.7 step 0.1", 0, "0.1 0.2 0.3 0.4 0.5 0.6 0.7"},
        {"range 1 to 2 step 0.5", 0, "1 1.5 2"},
        {"range 3 to 1 step -1", 0, "3 2 1"},
        {"range 1 to 2.9", 0, "1 2"},
        {"range 1 to 3 steps 5", 0, "1 1.5 2 2.5 3"},
        {"range 1 to 3 steps 2.9", 0, "1 3"},
        {"range 1 to 5 steps 1", 0, "1"},
        {"range 1 to ? steps 5", 0, "1 2 3 4 5"},
        {"range 2 to ? step 3 steps 3", 0, "2 5 8"},
        {"range ? to 10 steps 3", 0, "8 9 10"},
        {"range ? to 10 step 2 steps 3", 0, "6 8 10"},
        // Without a length of their own, ranges fill the rows a table has.
        {"range 1 to ?", 3, "1 2 3"},
        {"range 1 to ? step 2", 3, "1 3 5"},
        {"range ? to 10", 3, "8 9 10"},
        {"range ? to 10 step 2", 3, "6 8 10"},
        {"range 1 to ?", 0, ""},
        // Every message.
        {"range 1 to 10 step -1", 0, "step size must have same sign as end-satrt"},
        {"range 1 to 0.5 step 0.1", 0, "step size must have same sign as end-satrt"},
        {"range 1 to 10 step 0", 0, "step size can not be zero"},
        {"range 1 to 10 step 1 steps 5", 0, "range support up to 3 non-null params"},
        {"range \"a\" to 3", 0, "params to range can be number or null only"},
        {"range \"1\" to 3", 0, "params to range can be number or null only"},
        {"range 1 to 3 step \"x\"", 0, "params to range can be number or null only"},
        {"range 1 to 3 steps true", 0, "params to range can be number or null only"},
        {"range ? to ?", 0, "either start or end must be specified at range"},
        {"range ? to ? step 2 steps 3", 0, "either start or end must be specified at range"},
        {"range 1 to 100000000", 0, "too many rows: 100000000 rows pass the limit of 10000000"},
        {"range 1 to ? steps 20000000", 0,
         "too many rows: 20000000 rows pass the limit of 10000000"},
        // A value belongs to a range when it passes the end by no more than
        // binary rounding: 0.04 is reached, 3 is beyond 2.9999999999.
        {"range 0 to 0.04 step 0.01", 0, "0 0.01 0.02 0.03 0.04"},
        {"range 0 to 2.9999999999 step 1", 0, "0 1 2"},
        {"range 0 to 0.9999999995 step 1", 0, "0"},
        {"range 0 to -0.9999999995 step -1", 0, "0"},
        {"range 0 to 0.3 step 0.1", 0, "0 0.1 0.2 0.3"},
        // Counts in the warning are exact, and it comes where rows are made.
        {"range 1 to 1e10", 0, "too many rows: 10000000000 rows pass the limit of 10000000"},
        {"range 0 to 1e8", 0, "too many rows: 100000001 rows pass the limit of 10000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rangeValues(c.formula, c.rows), c.expected) << c.formula;
}

TEST(Ranges, InModels) {
    const std::vector<std::tuple<std::string, std::string, std::vector<std::string>>> cases = {
        {"two ranges of 2 and 3 values make 6 rows, the first cycling fastest",
         "table T{ a:=range 1 to 2! b:=range 1 to 3! }",
         {"sum | 9 | 12", "base | (range) | (range)", "1 | 1 | 1", "2 | 2 | 1", "3 | 1 | 2",
          "4 | 2 | 2", "5 | 1 | 3", "6 | 2 | 3"}},
        {"a cell reading a range field's formula row gets \"(range)\"",
         "table T{ r:=range 1 to 3! x:=r! y:=r*2! z:=U.u! } table U{ u:=T.r! }",
         {"sum | 6 | 6 | 12 | ", "base | (range) | (range) | (range) | (range)",
          "1 | 1 | 1 | 2 | (range)", "2 | 2 | 2 | 4 | (range)", "3 | 3 | 3 | 6 | (range)"}},
    };
    for (const auto& [what, program, expected] : cases) {
        auto kernel = loadModel(program);
        EXPECT_EQ(renderTable(*kernel, "T"), expected) << what;
    }
}

// A range read as a value costs nothing: the row limit applies only where a
// field generates rows.
TEST(Ranges, AsValuesHaveNoRowLimit) {
    auto kernel =
        loadModel("table T{ c:=concat(range 0 to 1e8, \"x\")! d:=range 0 to 1e8! e:=d & \"!\"! }");
    EXPECT_EQ(cell(*kernel, "T", "c", 0), "(range)x");
    EXPECT_EQ(cell(*kernel, "T", "d", 0),
              "too many rows: 100000001 rows pass the limit of 6666666");
    EXPECT_EQ(cell(*kernel, "T", "e", 0), "depends on cell that contain error");
}

TEST(DataRanges, CollectTheValuesOfAResult) {
    auto kernel = loadModel(
        "table P{ v:=! w:=\"w\"&row! <1>:={v:=1} <3>:={v:=3} <4>:={v:=if 1 > 2 then 5}"
        " <5>:={v:=?} }"
        " table C{ d:=datarange P.v! }"
        " table R{ d:=datarange P[3]! }"
        " table N{ d:=datarange 5! x:=1! }");
    // Empty results and missing values are skipped.
    EXPECT_EQ(column(*kernel, "C", "d"), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(cell(*kernel, "C", "d", 0), "(data range)");
    // A row gives its fields after the marker fields.
    EXPECT_EQ(column(*kernel, "R", "d"), (std::vector<std::string>{"3", "w3"}));
    // A value that is no result gives nothing and no rows.
    EXPECT_EQ(renderTable(*kernel, "N"), (std::vector<std::string>{"sum |  | ", "base |  | 1"}));
}

// The condition reads its left operands in each row of the selected table
// and its right operands in the calling cell.
TEST(Selections, ComparedWithTheCallingRow) {
    const std::string program =
        "table P{ v:=! <1>:={v:=5} <2>:={v:=15} <3>:={v:=25} }"
        " table Q{ v:=10! s:=select * from P where v > v! first:=s.v[1]! second:=s.v[2]!"
        " <2>:={v:=20} <3>:={v:=30} }"
        " table R{ n:=datarange Q.s.v! }"
        " table E{ a:=select * from Nope where x > 1! b:=select * from P where zz > 1! }";
    auto kernel = loadModel(program);
    EXPECT_EQ(renderTable(*kernel, "Q"),
              (std::vector<std::string>{"sum | 60 |  | 40 | 25", "base | 10 | (select) | 15 | 25",
                                        "1 | 10 | (select) | 15 | 25", "2 | 20 | (select) | 25 | ",
                                        "3 | 30 | (select) |  | "}));
    // A column of a selection holds the selected rows only.
    EXPECT_EQ(column(*kernel, "R", "n"), (std::vector<std::string>{"15", "25"}));
    EXPECT_EQ(renderTable(*kernel, "E"),
              (std::vector<std::string>{"sum |  | ", "base | can not find table | undefined: zz"}));
}

TEST(Selections, ReadTheRightOperandInTheCallingTable) {
    // "limit" exists only in the calling table, and the selected table's
    // second field "w" sits where the caller's "limit" does: the right
    // operand must be the caller's limit, never P's w read by position.
    auto kernel = loadModel(
        "table P{ v:=! w:=1000! <1>:={v:=5} <2>:={v:=15} <3>:={v:=25} }"
        " table Q{ n:=0; limit:=10! pick:=select * from P where v > limit and v < limit + 10;"
        " first:=pick.v[1]! <2>:={limit:=20} <3>:={limit:=30} }");
    EXPECT_EQ(column(*kernel, "Q", "first"), (std::vector<std::string>{"15", "25", ""}));
}

TEST(Selections, MapTheirRowsToTheSource) {
    auto kernel = loadModel("table P{ v:=! <1>:={v:=5} <2>:={v:=15} <3>:={v:=25} }");
    auto selection =
        cast<SelectTableResult>(kernel->evaluateExpression(str("select * from P where v > 10")));
    ASSERT_FALSE(selection.isNull());
    EXPECT_EQ(display(selection), "(select)");
    EXPECT_EQ(selection->rowCount(), 3);
    const std::vector<std::tuple<std::int32_t, std::int32_t, std::string, std::string>> rows = {
        {0, 0, "base", ""}, {1, 2, "2", "15"}, {2, 3, "3", "25"}, {3, 4, "*", ""}};
    for (const auto& [row, source, label, value] : rows) {
        EXPECT_EQ(selection->sourceRow(row), source) << row;
        EXPECT_EQ(selection->rowLabel(row)->toStdString(), label) << row;
        EXPECT_EQ(display(selection->value(0, row)), value) << row;
        EXPECT_EQ(selection->displayRow(row), row);
    }
    EXPECT_EQ(selection->extent(), 2);
    EXPECT_FALSE(selection->hasIndex(0));
    EXPECT_TRUE(selection->hasIndex(2));
    EXPECT_FALSE(selection->hasIndex(3));
}

TEST(Find, SearchesTheDataRowsInOrder) {
    auto kernel = loadModel(
        "table T{ v:=50! f:=find(v > 10).v! g:=find(v > 100)! h:=find(v > 40)!"
        " k:=find(v > v).v alt \"none\"! <1>:={v:=5} <2>:={v:=15} <3>:={v:=25} }");
    // Row 0 would hold for v > 40, but it is never searched.
    EXPECT_EQ(
        renderTable(*kernel, "T"),
        (std::vector<std::string>{
            "sum | 45 | 45 |  |  | 40", "base | 50 | 15 | not found | not found | none",
            "1 | 5 | 15 | not found | not found | 15", "2 | 15 | 15 | not found | not found | 25",
            "3 | 25 | 15 | not found | not found | none"}));
    EXPECT_EQ(test::typed(kernel->getTableByName("T")->value(2, 1)), "Warning:not found");
}

// A condition that could not be compiled is an error, not a condition that
// holds for every row.
TEST(Find, ConditionsThatAreErrors) {
    auto kernel = loadModel(
        "table T{ v:=1! a:=find(x := 1)! b:=find(nosuch(v))! c:=select * from T where nosuch(v)!"
        " <2>:={} }");
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{
                  "sum | 2 |  |  | ",
                  "base | 1 | assignment can not be evaluated | func unknown | func unknown",
                  "1 | 1 | assignment can not be evaluated | func unknown | func unknown",
                  "2 | 1 | assignment can not be evaluated | func unknown | func unknown"}));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Every value that reads a table's cells names that table, so releasing
// the cells of a program reaches the tables behind rows, columns and
// selections.
TEST(Selections, ValuesNameTheTableTheyRead) {
    auto kernel = loadModel(
        "table P{ v:=! <1>:={v:=5} <2>:={v:=15} }"
        " table Q{ s:=select * from P where v > 1! r:=P[1]! t:=P! n:=3! }");
    Pointer<TableResult> q = kernel->getTableByName("Q");
    std::vector<std::string> read;
    for (std::int32_t field = 0; field < q->fieldCount(); ++field) {
        Pointer<Object> value = q->value(field, 0);
        auto getter = cast<AbstractResultGetter>(value);
        read.push_back(std::string(value->getClassName()) + " " +
                       (getter.isNull() || getter->sourceTable() == nullptr
                            ? "-"
                            : getter->sourceTable()->name()->toStdString()));
    }
    EXPECT_EQ(read, (std::vector<std::string>{"SelectTableResult P", "TableResultRow P",
                                              "TableResult P", "Double -"}));
}

}  // namespace
}  // namespace qv
