// Renaming in the desktop program: a new name typed into a field's header
// cell (detailed view), its name cell (heading view) or a table's name in
// the project view's list of tables renames every use after a preview, as
// one undoable step that gives the document back byte for byte; a refusal
// changes nothing; a name nothing uses changes without a preview.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/desktop/NameEditTestSupport.h"

namespace qv {
namespace {

using test::NamesFixture;
using toolkit::Answer;

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Door {
    const char* name;
    std::int32_t frame;
    test::CellTest cell;
};

const Door kFieldDoors[] = {
    {"the header cell of the detailed view", 0, test::fieldNameCell("qty")},
    {"the name cell of the heading view", 1, test::fieldNameCell("qty")},
};

TEST(RenameFlow, APreviewedRenameOfAFieldRewritesEveryUseAndUndoesByteForByte) {
    for (const Door& door : kFieldDoors) {
        SCOPED_TRACE(door.name);
        NamesFixture f;
        const std::string total = f.total();
        ASSERT_TRUE(f.clickCell(door.frame, door.cell));
        const std::string before = f.document();
        f.window.scriptAnswer(Answer::Ok);
        // The keystrokes go with the rename: one step undoes it.
        const std::int32_t steps = f.undoCount();
        f.type("amount");
        f.panel->markSavedPosition();
        f.key(toolkit::key::kEnter);
        EXPECT_EQ(f.lastDialog(),
                  "confirm: Rename Prices.qty to amount?\n\n2 formulas in 2 tables, 1 view.");
        const std::string renamed = replaced(before, "qty", "amount");
        EXPECT_EQ(f.document(), renamed);
        EXPECT_EQ(f.total(), total);
        EXPECT_TRUE(f.modified());
        EXPECT_EQ(f.undoCount(), steps + 1);
        f.undo();
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.total(), total);
        EXPECT_FALSE(f.modified());
        f.redo();
        EXPECT_EQ(f.document(), renamed);
        EXPECT_EQ(f.total(), total);
        EXPECT_EQ(f.window.unscriptedDialogs(), 0);
    }
}

TEST(RenameFlow, ATableRenamedInTheProjectViewRenamesItsUsesAndViews) {
    NamesFixture f;
    const std::string total = f.total();
    ASSERT_TRUE(f.clickCell(2, test::tableNameCell("Prices")));
    const std::string before = f.document();
    f.window.scriptAnswer(Answer::Ok);
    f.type("Costs");
    f.panel->markSavedPosition();
    f.key(toolkit::key::kEnter);
    EXPECT_EQ(f.lastDialog(), "confirm: Rename Prices to Costs?\n\n1 formula in 1 table, 3 views.");
    EXPECT_EQ(f.document(), replaced(before, "Prices", "Costs"));
    EXPECT_EQ(f.total(), total);
    EXPECT_TRUE(f.modified());
    f.undo();
    EXPECT_EQ(f.document(), before);
    EXPECT_FALSE(f.modified());
}

// A named row's name, typed over in its cell, renames the row's uses
// (a@v); a value that is no plain name is typed in as before.
TEST(RenameFlow, ARowNameTypedInItsCellRenamesTheRow) {
    constexpr std::string_view kRows =
        "table C{\n    ~name:=?!\n    v:=1!\n    w:=a@v+1!\n    <1>:={    ~name:=a,}\n}\n"
        "optimized(10,10) result(C);\n";
    auto nameOfRow = [](CellModel& cell) {
        return is<ResultCell>(cell) && cell.text()->equals("a");
    };
    {
        NamesFixture f(kRows);
        ASSERT_TRUE(f.clickCell(0, nameOfRow));
        const std::string before = f.document();
        f.window.scriptAnswer(Answer::Ok);
        f.typeName("first");
        EXPECT_EQ(f.lastDialog(), "confirm: Rename C[a] to first?\n\n1 formula in 1 table.");
        EXPECT_EQ(f.document(), replaced(replaced(before, "a@", "first@"), "=a,", "=first,"));
        EXPECT_EQ(f.value("C", 2, 1), "2");
        f.undo();
        EXPECT_EQ(f.document(), before);
    }
    {
        NamesFixture f(kRows);
        ASSERT_TRUE(f.clickCell(0, nameOfRow));
        const std::size_t dialogs = f.window.dialogs().size();
        f.typeName("=1+1");
        EXPECT_EQ(f.window.dialogs().size(), dialogs);
        EXPECT_NE(f.document().find("~name:=1+1,"), std::string::npos);
    }
}

// A row nothing uses is renamed at once, as a field nobody uses: its own
// name cell is the only change, and undo takes it back to the saved text.
TEST(RenameFlow, ARowNothingUsesIsRenamedWithoutAPreview) {
    NamesFixture f(
        "table C{\n    ~name:=?!\n    v:=1!\n    <1>:={    ~name:=a,}\n}\n"
        "optimized(10,10) result(C);\n");
    ASSERT_TRUE(f.clickCell(
        0, [](CellModel& cell) { return is<ResultCell>(cell) && cell.text()->equals("a"); }));
    const std::string before = f.document();
    const std::size_t dialogs = f.window.dialogs().size();
    f.typeName("first");
    EXPECT_EQ(f.window.dialogs().size(), dialogs);
    EXPECT_EQ(f.document(), replaced(before, "=a,", "=first,"));
    EXPECT_TRUE(f.modified());
    f.undo();
    EXPECT_EQ(f.document(), before);
    // The keystrokes in the formula bar that led to it are no change.
    EXPECT_FALSE(f.modified());
}

// Cancel in the preview, a name that is taken and a name that does not
// read: nothing changes, and nothing is added to the history.
TEST(RenameFlow, ACancelledOrRefusedRenameChangesNothing) {
    struct Case {
        const char* what;
        std::int32_t frame;
        test::CellTest cell;
        const char* typed;
        std::vector<Answer> answers;
        const char* dialog;
    };
    const Case cases[] = {
        {"cancelled in the preview",
         0,
         test::fieldNameCell("qty"),
         "amount",
         {Answer::Cancel},
         "confirm: Rename Prices.qty to amount?\n\n2 formulas in 2 tables, 1 view."},
        {"a field name taken",
         0,
         test::fieldNameCell("qty"),
         "price",
         {},
         "notice: Prices.qty: the name price is taken in table Prices"},
        {"a field name not valid",
         1,
         test::fieldNameCell("qty"),
         "a]b",
         {},
         "notice: Prices.qty: \"a]b\" is not a valid name: it may not be empty, begin or end "
         "with a blank, or hold ], #, \" or control characters"},
        {"a table name taken",
         2,
         test::tableNameCell("Prices"),
         "Report",
         {},
         "notice: Prices: the name Report is taken by another table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NamesFixture f;
        ASSERT_TRUE(f.clickCell(c.frame, c.cell));
        const std::string before = f.document();
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        f.type(c.typed);
        const std::int32_t typed = f.undoCount();
        f.key(toolkit::key::kEnter);
        EXPECT_EQ(f.lastDialog(), c.dialog);
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.undoCount(), typed);
    }
}

// A name that needs brackets may be typed with them or without; formulas
// get them either way.
TEST(RenameFlow, ANameThatNeedsBracketsGetsThemInFormulas) {
    for (const char* typed : {"unit count", "[unit count]"}) {
        SCOPED_TRACE(typed);
        NamesFixture f;
        ASSERT_TRUE(f.clickCell(0, test::fieldNameCell("qty")));
        const std::string before = f.document();
        f.window.scriptAnswer(Answer::Ok);
        f.typeName(typed);
        EXPECT_EQ(f.lastDialog(),
                  "confirm: Rename Prices.qty to unit count?\n\n2 formulas in 2 tables, 1 view.");
        // The writer sets a bracketed name's formula off by a blank.
        std::string expected = replaced(before, "qty:=", "[unit count]:= ");
        EXPECT_EQ(f.document(), replaced(expected, "qty", "[unit count]"));
    }
}

// A name nothing uses has nothing to preview: it changes at once, still as
// one step that undo takes back.
TEST(RenameFlow, ANameNothingUsesChangesWithoutAPreview) {
    NamesFixture f;
    f.panel->openResultView(str("Spare"));  // no view shows Spare yet
    ASSERT_TRUE(f.clickCell(f.root().frameCount() - 1, test::fieldNameCell("x")));
    const std::string before = f.document();
    const std::size_t dialogs = f.window.dialogs().size();
    const std::int32_t steps = f.undoCount();
    f.type("yy");
    f.key(toolkit::key::kEnter);
    EXPECT_EQ(f.window.dialogs().size(), dialogs);
    EXPECT_EQ(f.document(), replaced(before, "x:=", "yy:="));
    EXPECT_EQ(f.undoCount(), steps + 1);
    f.undo();
    EXPECT_EQ(f.document(), before);
}

}  // namespace
}  // namespace qv
