// The grid element on real tables: typing into a cell through the formula
// bar up to the recomputed value, cancel, F2 and double click, undo and
// redo of every edit, the clipboard, error cells, Boolean toggles, line
// activation and the recomputed values the models take.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "kernel/ResultAccess.h"
#include "kernel/TableResultSlices.h"
#include "tests/views/GridTestSupport.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/ModelProperties.h"
#include "views/PropertiesTableModel.h"
#include "views/TablesView.h"

namespace qv {
namespace {

namespace key = toolkit::key;
using test::loadModel;
using test::renderGrid;

// Columns: 0 names, 1 the base record, 2 and 3 records 1 and 2, 4 the new
// record, 5 the summary. Rows: 0 record numbers, 1 a, 2 b, 3 a new field.
constexpr std::string_view kTwoFields = "table T{ a:=1! b:=a+1! <2>:={} }";

class TableEditingTest : public test::GridTest {
  protected:
    Pointer<Kernel> kernel;
    Pointer<GlobalSettings> settings = make<GlobalSettings>();

    void showDetailed(std::string_view program = kTwoFields) {
        kernel = loadModel(program);
        kernel->setOptionFlag(false);  // no "..." for repeated values
        show(make<EvalMultiModel>(kernel->getTableByName("T"), settings, true));
    }
    // What the main panel does after an event that changed the program.
    void refresh() { ASSERT_TRUE(grid->acceptValue(kernel->getTableByName("T"))); }
    // The values of records 1 and 2, "a1 a2 / b1 b2".
    std::string values() {
        refresh();
        std::vector<std::string> grid_ = renderGrid(*grid->model());
        auto cells = [&](std::int32_t row) {
            std::string line = grid_[static_cast<std::size_t>(row)];
            std::vector<std::string> parts;
            std::size_t start = 0;
            for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos;
                 start = bar + 1)
                parts.push_back(line.substr(start, bar - start));
            parts.push_back(line.substr(start));
            return parts[2] + " " + parts[3];
        };
        return cells(1) + " / " + cells(2);
    }
};

TEST_F(TableEditingTest, TypingOnACellEditsItThroughTheFormulaBar) {
    struct Case {
        const char* what;
        std::int32_t column, row;
        enum { Typing, F2, DoubleClick } start;  // after the cell is selected
        std::string typed;
        std::string barWhileTyping;
        std::int32_t endKey;
        std::string values;
        std::pair<std::int32_t, std::int32_t> after;  // the current cell
    };
    const std::vector<Case> cases = {
        {"typing replaces, Enter moves down",
         2,
         1,
         Case::Typing,
         "50",
         "50",
         key::kEnter,
         "50 1 / 51 2",
         {2, 2}},
        {"Tab moves right", 3, 2, Case::Typing, "7", "7", key::kTab, "1 1 / 2 7", {4, 2}},
        {"F2 edits the formula", 2, 2, Case::F2, "0", "=a+10", key::kEnter, "1 1 / 11 2", {2, 3}},
        {"a double click edits the formula",
         3,
         1,
         Case::DoubleClick,
         "0",
         "10",
         key::kEnter,
         "1 10 / 2 11",
         {3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        root().detach(frame);
        showDetailed();
        click(c.column, c.row);
        if (c.start == Case::F2) key(key::kF2);
        if (c.start == Case::DoubleClick) doubleClickCell(c.column, c.row);
        std::int32_t steps = commands().undoCount();
        type(c.typed);
        EXPECT_EQ(barText(), c.barWhileTyping);
        // The cell shows the text as it is typed, and nothing is computed yet.
        EXPECT_EQ(grid->typing(), c.barWhileTyping);
        std::vector<std::string> texts = paintedTexts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), c.barWhileTyping), texts.end());
        key(c.endKey);
        EXPECT_EQ(values(), c.values);
        EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(grid));
        EXPECT_EQ((std::pair{grid->currentColumn(), grid->currentRow()}), c.after);
        EXPECT_FALSE(grid->typing());
        // One step undoes the edit, keystrokes and all; one redoes it.
        EXPECT_EQ(commands().undoCount(), steps + 1);
        key(key::kUndo);
        EXPECT_EQ(values(), "1 1 / 2 2");
        key(key::kRedo);
        EXPECT_EQ(values(), c.values);
    }
}

