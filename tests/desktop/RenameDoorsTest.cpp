// Renaming from the other doors to a name: an inherited field's header cell
// in the grid of the table that extends its base, the properties view's
// name lines, and F2 on a line of the project view's tree. Each door goes
// through the same preview as a grid's name cell: OK renames every use as
// one undoable step that gives the document back byte for byte, Cancel and
// refusals change nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/desktop/NameEditTestSupport.h"
#include "views/NameProperties.h"
#include "views/PropertiesEditable.h"

namespace qv {
namespace {

using toolkit::Answer;
namespace key = toolkit::key;

// Base.qty is inherited by Ext (which names it again, with no formula of
// its own) and by Other (which does not name it); Ext.extra, Base.price and
// Report.total use it. Frames: 0 Base, 1 Ext, 2 Other, 3 the project view,
// 4 the properties view, 5 a text area.
constexpr std::string_view kFamily =
    "table Base{ qty:=range 1 to 3! price:=qty*2! }\n"
    "table Ext extends Base{ qty:=! extra:=qty+1! }\n"
    "table Other extends Base{ }\n"
    "table Report{ n:=range 1 to 1! total:=Ext[2].extra + Other[3].qty + Base[1].price! }\n"
    "optimized(10,10) result(Base);\n"
    "optimized(10,200) result(Ext);\n"
    "optimized(10,400) result(Other);\n"
    "optimized(500,10) project(Report);\n"
    "optimized(500,330) properties();\n"
    "optimized(500,640) text(\"note\");\n";

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The fixture keeps the views as they stand at first: clicks raise frames.
struct DoorsFixture : test::NamesFixture {
    DoorsFixture() : NamesFixture(kFamily) {
        for (std::int32_t index = 0; index < root().frameCount(); ++index) {
            frames.push_back(frame(index));
            views.push_back(frame(index)->view());
        }
    }
    // A point inside one of the first frames, wherever it stands now.
    toolkit::Point insideView(std::size_t view) const {
        return inside(root().indexOf(*frames[view]));
    }
    Pointer<TableEditable> tableList() const {
        return cast<TableEditable>(cast<ProjectEditable>(views[3])->tables()->innerView());
    }

    Pointer<TableEditable> gridOf(std::int32_t view) const {
        return cast<TableEditable>(cast<ResultEditable>(views[view])->innerView());
    }
    Pointer<TreeEditable> tree() const { return cast<ProjectEditable>(views[3])->tree(); }
    Pointer<PropertiesEditable> properties() const { return cast<PropertiesEditable>(views[4]); }

