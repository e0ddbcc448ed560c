// An import through the model editor: one undoable step whose undo gives the
// program back byte for byte and whose redo the import again, for a new
// table and for a refresh; a failed plan records nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CsvReader.h"
#include "editing/CommandManager.h"
#include "kernel/TableImport.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/model/UndoRoundTrip.h"

namespace qv {
namespace {

using test::allValues;
using test::expectUndoAndRedoTakeTurns;
using test::loadModel;
using test::programText;

constexpr std::string_view kModel =
    "table Prices{\n"
    "    item:=!\n"
    "    price:=!\n"
    "    taxed:=price*1.2!\n"
    "    <1>:={item:=\"pen\",price:=2,}\n"
    "    <2>:={item:=\"ink\",price:=5,taxed:=7,}\n"
    "}\n"
    "table Cheap extends Prices{\n"
    "    cheap:=price < 3!\n"
    "}\n"
    "table Totals{\n"
    "    first:=Prices[1].taxed!\n"
    "}\n";

TEST(ImportStep, OneStepThatUndoGivesBackByteForByte) {
    struct Case {
        const char* name;
        std::string data;
        ImportOptions options;
        std::int32_t index;  // of the imported table
        std::int32_t tables;
    };
    const std::vector<Case> cases = {
        {"a new table", "a,b\n1,x\n2,y\n", {"Fresh", ""}, 3, 4},
        {"a refresh by key", "item,price\nink,6\npaper,1\n", {"Prices", "item"}, 0, 3},
        {"a refresh without a key", "item,price\nink,6\n", {"Prices", ""}, 0, 3},
        {"the table in the middle", "first\n1\n", {"Cheap", ""}, 1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kModel);
        auto commands = make<CommandManager>();
        auto editor = make<ModelEditor>(kernel->program(), commands.get());
        const std::string before = programText(*kernel);
        const std::vector<std::string> valuesBefore = allValues(*kernel);
        const std::int32_t changes = editor->changeCount();

        CsvResult data = readCsv(c.data, {});
        ASSERT_TRUE(data.ok());
        ImportPlan plan(*kernel->program(), *data.table, c.options);
        ASSERT_FALSE(plan.failed()) << plan.error().message;
        EXPECT_EQ(editor->import(plan), c.index);
        EXPECT_EQ(kernel->program()->tableCount(), c.tables);
        EXPECT_GT(editor->changeCount(), changes);
        const std::string after = programText(*kernel);
        EXPECT_NE(after, before);
        EXPECT_EQ(allValues(*kernel), allValues(*loadModel(after)));

        expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);
        commands->undo();
        EXPECT_EQ(allValues(*kernel), valuesBefore);
        EXPECT_EQ(kernel->program()->tableCount(), 3);
    }
}

TEST(ImportStep, AFailedPlanRecordsNothing) {
    Pointer<Kernel> kernel = loadModel(kModel);
    auto commands = make<CommandManager>();
    auto editor = make<ModelEditor>(kernel->program(), commands.get());
    const std::string before = programText(*kernel);
    CsvResult data = readCsv("item,price\nink,6\nink,7\n", {});
    ASSERT_TRUE(data.ok());
    ImportPlan plan(*kernel->program(), *data.table, {"Prices", "item"});
    ASSERT_TRUE(plan.failed());
    EXPECT_EQ(editor->import(plan), -1);
    EXPECT_EQ(commands->undoCount(), 0);
    EXPECT_EQ(programText(*kernel), before);
}

}  // namespace
}  // namespace qv