// A formula shows with its "=", a string without quotes: F2 and Enter
// give each cell the formula it had.
TEST_F(TableEditingTest, CommittingAnUnchangedTextKeepsTheCellsValue) {
    struct Case {
        std::int32_t row;
        std::string bar;
        std::string value;
    };
    const std::vector<Case> cases = {
        {1, "1", "1"}, {2, "=a+1", "2"}, {3, "abc", "abc"}, {4, "-a", "-1"}, {5, "=\"=x\"", "=x"},
    };
    showDetailed("table T{ a:=1! b:=a+1! s:=\"abc\"! n:=-a! q:=\"=x\"! <2>:={} }");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        click(2, c.row);
        EXPECT_EQ(barText(), c.bar);
        key(key::kF2);
        EXPECT_EQ(barText(), c.bar);
        key(key::kEnter);
        refresh();
        EXPECT_EQ(grid->model()->createCell(2, c.row)->text()->toStdString(), c.value);
    }
}

TEST_F(TableEditingTest, EscapeCancelsAndChangesNothing) {
    showDetailed();
    click(2, 1);
    EXPECT_EQ(barText(), "1");
    std::int32_t steps = commands().undoCount();
    type("9");
    key(key::kEscape);
    EXPECT_EQ(barText(), "1");
    EXPECT_FALSE(grid->typing());
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(grid));
    EXPECT_EQ(values(), "1 1 / 2 2");
    EXPECT_EQ(commands().undoCount(), steps);
}

TEST_F(TableEditingTest, ACellOfAnErrorValueIsDrawnApartAndTheBarShowsTheMessage) {
    showDetailed("table T{ a:=1! b:=nosuchname+a! <2>:={} }");
    click(2, 1);
    EXPECT_EQ(barText(), "1");
    // Light red behind b's three records (its summary is empty), red text.
    std::vector<std::string> expected;
    for (std::int32_t column : {1, 2, 3}) {
        toolkit::Rect cell = grid->cellRect(column, 2);
        expected.push_back("fill " + std::to_string(cell.x) + "," + std::to_string(cell.y) +
                           " 70x20 #ffe0e0");
    }
    EXPECT_EQ(fills("#ffe0e0"), expected);
    click(2, 2);
    EXPECT_NE(barText(), "");
    EXPECT_NE(barText(), "nosuchname+a");
    EXPECT_EQ(barText(), test::display(kernel->getTableByName("T")->value(1, 1)));
}

TEST_F(TableEditingTest, TheClipboardCopiesCutsAndPastesAsOneStep) {
    showDetailed();
    // One cell copies its text.
    click(2, 2);
    key(key::kCopy);
    EXPECT_EQ(window.clipboardText(), "2");
    // A range of columns copies one record a line.
    click(2, 0);
    click(3, 0, toolkit::modifier::kShift);
    key(key::kCopy);
    EXPECT_EQ(window.clipboardText(), "1\t2\t\t\r\n1\t2\t\t\r\n");
    // Paste from the current cell: a line per record.
    window.setClipboardText("7\t8\n9\t10\n");
    click(2, 1);
    std::int32_t steps = commands().undoCount();
    key(key::kPaste);
    EXPECT_EQ(values(), "7 9 / 8 10");
    EXPECT_EQ(commands().undoCount(), steps + 1);
    key(key::kUndo);
    EXPECT_EQ(values(), "1 1 / 2 2");
    key(key::kRedo);
    EXPECT_EQ(values(), "7 9 / 8 10");
    // Cut takes the cell's text and clears its formula; Delete clears too.
    click(2, 1);
    key(key::kCut);
    EXPECT_EQ(window.clipboardText(), "7");
    EXPECT_EQ(values(), "1 9 / 8 10");
    click(3, 1);
    key(key::kDelete);
    EXPECT_EQ(values(), "1 1 / 8 10");
    key(key::kUndo);
    key(key::kUndo);
    EXPECT_EQ(values(), "7 9 / 8 10");
}

