// Explaining cells in the desktop program: the formula line shows the cause
// of a selected error, Go to cause selects the origin (opening a view of
// its table when none shows it), and the explain view shows a cell's
// precedents and dependents, unfolds them, opens an error on its path and
// goes to a line's cell; its directive reads and writes back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editing/FormulaValueEditable.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ExplainEditable.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using test::PanelFixture;
namespace key = toolkit::key;

// Prices[3].rate calls a function that does not exist; total and Report
// depend on it. Loan's rate and payment read each other in every row.
constexpr std::string_view kModel =
    "table Prices{ price:=range 1 to 4! qty:=price - 2! "
    "rate:=if qty = 1 then nosuch(1) else price / qty! total:=rate * 2! }\n"
    "table Report{ n:=range 1 to 1! t:=Prices[3].total! u:=n + 1! }\n"
    "table Loan{ n:=range 1 to 2! rate:=payment + 1! payment:=rate * 2! }\n";

struct ExplainFixture : PanelFixture {
    explicit ExplainFixture(std::string_view layout) {
        startOn("explain.qvl", std::string(kModel) + std::string(layout));
        for (std::int32_t i = 0; i < root().frameCount(); ++i)
            frames.push_back(frame(i));
    }
    // Clicks raise frames: they are kept as they stood at first.
    std::vector<Pointer<TitleDecorator>> frames;

