// Edits made through the grid models' cells, which hand them to the model
// editor, as undoable steps: after undo the program text is what it was,
// after redo what the edit made, and the computed values follow.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/Errors.h"
#include "editing/CommandManager.h"
#include "model/ModelEditor.h"
#include "tests/model/UndoRoundTrip.h"
#include "tests/views/ViewTestSupport.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/TableCells.h"
#include "views/TablesView.h"

namespace qv {
namespace {

using test::expectUndoAndRedoTakeTurns;
using test::loadModel;
using test::programText;

constexpr std::string_view kProgram =
    "table Base{ a:=1! b:=a+1! }\n"
    "table T extends Base{ c:=b*10! <1>:={c:=5} }\n";

// A cell edit at a grid position of the model the kernel gives for `table`.
struct EditCase {
    const char* name;
    // The model, 0 detailed view, 1 heading view, 2 list of tables.
    int model;
    std::int32_t column;
    std::int32_t row;
    const char* text;
};

Pointer<GridModel> modelOf(const Pointer<Kernel>& kernel, int kind) {
    switch (kind) {
        case 0:
            return make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
        case 1:
            return make<EvalSingleModel>(kernel->getTableByName("T"), make<GlobalSettings>());
        default:
            return make<TablesView>(kernel);
    }
}

void edit(CommandManager& commands, GridModel& model, std::int32_t column, std::int32_t row,
          const std::string& text) {
    auto editor = make<ModelEditor>(Pointer<ProgramDef>(model.editedProgram()), &commands);
    editor->group("edit", [&] {
        Pointer<CellModel> cell = model.createCell(column, row);
        // A value is edited through the formula that makes it.
        if (is<ResultCell>(cell)) cell = cast<ResultCell>(cell)->formulaCell();
        cell->setText(*editor, str(text));
    });
}

TEST(ModelEditTest, UndoAndRedoBringBackTheProgramText) {
    const EditCase cases[] = {
        {"formula of a record", 0, 2, 3, "=b*1000"},
        {"formula of an inherited field", 0, 1, 2, "7"},
        {"field name", 0, 0, 3, "renamed"},
        {"new field on the extra line", 0, 1, 4, "=c+1"},
        {"new record column", 0, 3, 3, "=99"},
        {"heading view name", 1, 1, 3, "total"},
        {"heading view formula", 1, 2, 3, "=a"},
        {"heading view visibility", 1, 3, 2, "false"},
        {"heading view new field", 1, 1, 4, "d"},
        {"table name", 2, 1, 2, "Renamed"},
        {"new table", 2, 1, 3, "Extra"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kProgram);
        auto commands = make<CommandManager>();
        Pointer<GridModel> model = modelOf(kernel, c.model);
        const std::string before = programText(*kernel);
        edit(*commands, *model, c.column, c.row, c.text);
        const std::string after = programText(*kernel);
        ASSERT_NE(after, before);
        expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);
    }
}

// The saved position covers model edits as it covers work-area commands:
// after each step the program text, the stack sizes and whether the
// document differs from its saved text.
TEST(ModelEditTest, TheSavedPositionFollowsModelEdits) {
    struct Step {
        char action;          // 'a' edits to "=b*1000", 'b' to "=a", 'u' undo, 'r' redo, 's' save,
                              // 'c' load (clear)
        const char* formula;  // of field c in record 1 afterwards
        std::int32_t undo;
        std::int32_t redo;
        bool modified;
    };
    const std::vector<std::pair<const char*, std::vector<Step>>> sequences = {
        {"save, undo, a different edit",
         {{'a', "b*1000", 1, 0, true},
          {'s', "b*1000", 1, 0, false},
          {'u', "5", 0, 1, true},
          {'b', "a", 1, 0, true},
          {'u', "5", 0, 1, true}}},
        {"save, undo, redo",
         {{'a', "b*1000", 1, 0, true},
          {'s', "b*1000", 1, 0, false},
          {'u', "5", 0, 1, true},
          {'r', "b*1000", 1, 0, false}}},
        {"undo past the save and redo back",
         {{'a', "b*1000", 1, 0, true},
          {'s', "b*1000", 1, 0, false},
          {'b', "a", 2, 0, true},
          {'u', "b*1000", 1, 1, false},
          {'u', "5", 0, 2, true},
          {'r', "b*1000", 1, 1, false},
          {'r', "a", 2, 0, true}}},
        {"load, edit, undo",
         {{'a', "b*1000", 1, 0, true},
          {'c', "b*1000", 0, 0, false},
          {'b', "a", 1, 0, true},
          {'u', "b*1000", 0, 1, false}}},
    };
    for (const auto& [name, steps] : sequences) {
        SCOPED_TRACE(name);
        Pointer<Kernel> kernel = loadModel(kProgram);
        auto commands = make<CommandManager>();
        // The views make their models anew after every change, as here.
        const auto typeInto = [&](const std::string& text) {
            auto model =
                make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
            edit(*commands, *model, 2, 3, text);
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.action);
            switch (step.action) {
                case 'a':
                    typeInto("=b*1000");
                    break;
                case 'b':
                    typeInto("=a");
                    break;
                case 'u':
                    commands->undo();
                    break;
                case 'r':
                    commands->redo();
                    break;
                case 's':
                    commands->markClean();
                    break;
                default:
                    commands->clear();
            }
            const std::string text = programText(*kernel);
            EXPECT_NE(text.find(std::string("<1>:={    c:=") + step.formula + ",}"),
                      std::string::npos)
                << text;
            EXPECT_EQ(commands->undoCount(), step.undo);
            EXPECT_EQ(commands->redoCount(), step.redo);
            EXPECT_EQ(!commands->isClean(), step.modified);
        }
    }
}

TEST(ModelEditTest, ValuesFollowUndoAndRedo) {
    Pointer<Kernel> kernel = loadModel(kProgram);
    auto commands = make<CommandManager>();
    auto model = make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
    // Column 2 is record 1 with the base record shown; row 3 is field c.
    edit(*commands, *model, 2, 3, "=b*1000");
    EXPECT_EQ(test::display(kernel->getTableByName("T")->value(2, 1)), "2000");
    commands->undo();
    EXPECT_EQ(test::display(kernel->getTableByName("T")->value(2, 1)), "5");
    commands->redo();
    EXPECT_EQ(test::display(kernel->getTableByName("T")->value(2, 1)), "2000");
}

TEST(ModelEditTest, EditsThatChangeNothingRecordNothing) {
    Pointer<Kernel> kernel = loadModel(kProgram);
    auto commands = make<CommandManager>();
    auto model = make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
    // The header row's captions take no edit.
    edit(*commands, *model, 0, 0, "x");
    EXPECT_EQ(commands->undoCount(), 0);
}

TEST(ModelEditTest, ARefusedEditPassesItsMessageOn) {
    Pointer<Kernel> kernel = loadModel(kProgram);
    auto commands = make<CommandManager>();
    auto model = make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true);
    const std::string before = programText(*kernel);
    // Field a comes from the base table: its name can not be changed here.
    EXPECT_THROW(edit(*commands, *model, 0, 1, "z"), StringPointer);
    EXPECT_EQ(programText(*kernel), before);
    EXPECT_EQ(commands->undoCount(), 0);
}

}  // namespace
}  // namespace qv
