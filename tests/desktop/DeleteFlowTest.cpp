// Deleting a field or a table in the desktop program: from a grid's name
// cell, value cell or a list of tables, by the Edit menu, the cell's
// context menu or Ctrl+Delete. A target others use is warned about with
// the list of its uses first; Cancel changes nothing; Delete removes it as
// one undoable step that marks the document modified, the uses compute as
// a document that never had the target, and one undo gives the document
// back byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DocumentFile.h"
#include "tests/desktop/NameEditTestSupport.h"
#include "tests/kernel/ModelTestSupport.h"
#include "views/ErrorEditable.h"

namespace qv {
namespace {

using test::NamesFixture;
using toolkit::Answer;
namespace key = toolkit::key;

// Base.a is used by Base.b and inherited by Ext; Prices.qty by Prices,
// Report and a view; Prices.note and Empty by nothing; Spare by nothing
// but it holds data. Frames: 0 the detailed view of Prices, 1 the project
// view of Report (its list of tables), 2 the detailed view of Ext, 3 a
// result view naming Prices.qty.
constexpr std::string_view kDeleteModel =
    "table Base{ a:=range 1 to 2! b:=a+1! }\n"
    "table Ext extends Base{ c:=b*10! }\n"
    "table Prices{ qty:=range 1 to 3! price:=qty * 2! note:=7! }\n"
    "table Report{ n:=range 1 to 1! total:=Prices[2].price + Prices[3].qty! }\n"
    "table Spare{ x:=range 1 to 2! }\n"
    "table Empty{ }\n"
    "optimized(10,10) result(Prices);\n"
    "optimized(400,10) project(Report);\n"
    "optimized(10,400) result(Ext);\n"
    "optimized(400,400) result(Prices[1].qty);\n";

enum class Door { EditMenu, CellMenu, ControlDelete };

struct DeleteFixture : NamesFixture {
    DeleteFixture() : NamesFixture(kDeleteModel) {}

