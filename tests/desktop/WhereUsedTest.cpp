// Where a name is used, in the desktop program: the where-used view lists
// every formula, base-table clause and view that uses the selected field or
// table, a line activated goes there, and the document does not keep the
// view. Clearing a used name warns with that list first; accepted, the uses
// show errors and undo brings all back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/TitleBarPainter.h"
#include "model/ModelEditor.h"
#include "tests/desktop/NameEditTestSupport.h"
#include "views/TreeEditable.h"

namespace qv {
namespace {

using test::NamesFixture;
using toolkit::Answer;
namespace key = toolkit::key;

// The lines of the where-used view, place | use | formula.
std::vector<std::string> lines(const WhereUsedModel& model) {
    std::vector<std::string> out;
    for (const WhereUsedEntry& entry : model.entries())
        out.push_back(entry.place + " | " + entry.use + " | " + entry.formula);
    return out;
}

Pointer<WhereUsedEditable> lastWhereUsed(NamesFixture& f) {
    return cast<WhereUsedEditable>(f.frame(f.root().frameCount() - 1)->view());
}

TEST(WhereUsed, ListsEveryUseOfTheSelectedFieldOrTable) {
    struct Case {
        const char* what;
        std::int32_t frame;
        test::CellTest cell;
        MenuCommand command;
        const char* title;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a field from its header cell, by the Add menu",
         0,
         test::fieldNameCell("qty"),
         MenuCommand::WhereUsed,
         "where used: Prices.qty (3 places)",
         {"Prices.price | formula | qty * 2",
          "Report.total | formula | Prices[2].price + Prices[3].qty",
          "result(Prices[1].qty) | view | Prices[1].qty"}},
        {"a field from a value cell, by the cell's menu",
         0,
         [](CellModel& cell) { return is<ResultCell>(cell) && cell.text()->equals("4"); },
         MenuCommand::CellWhereUsed,
         "where used: Prices.price (1 place)",
         {"Report.total | formula | Prices[2].price + Prices[3].qty"}},
        {"a table from the list of tables",
         2,
         test::tableNameCell("Prices"),
         MenuCommand::CellWhereUsed,
         "where used: Prices (4 places)",
         {"Report.total | formula | Prices[2].price + Prices[3].qty",
          "result(Prices) | view | Prices", "result(Prices[0]) | view | Prices[0]",
          "result(Prices[1].qty) | view | Prices[1].qty"}},
        {"a table nothing uses",
         2,
         test::tableNameCell("Spare"),
         MenuCommand::WhereUsed,
         "where used: Spare (0 places)",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NamesFixture f;
        ASSERT_TRUE(f.clickCell(c.frame, c.cell));
        const std::string before = f.document();
        f.choose(c.command);
        Pointer<WhereUsedEditable> view = lastWhereUsed(f);
        ASSERT_FALSE(view.isNull());
        EXPECT_EQ(view->getTitle()->toStdString(), c.title);
        EXPECT_EQ(lines(*view->model()), c.lines);
        // The list serves the session: the document is written as before.
        EXPECT_EQ(f.document(), before);
    }
}

// A double click on a formula's line selects its cell, in the view that
// shows it or in one opened for it; Enter on a view's line selects that view.
TEST(WhereUsed, ALineActivatedGoesToItsPlace) {
    NamesFixture f;
    Pointer<AbstractEditable> qtyView = f.frame(3)->view();
    ASSERT_TRUE(f.clickCell(0, test::fieldNameCell("qty")));
    f.choose(MenuCommand::WhereUsed);
    const std::int32_t list = f.root().frameCount() - 1;
    const std::int32_t report = f.panel->kernel()->getTableIndex("Report");

    // Report.total: no view shows Report's cells, so one opens.
    ASSERT_TRUE(
        f.clickCell(list, [](CellModel& cell) { return cell.text()->equals("Report.total"); }));
    Pointer<TableEditable> grid = f.grid(list);
    f.layout();
    toolkit::Rect rect = grid->cellRect(grid->currentColumn(), grid->currentRow());
    toolkit::Point shift = grid->layoutPoint({0, 0});
    f.doubleClick({rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
    EXPECT_EQ(f.root().frameCount(), list + 2);
    // The field's own formula, in its formula row.
    EXPECT_EQ(f.panel->selectedCell(), (CellPlace{report, 1, 0}));

    // The view's line, by Enter.
    f.panel->showView(f.frame(list)->view());
    f.key(key::kDown);
    f.key(key::kEnter);
    EXPECT_TRUE(isWithinView(*qtyView, *f.support().selected()));
}

// From the project view's tree: a table's line and a field's line.
TEST(WhereUsed, ListsTheUsesOfTheTreesSelectedTableOrField) {
    NamesFixture f;
    auto project = cast<ProjectEditable>(f.frame(2)->view());
    ASSERT_FALSE(project.isNull());
    const Pointer<TreeEditable>& tree = project->tree();
    std::int32_t prices = tree->model()->lineOfTable("Prices");
    ASSERT_GE(prices, 0);
    tree->model()->setExpanded(prices, true);
    struct Case {
        std::int32_t line;
        const char* title;
    };
    // The first line under a table is its first field, qty.
    for (const Case& c : {Case{prices, "where used: Prices (4 places)"},
                          Case{prices + 1, "where used: Prices.qty (3 places)"}}) {
        SCOPED_TRACE(c.title);
        tree->selectLine(c.line);
        f.support().select(tree);
        f.choose(MenuCommand::WhereUsed);
        Pointer<WhereUsedEditable> view = lastWhereUsed(f);
        ASSERT_FALSE(view.isNull());
        EXPECT_EQ(view->getTitle()->toStdString(), c.title);
    }
}

TEST(WhereUsed, WithNothingSelectedSaysWhatToSelect) {
    NamesFixture f;
    f.support().select({});
    const std::int32_t frames = f.root().frameCount();
    f.choose(MenuCommand::WhereUsed);
    EXPECT_EQ(f.lastDialog(), "notice: Select a table or a field to see where it is used.");
    EXPECT_EQ(f.root().frameCount(), frames);
}

// The document does not keep the where-used view, so opening, moving or
// closing it is no change to save: the title shows no mark and Exit asks
// nothing; undo still takes the view away. A real edit among such steps
// marks the document as before, and a save or an undo is judged by the
// document's text alone.
TEST(WhereUsed, TheViewLeavesTheDocumentUnmodified) {
    struct Step {
        const char* action;
        bool modified;
        bool listShown;
        std::int32_t undoSteps;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"opened", {{"open", false, true, 1}}},
        {"opened and undone, redone",
         {{"open", false, true, 1}, {"undo", false, false, 0}, {"redo", false, true, 1}}},
        {"moved, maximized, closed",
         {{"open", false, true, 1},
          {"move", false, true, 2},
          {"maximize", false, true, 3},
          {"close", false, false, 4},
          {"undo", false, true, 3}}},
        {"a real edit after it",
         {{"open", false, true, 1},
          {"edit", true, true, 2},
          {"undo", false, true, 1},
          {"undo", false, false, 0},
          {"redo", false, true, 1},
          {"redo", true, true, 2}}},
        {"undo past it to an edit before it",
         {{"edit", true, false, 1},
          {"open", true, true, 2},
          {"undo", true, false, 1},
          {"undo", false, false, 0}}},
        {"saved, then undone",
         {{"edit", true, false, 1},
          {"open", true, true, 2},
          {"save", false, true, 2},
          {"undo", false, false, 1},
          {"undo", true, false, 0},
          {"redo", false, false, 1}}},
        {"saved with it, undone and replaced by another list",
         {{"open", false, true, 1},
          {"save", false, true, 1},
          {"undo", false, false, 0},
          {"open", false, true, 1},
          {"undo", false, false, 0}}},
        {"saved with an edit, undone and replaced by the list",
         {{"edit", true, false, 1},
          {"save", false, false, 1},
          {"undo", true, false, 0},
          {"open", true, true, 1},
          {"undo", true, false, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NamesFixture f;
        const std::int32_t frames = f.root().frameCount();
        for (const Step& step : c.steps) {
            const std::string action = step.action;
            SCOPED_TRACE(action);
            if (action == "open") {
                ASSERT_TRUE(f.clickCell(0, test::fieldNameCell("qty")));
                f.choose(MenuCommand::WhereUsed);
            } else if (action == "edit") {
                make<ModelEditor>(f.panel->kernel()->program(), &f.panel->commands())
                    ->setCellFormula(*f.panel->kernel()->getTableByName("Spare"), 0, 0, str("7"));
            } else if (action == "undo") {
                f.undo();
            } else if (action == "redo") {
                f.redo();
            } else if (action == "save") {
                f.choose(MenuCommand::Save);
            } else if (action == "move") {
                f.dragFrame(f.frame(frames), {600, 300});
            } else if (action == "maximize") {
                f.pressButton(f.frame(frames), TitleButton::Maximize);
            } else {
                ASSERT_EQ(action, "close");
                f.pressButton(f.frame(frames), TitleButton::Close);
            }
            f.key(key::kEnd);  // an event: the title follows it
            EXPECT_EQ(f.root().frameCount(), frames + (step.listShown ? 1 : 0));
            EXPECT_EQ(f.undoCount(), step.undoSteps);
            EXPECT_EQ(f.modified(), step.modified);
            EXPECT_EQ(f.window.title().find('*') != std::string::npos, step.modified)
                << f.window.title();
        }
        // Exit asks only about a real change.
        const std::size_t dialogs = f.window.dialogs().size();
        f.window.scriptAnswer(Answer::Cancel);
        f.choose(MenuCommand::Exit);
        EXPECT_EQ(f.window.dialogs().size(), dialogs + (f.modified() ? 1 : 0));
        EXPECT_EQ(f.window.exitStatus().has_value(), !f.modified());
    }
}

// Clearing a used name (Delete on its cell) asks first. Cancel keeps all;
// Delete clears it as before, its uses turn to errors, and undo brings
// the document back byte for byte.
TEST(DeleteWarning, ClearingAUsedNameWarnsWithItsUses) {
    struct Case {
        const char* what;
        std::int32_t frame;
        test::CellTest cell;
        const char* warning;
    };
    const Case cases[] = {
        {"a field", 0, test::fieldNameCell("qty"),
         "confirm delete: 3 places use Prices.qty: Prices.price, Report.total, "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back."},
        {"a table", 2, test::tableNameCell("Prices"),
         "confirm delete: 4 places use Prices: Report.total, result(Prices), result(Prices[0]), "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back."},
    };
    for (const Case& c : cases) {
        for (Answer answer : {Answer::Cancel, Answer::Ok}) {
            SCOPED_TRACE(std::string(c.what) +
                         (answer == Answer::Ok ? ", deleted" : ", cancelled"));
            NamesFixture f;
            const std::string total = f.total();
            ASSERT_TRUE(f.clickCell(c.frame, c.cell));
            const std::string before = f.document();
            const std::int32_t steps = f.undoCount();
            f.window.scriptAnswer(answer);
            f.key(key::kDelete);
            EXPECT_EQ(f.lastDialog(), c.warning);
            if (answer == Answer::Cancel) {
                EXPECT_EQ(f.document(), before);
                EXPECT_EQ(f.undoCount(), steps);
                continue;
            }
            EXPECT_NE(f.document(), before);
            EXPECT_EQ(f.undoCount(), steps + 1);
            EXPECT_NE(f.total(), total);
            f.undo();
            EXPECT_EQ(f.document(), before);
            EXPECT_EQ(f.total(), total);
        }
    }
}

// A name nothing uses is cleared at once, as before.
TEST(DeleteWarning, ANameNothingUsesIsClearedWithoutAWarning) {
    NamesFixture f;
    ASSERT_TRUE(f.clickCell(2, test::tableNameCell("Spare")));
    const std::size_t dialogs = f.window.dialogs().size();
    const std::int32_t steps = f.undoCount();
    f.key(key::kDelete);
    EXPECT_EQ(f.window.dialogs().size(), dialogs);
    EXPECT_EQ(f.undoCount(), steps + 1);
}

}  // namespace
}  // namespace qv
