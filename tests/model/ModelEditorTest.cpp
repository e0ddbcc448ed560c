// The model editor's operations as undoable steps: per operation the
// program text before and after, one command recorded, undo and redo
// between the two texts; and per operation an input it refuses or keeps
// with a warning, with what that records.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editing/CommandManager.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/model/UndoRoundTrip.h"

namespace qv {
namespace {

using test::display;
using test::expectUndoAndRedoTakeTurns;
using test::loadModel;
using test::programText;
using test::thrownMessage;

constexpr std::string_view kProgram =
    "table B{ a:=1! b:=a+1! <2>:={} }\n"
    "table T extends B{ c:=b*10! }\n";

// The table B is 0, T is 1; T's fields are a, b (inherited), c.
using Edit = std::function<void(ModelEditor&, Kernel&)>;

Pointer<TableResult> tableNamed(Kernel& kernel, std::string_view name) {
    return kernel.getTableByName(name);
}

struct EditCase {
    const char* name;
    Edit edit;
    // The program text after the edit, a table a line with its white space
    // made one space.
    std::vector<std::string> after;
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> tables;
    bool space = false;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char c = text[at];
        if (c == '\n' && text.compare(at + 1, 6, "table ") == 0) {
            tables.emplace_back();
            space = false;
        } else if (c == ' ' || c == '\n') {
            space = true;
        } else {
            if (tables.empty()) tables.emplace_back();
            if (space && !tables.back().empty()) tables.back() += ' ';
            space = false;
            tables.back() += c;
        }
    }
    return tables;
}

TEST(ModelEditor, EachOperationIsOneStepThatUndoAndRedoMove) {
    const std::vector<EditCase> cases = {
        {"cell formula",
         [](ModelEditor& e, Kernel& k) { e.setCellFormula(*tableNamed(k, "B"), 0, 1, str("7")); },
         {"table B{ a:=1! b:=a+1! <1>:={ a:=7,} <2>:={} }", "table T extends B{ c:=b*10! }"}},
        {"typed cell text",
         [](ModelEditor& e, Kernel& k) { e.setCellText(*tableNamed(k, "B"), 1, 2, str("hi")); },
         {"table B{ a:=1! b:=a+1! <2>:={ b:=\"hi\",} }", "table T extends B{ c:=b*10! }"}},
        {"field formula",
         [](ModelEditor& e, Kernel& k) { e.setCellText(*tableNamed(k, "B"), 1, 0, str("=a*3")); },
         {"table B{ a:=1! b:=a*3! <2>:={} }", "table T extends B{ c:=b*10! }"}},
        {"formula of an inherited field overrides it",
         [](ModelEditor& e, Kernel& k) { e.setCellFormula(*tableNamed(k, "T"), 0, 0, str("5")); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ c:=b*10! a:=5! }"}},
        {"field name",
         [](ModelEditor& e, Kernel& k) { e.setFieldName(*tableNamed(k, "T"), 2, str("total")); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ total:=b*10! }"}},
        {"visibility",
         [](ModelEditor& e, Kernel& k) { e.setVisible(*tableNamed(k, "B"), 1, false); },
         {"table B{ a:=1! b:=a+1; <2>:={} }", "table T extends B{ c:=b*10! }"}},
        {"insert field",
         [](ModelEditor& e, Kernel& k) { e.insertField(*tableNamed(k, "B"), 1); },
         {"table B{ a:=1! ! b:=a+1! <2>:={} }", "table T extends B{ c:=b*10! }"}},
        {"delete field",
         [](ModelEditor& e, Kernel& k) { e.deleteField(*tableNamed(k, "T"), 2); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ }"}},
        {"add field by its name",
         [](ModelEditor& e, Kernel& k) {
             e.addField(*tableNamed(k, "T"), ModelEditor::NewField::Name, 0, str("d"));
         },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ c:=b*10! d:=! }"}},
        {"add field by a formula",
         [](ModelEditor& e, Kernel& k) {
             e.addField(*tableNamed(k, "T"), ModelEditor::NewField::Formula, 3, str("=c+1"));
         },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ c:=b*10! ! <3>:={ <2>:=c+1,} }"}},
        {"insert row",
         [](ModelEditor& e, Kernel& k) { e.insertRow(*tableNamed(k, "B"), 1); },
         {"table B{ a:=1! b:=a+1! <3>:={} }", "table T extends B{ c:=b*10! }"}},
        {"delete row",
         [](ModelEditor& e, Kernel& k) { e.deleteRow(*tableNamed(k, "B"), 2); },
         {"table B{ a:=1! b:=a+1! <1>:={} }", "table T extends B{ c:=b*10! }"}},
        {"table name",
         [](ModelEditor& e, Kernel&) { e.setTableName(1, str(" U ")); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table U extends B{ c:=b*10! }"}},
        {"base name",
         [](ModelEditor& e, Kernel&) { e.setBaseName(1, str("")); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T{ c:=b*10! }"}},
        {"add table",
         [](ModelEditor& e, Kernel&) { e.addTable(ModelEditor::NewTable::Name, str("N")); },
         {"table B{ a:=1! b:=a+1! <2>:={} }", "table T extends B{ c:=b*10! }", "table N{ }"}},
        {"several edits as one step",
         [](ModelEditor& e, Kernel& k) {
             e.group("paste", [&] {
                 e.setCellText(*tableNamed(k, "B"), 0, 1, str("4"));
                 e.setCellText(*tableNamed(k, "B"), 0, 2, str("5"));
                 e.setTableName(1, str("V"));
             });
         },
         {"table B{ a:=1! b:=a+1! <1>:={ a:=4,} <2>:={ a:=5,} }", "table V extends B{ c:=b*10! }"}},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kProgram);
        auto commands = make<CommandManager>();
        auto editor = make<ModelEditor>(kernel->program(), commands.get());
        const std::string before = programText(*kernel);
        const std::int32_t changes = editor->changeCount();
        c.edit(*editor, *kernel);
        const std::string after = programText(*kernel);
        EXPECT_EQ(linesOf(after), c.after);
        EXPECT_GT(editor->changeCount(), changes);
        expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);
        // The kernel computes the program it is given back.
        commands->undo();
        EXPECT_EQ(test::cell(*kernel, "B", "b", 0), "2");
    }
}

// What each operation does with input it can not take: a refused edit
// throws its message and records no step; a text that does not read is
// kept as typed, with a warning, and is a step like any other.
TEST(ModelEditor, InputAnOperationCanNotTake) {
    struct Case {
        const char* name;
        Edit edit;
        std::string message;  // "(no error)" when the edit is kept
        std::int32_t steps;
        // A value that shows the outcome, read after the edit.
        std::function<std::string(Kernel&)> probe;
        std::string shown;
    };
    auto valueOf = [](std::string_view table, std::int32_t field, std::int32_t row) {
        return [=](Kernel& k) { return display(tableNamed(k, table)->value(field, row)); };
    };
    auto warningOf = [](std::int32_t table) {
        return [=](Kernel& k) { return display(k.getTable(table)->warning()); };
    };
    const std::string tooMany = "too many rows: 20000000 rows pass the limit of 10000000";
    const std::vector<Case> cases = {
        {"a formula that does not parse is kept",
         [](ModelEditor& e, Kernel& k) { e.setCellText(*tableNamed(k, "B"), 1, 1, str("=1 2")); },
         "(no error)", 1, valueOf("B", 1, 1), "Invalid formula: unexpected character"},
        {"a row the table can not hold",
         [&](ModelEditor& e, Kernel& k) {
             e.setCellFormula(*tableNamed(k, "B"), 0, 20000000, str("1"));
         },
         tooMany, 0, valueOf("B", 0, 1), "1"},
        {"a new field's formula in a row the table can not hold",
         [&](ModelEditor& e, Kernel& k) {
             e.addField(*tableNamed(k, "B"), ModelEditor::NewField::Formula, 20000000, str("1"));
         },
         tooMany, 0, [](Kernel& k) { return std::to_string(tableNamed(k, "B")->fieldCount()); },
         "2"},
        {"a field name that does not read is kept",
         [](ModelEditor& e, Kernel& k) { e.setFieldName(*tableNamed(k, "T"), 2, str("1x")); },
         "(no error)", 1, valueOf("T", 2, 0), "Invalid field name: unexpected character"},
        {"a field name already taken",
         [](ModelEditor& e, Kernel& k) { e.setFieldName(*tableNamed(k, "B"), 1, str("a")); },
         "(no error)", 1, valueOf("B", 1, 0), "field name already defined"},
        {"an inherited field's name",
         [](ModelEditor& e, Kernel& k) { e.setFieldName(*tableNamed(k, "T"), 0, str("z")); },
         "can not modify this cell because it contain a field name that is defined in base "
         "table.",
         0, valueOf("T", 0, 0), "1"},
        {"a new field named as no field can be",
         [](ModelEditor& e, Kernel& k) {
             e.addField(*tableNamed(k, "T"), ModelEditor::NewField::Name, 0, str("1x"));
         },
         "(no error)", 1, valueOf("T", 3, 0), "Invalid field name: unexpected character"},
        {"visibility of no field",
         [](ModelEditor& e, Kernel& k) { e.setVisible(*tableNamed(k, "B"), -1, false); },
         "(no error)", 0, valueOf("B", 1, 0), "2"},
        {"deleting a field past the last",
         [](ModelEditor& e, Kernel& k) { e.deleteField(*tableNamed(k, "B"), 9); }, "(no error)", 0,
         [](Kernel& k) { return std::to_string(tableNamed(k, "B")->fieldCount()); }, "2"},
        {"deleting the formula row",
         [](ModelEditor& e, Kernel& k) { e.deleteRow(*tableNamed(k, "B"), 0); }, "(no error)", 0,
         [](Kernel& k) { return std::to_string(tableNamed(k, "B")->dataRowCount()); }, "2"},
        {"a table name already taken",
         [](ModelEditor& e, Kernel&) {
             e.group("rename", [&] {
                 e.setBaseName(1, str(""));
                 e.setTableName(1, str("B"));
             });
         },
         "(no error)", 1, warningOf(1), "Table already defined"},
        {"a base name that does not read is kept",
         [](ModelEditor& e, Kernel&) { e.setBaseName(1, str("1x")); }, "(no error)", 1,
         warningOf(1), "Invalid base name: expecting identifier"},
        {"a table that is not there", [](ModelEditor& e, Kernel&) { e.setTableName(7, str("X")); },
         "(no error)", 0, [](Kernel& k) { return std::to_string(k.getTableCount()); }, "2"},
        {"a new table extending one that is not there",
         [](ModelEditor& e, Kernel&) { e.addTable(ModelEditor::NewTable::BaseName, str("Q")); },
         "(no error)", 1, [](Kernel& k) { return display(k.getTable(2)->warning()); },
         "base table not found"},
        {"a new table from an empty base name is none",
         [](ModelEditor& e, Kernel&) { e.addTable(ModelEditor::NewTable::BaseName, str(" ")); },
         "(no error)", 0, [](Kernel& k) { return k.program()->toSource()->toStdString(); },
         "table B{\n    a:=1!\n    b:=a+1!\n    <2>:={}\n}\ntable T extends B{\n    c:=b*10!\n}\n"},
        {"a step whose second edit is refused keeps the first, undoably",
         [&](ModelEditor& e, Kernel& k) {
             e.group("paste", [&] {
                 e.setCellText(*tableNamed(k, "B"), 0, 1, str("4"));
                 e.setCellFormula(*tableNamed(k, "B"), 0, 20000000, str("1"));
             });
         },
         tooMany, 1, valueOf("B", 0, 1), "4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kProgram);
        auto commands = make<CommandManager>();
        auto editor = make<ModelEditor>(kernel->program(), commands.get());
        const std::string before = programText(*kernel);
        EXPECT_EQ(thrownMessage([&] { c.edit(*editor, *kernel); }), c.message);
        EXPECT_EQ(commands->undoCount(), c.steps);
        EXPECT_EQ(c.probe(*kernel), c.shown);
        if (c.steps == 0) {
            EXPECT_EQ(programText(*kernel), before);
        } else {
            commands->undo();
            EXPECT_EQ(programText(*kernel), before);
        }
    }
}

// A chain of base names that loops still ends: the edit copies each table
// of the loop once.
TEST(ModelEditor, ABaseChainThatLoopsEnds) {
    Pointer<Kernel> kernel = loadModel("table A extends B{ x:=1! }\ntable B extends A{ y:=2! }\n");
    auto commands = make<CommandManager>();
    auto editor = make<ModelEditor>(kernel->program(), commands.get());
    const std::string before = programText(*kernel);
    editor->setCellFormula(*kernel->getTableByName("A"), 0, 0, str("5"));
    EXPECT_NE(programText(*kernel), before);
    commands->undo();
    EXPECT_EQ(programText(*kernel), before);
}

// Without a command manager the edits apply and record nothing (the caller
// records its own step); sorting changes the order shown, not the program.
TEST(ModelEditor, EditsWithoutHistoryAndSorting) {
    Pointer<Kernel> kernel = loadModel("table T{ v:=! <1>:={v:=3} <2>:={v:=1} <3>:={v:=2} }");
    auto editor = make<ModelEditor>(kernel->program(), nullptr);
    editor->setCellText(*kernel->getTableByName("T"), 0, 3, str("0"));
    EXPECT_EQ(test::column(*kernel, "T", "v"), (std::vector<std::string>{"3", "1", "0"}));
    const std::int32_t changes = editor->changeCount();
    Pointer<TableResult> table = kernel->getTableByName("T");
    editor->setSort(*table, 0, false);
    EXPECT_EQ(editor->changeCount(), changes);
    EXPECT_EQ(table->displayRow(1), 3);
    EXPECT_EQ(table->displayRow(3), 1);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// An exact rename is one step; undo gives the program text back byte for
// byte and redo the renamed one, and the values stay those of the start.
TEST(ModelEditor, ARenameIsOneStepThatUndoGivesBackExactly) {
    Pointer<Kernel> kernel = loadModel(
        "table B{\n    a:=1! // the first\n    b:=a  +  1!\n}\ntable T extends B{\n    "
        "c:=b*a!\n}\n");
    auto commands = make<CommandManager>();
    auto editor = make<ModelEditor>(kernel->program(), commands.get());
    const std::string before = programText(*kernel);
    std::vector<std::string> values = test::renderTable(*kernel, "T");
    RenamePlan plan = planRename(*kernel, parseNameTarget("B.a"), "first");
    ASSERT_FALSE(plan.refused());
    editor->rename(plan);
    const std::string after = programText(*kernel);
    EXPECT_EQ(
        after,
        "table B{\n    first:=1! // the first\n    b:=first  +  1!\n}\ntable T extends B{\n    "
        "c:=b*first!\n}\n");
    EXPECT_EQ(test::renderTable(*kernel, "T"), values);
    expectUndoAndRedoTakeTurns(*commands, *kernel, before, after);

    // A refused plan records nothing.
    RenamePlan taken = planRename(*kernel, parseNameTarget("B.b"), "first");
    ASSERT_TRUE(taken.refused());
    const std::int32_t changes = editor->changeCount();
    editor->rename(taken);
    EXPECT_EQ(editor->changeCount(), changes);
}

}  // namespace
}  // namespace qv
