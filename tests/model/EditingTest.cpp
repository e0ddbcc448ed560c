// Editing a model through the model editor, as the kernel then sees it:
// typed cell texts, formulas in rows past the end, renaming, inherited
// fields, inserting and deleting rows and fields, and recomputing once
// after an edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::column;
using test::CountingFeedback;
using test::display;
using test::formulaAt;
using test::loadModel;
using test::renderTable;
using test::thrownMessage;

// No command manager: these rows look at the model, not at undo.
Pointer<ModelEditor> editorOf(Kernel& kernel) {
    return make<ModelEditor>(kernel.program(), nullptr);
}

std::int32_t fieldOf(Kernel& kernel, std::string_view table, std::string_view field) {
    return kernel.getTableByName(table)->resolved()->fieldIndexOf(field);
}

TEST(Editing, TypedCellTexts) {
    struct Case {
        std::string typed;
        std::string formula;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"12", "12", "12"},
        {"3 apples", "\"3 apples\"", "3 apples"},
        {"=a+1", "a+1", "3"},
        {"-5", "-5", "-5"},
        {"+4", "+4", "4"},
        {"true", "true", "true"},
        {"false", "false", "false"},
        {"  7  ", "7", "7"},
        {"1e3", "1e3", "1000"},
        {"hello", "\"hello\"", "hello"},
        {"12abc", "\"12abc\"", "12abc"},
        {"true story", "\"true story\"", "true story"},
        // Kept as typed, marked so that it survives a save.
        {"=1 2", "#1 2#", "Invalid formula: unexpected character"},
        {"", "(none)", ""},
        {"   ", "(none)", ""},
    };
    for (const Case& c : cases) {
        auto kernel = loadModel("table T{ a:=2! v:=! <1>:={} }");
        editorOf(*kernel)->setCellText(*kernel->getTableByName("T"), fieldOf(*kernel, "T", "v"), 1,
                                       str(c.typed));
        EXPECT_EQ(formulaAt(*kernel, "T", "v", 1), c.formula) << c.typed;
        EXPECT_EQ(cell(*kernel, "T", "v", 1), c.value) << c.typed;
    }
}

TEST(Editing, FormulaPastTheLastRowAddsRows) {
    auto kernel = loadModel("table T{ v:=1! <2>:={} }");
    Pointer<TableResult> table = kernel->getTableByName("T");
    ASSERT_EQ(table->definition()->numRows(), 3);
    editorOf(*kernel)->setCellFormula(*table, 0, 7, str("5"));
    table = kernel->getTableByName("T");
    EXPECT_EQ(table->definition()->numRows(), 8);
    EXPECT_EQ(table->dataRowCount(), 7);
    EXPECT_EQ(column(*kernel, "T", "v"),
              (std::vector<std::string>{"1", "1", "1", "1", "1", "1", "5"}));
    // A summary formula does not add rows.
    editorOf(*kernel)->setCellFormula(*table, 0, -1, str("99"));
    EXPECT_EQ(kernel->getTableByName("T")->definition()->numRows(), 8);
    EXPECT_EQ(cell(*kernel, "T", "v", -1), "99");
}

TEST(Editing, CellsTheTableCannotHoldAreRefused) {
    auto kernel = loadModel("table T{ v:=1! <2>:={} }");
    Pointer<TableResult> table = kernel->getTableByName("T");
    std::int32_t changes = kernel->getChangeCount();
    EXPECT_EQ(
        thrownMessage([&] { editorOf(*kernel)->setCellFormula(*table, 0, 20000000, str("1")); }),
        "too many rows: 20000000 rows pass the limit of 10000000");
    editorOf(*kernel)->setCellFormula(*table, 0, -5, str("1"));
    editorOf(*kernel)->setCellFormula(*table, -1, 1, str("1"));
    editorOf(*kernel)->setVisible(*table, -1, false);
    editorOf(*kernel)->setFieldName(*table, -2, str("x"));
    EXPECT_EQ(kernel->getChangeCount(), changes);
    EXPECT_EQ(kernel->getTableByName("T")->definition()->numRows(), 3);
    EXPECT_EQ(kernel->getTableByName("T")->fieldCount(), 1);
}

