// Opening views of a table: the list of tables opens the table-opening
// dialog, whose boxes choose the views "Open" adds as one undoable step;
// and every view shows the program as it is after an edit and after its
// undo and redo.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "model/ModelEditor.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ErrorEditable.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using test::PanelFixture;
using Control = OpenTableDialog::Control;
namespace key = toolkit::key;

constexpr std::string_view kTables =
    "table T{ x:=range 1 to 3! y:=x*x! }\ntable [My table]{ v:=7! }\n"
    "optimized(10,10) result(tables);\n";

// The list of tables in the first frame, its line `row` activated.
OpenTableDialog& activateTableLine(PanelFixture& f, std::int32_t row) {
    auto list = cast<ResultEditable>(f.frame(0)->view());
    auto grid = cast<TableEditable>(list->innerView());
    EXPECT_FALSE(grid.isNull());
    grid->controller()->lineActivated(*grid, row);
    EXPECT_NE(f.panel->tableDialog(), nullptr);
    return *f.panel->tableDialog();
}

toolkit::Point centre(Control control) {
    toolkit::Rect area = OpenTableDialog::controlRect(control);
    return {area.x + area.width / 2, area.y + area.height / 2};
}

// Plays a script on the dialog: H, D, C click a box; O and X click Open and
// Cancel; t is Tab, s Space, n Enter, e Escape.
void play(OpenTableDialog& dialog, std::string_view script) {
    for (char step : script) {
        switch (step) {
            case 'H':
                dialog.mouse(toolkit::MouseKind::Press, centre(Control::Heading), 0);
                break;
            case 'D':
                dialog.mouse(toolkit::MouseKind::Press, centre(Control::Details), 0);
                break;
            case 'C':
                dialog.mouse(toolkit::MouseKind::Press, centre(Control::Chart), 0);
                break;
            case 'O':
                dialog.mouse(toolkit::MouseKind::Press, centre(Control::Open), 0);
                break;
            case 'X':
                dialog.mouse(toolkit::MouseKind::Press, centre(Control::Cancel), 0);
                break;
            case 't':
                dialog.key(key::kTab, {}, 0);
                break;
            case 's':
                dialog.key(key::kCharacter, " ", 0);
                break;
            case 'n':
                dialog.key(key::kEnter, {}, 0);
                break;
            case 'e':
                dialog.key(key::kEscape, {}, 0);
                break;
            default:
                FAIL() << "unknown step " << step;
        }
    }
}

TEST(TableViews, TheDialogOpensTheViewsItsBoxesChooseAsOneStep) {
    struct Case {
        std::int32_t line;  // of the list of tables
        const char* script;
        const char* added;  // the layout after the list's own line
    };
    const Case cases[] = {
        {1, "n", "optimized(590,40) result(T[0]);\n"},
        {1, "O", "optimized(590,40) result(T[0]);\n"},
        {1, "Dn", "optimized(40,120) result(T);\n"},
        {1, "HDO", "optimized(40,120) result(T);\n"},
        {1, "HCn", "optimized(40,120) chart(T);\n"},
        {1, "ttsn", "optimized(40,120) chart(T);\n"},
        // Details and Chart: both views, side by side.
        {1, "DCn", "optimized(40,120) result(T);\nchart(T);\n"},
        {2, "n", "optimized(590,40) result([My table][0]);\n"},
        {2, "HDCO", "optimized(590,40) result([My table]);\nchart([My table]);\n"},
        {1, "e", ""},
        {1, "DCX", ""},
        {1, "ttttn", ""},                                   // Enter on Cancel
        {1, "ttttttsn", "optimized(40,120) result(T);\n"},  // round to Details
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.script) + " on line " + std::to_string(c.line));
        PanelFixture f;
        f.startOn("tables.qvl", kTables);
        std::string before = f.layoutText();
        OpenTableDialog& dialog = activateTableLine(f, c.line);
        EXPECT_EQ(static_cast<toolkit::HeadlessWindow&>(dialog.window()).title(), "Open table");
        EXPECT_EQ(dialog.window().size(), (toolkit::Size{180, 165}));
        play(dialog, c.script);
        f.window.deliverPosted();
        EXPECT_FALSE(dialog.isOpen());
        // The second view's spot (beside or below the first one) depends on
        // the first one's size.
        std::string added = std::regex_replace(f.layoutText().substr(before.size()),
                                               std::regex("\noptimized\\(\\d+,\\d+\\) "), "\n");
        EXPECT_EQ(added, c.added);
        bool opened = *c.added != '\0';
        EXPECT_EQ(f.panel->commands().undoCount(), opened ? 1 : 0);
        EXPECT_EQ(f.panel->flow().isModified(), opened);
        f.key(key::kUndo);
        EXPECT_EQ(f.layoutText(), before);
        // What was opened reads back as the same views.
        f.key(key::kRedo);
        std::string document = f.document();
        PanelFixture reread;
        reread.startOn("again.qvl", document);
        EXPECT_TRUE(reread.window.dialogs().empty()) << reread.lastDialog();
        EXPECT_EQ(reread.document(), document);
    }
}