    // Clicks a grid position of an editable grid.
    void clickAt(const Pointer<TableEditable>& grid, std::int32_t column, std::int32_t row) {
        layout();
        grid->scrollTo(column, row);
        layout();
        toolkit::Rect rect = grid->cellRect(column, row);
        toolkit::Point shift = grid->layoutPoint({0, 0});
        click({rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
    }
    // Clicks the first cell of a result view's grid that passes `wanted`.
    bool clickIn(std::int32_t view, const test::CellTest& wanted) {
        Pointer<TableEditable> grid = gridOf(view);
        const Pointer<GridModel>& model = grid->model();
        for (std::int32_t row = 0; row < model->rowCount(); ++row) {
            for (std::int32_t column = 0; column < model->columnCount(); ++column) {
                if (!wanted(*model->createCell(column, row))) continue;
                clickAt(grid, column, row);
                return true;
            }
        }
        return false;
    }
    // The properties view's lines as "number caption value", one a line.
    std::vector<std::string> propertyLines() const {
        const Pointer<PropertiesTableModel>& model = properties()->model();
        std::vector<std::string> out;
        for (std::int32_t row = 1; row < model->rowCount(); ++row) {
            out.push_back(model->createCell(0, row)->text()->toStdString() + " " +
                          model->createCell(1, row)->text()->toStdString() + " " +
                          model->createCell(2, row)->text()->toStdString());
        }
        return out;
    }
    // Clicks the value of the properties view's line with `caption`.
    bool clickProperty(std::string_view caption) {
        const Pointer<PropertiesTableModel>& model = properties()->model();
        for (std::int32_t row = 1; row < model->rowCount(); ++row) {
            if (!model->createCell(1, row)->text()->equals(caption)) continue;
            clickAt(properties()->grid(), 2, row);
            return true;
        }
        return false;
    }
    // Clicks the tree's line that shows `text` (a table's, or a field's of
    // an expanded table).
    bool clickTreeLine(std::string_view text, std::int32_t depth) {
        layout();
        const std::vector<TreeNode>& lines = tree()->model()->lines();
        for (std::size_t line = 0; line < lines.size(); ++line) {
            if (lines[line].text != text || lines[line].depth != depth) continue;
            toolkit::Rect rect = tree()->lineRect(static_cast<std::int32_t>(line));
            toolkit::Point shift = tree()->layoutPoint({0, 0});
            click({rect.x + 60 - shift.x, rect.y + rect.height / 2 - shift.y});
            return true;
        }
        return false;
    }
    // Types over the text the formula bar holds, then Enter.
    void retype(std::string_view text) {
        key(key::kSelectAll);
        typeName(text);
    }

    std::string values() const {
        return value("Report", 1, 1) + " " + value("Ext", 2, 2) + " " + value("Base", 1, 3);
    }

    std::vector<Pointer<TitleDecorator>> frames;
    std::vector<Pointer<AbstractEditable>> views;
};

// A door opened on Ext.qty (or on the table Ext): what is clicked, and
// whether the name is then edited by F2 (typed over all of it) rather than
// by typing over the cell.
struct Door {
    const char* name;
    std::function<bool(DoorsFixture&)> open;
    bool byF2 = false;
};

// Opens the door, takes the document as it stands then (clicks raise
// frames), and types the new name; Enter is left to the caller.
// `steps`, when given, takes the undo count before the typing.
std::string openAndType(DoorsFixture& f, const Door& door, std::string_view typed,
                        std::int32_t* steps = nullptr) {
    EXPECT_TRUE(door.open(f));
    std::string before = f.document();
    if (steps != nullptr) *steps = f.undoCount();
    if (door.byF2) {
        f.key(key::kF2);
        f.key(key::kSelectAll);
    }
    f.type(typed);
    return before;
}

bool baseHeader(DoorsFixture& f) {
    return f.clickIn(0, test::fieldNameCell("qty"));
}
bool extendingHeader(DoorsFixture& f) {
    return f.clickIn(1, test::fieldNameCell("qty"));
}
// Other names no qty of its own: its grid shows the inherited field.
bool inheritingHeader(DoorsFixture& f) {
    return f.clickIn(2, test::fieldNameCell("qty"));
}

// A value of Ext.qty selected in its grid, then the field name line.
bool fieldProperty(DoorsFixture& f) {
    auto valueOfQty = [](CellModel& cell) {
        return is<ResultCell>(cell) && static_cast<ResultCell&>(cell).field() == 0 &&
               static_cast<ResultCell&>(cell).record() == 2;
    };
    return f.clickIn(1, valueOfQty) && f.clickProperty("field name");
}

bool tableProperty(DoorsFixture& f) {
    return f.clickIn(1, test::fieldNameCell("extra")) && f.clickProperty("table name");
}

// Ext's line, Right to expand it, its first field's line.
bool fieldNode(DoorsFixture& f) {
    if (!f.clickTreeLine("Ext", 0)) return false;
    f.key(key::kRight);
    return f.clickTreeLine("qty", 1);
}

bool tableNode(DoorsFixture& f) {
    return f.clickTreeLine("Ext", 0);
}

const Door kFieldDoors[] = {
    {"the header of the base table's grid", baseHeader},
    {"the header of the extending table's grid", extendingHeader},
    {"the header of a grid inheriting the field unnamed", inheritingHeader},
    {"the properties view's field name", fieldProperty},
    {"F2 on the tree's field line", fieldNode, true},
};

const Door kTableDoors[] = {
    {"the properties view's table name", tableProperty},
    {"F2 on the tree's table line", tableNode, true},
};

const std::string kFieldPreview =
    "3 formulas in 3 tables; the field is defined in 2 tables (a base table and those "
    "extending it), renamed in all.";

// The field renamed from any table of its family, by any door, gives one
// and the same document; undo gives back the first byte for byte.
TEST(RenameDoors, AFieldRenamedFromAnyDoorOfItsFamilyGivesOneDocument) {
    std::string first;
    for (const Door& door : kFieldDoors) {
        SCOPED_TRACE(door.name);
        DoorsFixture f;
        const std::string values = f.values();
        f.window.scriptAnswer(Answer::Ok);
        // The keystrokes go with the rename: one step undoes it.
        std::int32_t steps = 0;
        const std::string before = openAndType(f, door, "amount", &steps);
        f.panel->markSavedPosition();
        f.key(key::kEnter);
        EXPECT_TRUE(f.lastDialog().starts_with("confirm: Rename ")) << f.lastDialog();
        EXPECT_TRUE(f.lastDialog().ends_with(".qty to amount?\n\n" + kFieldPreview))
            << f.lastDialog();
        const std::string renamed = f.document();
        EXPECT_EQ(renamed, replaced(before, "qty", "amount"));
        // The same program from every door; the layout follows the clicks.
        const std::string program = renamed.substr(0, renamed.find("optimized"));
        if (first.empty()) first = program;
        EXPECT_EQ(program, first);
        EXPECT_EQ(f.values(), values);
        EXPECT_TRUE(f.modified());
        EXPECT_EQ(f.undoCount(), steps + 1);
        f.undo();
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.values(), values);
        EXPECT_FALSE(f.modified());
        f.redo();
        EXPECT_EQ(f.document(), renamed);
        EXPECT_TRUE(f.modified());
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

TEST(RenameDoors, ATableRenamedFromTheNewDoorsRenamesItsUsesAndViews) {
    for (const Door& door : kTableDoors) {
        SCOPED_TRACE(door.name);
        DoorsFixture f;
        const std::string values = f.values();
        f.window.scriptAnswer(Answer::Ok);
        std::int32_t steps = 0;
        const std::string before = openAndType(f, door, "Extra", &steps);
        f.panel->markSavedPosition();
        f.key(key::kEnter);
        EXPECT_EQ(f.lastDialog(), "confirm: Rename Ext to Extra?\n\n1 formula in 1 table, 1 view.");
        const std::string renamed = replaced(before, "Ext[", "Extra[");
        EXPECT_EQ(f.document(),
                  replaced(replaced(renamed, "table Ext ", "table Extra "), "(Ext)", "(Extra)"));
        EXPECT_EQ(f.value("Report", 1, 1), values.substr(0, values.find(' ')));
        EXPECT_TRUE(f.modified());
        EXPECT_EQ(f.undoCount(), steps + 1);
        f.undo();
        EXPECT_EQ(f.document(), before);
        EXPECT_FALSE(f.modified());
        f.redo();
        EXPECT_NE(f.document().find("table Extra extends Base"), std::string::npos);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

// Cancel in the preview, a name taken and a name that does not read: by
// every new door, nothing changes and nothing is added to the history.
TEST(RenameDoors, ACancelledOrRefusedRenameChangesNothingByAnyDoor) {
    struct Case {
        const char* what;
        const char* typed;
        std::vector<Answer> answers;
        std::string dialog;  // after "Rename " or "notice: " and the target
    };
    const std::string invalid =
        ": \"a]b\" is not a valid name: it may not be empty, begin or end with a blank, or hold "
        "], #, \" or control characters";
    const Case fieldCases[] = {
        {"cancelled", "amount", {Answer::Cancel}, ".qty to amount?\n\n" + kFieldPreview},
        {"taken", "extra", {}, ".qty: the name extra is taken in table Ext"},
        {"not valid", "a]b", {}, ".qty" + invalid},
    };
    const Case tableCases[] = {
        {"cancelled", "Extra", {Answer::Cancel}, "Ext to Extra?\n\n1 formula in 1 table, 1 view."},
        {"taken", "Report", {}, "Ext: the name Report is taken by another table"},
        {"not valid", "a]b", {}, "Ext" + invalid},
    };
    auto check = [](const Door& door, const Case& c) {
        SCOPED_TRACE(std::string(door.name) + ", " + c.what);
        DoorsFixture f;
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        const std::string before = openAndType(f, door, c.typed);
        f.panel->markSavedPosition();
        const std::int32_t steps = f.undoCount();
        const std::size_t dialogs = f.window.dialogs().size();
        f.key(key::kEnter);
        EXPECT_EQ(f.window.dialogs().size(), dialogs + 1);
        const std::string& dialog = f.lastDialog();
        EXPECT_TRUE(dialog.ends_with(c.dialog)) << dialog;
        EXPECT_TRUE(dialog.starts_with(c.answers.empty() ? "notice: " : "confirm: Rename "))
            << dialog;
        EXPECT_EQ(f.document(), before);
        EXPECT_FALSE(f.modified());
        EXPECT_EQ(f.undoCount(), steps);
    };
    for (const Door& door : kFieldDoors) {
        for (const Case& c : fieldCases)
            check(door, c);
    }
    for (const Door& door : kTableDoors) {
        for (const Case& c : tableCases)
            check(door, c);
    }
}

// The name lines follow the flags, numbered on from them; the flags keep
// their count. A selection that is no grid of a program table shows none.
TEST(RenameDoors, ThePropertiesViewShowsNameLinesOnlyForAGridOfAProgramTable) {
    DoorsFixture f;
    ASSERT_TRUE(f.clickIn(1, test::fieldNameCell("extra")));
    std::vector<std::string> lines = f.propertyLines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[8], "8 show_sum_row true");
    EXPECT_EQ(lines[9], "9 table name Ext");
    EXPECT_EQ(lines[10], "10 field name extra");
    EXPECT_EQ(f.properties()->model()->properties()->propertyCount(), 9);
    // The field line follows the grid's selection.
    ASSERT_TRUE(f.clickIn(1, test::fieldNameCell("qty")));
    EXPECT_EQ(f.propertyLines().back(), "10 field name qty");
    // While a name is typed there (in the formula bar, which has the
    // keyboard), the view keeps the lines it shows and the typed text.
    ASSERT_TRUE(f.clickProperty("field name"));
    f.type("amount");
    EXPECT_EQ(f.properties()->model()->title()->toStdString(), "Table view properties");
    EXPECT_EQ(f.properties()->grid()->typing(), std::optional<std::string>("amount"));
    EXPECT_EQ(f.propertyLines().back(), "10 field name qty");
    f.key(key::kEscape);
    EXPECT_EQ(f.properties()->grid()->typing(), std::nullopt);
    EXPECT_EQ(f.propertyLines().back(), "10 field name qty");
    // A position of no field (the line for a new field) names the table
    // only, and its empty field line takes no edit.
    ASSERT_TRUE(f.clickIn(1, [](CellModel& cell) {
        return is<EmptyCell>(cell) && static_cast<EmptyCell&>(cell).field() < 0;
    }));
    EXPECT_EQ(f.propertyLines().back(), "10 field name ");
    EXPECT_FALSE(f.properties()->model()->createCell(2, 11)->isEditable());

    struct Step {
        const char* what;
        std::function<void()> select;
        const char* title;
        const char* names;  // the last two lines, or "" where there are none
    };
    const Step steps[] = {
        {"the grid of Base", [&] { f.clickIn(0, test::fieldNameCell("price")); },
         "Table view properties", "9 table name Base|10 field name price"},
        {"the list of tables", [&] { f.clickAt(f.tableList(), 1, 1); }, "Document properties", ""},
        {"the tree", [&] { f.clickTreeLine("Base", 0); }, "Document properties", ""},
        {"a text area", [&] { f.click(f.insideView(5)); }, "Document properties", ""},
        {"the empty work area",
         [&] {
             f.click({1000, 20});
         },
         "Document properties", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.select();
        EXPECT_EQ(f.properties()->model()->title()->toStdString(), step.title);
        lines = f.propertyLines();
        std::string names;
        for (const std::string& line : lines) {
            if (line.find(" name ") != std::string::npos)
                names += (names.empty() ? "" : "|") + line;
        }
        EXPECT_EQ(names, step.names);
    }
}

// The field name line is the last: Enter keeps it selected, and once the
// preview is answered the formula line shows the new name, not the old.
TEST(RenameDoors, AfterARenameInThePropertiesViewTheFormulaLineShowsTheNewName) {
    for (Answer answer : {Answer::Ok, Answer::Cancel}) {
        SCOPED_TRACE(answer == Answer::Ok ? "OK" : "Cancel");
        DoorsFixture f;
        ASSERT_TRUE(fieldProperty(f));
        f.window.scriptAnswer(answer);
        f.typeName("amount");
        EXPECT_EQ(f.propertyLines().back(),
                  answer == Answer::Ok ? "10 field name amount" : "10 field name qty");
        EXPECT_EQ(std::string(f.panel->formulaBar()->field()->text()),
                  answer == Answer::Ok ? "amount" : "qty");
    }
}

// The properties view follows a click on a grid without taking the formula
// line: it keeps showing the cell clicked, whichever grid it is in.
TEST(RenameDoors, TheFormulaLineStaysWithTheCellClickedWhileThePropertiesFollow) {
    struct Case {
        const char* what;
        std::int32_t view;
        const char* field;
    };
    const Case cases[] = {
        {"the base table's header", 0, "qty"},
        {"the extending table's header", 1, "extra"},
        {"another table's header", 2, "price"},
        {"back to the first", 0, "price"},
    };
    DoorsFixture f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(f.clickIn(c.view, test::fieldNameCell(c.field)));
        EXPECT_EQ(f.properties()->model()->title()->toStdString(), "Table view properties");
        EXPECT_EQ(std::string(f.panel->formulaBar()->field()->text()), c.field);
    }
}

// Escape leaves the name as it was; so do Enter on the same name and on an
// empty one (a tree line never clears a name). Only a table's or a field's
// line is renamed: F2 on a row's line edits nothing.
TEST(RenameDoors, TheTreeRenamesOnlyTablesAndFieldsAndEscapeCancels) {
    struct Case {
        const char* what;
        const char* line;
        std::int32_t depth;
        bool edits;
        std::vector<std::int32_t> keys;  // after typing "Gone" over the name
        const char* typed;
    };
    const Case cases[] = {
        {"Escape", "Ext", 0, true, {key::kSelectAll}, "Gone"},
        {"the same name", "Ext", 0, true, {}, ""},
        {"an empty name", "qty", 1, true, {key::kSelectAll, key::kDelete}, ""},
        {"a row's line", "[1]", 1, false, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DoorsFixture f;
        ASSERT_TRUE(f.clickTreeLine("Ext", 0));
        f.key(key::kRight);
        ASSERT_TRUE(f.clickTreeLine(c.line, c.depth));
        const std::string before = f.document();
        const std::int32_t line = f.tree()->currentLine();
        f.key(key::kF2);
        EXPECT_EQ(f.tree()->renamedLine(), c.edits ? line : -1);
        EXPECT_EQ(f.panel->formulaBar()->editedCell().isNull(), !c.edits);
        if (!c.edits) continue;
        EXPECT_EQ(*f.tree()->typing(), c.line);
        for (std::int32_t code : c.keys)
            f.key(code);
        f.type(c.typed);
        const std::int32_t steps = f.undoCount();
        f.key(std::string_view(c.what) == "Escape" ? key::kEscape : key::kEnter);
        EXPECT_EQ(f.tree()->renamedLine(), -1);
        EXPECT_TRUE(f.panel->formulaBar()->editedCell().isNull());
        EXPECT_EQ(f.window.dialogs().size(), 0u);
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.undoCount(), steps);
    }
}

// While a line is renamed the tree paints the name as typed over it.
TEST(RenameDoors, TheTreeShowsTheNameAsItIsTyped) {
    DoorsFixture f;
    ASSERT_TRUE(f.clickTreeLine("Report", 0));
    f.key(key::kF2);
    f.type("Sum");
    std::vector<std::string> texts = f.window.paint().texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "ReportSum"), texts.end());
    f.key(key::kEscape);
    texts = f.window.paint().texts();
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "ReportSum"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Report"), texts.end());
}

// A field keeps its name in the tables that extend its base: clearing it
// there is refused at once, with no warning of uses first; in its base
// table the uses are listed before it goes.
TEST(RenameDoors, ClearingAnInheritedFieldsNameIsRefusedWithoutAWarning) {
    struct Case {
        const char* what;
        std::int32_t view;
        const char* dialog;
    };
    const Case cases[] = {
        {"the extending table", 1,
         "notice: can not modify this cell because it contain a field name that is defined in "
         "base table."},
        {"the inheriting table", 2,
         "notice: can not modify this cell because it contain a field name that is defined in "
         "base table."},
        {"the base table", 0,
         "confirm delete: 3 places use Base.qty: Base.price, Ext.extra, Report.total."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DoorsFixture f;
        ASSERT_TRUE(f.clickIn(c.view, test::fieldNameCell("qty")));
        const std::string before = f.document();
        f.window.scriptAnswer(Answer::Cancel);
        f.key(key::kDelete);
        EXPECT_TRUE(f.lastDialog().starts_with(c.dialog)) << f.lastDialog();
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.undoCount(), 0);
    }
}

}  // namespace
}  // namespace qv