TEST(Editing, Renaming) {
    auto kernel = loadModel("table B{ a:=1! b:=a*2! } table D extends B{ a:=5! c:=b+1! }");
    const std::string refused =
        "can not modify this cell because it contain a field name that is defined in base table.";
    Pointer<TableResult> derived = kernel->getTableByName("D");
    // The editor itself renames neither an overriding nor an inherited
    // field: a grid hands such a name to the rename of the whole family,
    // and reaches this only where that rename can not be made.
    EXPECT_EQ(thrownMessage([&] { editorOf(*kernel)->setFieldName(*derived, 0, str("z")); }),
              refused);
    EXPECT_EQ(thrownMessage([&] { editorOf(*kernel)->setFieldName(*derived, 1, str("z")); }),
              refused);
    EXPECT_EQ(thrownMessage([&] { editorOf(*kernel)->setFieldName(*derived, 2, str("d")); }),
              "(no error)");
    derived = kernel->getTableByName("D");
    EXPECT_EQ(derived->fieldName(2)->toStdString(), "d");
    EXPECT_EQ(cell(*kernel, "D", "d", 0), "11");
    // A name that does not read is kept as typed, and its cells say why.
    editorOf(*kernel)->setFieldName(*derived, 2, str("1x"));
    EXPECT_EQ(kernel->getTableByName("D")->fieldName(2)->toStdString(), "1x");
    EXPECT_EQ(display(kernel->getTableByName("D")->value(2, 0)),
              "Invalid field name: unexpected character");

    Pointer<TableResult> base = kernel->getTableByName("B");
    editorOf(*kernel)->setTableName(base->index(), str("  Base  "));
    EXPECT_EQ(kernel->getTableByName("Base")->name()->toStdString(), "Base");
    EXPECT_EQ(display(kernel->getTableByName("D")->warning()), "base table not found");
    editorOf(*kernel)->setBaseName(1, str("1x"));
    EXPECT_EQ(display(kernel->getTableByName("D")->warning()),
              "Invalid base name: expecting identifier");
    editorOf(*kernel)->setBaseName(1, str("Base"));
    const std::string badName = "Invalid field name: unexpected character";
    EXPECT_EQ(renderTable(*kernel, "D"),
              (std::vector<std::string>{"sum |  |  | " + badName, "base | 5 | 10 | " + badName}));
}