    void act(Door door, MenuCommand menu, MenuCommand cellMenu) {
        switch (door) {
            case Door::EditMenu:
                return choose(menu);
            case Door::CellMenu:
                return choose(cellMenu);
            case Door::ControlDelete:
                return key(key::kDelete, {}, toolkit::modifier::kControl);
        }
    }
    // The program's values, and those of a fresh kernel reading the
    // program text as it is now: equal when the uses of what went show the
    // errors of a name that was never there.
    std::vector<std::string> values() const { return test::allValues(*panel->kernel()); }
    std::vector<std::string> valuesOfText() const {
        return test::allValues(*test::loadModel(panel->kernel()->program()->toSource()->view()));
    }
};

struct Case {
    const char* name;
    std::int32_t frame;
    test::CellTest cell;
    Door door;
    bool table;  // Delete table, else Delete field
    std::vector<Answer> answers;
    const char* dialog;  // "(none)" when it goes at once
    const char* gone;    // a text of the program that the deletion removes
    bool deleted;
};

test::CellTest valueCell(const char* text) {
    return [text](CellModel& cell) { return is<ResultCell>(cell) && cell.text()->equals(text); };
}

TEST(DeleteFlow, WarnsWhenUsedThenDeletesAsOneUndoableStep) {
    const Case cases[] = {
        {"a used field by its header cell and the Edit menu, accepted",
         0,
         test::fieldNameCell("qty"),
         Door::EditMenu,
         false,
         {Answer::Ok},
         "confirm delete: 3 places use Prices.qty: Prices.price, Report.total, "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back.",
         "qty:=range 1 to 3!",
         true},
        {"the same, cancelled",
         0,
         test::fieldNameCell("qty"),
         Door::EditMenu,
         false,
         {Answer::Cancel},
         "confirm delete: 3 places use Prices.qty: Prices.price, Report.total, "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back.",
         "qty:=range 1 to 3!",
         false},
        {"a used field by Ctrl+Delete on its header cell",
         0,
         test::fieldNameCell("price"),
         Door::ControlDelete,
         false,
         {Answer::Ok},
         "confirm delete: 1 place uses Prices.price: Report.total.\n\nWithout the name they "
         "show errors; Undo brings it back.",
         "price:=qty * 2!",
         true},
        {"a field nobody uses, by a value cell's menu, goes at once",
         0,
         valueCell("7"),
         Door::CellMenu,
         false,
         {},
         "(none)",
         "note:=7!",
         true},
        {"an inherited field, from the extending table's grid: named in its base",
         2,
         test::fieldNameCell("a"),
         Door::EditMenu,
         false,
         {Answer::Ok},
         "confirm delete: Ext.a comes from Base: deleting it deletes Base.a too, and every "
         "table extending Base that does not define it itself loses it.\n\n1 place uses "
         "Base.a: Base.b.\n\nWithout the name they show errors; Undo brings it back.",
         "a:=range 1 to 2!",
         true},
        {"a used table from the list of tables, accepted",
         1,
         test::tableNameCell("Prices"),
         Door::CellMenu,
         true,
         {Answer::Ok},
         "confirm delete: 3 places use Prices: Report.total, result(Prices), "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back.",
         "table Prices{",
         true},
        {"the same, cancelled",
         1,
         test::tableNameCell("Prices"),
         Door::CellMenu,
         true,
         {Answer::Cancel},
         "confirm delete: 3 places use Prices: Report.total, result(Prices), "
         "result(Prices[1].qty).\n\nWithout the name they show errors; Undo brings it back.",
         "table Prices{",
         false},
        {"a base table by Ctrl+Delete on its name",
         1,
         test::tableNameCell("Base"),
         Door::ControlDelete,
         true,
         {Answer::Ok},
         "confirm delete: 1 place uses Base: Ext.\n\nWithout the name they show errors; Undo "
         "brings it back.",
         "table Base{",
         true},
        {"a table nobody uses that holds data is asked about",
         1,
         test::tableNameCell("Spare"),
         Door::EditMenu,
         true,
         {Answer::Ok},
         "confirm delete: Delete Spare with its 1 field and 2 rows?\n\nUndo brings it back.",
         "table Spare{",
         true},
        {"an empty table nobody uses goes at once",
         1,
         test::tableNameCell("Empty"),
         Door::EditMenu,
         true,
         {},
         "(none)",
         "table Empty{",
         true},
        {"the table of the selected grid, by the Edit menu",
         2,
         valueCell("20"),
         Door::EditMenu,
         true,
         {Answer::Ok},
         "confirm delete: 1 place uses Ext: result(Ext).\n\nWithout the name they show errors; "
         "Undo brings it back.",
         "table Ext extends Base{",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFixture f;
        ASSERT_TRUE(f.clickCell(c.frame, c.cell));
        const std::string before = f.document();
        const std::vector<std::string> valuesBefore = f.values();
        ASSERT_NE(before.find(c.gone), std::string::npos);
        for (Answer answer : c.answers)
            f.window.scriptAnswer(answer);
        f.act(c.door, c.table ? MenuCommand::DeleteTable : MenuCommand::DeleteField,
              c.table ? MenuCommand::CellDeleteTable : MenuCommand::CellDeleteField);
        EXPECT_EQ(f.lastDialog(), c.dialog);
        const std::string after = f.document();
        if (!c.deleted) {
            EXPECT_EQ(after, before);
            EXPECT_EQ(f.undoCount(), 0);
            EXPECT_FALSE(f.modified());
            continue;
        }
        EXPECT_EQ(after.find(c.gone), std::string::npos);
        EXPECT_EQ(f.undoCount(), 1);
        EXPECT_TRUE(f.modified());
        EXPECT_NE(f.window.title().find(" * "), std::string::npos);
        EXPECT_EQ(f.values(), f.valuesOfText());
        f.undo();
        EXPECT_EQ(f.document(), before);
        EXPECT_EQ(f.values(), valuesBefore);
        EXPECT_FALSE(f.modified());
        f.redo();
        EXPECT_EQ(f.document(), after);
        EXPECT_TRUE(f.modified());
    }
}

// The views of a deleted table stay where they were and say that its name
// is unknown, as a view of any name that is not there does; undo shows the
// table in them again.
TEST(DeleteFlow, ViewsOfADeletedTableShowTheUnknownNameUntilUndo) {
    DeleteFixture f;
    const std::int32_t frames = f.root().frameCount();
    ASSERT_FALSE(f.grid(0).isNull());
    ASSERT_TRUE(f.clickCell(1, test::tableNameCell("Prices")));
    f.window.scriptAnswer(Answer::Ok);
    f.choose(MenuCommand::DeleteTable);
    EXPECT_EQ(f.root().frameCount(), frames);
    auto shown = cast<ResultEditable>(f.frame(0)->view());
    ASSERT_FALSE(shown.isNull());
    auto error = cast<ErrorEditable>(shown->innerView());
    ASSERT_FALSE(error.isNull());
    EXPECT_EQ(error->text(), test::display(f.panel->kernel()->evaluateExpression(str("Prices"))));
    EXPECT_NE(error->text().find("Prices"), std::string::npos);
    f.undo();
    EXPECT_FALSE(f.grid(0).isNull());
    EXPECT_EQ(f.value("Prices", 1, 2), "4");
}

// Which items a cell's context menu offers, and what the Edit menu says
// when the selection names nothing to delete.
TEST(DeleteFlow, TheMenusOfferWhatTheSelectedCellNames) {
    struct MenuCase {
        const char* name;
        std::int32_t frame;
        test::CellTest cell;
        const char* item;
    };
    const MenuCase cases[] = {
        {"a field's header", 0, test::fieldNameCell("qty"), "Delete f&ield"},
        {"a field's value", 2, valueCell("20"), "Delete f&ield"},
        {"a table in the list of tables", 1, test::tableNameCell("Spare"), "Delete &table"},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFixture f;
        ASSERT_TRUE(f.clickCell(c.frame, c.cell));
        // The click brought the frame to the top: it is the last one now.
        auto grid = cast<TableEditable>(f.support().selected());
        ASSERT_FALSE(grid.isNull());
        toolkit::Rect rect = grid->cellRect(grid->currentColumn(), grid->currentRow());
        toolkit::Point shift = grid->layoutPoint({0, 0});
        f.mouse(toolkit::MouseKind::RightPress,
                {rect.x + rect.width / 2 - shift.x, rect.y + rect.height / 2 - shift.y});
        std::vector<std::string> captions;
        for (const toolkit::MenuItem& item : f.window.lastPopup())
            captions.push_back(item.caption);
        EXPECT_NE(std::find(captions.begin(), captions.end(), c.item), captions.end())
            << testing::PrintToString(captions);
    }

    DeleteFixture f;
    f.support().select({});
    f.choose(MenuCommand::DeleteField);
    EXPECT_EQ(f.lastDialog(), "notice: Select a cell of a field to delete the field.");
    f.choose(MenuCommand::DeleteTable);
    EXPECT_EQ(f.lastDialog(), "notice: Select a table, or a cell of one, to delete the table.");
    EXPECT_EQ(f.undoCount(), 0);
}

// A plain Delete on a field's header still clears the name (with the
// clearing warning), and Ctrl+Delete on a value cell deletes nothing.
TEST(DeleteFlow, OnlyCtrlDeleteOnANameCellDeletes) {
    DeleteFixture f;
    ASSERT_TRUE(f.clickCell(0, test::fieldNameCell("qty")));
    const std::string before = f.document();
    f.key(key::kDelete);
    EXPECT_EQ(f.lastDialog().rfind("confirm delete: 3 places use Prices.qty:", 0), 0u);
    EXPECT_EQ(f.document(), before);

    // The click brought the view of Prices to the top: its frame is the last.
    ASSERT_TRUE(f.clickCell(f.root().frameCount() - 1, valueCell("6")));
    const std::size_t dialogs = f.window.dialogs().size();
    f.key(key::kDelete, {}, toolkit::modifier::kControl);
    EXPECT_EQ(f.window.dialogs().size(), dialogs);
    EXPECT_EQ(f.document(), before);
}

// Every table, and every field of every table, of every example deleted
// through the panel with the warning accepted: the whole document (its
// comments and views too) comes back byte for byte on undo, and redo
// writes the deleted one again.
TEST(DeleteFlow, EveryExampleComesBackByteForByte) {
    std::int32_t deletions = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(QV_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".qvl") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string text = fromDiskLineEnds(test::fileBytes(entry.path().string()));
        test::PanelFixture probe;
        probe.startOn("example.qvl", text);
        const Pointer<Kernel>& kernel = probe.panel->kernel();
        std::vector<std::pair<std::int32_t, std::int32_t>> targets;
        for (std::int32_t table = 0; table < kernel->getTableCount(); ++table) {
            targets.emplace_back(table, -1);
            for (std::int32_t field = 0; field < kernel->getTable(table)->fieldCount(); ++field)
                targets.emplace_back(table, field);
        }
        for (const auto& [table, field] : targets) {
            SCOPED_TRACE(std::to_string(table) + "." + std::to_string(field));
            test::PanelFixture f;
            f.startOn("example.qvl", text);
            const std::string before = f.document();
            f.window.scriptAnswer(Answer::Ok);
            if (field < 0) {
                f.panel->deletes().deleteTable(table);
            } else {
                f.panel->deletes().deleteField(table, field);
            }
            f.window.deliverPosted();
            f.panel->refreshViews();
            const std::string after = f.document();
            ASSERT_NE(after, before);
            ASSERT_EQ(f.commands().undoCount(), 1);
            f.key(key::kUndo);
            EXPECT_EQ(f.document(), before);
            EXPECT_FALSE(f.panel->flow().isModified());
            f.key(key::kRedo);
            EXPECT_EQ(f.document(), after);
            ++deletions;
        }
    }
    EXPECT_GT(deletions, 30);
}

}  // namespace
}  // namespace qv