// The chart goes beside the grid where the window has room for it, else
// below it: never over it.
TEST(TableViews, BothViewsOfOneTableCoverNothing) {
    PanelFixture f;
    f.startOn("tables.qvl", kTables);
    play(activateTableLine(f, 1), "DCn");
    ASSERT_EQ(f.root().frameCount(), 3);
    f.layout();
    toolkit::Rect grid = f.frame(1)->bounds();
    toolkit::Rect chart = f.frame(2)->bounds();
    EXPECT_EQ(grid.x, 40);
    // 1024 pixels hold no 450-pixel grid and a chart side by side.
    EXPECT_GT(grid.right() + MainPanel::kNewViewGap + chart.width, 1024);
    EXPECT_EQ(chart.x, grid.x);
    EXPECT_EQ(chart.y, grid.bottom() + MainPanel::kNewViewGap);
    auto details = cast<ResultEditable>(f.frame(1)->view());
    EXPECT_EQ(details->shownKind(), ResultEditable::ValueKind::Table);
}

// As the user reaches a line: a click on its name, then Enter, through the
// window's own key routing.
TEST(TableViews, EnterOnALineOfTheListOpensItsTable) {
    const struct {
        std::int32_t column, row;
        const char* table;  // the dialog's, or "" for none
    } cases[] = {
        {1, 1, "T"},
        {1, 2, "My table"},
        {2, 2, "My table"},
        {3, 1, "T"},
        {0, 2, "My table"},
        // The new-table line opens nothing.
        {1, 3, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.column) + "," + std::to_string(c.row));
        PanelFixture f;
        f.startOn("tables.qvl", kTables);
        auto list = cast<ResultEditable>(f.frame(0)->view());
        auto grid = cast<TableEditable>(list->innerView());
        ASSERT_FALSE(grid.isNull());
        f.layout();
        toolkit::Rect cell = grid->cellRect(c.column, c.row);
        f.click({cell.x + cell.width / 2, cell.y + cell.height / 2});
        ASSERT_EQ(grid->currentRow(), c.row);
        f.key(key::kEnter);
        OpenTableDialog* dialog = f.panel->tableDialog();
        bool opened = dialog != nullptr && dialog->isOpen();
        EXPECT_EQ(opened, *c.table != '\0');
        if (opened) {
            EXPECT_EQ(dialog->table()->name()->toStdString(), c.table);
        }
    }
}

TEST(TableViews, TheDialogDrawsItsBoxesAndButtons) {
    PanelFixture f;
    f.startOn("tables.qvl", kTables);
    OpenTableDialog& dialog = activateTableLine(f, 1);
    auto& window = static_cast<toolkit::HeadlessWindow&>(dialog.window());
    EXPECT_EQ(window.paint().texts(),
              (std::vector<std::string>{"Heading", "Details", "Chart", "Open", "Cancel"}));
    EXPECT_TRUE(dialog.isChecked(Control::Heading));
    EXPECT_FALSE(dialog.isChecked(Control::Details));
    // Lines outside the tables (the header, the new-table line) open nothing.
    for (std::int32_t row : {0, 3, 4}) {
        auto list = cast<ResultEditable>(f.frame(0)->view());
        auto grid = cast<TableEditable>(list->innerView());
        f.panel->tableDialog()->cancel();
        grid->controller()->lineActivated(*grid, row);
        EXPECT_FALSE(f.panel->tableDialog()->isOpen()) << row;
    }
}

// What the first frame's result view shows as text.
std::string shownText(PanelFixture& f) {
    auto view = cast<ResultEditable>(f.frame(0)->view());
    auto text = cast<ErrorEditable>(view->innerView());
    return text.isNull() ? "(not text)" : text->text();
}

TEST(TableViews, ViewsFollowAnEditItsUndoAndItsRedo) {
    PanelFixture f;
    f.startOn("edit.qvl", "table T{ x:=range 1 to 3! y:=x*x! } optimized(10,10) result(T[2].y);");
    EXPECT_EQ(shownText(f), "4");
    Pointer<Kernel> kernel = f.panel->kernel();
    Pointer<TableResult> table = kernel->getTableByName("T");
    make<ModelEditor>(kernel->program(), &f.panel->commands())
        ->setCellFormula(*table, 1, 0, str("x*10"));
    // Nothing recomputes until the event that made the edit ends.
    EXPECT_EQ(shownText(f), "4");
    struct Step {
        const char* name;
        std::function<void()> event;
        const char* shown;
    };
    const Step steps[] = {
        {"the edit's event ends",
         [&] {
             f.mouse(toolkit::MouseKind::Move, {900, 700});
         },
         "20"},
        {"undo", [&] { f.key(key::kUndo); }, "4"},
        {"redo", [&] { f.key(key::kRedo); }, "20"},
        {"undo from the menu's key", [&] { f.panel->key(key::kUndo, {}, 0); }, "4"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        std::int32_t repaints = f.window.repaintRequests();
        step.event();
        EXPECT_EQ(shownText(f), step.shown);
        EXPECT_GT(f.window.repaintRequests(), repaints);
    }
}

}  // namespace
}  // namespace qv