TEST_F(TableEditingTest, ARefusedPasteIsShownAndChangesNothing) {
    // A thousand fields allow 20,000 records: one line more is refused.
    std::string program = "table T{ ";
    for (int field = 0; field < 1000; ++field)
        program += "f" + std::to_string(field) + ":=1! ";
    showDetailed(program + "<2>:={} }");
    std::string text;
    for (int line = 0; line < 20'001; ++line)
        text += "5\n";
    window.setClipboardText(text);
    click(2, 1);
    std::int32_t steps = commands().undoCount();
    std::int32_t rows = kernel->getTableByName("T")->rowCount();
    key(key::kPaste);
    ASSERT_EQ(window.dialogs().size(), 1u);
    EXPECT_EQ(window.dialogs()[0].rfind("notice: ", 0), 0u) << window.dialogs()[0];
    EXPECT_EQ(commands().undoCount(), steps);
    refresh();
    EXPECT_EQ(kernel->getTableByName("T")->rowCount(), rows);
}

TEST_F(TableEditingTest, AClickTogglesABooleanCellAsAStep) {
    kernel = loadModel(kTwoFields);
    kernel->setOptionFlag(false);
    auto model = make<EvalSingleModel>(kernel->getTableByName("T"), settings);
    show(model);
    // Columns: labels, Name, Value, Visible.
    auto visible = [&] {
        model->acceptValue(kernel->getTableByName("T"));
        return renderGrid(*model)[1];
    };
    EXPECT_EQ(visible(), "|a|1|true");
    click(3, 1);
    EXPECT_EQ(visible(), "|a|1|false");
    key(key::kUndo);
    EXPECT_EQ(visible(), "|a|1|true");
    key(key::kRedo);
    EXPECT_EQ(visible(), "|a|1|false");
    // A click on another kind of cell, or a right press, only selects.
    std::int32_t steps = commands().undoCount();
    click(1, 2);
    panel->mouse(toolkit::MouseKind::RightPress, cellPoint(3, 1), 0);
    EXPECT_EQ(commands().undoCount(), steps);
    EXPECT_EQ(visible(), "|a|1|false");
    EXPECT_EQ(grid->currentRow(), 1);
}

// A view's properties are switches: typing into one or deleting it flips
// it, as one undoable step that marks the document modified.
TEST_F(TableEditingTest, TypingIntoAPropertyOrDeletingItIsAStep) {
    kernel = loadModel(kTwoFields);
    auto table = make<EvalMultiModel>(kernel->getTableByName("T"), settings, true);
    auto properties = make<PropertiesTableModel>();
    properties->setProperties(make<EvalMultiModelProperties>(table, *table));
    show(properties);
    // Row 4 is "show_col_names" (the document settings rule the three
    // above it), column 2 its value.
    auto shown = [&] { return properties->createCell(2, 4)->text()->toStdString(); };
    const std::string before = shown();
    const std::string flipped = before == "true" ? "false" : "true";
    struct Step {
        const char* what;
        std::function<void()> act;
        std::string value;
        std::int32_t undo;
        std::int32_t redo;
        bool modified;
    };
    const auto select = [&] {
        grid->selectCell(2, 4);
        support().select(grid);
    };
    const Step steps[] = {
        {"typed",
         [&] {
             select();
             type("x");
             key(key::kEnter);
         },
         flipped, 1, 0, true},
        {"undone", [&] { key(key::kUndo); }, before, 0, 1, false},
        {"redone", [&] { key(key::kRedo); }, flipped, 1, 0, true},
        {"deleted",
         [&] {
             select();
             key(key::kDelete);
         },
         before, 2, 0, true},
        {"undone", [&] { key(key::kUndo); }, flipped, 1, 1, true},
        {"undone again", [&] { key(key::kUndo); }, before, 0, 2, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(shown(), step.value);
        EXPECT_EQ(commands().undoCount(), step.undo);
        EXPECT_EQ(commands().redoCount(), step.redo);
        EXPECT_EQ(!commands().isClean(), step.modified);
    }
}

// Every edit a grid makes reaches the model as a step of the model editor:
// the newest command is the editor's, and undoing it gives back the program
// text exactly.
TEST_F(TableEditingTest, EveryGridEditReachesTheModelThroughTheEditor) {
    struct Case {
        const char* what;
        std::int32_t column, row;
        enum { Type, Delete, Paste } action;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"a record's cell", 2, 1, Case::Type, "50"},
        {"a field's name", 0, 2, Case::Type, "total"},
        {"a new field on the last line", 0, 3, Case::Type, "c"},
        {"a new record", 4, 1, Case::Type, "9"},
        {"clearing a formula", 1, 2, Case::Delete, ""},
        {"a paste", 2, 1, Case::Paste, "7\t8\n9\t10\n"},
    };
    auto newestCommand = [&] {
        std::string text = commands().describe()->toStdString();
        std::size_t end = text.find("\nredo----->");
        std::size_t start = text.rfind('\n', end - 1) + 1;
        return text.substr(start, text.find('(', start) - start);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!frame.isNull()) root().detach(frame);
        showDetailed();
        const std::string before = kernel->program()->toSource()->toStdString();
        click(c.column, c.row);
        if (c.action == Case::Type) {
            type(c.text);
            key(key::kEnter);
        } else if (c.action == Case::Delete) {
            key(key::kDelete);
        } else {
            window.setClipboardText(c.text);
            key(key::kPaste);
        }
        EXPECT_NE(kernel->program()->toSource()->toStdString(), before);
        EXPECT_EQ(newestCommand(), "ModelEditCommand");
        key(key::kUndo);
        EXPECT_EQ(kernel->program()->toSource()->toStdString(), before);
    }
}

