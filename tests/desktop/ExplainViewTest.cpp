// Explaining cells in the desktop program: the formula line shows the cause
// of a selected error, Go to cause selects the origin (opening a view of
// its table when none shows it), and the explain view shows a cell's
// precedents and dependents, unfolds them, opens an error on its path and
// goes to a line's cell; its directive reads and writes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "editing/FormulaValueEditable.h"
#include "model/ModelEditor.h"
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
    explicit ExplainFixture(std::string_view layout, std::string_view model = kModel) {
        startOn("explain.qvl", std::string(model) + std::string(layout));
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
        click(windowPoint(*shown, {rect.x + rect.width / 2, rect.y + rect.height / 2}));
    }
    // A point of an editable's layout where the window shows it.
    static toolkit::Point windowPoint(const AbstractEditable& editable, toolkit::Point at) {
        toolkit::Point shift = editable.layoutPoint({0, 0});
        return {at.x - shift.x, at.y - shift.y};
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

// The cause in the formula line is a link: a click on it goes where Go to
// cause goes (an origin that is the cell itself keeps it selected); the
// pointer over it is a hand. A click on the value before it places the
// caret in the line as anywhere else.
TEST(ExplainFormulaLine, AClickOnTheCauseGoesToItAndElsewhereEntersTheLine) {
    struct Case {
        const char* what;
        const char* layout;
        const char* fromTable;
        std::int32_t fromField;
        std::int32_t fromRow;
        bool onLink;
        const char* toTable;  // the selected cell after; "" for none
        std::int32_t toField;
        std::int32_t toRow;
    };
    const Case cases[] = {
        {"to the origin in a view opened for it", "optimized(10,10) result(Report);\n", "Report", 1,
         1, true, "Prices", 2, 3},
        {"the origin itself stays", "optimized(10,10) result(Prices);\n", "Prices", 2, 3, true,
         "Prices", 2, 3},
        {"round a cycle", "optimized(10,10) result(Loan);\n", "Loan", 1, 2, true, "Loan", 2, 2},
        {"on the value", "optimized(10,10) result(Report);\n", "Report", 1, 1, false, "", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExplainFixture f(c.layout);
        f.clickCell(0, f.place(c.fromTable, c.fromField, c.fromRow));
        const FormulaTextFieldEditable& field = *f.bar().field();
        toolkit::Rect link = field.linkRect();
        ASSERT_FALSE(link.isEmpty());
        std::string shown = f.barText();
        EXPECT_EQ(link.x, field.textX(static_cast<std::int32_t>(shown.find("; ") + 2)));
        toolkit::Point at = c.onLink ? toolkit::Point{link.x + 4, link.y + link.height / 2}
                                     : toolkit::Point{field.textX(1), link.y + link.height / 2};
        f.moveTo(at);
        EXPECT_EQ(f.window.cursor(),
                  c.onLink ? toolkit::CursorKind::PointingHand : toolkit::CursorKind::TextBeam);
        f.click(at);
        EXPECT_FALSE(f.bar().isEditingCell());
        if (*c.toTable == '\0') {
            EXPECT_EQ(f.panel->support().selected().object(), &field);
            EXPECT_EQ(f.barText(), shown);
            EXPECT_EQ(field.caret(), 1);
        } else {
            EXPECT_EQ(f.selected(), f.place(c.toTable, c.toField, c.toRow));
            EXPECT_TRUE(f.bar().field()->hasLink());
        }
    }
}

// The link is the cause as the line shows it: a plain cell, an edit or a
// typed change of the line has none.
TEST(ExplainFormulaLine, OnlyAShownCauseIsALink) {
    ExplainFixture f("optimized(10,10) result(Prices);\n");
    f.clickCell(0, f.place("Prices", 3, 4));
    EXPECT_FALSE(f.bar().field()->hasLink());
    f.clickCell(0, f.place("Prices", 3, 3));
    ASSERT_TRUE(f.bar().field()->hasLink());
    f.key(key::kF2);
    EXPECT_FALSE(f.bar().field()->hasLink());
    f.key(key::kEscape);
    ASSERT_TRUE(f.bar().field()->hasLink());
    // Into the line by a click on the value, then typing at its end.
    const FormulaTextFieldEditable& field = *f.bar().field();
    toolkit::Rect link = field.linkRect();
    f.click({field.textX(1), link.y + link.height / 2});
    f.key(key::kEnd);
    f.type("x");
    EXPECT_FALSE(field.hasLink());
    EXPECT_TRUE(field.linkRect().isEmpty());
}

// What the window draws: the value in the text's colour, the cause right
// after it, underlined in the accent colour below its baseline.
TEST(ExplainFormulaLine, DrawsTheCauseAsAnUnderlinedLinkAfterTheValue) {
    ExplainFixture f("optimized(10,10) result(Prices);\n");
    f.clickCell(0, f.place("Prices", 3, 3));
    const FormulaTextFieldEditable& field = *f.bar().field();
    std::int32_t start = static_cast<std::int32_t>(f.barText().find("caused"));
    std::int32_t end = static_cast<std::int32_t>(f.barText().size());
    std::int32_t baseline = field.bounds().y + TextBase::kPadding + 12;
    auto at = [](std::int32_t x, std::int32_t y) {
        return std::to_string(x) + "," + std::to_string(y) + " ";
    };
    const std::vector<std::string>& calls = f.window.paint().calls();
    auto drew = [&calls](const std::string& call) {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    };
    EXPECT_TRUE(
        drew("text " + at(field.textX(0), baseline) + "depends on cell that contain error; "));
    EXPECT_TRUE(drew("text " + at(field.textX(start), baseline) +
                     "caused by Prices[3].rate: func unknown"));
    EXPECT_TRUE(drew("line " + at(field.textX(start), baseline + 1) +
                     at(field.textX(end) - 1, baseline + 1) + "#2e5e91"));
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

TEST(GoToCause, AnOriginInAWhatIfOpensTheExplainViewOnTheCell) {
    const std::string model =
        "table Fees{ upto:=0! fee:=0! amount:=100; charged:=find(upto >= amount).fee! "
        "<1>:={1000,5} <2>:={2000,8} }\n"
        "table Quote{ amount:=range 500 to 2500 step 1000! fee:=Fees(amount:=amount)[1].charged! "
        "}\n";
    for (bool shownBefore : {false, true}) {
        SCOPED_TRACE(shownBefore ? "an explain view shown before" : "no explain view");
        ExplainFixture f(std::string("optimized(10,10) result(Quote);\n") +
                             (shownBefore ? "optimized(400,10) explain();\n" : ""),
                         model);
        CellPlace fee = f.place("Quote", 1, 3);
        f.clickCell(0, fee);
        std::string before = f.layoutText();
        f.choose(MenuCommand::GoToCause);
        std::string added = f.layoutText().substr(before.size());
        EXPECT_EQ(added.find("explain()") != std::string::npos, !shownBefore) << added;
        ASSERT_EQ(f.root().frameCount(), 2);
        Pointer<ExplainEditable> view;
        for (std::int32_t i = 0; i < 2 && view.isNull(); ++i)
            view = cast<ExplainEditable>(f.frame(i)->view());
        ASSERT_FALSE(view.isNull());
        // A view opened for it takes the selection, on the origin's line.
        if (shownBefore)
            EXPECT_EQ(f.selected(), fee);
        else
            EXPECT_EQ(f.panel->support().selected().object(), view.object());
        ASSERT_FALSE(view->tree().isEmpty());
        EXPECT_EQ(view->tree().subject().place, fee);
        EXPECT_EQ(view->tree().cause().origin.name->toStdString(),
                  "Fees(amount := amount)[1].charged");
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
    ASSERT_EQ(f.window.lastPopup().size(), 4u);
    EXPECT_EQ(f.window.lastPopup()[0].caption, "E&xplain");
    EXPECT_EQ(f.window.lastPopup()[1].caption, "&Go to cause");
    EXPECT_EQ(f.window.lastPopup()[2].caption, "&Where used");
    EXPECT_EQ(f.window.lastPopup()[3].caption, "Delete f&ield");
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
    // The middle of a tree line's box, through the window.
    toolkit::Point boxPoint(std::int32_t line) {
        layout();
        toolkit::Rect box = view().boxRect(line);
        return inWindow({box.x + box.width / 2, box.y + box.height / 2});
    }
    // A line of the view `x` pixels from its left, through the window.
    toolkit::Point linePoint(std::int32_t line, std::int32_t x = 60) {
        layout();
        toolkit::Rect row = view().lineRect(line);
        return inWindow({row.x + x, row.y + row.height / 2});
    }
    toolkit::Point inWindow(toolkit::Point inView) const { return windowPoint(view(), inView); }
};

TEST(ExplainView, FollowsTheSelectionWithPrecedentsAndDependents) {
    ViewFixture f;
    EXPECT_EQ(viewLines(f.view()),
              (std::vector<std::string>{"Select a cell of a table to explain it."}));
    // Prices[4].total's lines around the tree of its precedents as shown.
    auto totalLines = [](std::initializer_list<std::string> precedents) {
        std::vector<std::string> lines{"Prices[4].total", "Formula: rate * 2", "Value: 4",
                                       "Read the cells"};
        lines.insert(lines.end(), precedents);
        lines.insert(lines.end(), {"Read by 1 cell", "Prices[sum].total |  | inf"});
        return lines;
    };
    const std::string rate = "Prices[4].rate | if qty = 1 then nosuch(1) else price / qty | 2";
    f.clickCell(0, f.place("Prices", 3, 4));
    EXPECT_EQ(viewLines(f.view()), totalLines({rate}));
    // Unfolding a precedent asks for its own precedents; folding drops them.
    f.click(f.boxPoint(4));
    EXPECT_EQ(viewLines(f.view()), totalLines({rate, ".Prices[4].qty | price - 2 | 2",
                                               ".Prices[4].price | range 1 to 4 | 4"}));
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

// A header line wider than the view (a long formula) ends in the mark
// rather than being cut mid-character.
TEST(ExplainView, AHeaderLineTooWideEndsInAMark) {
    ExplainFixture f("maximized explain();\n");
    f.window.resize({320, 480});
    auto view = cast<ExplainEditable>(f.frames[0]->view());
    view->explain(f.place("Prices", 2, 3));
    ASSERT_EQ(view->lineText(1), "Formula: if qty = 1 then nosuch(1) else price / qty");
    std::vector<std::string> texts = f.window.paint().texts();
    auto formula = std::find_if(texts.begin(), texts.end(), [](const std::string& text) {
        return text.find("Formula: if qty") != std::string::npos;
    });
    ASSERT_NE(formula, texts.end());
    std::string shown = formula->substr(formula->find("Formula: "));
    EXPECT_TRUE(shown.ends_with("\u2026")) << shown;
    // 8 pixels a character: the text and its mark fit inside the padding.
    std::int32_t room = view->bounds().width - 2 * ExplainEditable::kPadding;
    EXPECT_LE(static_cast<std::int32_t>(shown.size() - 2) * 8, room);
}

// Every row of Big reads Src[1].v: past the view's bound of readers the
// list says that the search stopped early, in a last line that names no
// cell (keys pass over it).
TEST(ExplainView, TheReadersListSaysWhenTheSearchStoppedEarly) {
    struct Case {
        const char* rows;
        const char* heading;
        std::size_t listed;
        bool cut;
    };
    const Case cases[] = {
        {"20", "Read by 21 cells", 21, false},
        {"1500", "Read by 1000 or more cells", 1000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        std::string model = "table Src{ n:=range 1 to 1! v:=n * 2! }\ntable Big{ n:=range 1 to " +
                            std::string(c.rows) + "! x:=n + Src[1].v! }\n";
        ExplainFixture f("optimized(10,10) result(Src);\noptimized(10,200) explain();\n", model);
        f.clickCell(0, f.place("Src", 1, 1));
        auto view = cast<ExplainEditable>(f.frames[1]->view());
        std::vector<std::string> lines = viewLines(*view);
        auto heading = std::find(lines.begin(), lines.end(), c.heading);
        ASSERT_NE(heading, lines.end());
        std::size_t after = static_cast<std::size_t>(lines.end() - heading) - 1;
        EXPECT_EQ(after, c.listed + (c.cut ? 1 : 0));
        EXPECT_EQ(lines.back() == ExplainEditable::kMoreDependents, c.cut) << lines.back();
        // End selects the last reader, never the note.
        toolkit::Rect name = view->lineRect(0);
        f.click(f.windowPoint(*view, {name.x + 20, name.y + name.height / 2}));
        f.key(key::kEnd);
        EXPECT_EQ(view->lineInfo(view->currentLine()).kind, ExplainEditable::LineKind::Dependent);
        EXPECT_EQ(view->currentLine(), view->lineCount() - (c.cut ? 2 : 1));
    }
}

// In a frame that scrolls, End shows the last reader and the note below it.
TEST(ExplainView, TheNoteThatTheReadersListIsNotWholeComesIntoSightWithTheLastReader) {
    ExplainFixture f("maximized explain();\n",
                     "table Src{ n:=range 1 to 1! v:=n * 2! }\n"
                     "table Big{ n:=range 1 to 1500! x:=n + Src[1].v! }\n");
    auto view = cast<ExplainEditable>(f.frames[0]->view());
    view->explain(f.place("Src", 1, 1));
    ASSERT_TRUE(view->tree().dependentsCut());
    auto painted = [&f] {
        std::vector<std::string> texts = f.window.paint().texts();
        return std::find(texts.begin(), texts.end(), ExplainEditable::kMoreDependents) !=
               texts.end();
    };
    EXPECT_FALSE(painted());
    toolkit::Rect name = view->lineRect(0);
    f.click(f.windowPoint(*view, {name.x + 20, name.y + name.height / 2}));
    f.key(key::kEnd);
    EXPECT_EQ(view->currentLine(), view->lineCount() - 2);
    EXPECT_TRUE(painted());
}

// 1,000 readers in every kind of frame: the frame stays bounded and
// scrolls, by the wheel and to keep the current line in sight.
TEST(ExplainView, ScrollsInEveryKindOfFrame) {
    enum class Action { Wheel, End, DownPastTheBottom };
    struct Case {
        FramePlacement placement;
        Action action;
    };
    std::vector<Case> cases;
    for (FramePlacement placement :
         {FramePlacement::Optimized, FramePlacement::Floating, FramePlacement::Maximized}) {
        for (Action action : {Action::Wheel, Action::End, Action::DownPastTheBottom})
            cases.push_back({placement, action});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE("placement " + std::to_string(static_cast<int>(c.placement)) + " action " +
                     std::to_string(static_cast<int>(c.action)));
        ExplainFixture f("optimized(10,40) explain();\n",
                         "table Src{ n:=range 1 to 1! v:=n * 2! w:=n * 3! }\n"
                         "table Big{ n:=range 1 to 1500! x:=n + Src[1].v! y:=n + Src[1].w! }\n");
        // As the user changes it: by the title bar's buttons.
        f.layout();
        if (c.placement == FramePlacement::Floating) f.pressButton(f.frame(0), TitleButton::Float);
        if (c.placement == FramePlacement::Maximized)
            f.pressButton(f.frame(0), TitleButton::Maximize);
        Pointer<TitleDecorator> frame = f.frame(0);
        ASSERT_EQ(frame->placement(), c.placement);
        auto view = cast<ExplainEditable>(frame->view());
        view->explain(f.place("Src", 1, 1));
        f.layout();
        const ScrollDecorator& box = *frame->scroller();
        ASSERT_TRUE(box.hasVerticalBar());
        // An optimized frame asks room for kPreferredLines lines.
        if (c.placement == FramePlacement::Optimized) {
            EXPECT_EQ(box.bounds().height, view->tallestUnscrolled());
        }
        // The name column of a line, as painted, when it is in sight.
        auto inSight = [&](std::int32_t line) {
            std::string text = view->lineText(line);
            std::string name = text.substr(0, text.find(" | "));
            std::vector<std::string> texts = f.window.paint().texts();
            return std::find(texts.begin(), texts.end(), name) != texts.end();
        };
        ASSERT_TRUE(inSight(0));
        toolkit::Rect name = view->lineRect(0);
        f.click(f.windowPoint(*view, {name.x + 20, name.y + name.height / 2}));
        switch (c.action) {
            case Action::Wheel: {
                toolkit::Point middle = f.windowPoint(box, test::centre(box.viewport()));
                f.panel->wheel(-3, middle, 0);
                EXPECT_EQ(box.scrollOffset().y, 3 * ScrollDecorator::kWheelStep);
                EXPECT_FALSE(inSight(0));
                EXPECT_TRUE(inSight(view->lineAt({name.x + 20, name.y + box.scrollOffset().y})));
                break;
            }
            case Action::End:
                f.key(key::kEnd);
                EXPECT_EQ(view->currentLine(), view->lineCount() - 2);
                EXPECT_TRUE(inSight(view->currentLine()));
                EXPECT_FALSE(inSight(0));
                break;
            case Action::DownPastTheBottom: {
                std::int32_t shown = box.viewport().height / view->lineRect(0).height;
                for (std::int32_t step = 0; step < shown + 5; ++step)
                    f.key(key::kDown);
                EXPECT_GT(view->currentLine(), shown);
                EXPECT_TRUE(inSight(view->currentLine()));
                EXPECT_FALSE(inSight(0));
                break;
            }
        }
        // Another cell is read from its top.
        view->explain(f.place("Src", 2, 1));
        ASSERT_GT(view->lineCount(), 1000);
        f.layout();
        EXPECT_EQ(box.scrollOffset().y, 0);
        EXPECT_TRUE(inSight(0));
    }
}

// Chain.c1 reads c2, which reads c3, ... down to c40 (the origin when it
// calls a function that does not exist): its line lies far below the
// lines the view asks room for.
std::string chainModel(std::string_view last) {
    std::string model = "table Chain{ n:=range 1 to 1!";
    for (int field = 1; field < 40; ++field)
        model += " c" + std::to_string(field) + ":=c" + std::to_string(field + 1) + " + 1!";
    return model + " c40:=" + std::string(last) + "! }\n";
}

// However the view comes to the error's path, its own box scrolls the
// origin into sight; the work area stays where it was, even where its
// frame reaches past the window.
TEST(ExplainView, OpensWithTheOriginInSightWithoutMovingTheWorkArea) {
    enum class How { FollowingAClick, TheCellMenu, ReExplainedAfterAChange, Directly };
    struct Case {
        const char* what;
        How how;
        const char* layout;
        std::int32_t workAreaNotches;  // the work area scrolled down first
        bool drawn;                    // the frame shows whole in the window
    };
    const Case cases[] = {
        {"following a click", How::FollowingAClick,
         "optimized(10,10) result(Chain);\noptimized(400,10) explain();\n", 0, true},
        {"opened by the cell menu", How::TheCellMenu, "optimized(10,10) result(Chain);\n", 0, true},
        {"re-explained onto the path", How::ReExplainedAfterAChange,
         "optimized(10,10) result(Chain);\noptimized(400,10) explain();\n", 0, true},
        {"its frame reaches past the window", How::Directly,
         "optimized(10,10) result(Chain);\noptimized(400,600) explain();\n", 0, false},
        {"the work area scrolled", How::Directly,
         "optimized(10,10) result(Chain);\noptimized(400,600) explain();\n"
         "optimized(10,1200) text(\"far\");\n",
         1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bool plainFirst = c.how == How::ReExplainedAfterAChange;
        ExplainFixture f(c.layout, chainModel(plainFirst ? "1" : "nosuch(1)"));
        CellPlace first = f.place("Chain", 1, 1);
        f.layout();
        if (c.workAreaNotches > 0) f.panel->wheel(-c.workAreaNotches, {900, 700}, 0);
        toolkit::Point workArea = f.root().scrolling().offset();
        ASSERT_EQ(workArea.y, c.workAreaNotches * WorkAreaScroll::kWheelStep);
        if (c.how == How::Directly) {
            cast<ExplainEditable>(f.frames[1]->view())->explain(first);
        } else {
            f.clickCell(0, first);
        }
        if (c.how == How::TheCellMenu) f.choose(MenuCommand::CellExplain);
        if (plainFirst) {
            Kernel& kernel = *f.panel->kernel();
            make<ModelEditor>(kernel.program(), nullptr)
                ->setCellFormula(*kernel.getTableByName("Chain"), 40, 0, str("nosuch(1)"));
            f.panel->refreshViews();
        }
        f.layout();
        // The cell menu adds it on top.
        Pointer<TitleDecorator> frame =
            c.how == How::TheCellMenu ? f.frame(f.root().frameCount() - 1) : f.frames[1];
        auto view = cast<ExplainEditable>(frame->view());
        ASSERT_FALSE(view.isNull());
        std::int32_t origin = view->currentLine();
        ASSERT_GT(origin, ExplainEditable::kPreferredLines);
        ASSERT_TRUE(view->lineText(origin).ends_with("| func unknown")) << view->lineText(origin);
        const ScrollDecorator& box = *frame->scroller();
        toolkit::Rect line = view->lineRect(origin).translated(0, -box.scrollOffset().y);
        EXPECT_GE(line.y, box.viewport().y);
        EXPECT_LE(line.bottom(), box.viewport().bottom());
        std::vector<std::string> texts = f.window.paint().texts();
        EXPECT_EQ(std::find(texts.begin(), texts.end(), "func unknown") != texts.end(), c.drawn);
        EXPECT_EQ(f.root().scrolling().offset(), workArea);
        // Following the grid leaves the selection in it.
        if (c.how == How::FollowingAClick || c.how == How::ReExplainedAfterAChange) {
            EXPECT_EQ(f.selected(), first);
        }
    }
}

// A path deeper than the view is wide stops indenting: every name keeps
// its room and no fold box reaches into the formula column.
TEST(ExplainView, ADeepPathKeepsItsNamesInSight) {
    for (const char* layout : {"optimized(10,10) explain();\n", "maximized explain();\n"}) {
        SCOPED_TRACE(layout);
        ExplainFixture f(layout, chainModel("nosuch(1)"));
        auto view = cast<ExplainEditable>(f.frames[0]->view());
        view->explain(f.place("Chain", 1, 1));
        f.layout();
        std::int32_t formulaColumn = view->lineRect(0).x + view->lineRect(0).width * 46 / 100;
        std::int32_t deepest = 0;
        for (std::int32_t line = 0; line < view->lineCount(); ++line) {
            ExplainEditable::LineInfo info = view->lineInfo(line);
            if (info.kind != ExplainEditable::LineKind::Precedent) continue;
            deepest = std::max(deepest, view->tree().line(info.index).depth);
            EXPECT_LE(view->boxRect(line).right() + 6 + 80 + 8, formulaColumn) << line;
        }
        EXPECT_GE(deepest, 38);
        // The origin's name is drawn, whole.
        std::vector<std::string> texts = f.window.paint().texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Chain.c40"), texts.end());
        // A click on the box of the origin's reader, drawn where deep
        // lines stop indenting, folds it.
        std::int32_t reader = view->currentLine() - 1;
        std::int32_t index = view->lineInfo(reader).index;
        ASSERT_TRUE(view->tree().line(index).node->unfolded);
        toolkit::Rect box = view->boxRect(reader);
        f.click(f.windowPoint(*view, {box.x + box.width / 2, box.y + box.height / 2}));
        ASSERT_LT(index, view->tree().lineCount());
        EXPECT_FALSE(view->tree().line(index).node->unfolded);
        EXPECT_EQ(view->currentLine(), reader);
    }
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
