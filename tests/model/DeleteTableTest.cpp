// Deleting a table through the model editor: one undoable step that moves
// the program between its text before and after; the tables after it move
// up one place and come back to theirs on undo; what named it computes as
// a program that never had it; and the same over every example.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "editing/CommandManager.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/model/UndoRoundTrip.h"

namespace qv {
namespace {

using test::allValues;
using test::expectUndoAndRedoTakeTurns;
using test::loadModel;
using test::programText;

// A 0, B 1 (extends A), C 2, D 3 (reads C and B).
constexpr std::string_view kFour =
    "table A{ a:=range 1 to 2! }\n"
    "table B extends A{ b:=a+1! }\n"
    "table C{ c:=range 1 to 3! <2>:={ c:=20,} }\n"
    "table D{ d:=C[2].c + B[1].b! }\n";

std::vector<std::string> tableNames(Kernel& kernel) {
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < kernel.getTableCount(); ++i)
        names.push_back(kernel.program()->table(i)->tableName()->toStdString());
    return names;
}

TEST(DeleteTable, OneStepThatUndoPutsBackAtItsPlace) {
    using Edit = std::function<void(ModelEditor&, Kernel&)>;
    struct Case {
        const char* name;
        Edit edit;
        std::vector<std::string> after;  // the table names left, in order
        std::int32_t steps;
    };
    const std::vector<Case> cases = {
        {"the first, a base table",
         [](ModelEditor& e, Kernel&) { e.deleteTable(0); },
         {"B", "C", "D"},
         1},
        {"one in the middle",
         [](ModelEditor& e, Kernel&) { e.deleteTable(2); },
         {"A", "B", "D"},
         1},
        {"the last", [](ModelEditor& e, Kernel&) { e.deleteTable(3); }, {"A", "B", "C"}, 1},
        {"one that extends another",
         [](ModelEditor& e, Kernel&) { e.deleteTable(1); },
         {"A", "C", "D"},
         1},
        {"none before the first",
         [](ModelEditor& e, Kernel&) { e.deleteTable(-1); },
         {"A", "B", "C", "D"},
         0},
        {"none past the last",
         [](ModelEditor& e, Kernel&) { e.deleteTable(4); },
         {"A", "B", "C", "D"},
         0},
        // The copies of one step are taken in the order the edits reach
        // the tables, the last table first here; undo must still put each
        // back at its own place.
        {"an edit of the last table, then two deletions, as one step",
         [](ModelEditor& e, Kernel& k) {
             e.group("paste", [&] {
                 e.setCellText(*k.getTable(3), 0, 1, str("5"));
                 e.deleteTable(1);
                 e.deleteTable(1);
             });
         },
         {"A", "D"},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kFour);
        auto commands = make<CommandManager>();
        auto editor = make<ModelEditor>(kernel->program(), commands.get());
        const std::string before = programText(*kernel);
        const std::vector<std::string> valuesBefore = allValues(*kernel);
        c.edit(*editor, *kernel);
        EXPECT_EQ(tableNames(*kernel), c.after);
        EXPECT_EQ(commands->undoCount(), c.steps);
        const std::string after = programText(*kernel);
        // What named a deleted table computes as in a program written
        // without it: the error of a name that is not there, no other.
        EXPECT_EQ(allValues(*kernel), allValues(*loadModel(after)));
        if (c.steps == 0) {
            EXPECT_EQ(after, before);
            continue;
        }
        expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);
        commands->undo();
        EXPECT_EQ(tableNames(*kernel), (std::vector<std::string>{"A", "B", "C", "D"}));
        EXPECT_EQ(allValues(*kernel), valuesBefore);
    }
}

// The base table deleted: the extending table's warning says so and its
// own field, which read an inherited one, shows an error; undo mends both.
TEST(DeleteTable, AnExtendingTableLosesItsBaseUntilUndo) {
    Pointer<Kernel> kernel = loadModel(kFour);
    auto commands = make<CommandManager>();
    make<ModelEditor>(kernel->program(), commands.get())->deleteTable(0);
    EXPECT_EQ(test::display(kernel->getTableByName("B")->warning()), "base table not found");
    EXPECT_EQ(test::cell(*kernel, "D", "d", 0),
              test::cell(*loadModel(programText(*kernel)), "D", "d", 0));
    commands->undo();
    EXPECT_EQ(test::display(kernel->getTableByName("B")->warning()), "");
    EXPECT_EQ(test::cell(*kernel, "D", "d", 0), "22");
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every table of every example, deleted and brought back: undo gives the
// program text back byte for byte and redo the text after the deletion.
TEST(DeleteTable, EveryTableOfEveryExampleComesBackExactly) {
    std::int32_t deleted = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QV_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".qvl") continue;
        SCOPED_TRACE(entry.path().filename().string());
        const std::string text = fileText(entry.path());
        Pointer<Kernel> probe = loadModel(text);
        ASSERT_GT(probe->getTableCount(), 0);
        for (std::int32_t table = 0; table < probe->getTableCount(); ++table) {
            SCOPED_TRACE(table);
            Pointer<Kernel> kernel = loadModel(text);
            auto commands = make<CommandManager>();
            const std::string before = programText(*kernel);
            const std::vector<std::string> values = allValues(*kernel);
            make<ModelEditor>(kernel->program(), commands.get())->deleteTable(table);
            EXPECT_EQ(kernel->getTableCount(), probe->getTableCount() - 1);
            const std::string after = programText(*kernel);
            expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);
            commands->undo();
            EXPECT_EQ(allValues(*kernel), values);
            ++deleted;
        }
    }
    EXPECT_GT(deleted, 6);
}

}  // namespace
}  // namespace qv