TEST(Editing, InheritedFieldsAreOverriddenInTheDerivedTable) {
    auto kernel = loadModel("table B{ a:=1! <2>:={} } table D extends B{ c:=a*2! }");
    Pointer<TableResult> derived = kernel->getTableByName("D");
    editorOf(*kernel)->setCellText(*derived, 0, 2, str("10"));
    editorOf(*kernel)->setVisible(*kernel->getTableByName("D"), 0, false);
    EXPECT_EQ(column(*kernel, "D", "a"), (std::vector<std::string>{"1", "10"}));
    EXPECT_EQ(column(*kernel, "D", "c"), (std::vector<std::string>{"2", "20"}));
    EXPECT_EQ(column(*kernel, "B", "a"), (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(formulaAt(*kernel, "D", "a", 2), "10");
    EXPECT_EQ(formulaAt(*kernel, "B", "a", 2), "(none)");
    EXPECT_FALSE(kernel->getTableByName("D")->isVisible(0));
    EXPECT_TRUE(kernel->getTableByName("B")->isVisible(0));
}

TEST(Editing, OneRecomputationPerEdit) {
    auto feedback = make<CountingFeedback>();
    auto kernel = make<Kernel>(feedback);
    test::addTables(*kernel, "table T{ a:=1! b:=a*2! <2>:={} }");
    Pointer<TableResult> table = kernel->getTableByName("T");
    ASSERT_EQ(feedback->started, 1);
    editorOf(*kernel)->setCellText(*table, 0, 1, str("=5"));
    EXPECT_EQ(feedback->started, 1);
    EXPECT_EQ(column(*kernel, "T", "b"), (std::vector<std::string>{"10", "2"}));
    EXPECT_EQ(cell(*kernel, "T", "b", 0), "2");
    EXPECT_EQ(renderTable(*kernel, "T").size(), 4u);
    EXPECT_EQ(feedback->started, 2);
    // Several edits before the next read cost one computation.
    table = kernel->getTableByName("T");
    editorOf(*kernel)->setCellText(*table, 0, 2, str("6"));
    editorOf(*kernel)->setCellText(*table, 0, 0, str("7"));
    EXPECT_EQ(column(*kernel, "T", "b"), (std::vector<std::string>{"10", "12"}));
    EXPECT_EQ(cell(*kernel, "T", "b", 0), "14");
    EXPECT_EQ(feedback->started, 3);
    EXPECT_EQ(feedback->finished, 3);
}

// Inserting before row r moves rows r ... down; deleting row r drops its
// formulas and moves the later rows up. Row names move with their rows; the
// summary row stays.
TEST(Editing, InsertingAndDeletingRows) {
    const std::string program =
        "table T{ n~name:=! v:=! w:=v*10! <1>:={a, 1} <2>:={b, 2} <3>:={c, 3}"
        " <sum>:={total, 99} }";
    struct Case {
        std::string what;
        bool insert;
        std::int32_t row;
        std::int32_t numRows;
        std::vector<std::string> rows;  // after "total" and "base"
    };
    const std::string top = "total | total | 99 | ";
    const std::vector<Case> cases = {
        {"insert before row 2",
         true,
         2,
         5,
         {"a | a | 1 | 10", "2 |  |  | 0", "b | b | 2 | 20", "c | c | 3 | 30"}},
        {"insert before row 1",
         true,
         1,
         5,
         {"1 |  |  | 0", "a | a | 1 | 10", "b | b | 2 | 20", "c | c | 3 | 30"}},
        {"insert before the formula row inserts before row 1",
         true,
         -3,
         5,
         {"1 |  |  | 0", "a | a | 1 | 10", "b | b | 2 | 20", "c | c | 3 | 30"}},
        {"insert past the end appends",
         true,
         99,
         5,
         {"a | a | 1 | 10", "b | b | 2 | 20", "c | c | 3 | 30", "4 |  |  | 0"}},
        {"delete row 2", false, 2, 3, {"a | a | 1 | 10", "c | c | 3 | 30"}},
        {"delete row 1", false, 1, 3, {"b | b | 2 | 20", "c | c | 3 | 30"}},
        {"delete the last row", false, 3, 3, {"a | a | 1 | 10", "b | b | 2 | 20"}},
        {"deleting the formula row does nothing",
         false,
         0,
         4,
         {"a | a | 1 | 10", "b | b | 2 | 20", "c | c | 3 | 30"}},
        {"deleting past the end does nothing",
         false,
         4,
         4,
         {"a | a | 1 | 10", "b | b | 2 | 20", "c | c | 3 | 30"}},
    };
    for (const Case& c : cases) {
        auto kernel = loadModel(program);
        Pointer<TableResult> table = kernel->getTableByName("T");
        if (c.insert) {
            editorOf(*kernel)->insertRow(*table, c.row);
        } else {
            editorOf(*kernel)->deleteRow(*table, c.row);
        }
        table = kernel->getTableByName("T");
        EXPECT_EQ(table->definition()->numRows(), c.numRows) << c.what;
        int total = 0;
        for (const std::string& line : c.rows) {
            std::string last = line.substr(line.rfind(' ') + 1);
            total += std::stoi(last);
        }
        std::vector<std::string> expected = {top + std::to_string(total), "base |  |  | 0"};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(renderTable(*kernel, "T"), expected) << c.what;
    }
}

// In a derived table the rows it shows include its base table's rows; its
// own formulas move, the base table's stay.
TEST(Editing, RowsOfADerivedTable) {
    const std::string program =
        "table B{ a:=row! <3>:={} } table D extends B{ b:=a*10! <2>:={b:=0} }";
    auto kernel = loadModel(program);
    editorOf(*kernel)->insertRow(*kernel->getTableByName("D"), 2);
    EXPECT_EQ(column(*kernel, "D", "a"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(column(*kernel, "D", "b"), (std::vector<std::string>{"10", "20", "0", "40"}));
    EXPECT_EQ(column(*kernel, "B", "a"), (std::vector<std::string>{"1", "2", "3"}));
    kernel = loadModel(program);
    editorOf(*kernel)->deleteRow(*kernel->getTableByName("D"), 1);
    EXPECT_EQ(column(*kernel, "D", "b"), (std::vector<std::string>{"0", "20", "30"}));
    EXPECT_EQ(kernel->getTableByName("D")->definition()->numRows(), 2);
}

TEST(Editing, InsertingAndDeletingFields) {
    auto kernel = loadModel("table B{ a:=1! b:=2! } table D extends B{ b:=20! c:=3! }");
    // Deleting an overriding field deletes the base table's field as well.
    editorOf(*kernel)->deleteField(*kernel->getTableByName("D"), 1);
    EXPECT_EQ(renderTable(*kernel, "D"), (std::vector<std::string>{"sum |  | ", "base | 1 | 3"}));
    EXPECT_EQ(renderTable(*kernel, "B"), (std::vector<std::string>{"sum | ", "base | 1"}));
    editorOf(*kernel)->insertField(*kernel->getTableByName("D"), -1);
    Pointer<TableResult> derived = kernel->getTableByName("D");
    ASSERT_EQ(derived->fieldCount(), 3);
    EXPECT_EQ(derived->fieldName(2)->toStdString(), "");
    // Inserting at a position puts the new field before the one shown there.
    editorOf(*kernel)->insertField(*derived, 1);
    derived = kernel->getTableByName("D");
    ASSERT_EQ(derived->fieldCount(), 4);
    EXPECT_EQ(derived->fieldName(1)->toStdString(), "");
    EXPECT_EQ(derived->fieldName(2)->toStdString(), "c");
}

}  // namespace
}  // namespace qv