    std::int32_t tableIndex(std::string_view name) const {
        return panel->kernel()->getTableIndex(name);
    }
    CellPlace place(std::string_view table, std::int32_t field, std::int32_t row) const {
        return {tableIndex(table), field, row};
    }
    Pointer<TableEditable> grid(std::int32_t frameIndex) const {
        auto result = cast<ResultEditable>(frames[static_cast<std::size_t>(frameIndex)]->view());
        if (result.isNull()) return {};
        return cast<TableEditable>(result->innerView());
    }
    // A click on the cell in the grid of a frame, through the window.
    void clickCell(std::int32_t frameIndex, const CellPlace& cell) {
        layout();
        Pointer<TableEditable> shown = grid(frameIndex);
        ASSERT_FALSE(shown.isNull());
        auto at = shown->model()->positionOf(cell);
        ASSERT_TRUE(at.has_value());
        shown->scrollTo(at->first, at->second);
        layout();
        toolkit::Rect rect = shown->cellRect(at->first, at->second);
        ASSERT_FALSE(rect.isEmpty());
        toolkit::Point shift = shown->layoutPoint({0, 0});
        click({rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
    }
    const FormulaValueEditable& bar() const { return *panel->formulaBar(); }
    std::string barText() const { return std::string(bar().field()->text()); }
    std::optional<CellPlace> selected() const { return panel->selectedCell(); }
};

TEST(ExplainFormulaLine, ShowsTheCauseOfASelectedErrorAndTheFormulaOtherwise) {
    struct Case {
        const char* what;
        const char* table;
        std::int32_t field;
        std::int32_t row;
        const char* line;
    };
    const Case cases[] = {
        {"an error that began elsewhere", "Prices", 3, 3,
         "depends on cell that contain error; caused by Prices[3].rate: func unknown"},
        {"the origin itself", "Prices", 2, 3,
         "func unknown; caused by Prices[3].rate: func unknown"},
        {"a cycle", "Loan", 1, 1,
         "(circular); cycle: Loan[1].rate -> Loan[1].payment -> Loan[1].rate"},
        {"a plain cell", "Prices", 3, 4, "=rate * 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExplainFixture f("optimized(10,10) result(Prices);\noptimized(10,300) result(Loan);\n");
        std::int32_t frameIndex = std::string_view(c.table) == "Loan" ? 1 : 0;
        f.clickCell(frameIndex, f.place(c.table, c.field, c.row));
        EXPECT_EQ(f.barText(), c.line);
        EXPECT_FALSE(f.bar().isEditingCell());
    }
}

TEST(ExplainFormulaLine, WhileEditingShowsTheFormulaAsTyped) {
    ExplainFixture f("optimized(10,10) result(Prices);\n");
    f.clickCell(0, f.place("Prices", 3, 3));
    f.key(key::kF2);
    ASSERT_TRUE(f.bar().isEditingCell());
    EXPECT_EQ(f.barText(), "=rate * 2");
    f.type("+1");
    EXPECT_EQ(f.barText(), "=rate * 2+1");
    // Escape ends editing: the line shows the cause again.
    f.key(key::kEscape);
    EXPECT_FALSE(f.bar().isEditingCell());
    EXPECT_EQ(f.barText(),
              "depends on cell that contain error; caused by Prices[3].rate: func unknown");
}

TEST(GoToCause, SelectsTheOriginInAnOpenViewOrOpensOne) {
    struct Case {
        const char* what;
        const char* layout;
        CellPlace from;  // table by name below
        const char* fromTable;
        const char* added;  // the view Go to cause adds, if any
        const char* toTable;
        std::int32_t toField;
        std::int32_t toRow;
    };
    const Case cases[] = {
        {"origin in the same view",
         "optimized(10,10) result(Prices);\n",
         {-1, 3, 3},
         "Prices",
         "",
         "Prices",
         2,
         3},
        {"origin in a view of its own",
         "optimized(10,10) result(Report);\noptimized(10,300) result(Prices);\n",
         {-1, 1, 1},
         "Report",
         "",
         "Prices",
         2,
         3},
        {"no view shows the origin",
         "optimized(10,10) result(Report);\n",
         {-1, 1, 1},
         "Report",
         "result(Prices);\n",
         "Prices",
         2,
         3},
        {"round a cycle", "optimized(10,10) result(Loan);\n", {-1, 1, 2}, "Loan", "", "Loan", 2, 2},
        {"a plain cell stays",
         "optimized(10,10) result(Report);\n",
         {-1, 2, 1},
         "Report",
         "",
         "Report",
         2,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExplainFixture f(c.layout);
        CellPlace from = f.place(c.fromTable, c.from.field, c.from.row);
        f.clickCell(0, from);
        ASSERT_EQ(f.selected(), from);
        std::string before = f.layoutText();
        f.choose(MenuCommand::GoToCause);
        std::string after = f.layoutText();
        ASSERT_EQ(after.substr(0, before.size()), before);
        std::string added = after.substr(before.size());
        if (*c.added == '\0') {
            EXPECT_EQ(added, "");
        } else {
            EXPECT_NE(added.find(c.added), std::string::npos) << added;
        }
        EXPECT_EQ(f.selected(), f.place(c.toTable, c.toField, c.toRow));
    }
}

TEST(GoToCause, IsOfferedInTheEditMenuWithItsKeyAndInACellsContextMenu) {
    ExplainFixture f("optimized(10,10) result(Prices);\n");
    const toolkit::MenuItem& edit = f.window.menuBar()[1];
    const toolkit::MenuItem& last = edit.items.back();
    EXPECT_EQ(last.caption, "&Go to cause");
    EXPECT_EQ(last.shortcut, "Ctrl+Shift+G");
    f.clickCell(0, f.place("Prices", 3, 3));
    toolkit::Rect rect = f.grid(0)->cellRect(f.grid(0)->currentColumn(), f.grid(0)->currentRow());
    toolkit::Point shift = f.grid(0)->layoutPoint({0, 0});
    f.mouse(toolkit::MouseKind::RightPress,
            {rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
    ASSERT_EQ(f.window.lastPopup().size(), 3u);
    EXPECT_EQ(f.window.lastPopup()[0].caption, "E&xplain");
    EXPECT_EQ(f.window.lastPopup()[1].caption, "&Go to cause");
    EXPECT_EQ(f.window.lastPopup()[2].caption, "&Where used");
    f.choose(MenuCommand::CellGoToCause);
    EXPECT_EQ(f.selected(), f.place("Prices", 2, 3));
}

// A right press on a chart after a cell was selected offers the chart's
// menu, not the cell's.
TEST(GoToCause, TheCellMenuIsOnlyOfferedOverTheSelectedGrid) {
    ExplainFixture f("optimized(10,10) result(Prices);\noptimized(10,300) chart(Prices);\n");
    f.clickCell(0, f.place("Prices", 3, 3));
    toolkit::Rect chart = f.frames[1]->bounds();
    f.mouse(toolkit::MouseKind::RightPress,
            {chart.x + chart.width / 2, chart.y + chart.height / 2});
    ASSERT_EQ(f.window.lastPopup().size(), 1u);
    EXPECT_EQ(f.window.lastPopup()[0].caption, "&Export chart...");
}

// The explain view's lines, the tree's shown by depth with dots.
std::vector<std::string> viewLines(const ExplainEditable& view) {
    std::vector<std::string> lines;
    for (std::int32_t line = 0; line < view.lineCount(); ++line) {
        std::string text = view.lineText(line);
        ExplainEditable::LineInfo info = view.lineInfo(line);
        if (info.kind == ExplainEditable::LineKind::Precedent)
            text = std::string(static_cast<std::size_t>(view.tree().line(info.index).depth), '.') +
                   text;
        lines.push_back(text);
    }
    return lines;
}

struct ViewFixture : ExplainFixture {
    ViewFixture()
        : ExplainFixture(
              "optimized(10,10) result(Prices);\noptimized(10,300) result(Report);\n"
              "optimized(10,420) explain();\n") {}
    ExplainEditable& view() const { return *cast<ExplainEditable>(frames[2]->view()); }
    // The box of a tree line, through the window.
    toolkit::Point boxPoint(std::int32_t line) {
        layout();
        toolkit::Rect box = view().boxRect(line);
        toolkit::Point shift = view().layoutPoint({0, 0});
        return {box.x + box.width / 2 - shift.x, box.y + box.height / 2 - shift.y};
    }
    // A line of the view, through the window.
    toolkit::Point linePoint(std::int32_t line, std::int32_t x = 60) {
        layout();
        toolkit::Rect row = view().lineRect(line);
        toolkit::Point shift = view().layoutPoint({0, 0});
        return {row.x + x - shift.x, row.y + row.height / 2 - shift.y};
    }
};

TEST(ExplainView, FollowsTheSelectionWithPrecedentsAndDependents) {
    ViewFixture f;
    EXPECT_EQ(viewLines(f.view()),
              (std::vector<std::string>{"Select a cell of a table to explain it."}));
    f.clickCell(0, f.place("Prices", 3, 4));
    EXPECT_EQ(viewLines(f.view()),
              (std::vector<std::string>{
                  "Prices[4].total",
                  "Formula: rate * 2",
                  "Value: 4",
                  "Read the cells",
                  "Prices[4].rate | if qty = 1 then nosuch(1) else price / qty | 2",
                  "Read by 1 cell",
                  "Prices[sum].total |  | inf",
              }));
    // Unfolding a precedent asks for its own precedents; folding drops them.
    f.click(f.boxPoint(4));
    EXPECT_EQ(viewLines(f.view()),
              (std::vector<std::string>{
                  "Prices[4].total",
                  "Formula: rate * 2",
                  "Value: 4",
                  "Read the cells",
                  "Prices[4].rate | if qty = 1 then nosuch(1) else price / qty | 2",
                  ".Prices[4].qty | price - 2 | 2",
                  ".Prices[4].price | range 1 to 4 | 4",
                  "Read by 1 cell",
                  "Prices[sum].total |  | inf",
              }));
    // The click selected the view: its keys fold, move and unfold.
    EXPECT_EQ(f.view().currentLine(), 4);
    f.key(key::kLeft);
    EXPECT_EQ(f.view().lineCount(), 7);
    f.key(key::kRight);
    EXPECT_EQ(f.view().lineCount(), 9);
    f.key(key::kDown);
    EXPECT_EQ(f.view().currentLine(), 5);
    f.key(key::kLeft);
    EXPECT_EQ(f.view().currentLine(), 4);
    f.key(key::kCharacter, " ");
    EXPECT_EQ(f.view().lineCount(), 7);
    // Selecting a cell read by Report lists it as a dependent (Report.t
    // reads the same cell in every row: its formula row stands for them).
    f.clickCell(0, f.place("Prices", 3, 3));
    std::vector<std::string> lines = viewLines(f.view());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[lines.size() - 3], "Read by 2 cells");
    EXPECT_EQ(lines[lines.size() - 2], "Prices[sum].total |  | inf");
    EXPECT_EQ(lines.back(), "Report.t | Prices[3].total | depends on cell that contain error");
}

TEST(ExplainView, AnErrorOpensOnThePathToItsOrigin) {
    ViewFixture f;
    f.clickCell(1, f.place("Report", 1, 1));
    std::vector<std::string> lines = viewLines(f.view());
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[3], "caused by Prices[3].rate: func unknown");
    EXPECT_EQ(lines[5], "Prices[3].total | rate * 2 | depends on cell that contain error");
    EXPECT_EQ(lines[6],
              ".Prices[3].rate | if qty = 1 then nosuch(1) else price / qty | func unknown");
    EXPECT_EQ(f.view().currentLine(), 6);
}

TEST(ExplainView, ADoubleClickOrEnterGoesToTheLinesCell) {
    struct Case {
        const char* what;
        bool enter;
    };
    for (const Case& c : {Case{"double click", false}, Case{"enter", true}}) {
        SCOPED_TRACE(c.what);
        ViewFixture f;
        f.clickCell(1, f.place("Report", 1, 1));
        std::int32_t origin = f.view().currentLine();
        if (c.enter) {
            f.click(f.linePoint(origin));
            f.key(key::kEnter);
        } else {
            f.doubleClick(f.linePoint(origin));
        }
        EXPECT_EQ(f.selected(), f.place("Prices", 2, 3));
        // The view follows to the cell it went to.
        EXPECT_EQ(f.view().tree().subject().place, f.place("Prices", 2, 3));
    }
}

TEST(ExplainView, GoToCauseInTheViewGoesToTheCauseOfTheCellItExplains) {
    ViewFixture f;
    f.clickCell(1, f.place("Report", 1, 1));
    f.click(f.linePoint(0));
    ASSERT_EQ(f.panel->support().selected().object(), &f.view());
    f.choose(MenuCommand::GoToCause);
    EXPECT_EQ(f.selected(), f.place("Prices", 2, 3));
}

TEST(ExplainView, TheAddMenuAndTheCellMenuOpenOneOnTheSelectedCell) {
    ExplainFixture f("optimized(10,10) result(Prices);\n");
    f.clickCell(0, f.place("Prices", 3, 4));
    f.choose(MenuCommand::CellExplain);
    ASSERT_EQ(f.root().frameCount(), 2);
    auto view = cast<ExplainEditable>(f.frame(1)->view());
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(view->tree().subject().place, f.place("Prices", 3, 4));
    // The cell menu adds none beside one already there; the Add menu does.
    f.clickCell(0, f.place("Prices", 3, 3));
    f.choose(MenuCommand::CellExplain);
    EXPECT_EQ(f.root().frameCount(), 2);
    f.choose(MenuCommand::Explain);
    EXPECT_EQ(f.root().frameCount(), 3);
    EXPECT_NE(f.layoutText().find("explain();\n"), std::string::npos);
}

TEST(ExplainView, ItsDirectiveReadsAndWritesBackUnchanged) {
    const std::string layouts[] = {
        "optimized(600,10) explain();\n",
        "maximized ltable{\n    lrow{\n        explain();\n        properties();\n    }\n}\n",
    };
    for (const std::string& layout : layouts) {
        SCOPED_TRACE(layout);
        ExplainFixture f(layout);
        EXPECT_EQ(f.layoutText(), layout);
    }
}

}  // namespace
}  // namespace qv
