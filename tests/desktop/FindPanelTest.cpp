// Find and replace in the desktop program: the panel opened by the Edit
// menu's items (Ctrl+F, Ctrl+H), typed into, stepped through with F3 and
// Shift+F3 (each result selecting its cell in a grid or its text in a text
// area), replacing one match and all of them as one undoable step each,
// and the panel never written into the document.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/ValueConversions.h"
#include "editing/TextEditable.h"
#include "tests/desktop/PanelTestSupport.h"
#include "views/ResultEditable.h"
#include "views/TableEditable.h"

namespace qv {
namespace {

using test::centre;
using test::PanelFixture;
namespace key = toolkit::key;

constexpr std::string_view kDocument =
    "table Fruit{\n    item~name:=\"\"!\n    net:=0!\n    gross:=net*1.25!\n"
    "    <1>:={item~name:=apple,net:=10,}\n    <2>:={item~name:=pear,net:=12.5,}\n}\n"
    "optimized(10,10) result(Fruit);\n"
    "optimized(10,300) text(\"pear prices rise by 1.25\");\n";

struct FindFixture : PanelFixture {
    FindFixture() {
        startOn("find.qvl", kDocument);
        original = document();
    }
    FindPanel& find() const { return panel->findPanel(); }
    std::string selected() const {
        if (auto area = cast<TextEditable>(support().selected()); !area.isNull()) {
            auto [from, to] = area->selectionRange();
            return "text " + std::to_string(from) + "-" + std::to_string(to);
        }
        std::optional<CellPlace> cell = panel->selectedCell();
        if (!cell) return "nothing";
        return "cell " + std::to_string(cell->table) + "." + std::to_string(cell->field) + "[" +
               std::to_string(cell->row) + "]";
    }
    void clickOn(FindPanel::Control control) {
        layout();
        click(centre(find().controlRect(control)));
    }
    std::string value(std::string_view field, std::int32_t row) const {
        Pointer<TableResult> table = panel->kernel()->getTableByName("Fruit");
        return toText(table->value(table->resolved()->fieldIndexOf(field), row))->toStdString();
    }
    std::string original;
};

TEST(FindPanel, OpensFromTheEditMenuAndStepsThroughTheResults) {
    FindFixture f;
    const toolkit::MenuItem& edit = f.window.menuBar()[1];
    std::vector<std::string> shortcuts;
    for (const toolkit::MenuItem& item : edit.items)
        shortcuts.push_back(item.caption + " " + item.shortcut);
    for (const char* expected :
         {"&Find... Ctrl+F", "&Replace... Ctrl+H", "Find &next F3", "Find pre&vious Shift+F3"}) {
        EXPECT_NE(std::find(shortcuts.begin(), shortcuts.end(), expected), shortcuts.end())
            << expected;
    }

    f.choose(MenuCommand::Find);
    ASSERT_TRUE(f.find().isOpen());
    EXPECT_FALSE(f.find().isReplacing());
    EXPECT_TRUE(f.find().hasKeyboard());
    f.type("pearx");
    f.key(key::kBackspace);
    EXPECT_EQ(f.find().query(), "pear");
    f.key(key::kEnter);
    EXPECT_EQ(f.find().statusText(), "3 found");
    // Enter shows the first result: the override that names row 2.
    const struct {
        MenuCommand command;
        std::int32_t current;
        const char* selected;
    } steps[] = {
        {MenuCommand::FindNext, 1, "cell 0.0[2]"},  // the row's name in the grid
        {MenuCommand::FindNext, 2, "text 0-4"},     // the text area's first word
        {MenuCommand::FindNext, 0, "cell 0.0[2]"},  // round to the first again
        {MenuCommand::FindPrevious, 2, "text 0-4"},
    };
    EXPECT_EQ(f.find().current(), 0);
    EXPECT_EQ(f.selected(), "cell 0.0[2]");
    for (const auto& step : steps) {
        f.choose(step.command);
        EXPECT_EQ(f.find().current(), step.current);
        EXPECT_EQ(f.selected(), step.selected);
    }
    // Up and Down in the panel step as well.
    f.key(key::kDown);
    EXPECT_EQ(f.find().current(), 0);
    f.key(key::kUp);
    EXPECT_EQ(f.find().current(), 2);
    // Nothing of it is in the document, and nothing was done to undo.
    EXPECT_EQ(f.document(), f.original);
    EXPECT_EQ(f.commands().undoCount(), 0);
    f.key(key::kEscape);
    EXPECT_FALSE(f.find().isOpen());
}

// The keys typed into the panel stay there: the grid under it sees none.
TEST(FindPanel, TypingGoesToTheFieldsUntilAPressElsewhere) {
    FindFixture f;
    f.choose(MenuCommand::Replace);
    ASSERT_TRUE(f.find().isReplacing());
    f.type("net");
    f.key(key::kTab);
    f.type("cost");
    f.key(key::kHome);
    f.key(key::kDelete);
    EXPECT_EQ(f.find().query(), "net");
    EXPECT_EQ(f.find().replacement(), "ost");
    EXPECT_EQ(f.document(), f.original);
    // A press in the work area gives it the keyboard back.
    f.click({20, f.window.size().height - 20});
    EXPECT_FALSE(f.find().hasKeyboard());
    EXPECT_TRUE(f.find().isOpen());
    // The options and the scope are the panel's own.
    f.choose(MenuCommand::Find);
    f.clickOn(FindPanel::Control::MatchCase);
    f.clickOn(FindPanel::Control::RegularExpression);
    f.clickOn(FindPanel::Control::Scope);
    EXPECT_TRUE(f.find().options().matchCase);
    EXPECT_FALSE(f.find().options().wholeWord);
    EXPECT_TRUE(f.find().options().regularExpression);
    EXPECT_EQ(f.find().scope(), FindScope::Kind::Table);
}

TEST(FindPanel, SaysWhatItCannotSearch) {
    const struct {
        const char* query;
        bool regex;
        FindScope::Kind scope;
        const char* status;
    } rows[] = {
        {"(pe", true, FindScope::Kind::Model, "invalid regular expression: missing ) at 4"},
        {"pear", false, FindScope::Kind::Selection, "Select a cell of a table first"},
        {"zebra", false, FindScope::Kind::Model, "0 found"},
    };
    for (const auto& row : rows) {
        FindFixture f;
        f.choose(MenuCommand::Find);
        f.type(row.query);
        if (row.regex) f.clickOn(FindPanel::Control::RegularExpression);
        f.find().setScope(row.scope);
        f.key(key::kEnter);
        EXPECT_EQ(f.find().statusText(), row.status) << row.query;
    }
}

// Replace the current match, and replace all: each one step, the document
// modified, undo giving back the document byte for byte.
TEST(FindPanel, ReplacesOneAndAllAsOneUndoableStepEach) {
    const struct {
        const char* query;
        const char* replacement;
        FindPanel::Control button;
        std::vector<std::string> written;  // parts of the document after
        const char* gross1;                // Fruit[1].gross after
    } rows[] = {
        {"1.25", "1.5", FindPanel::Control::ReplaceAll, {"gross:=net*1.5!", "rise by 1.5\""}, "15"},
        {"1.25", "2", FindPanel::Control::Replace, {"gross:=net*2!", "rise by 1.25\""}, "20"},
        {"pear",
         "plum",
         FindPanel::Control::Replace,
         {"item~name:=plum,", "text(\"pear prices"},
         "12.5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.query);
        FindFixture f;
        f.choose(MenuCommand::Replace);
        f.type(row.query);
        f.key(key::kEnter);
        f.key(key::kTab);
        f.type(row.replacement);
        f.clickOn(row.button);
        std::string after = f.document();
        for (const std::string& part : row.written)
            EXPECT_NE(after.find(part), std::string::npos) << after;
        EXPECT_EQ(f.value("gross", 1), row.gross1);
        EXPECT_EQ(f.commands().undoCount(), 1);
        EXPECT_TRUE(f.panel->flow().isModified());
        f.choose(MenuCommand::Find);
        f.key(key::kUndo);
        EXPECT_EQ(f.document(), f.original);
        EXPECT_EQ(f.value("gross", 1), "12.5");
        EXPECT_FALSE(f.panel->flow().isModified());
        f.key(key::kRedo);
        EXPECT_EQ(f.document(), after);
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Replace all of a whole word that names a field or a row renames it as
// its cell would: after the preview (OK or Cancel) when the name is used,
// at once when only the name changes (the row pear); the
// uses the linker resolves change with it, the text area does not, the
// values stay, and undo gives the document back.
TEST(FindPanel, ReplacingAllOfAWholeNameRenamesIt) {
    const struct {
        const char* query;
        const char* replacement;
        bool previewed;
        std::vector<std::string> written;
    } rows[] = {
        {"net", "cost", true, {"cost:=0!", "gross:=cost*1.25!", "cost:=12.5,"}},
        {"pear", "plum", false, {"item~name:=plum,", "text(\"pear prices"}},
    };
    for (const auto& row : rows) {
        for (toolkit::Answer answer : {toolkit::Answer::Cancel, toolkit::Answer::Ok}) {
            if (!row.previewed && answer == toolkit::Answer::Cancel) continue;
            SCOPED_TRACE(std::string(row.query) +
                         (answer == toolkit::Answer::Ok ? ", OK" : ", Cancel"));
            FindFixture f;
            f.window.scriptAnswer(answer);
            f.choose(MenuCommand::Replace);
            f.type(row.query);
            f.clickOn(FindPanel::Control::WholeWord);
            f.clickOn(FindPanel::Control::Query);
            f.key(key::kTab);
            f.type(row.replacement);
            const std::size_t dialogs = f.window.dialogs().size();
            f.clickOn(FindPanel::Control::ReplaceAll);
            EXPECT_EQ(f.window.dialogs().size(), dialogs + (row.previewed ? 1 : 0));
            if (answer == toolkit::Answer::Cancel) {
                EXPECT_EQ(f.document(), f.original);
                EXPECT_EQ(f.commands().undoCount(), 0);
                continue;
            }
            std::string after = f.document();
            for (const std::string& part : row.written)
                EXPECT_NE(after.find(part), std::string::npos) << after;
            EXPECT_EQ(f.value("gross", 2), "15.625");
            EXPECT_EQ(f.commands().undoCount(), 1);
            f.key(key::kUndo);
            EXPECT_EQ(f.document(), f.original);
        }
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// A search longer than a slice goes on with the window's timer and shows
// its Stop, which ends it with what it found so far.
TEST(FindPanel, ASearchGoesOnWithTheTimerAndStops) {
    // A "b" then many a's: the pattern's threads walk the whole text.
    const std::string text = "b" + std::string(3000000, 'a');
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "to the end");
        PanelFixture f;
        f.startOn("long.qvl", "table T{ x:=1! }\noptimized(10,10) text(\"" + text + "\");\n");
        FindPanel& find = f.panel->findPanel();
        f.choose(MenuCommand::Find);
        f.type("b(a*)*b");
        f.layout();
        f.click(centre(find.controlRect(FindPanel::Control::RegularExpression)));
        f.key(key::kEnter);
        ASSERT_TRUE(find.isSearching());
        EXPECT_EQ(find.statusText().substr(0, 13), "Searching... ");
        ASSERT_FALSE(find.controlRect(FindPanel::Control::Stop).isEmpty());
        if (stop) {
            f.click(centre(find.controlRect(FindPanel::Control::Stop)));
            EXPECT_FALSE(find.isSearching());
            EXPECT_EQ(find.statusText(), "0 found (stopped)");
            continue;
        }
        std::int32_t ticks = 0;
        while (find.isSearching() && ticks < 1000) {
            f.panel->timer(FindPanel::kTimerId);
            ++ticks;
        }
        EXPECT_GT(ticks, 0);
        EXPECT_EQ(find.statusText(), "0 found");
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// The list of results scrolls with the wheel over the panel, within the
// results; stepping still brings the current one into the list.
TEST(FindPanel, TheWheelScrollsTheListOfResults) {
    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "pear ";
    PanelFixture f;
    f.startOn("many.qvl", "table T{a:=1!}\noptimized(10,10) text(\"" + words + "\");\n");
    FindPanel& find = f.panel->findPanel();
    f.choose(MenuCommand::Find);
    f.type("pear");
    f.key(key::kEnter);
    ASSERT_EQ(find.statusText(), "30 found");
    f.layout();
    const toolkit::Point over = centre(find.controlRect(FindPanel::Control::List));
    struct Step {
        std::int32_t steps;
        std::int32_t firstLine;
    };
    // A step of the wheel is three lines; the last result stays at the bottom.
    for (const Step& step : {Step{-1, 3}, Step{-2, 9}, Step{-100, 20}, Step{1, 17}, Step{100, 0}}) {
        f.panel->wheel(step.steps, over, 0);
        EXPECT_EQ(find.firstLine(), step.firstLine) << step.steps;
    }
    // Outside the panel the wheel is the work area's.
    f.panel->wheel(-1, {20, f.window.size().height - 20}, 0);
    EXPECT_EQ(find.firstLine(), 0);
    f.choose(MenuCommand::FindPrevious);
    EXPECT_EQ(find.current(), 29);
    EXPECT_EQ(find.firstLine(), 20);
}

// The query field keeps the habits of a text field: a drag selects, Shift
// and the arrows select, Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V work with the
// window's clipboard, and opening the panel again selects the last query.
TEST(FindPanel, TheFieldsSelectCutCopyAndPaste) {
    FindFixture f;
    FindPanel& find = f.find();
    f.choose(MenuCommand::Find);
    f.type("net gross");
    f.layout();
    const toolkit::Rect field = find.controlRect(FindPanel::Control::Query);
    const std::int32_t middle = field.y + field.height / 2;
    // From before the first character to far right of the text.
    f.press({field.x + 2, middle});
    f.dragTo({field.x + 60, middle});
    f.dragTo({field.right() + 40, middle});  // the drag goes on outside the field
    f.releaseAt({field.right() + 40, middle});
    EXPECT_EQ(find.queryField().selectedText(), "net gross");
    f.key(key::kCopy);
    EXPECT_EQ(f.window.clipboardText(), "net gross");
    f.key(key::kEnd);
    f.key(key::kLeft, {}, toolkit::modifier::kShift);
    f.key(key::kLeft, {}, toolkit::modifier::kShift);
    f.key(key::kCut);
    EXPECT_EQ(find.query(), "net gro");
    EXPECT_EQ(f.window.clipboardText(), "ss");
    f.key(key::kSelectAll);
    f.key(key::kPaste);
    EXPECT_EQ(find.query(), "ss");
    // A double click selects the word under it.
    f.mouse(toolkit::MouseKind::DoubleClick, {field.x + 6, middle});
    EXPECT_EQ(find.queryField().selectedText(), "ss");
    // Nothing of this reached the work area.
    EXPECT_EQ(f.document(), f.original);
    EXPECT_EQ(f.commands().undoCount(), 0);
    f.key(key::kEscape);
    f.choose(MenuCommand::Find);
    EXPECT_EQ(find.queryField().selectedText(), "ss");
    f.type("net");
    EXPECT_EQ(find.query(), "net");
    // A drag that Escape ended goes no further once the panel is back.
    f.press({field.x + 2, middle});
    f.key(key::kEscape);
    f.choose(MenuCommand::Find);
    f.dragTo({field.x + 14, middle});  // inside "net"
    EXPECT_EQ(find.queryField().selectedText(), "net");
}

// A match far down a long text area is brought into sight when stepped to:
// the work area scrolls to it, and the caret stands at its end.
TEST(FindPanel, AMatchInATextAreaIsScrolledIntoSight) {
    std::string lines;
    for (int i = 0; i < 120; ++i)
        lines += i == 100 ? "the plum line\\n" : "line\\n";
    PanelFixture f;
    f.window.resize({500, 400});
    f.startOn("long.qvl", "table T{a:=1!}\noptimized(10,10) text(\"" + lines + "\");\n");
    f.layout();
    const WorkAreaScroll& scrolling = f.root().scrolling();
    ASSERT_EQ(scrolling.offset(), (toolkit::Point{0, 0}));
    f.choose(MenuCommand::Find);
    f.type("plum");
    f.key(key::kEnter);
    ASSERT_EQ(f.panel->findPanel().statusText(), "1 found");
    f.layout();
    auto area = cast<TextEditable>(f.support().selected());
    ASSERT_FALSE(area.isNull());
    EXPECT_EQ(area->selectedText(), "plum");
    EXPECT_EQ(area->caret(), area->selectionRange().second);
    // Line 100 of the 121 the area's lines fill evenly.
    const toolkit::Rect box = area->bounds();
    const toolkit::Point inside = area->layoutPoint({0, 0});
    toolkit::Point seen{box.x + 10 - inside.x - scrolling.offset().x,
                        box.y + box.height * 100 / 121 - inside.y - scrolling.offset().y};
    EXPECT_GT(scrolling.offset().y, 0);
    EXPECT_TRUE(f.support().visibleArea().contains(seen))
        << seen.x << "," << seen.y << " offset " << scrolling.offset().y;
}

}  // namespace
}  // namespace qv