class RecordingController final : public GridController {
    QV_OBJECT(RecordingController, GridController, "RecordingController")
  public:
    std::vector<std::int32_t> lines;
    // Acts on the lines of tables, as the list's owner does.
    std::int32_t tables = 0;
    bool lineActivated(TableEditable&, std::int32_t row) override {
        if (row > tables) return false;
        lines.push_back(row);
        return true;
    }
};

TEST_F(TableEditingTest, ADoubleClickOnTheLabelOrEnterOnALineActivatesIt) {
    kernel = loadModel("table T{ a:=1! } table U{ b:=2! }");
    show(make<TablesView>(kernel));
    auto controller = make<RecordingController>();
    controller->tables = 2;
    grid->setController(controller);
    doubleClickCell(0, 2);
    click(0, 1);
    key(key::kEnter);
    // Enter on the name, the base name or the warnings opens as well.
    for (std::int32_t column : {1, 2, 3}) {
        click(column, 2);
        key(key::kEnter);
        EXPECT_EQ(grid->currentRow(), 2) << column;
    }
    // Not on the header; on a line the owner does not act on, Enter moves down.
    doubleClickCell(0, 0);
    controller->tables = 1;
    click(1, 2);
    key(key::kEnter);
    EXPECT_EQ(controller->lines, (std::vector<std::int32_t>{2, 1, 2, 2, 2}));
    EXPECT_EQ(grid->currentRow(), 3);
}

TEST_F(TableEditingTest, EnterAfterARenameMovesDownWithoutActivating) {
    kernel = loadModel("table T{ a:=1! } table U{ b:=2! }");
    show(make<TablesView>(kernel));
    auto controller = make<RecordingController>();
    controller->tables = 2;
    grid->setController(controller);
    click(1, 1);
    type("R");
    key(key::kEnter);
    EXPECT_EQ(kernel->getTable(0)->name()->toStdString(), "R");
    EXPECT_TRUE(controller->lines.empty());
    EXPECT_EQ(grid->currentRow(), 2);
}

TEST_F(TableEditingTest, TheSelectionStaysOnItsLineWhenTheLayoutChanges) {
    showDetailed();
    click(3, 2);  // b in record 2
    settings->showFormula = true;
    refresh();
    // The formula lines come in: b's value line is now row 4.
    EXPECT_EQ(grid->currentRow(), 4);
    EXPECT_EQ(grid->model()->createCell(grid->currentColumn(), 4)->text()->toStdString(), "2");
}

TEST(GridModelValues, EachModelTakesTheValuesItCanShow) {
    Pointer<Kernel> kernel = loadModel("table T{ a:=1! <3>:={} } table U{ b:=2! }");
    auto settings = make<GlobalSettings>();
    Pointer<TableResult> t = kernel->getTableByName("T");
    Pointer<TableResult> u = kernel->getTableByName("U");
    Pointer<Object> row2 = kernel->evaluateExpression(str("T[2]"));
    ASSERT_TRUE(is<TableResultRow>(row2)) << row2->getClassName();

    auto detailed = make<EvalMultiModel>(t, settings, true);
    auto heading = make<EvalSingleModel>(t, settings);
    auto tables = make<TablesView>(kernel);
    auto properties = make<PropertiesTableModel>();
    struct Case {
        const char* what;
        Pointer<GridModel> model;
        Pointer<Object> value;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"detailed, same table", detailed, t, true},
        {"detailed, another table", detailed, u, false},
        {"detailed, a row", detailed, row2, false},
        {"detailed, the kernel", detailed, kernel, false},
        {"heading, same table", heading, t, true},
        {"heading, a row of it", heading, row2, true},
        {"heading, another table", heading, u, false},
        {"tables, the kernel", tables, kernel, true},
        {"tables, a table", tables, t, false},
        {"properties, a table", properties, t, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.model->acceptValue(c.value), c.accepted);
    }
    // The heading view shows the row's record; flags stay as they were.
    EXPECT_EQ(heading->record(), 2);
    detailed->setFlag(EvalMultiModel::ShowColNames, false);
    ASSERT_TRUE(detailed->acceptValue(kernel->getTableByName("T")));
    EXPECT_FALSE(detailed->flag(EvalMultiModel::ShowColNames));
}

}  // namespace
}  // namespace qv
