// Linking whole models: table names and base tables, inherited, overriding
// and repeated fields, marker fields and row names, which formula each cell
// of a derived table uses, and editing a cell of an inherited field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/ResolvedProgram.h"
#include "language/ExpressionParser.h"
#include "language/Token.h"
#include "model/ModelEditor.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::addTables;
using test::cell;
using test::column;
using test::loadModel;
using test::renderTable;
using test::thrownMessage;

std::string warningOf(Kernel& kernel, std::string_view table) {
    return test::display(kernel.getTableByName(table)->warning());
}

std::vector<std::string> fieldNames(Kernel& kernel, std::string_view table) {
    Pointer<TableResult> result = kernel.getTableByName(table);
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < result->fieldCount(); ++i)
        names.push_back(result->fieldName(i)->toStdString());
    return names;
}

struct ModelCase {
    std::string what;
    std::string program;
    std::string table;
    std::vector<std::string> expected;
};

TEST(Linking, DerivedTablesComputeWithTheirOwnFields) {
    const std::vector<ModelCase> cases = {
        {"an override keeps its column, a new field follows the base fields",
         "table B{ a:=1! b:=a+1! } table D extends B{ c:=b*10! a:=5! }",
         "D",
         {"sum |  |  | ", "base | 5 | 6 | 60"}},
        {"the base table keeps its own values",
         "table B{ a:=1! b:=a+1! } table D extends B{ c:=b*10! a:=5! }",
         "B",
         {"sum |  | ", "base | 1 | 2"}},
        {"a derived table has at least the base table's rows",
         "table B{ v:=row*2! <3>:={} } table D extends B{ w:=v+1! <1>:={} }",
         "D",
         {"sum | 12 | 15", "base | (range) | (range)", "1 | 2 | 3", "2 | 4 | 5", "3 | 6 | 7"}},
        {"an inherited formula reads the derived table's override",
         "table B{ rate:=0.5! price:=10! total:=price*rate! } table D extends B{ rate:=0.1! }",
         "D",
         {"sum |  |  | ", "base | 0.1 | 10 | 1"}},
        {"the base table's formula keeps reading its own field",
         "table B{ rate:=0.5! price:=10! total:=price*rate! } table D extends B{ rate:=0.1! }",
         "B",
         {"sum |  |  | ", "base | 0.5 | 10 | 5"}},
        {"a derived cell override replaces one row, the others use the base formula",
         "table B{ v:=row*10! <3>:={} } table D extends B{ v:=! <2>:={v:=7} }",
         "D",
         {"sum | 47", "base | (range)", "1 | 10", "2 | 7", "3 | 30"}},
        {"the base keeps its rows when a derived table overrides one",
         "table B{ v:=row*10! <3>:={} } table D extends B{ v:=! <2>:={v:=7} }",
         "B",
         {"sum | 60", "base | (range)", "1 | 10", "2 | 20", "3 | 30"}},
        {"a base cell override is not inherited",
         "table B{ v:=row*10! <2>:={99} <3>:={} } table D extends B{ w:=1! }",
         "D",
         {"sum | 60 | 3", "base | (range) | 1", "1 | 10 | 1", "2 | 20 | 1", "3 | 30 | 1"}},
        {"the base shows its own cell override",
         "table B{ v:=row*10! <2>:={99} <3>:={} } table D extends B{ w:=1! }",
         "B",
         {"sum | 139", "base | (range)", "1 | 10", "2 | 99", "3 | 30"}},
        {"a chain of three tables: each level overrides what it names",
         "table A{ x:=1! y:=x*2! } table B extends A{ x:=3! z:=y+1! } "
         "table C extends B{ y:=x*100! }",
         "C",
         {"sum |  |  | ", "base | 3 | 300 | 301"}},
        {"a derived table's field reads the base's field of that name",
         "table B{ n:=4! } table D extends B{ m:=n*n! }",
         "D",
         {"sum |  | ", "base | 4 | 16"}},
    };
    for (const auto& c : cases) {
        Pointer<Kernel> kernel = loadModel(c.program);
        EXPECT_EQ(renderTable(*kernel, c.table), c.expected) << c.what;
    }
}

TEST(Linking, OverridesKeepTheBaseColumnOrder) {
    Pointer<Kernel> kernel =
        loadModel("table B{ a:=1! b:=2! } table D extends B{ c:=3! a:=10! d:=4! b:=20! }");
    EXPECT_EQ(fieldNames(*kernel, "D"), (std::vector<std::string>{"a", "b", "c", "d"}));
    Pointer<TableResult> derived = kernel->getTableByName("D");
    const ResolvedTable& table = *derived->resolved();
    // Both overrides copy the base field they replace; the new fields copy none.
    EXPECT_TRUE(derived->overrides(0));
    EXPECT_TRUE(derived->overrides(1));
    EXPECT_FALSE(derived->overrides(2));
    EXPECT_FALSE(table.field(0)->inherited());
    EXPECT_EQ(table.field(0)->position(), 1);  // its place in D's own definition
    EXPECT_EQ(derived->baseFieldCount(), 2);
    EXPECT_EQ(table.ownVisibleCount(), 4);

    Pointer<Kernel> plain = loadModel("table B{ a:=1! b:=2! } table D extends B{ c:=3! }");
    const ResolvedTable& inheriting = *plain->getTableByName("D")->resolved();
    EXPECT_TRUE(inheriting.field(0)->inherited());
    EXPECT_EQ(inheriting.ownVisibleCount(), 1);
}

TEST(Linking, ARepeatedFieldNameMeansTheFirstField) {
    Pointer<Kernel> kernel = loadModel(
        "table T{ a:=1! a:=2! b:=a+1! } table U{ x:=T.a! } table D extends T{ y:=a*10! }");
    EXPECT_EQ(fieldNames(*kernel, "T"), (std::vector<std::string>{"a", "a", "b"}));
    const ResolvedTable& table = *kernel->getTableByName("T")->resolved();
    EXPECT_TRUE(table.field(0)->warning().isNull());
    ASSERT_FALSE(table.field(1)->warning().isNull());
    EXPECT_EQ(table.field(1)->warning()->message()->toStdString(), "field name already defined");
    EXPECT_EQ(table.fieldIndexOf("a"), 0);
    EXPECT_EQ(cell(*kernel, "T", "b", 0), "2");
    // Reached from outside by a dot, and inherited, the name still means the first.
    EXPECT_EQ(cell(*kernel, "U", "x", 0), "1");
    EXPECT_EQ(cell(*kernel, "D", "y", 0), "10");
    EXPECT_EQ(kernel->getTableByName("D")->resolved()->fieldIndexOf("a"), 0);
}

struct WarningCase {
    std::string what;
    std::string program;
    std::vector<std::pair<std::string, std::string>> warnings;  // table, warning text
};

TEST(Linking, TableWarnings) {
    const std::vector<WarningCase> cases = {
        {"a table that extends itself", "table A extends A{ x:=1! }", {{"A", "(circular)"}}},
        {"a cycle through three tables",
         "table A extends C{ x:=1! } table B extends A{ y:=2! } table C extends B{ z:=3! }",
         {{"A", "(circular)"}, {"B", "(circular)"}, {"C", "(circular)"}}},
        {"a table extending a table on a cycle",
         "table A extends A{ x:=1! } table D extends A{ y:=2! }",
         {{"A", "(circular)"}, {"D", "(circular)"}}},
        {"an unknown base", "table D extends Nowhere{ x:=1! }", {{"D", "base table not found"}}},
        {"a base whose own base is unknown",
         "table B extends Nowhere{ x:=1! } table D extends B{ y:=2! }",
         {{"B", "base table not found"}, {"D", "depends on cell that contain error"}}},
        {"a well formed chain",
         "table B{ x:=1! } table D extends B{ y:=2! }",
         {{"B", ""}, {"D", ""}}},
    };
    for (const auto& c : cases) {
        Pointer<Kernel> kernel = loadModel(c.program);
        for (const auto& [table, warning] : c.warnings)
            EXPECT_EQ(warningOf(*kernel, table), warning) << c.what << ": " << table;
    }
}

TEST(Linking, TablesOnABaseCycleKeepTheirOwnFields) {
    Pointer<Kernel> kernel = loadModel(
        "table A extends C{ x:=1! } table B extends A{ y:=2! } table C extends B{ z:=3! }");
    EXPECT_EQ(renderTable(*kernel, "A"), (std::vector<std::string>{"sum | ", "base | 1"}));
    EXPECT_EQ(renderTable(*kernel, "C"), (std::vector<std::string>{"sum | ", "base | 3"}));
    EXPECT_TRUE(kernel->getTableByName("B")->resolved()->base().isNull());
}

TEST(Linking, TheLastTableOfANameIsFoundAndTheLaterOneWarns) {
    Pointer<Kernel> kernel = loadModel("table T{ x:=1! } table T{ x:=2! } table U{ y:=T.x! }");
    EXPECT_EQ(kernel->getTableIndex("T"), 1);
    EXPECT_EQ(cell(*kernel, "T", "x", 0), "2");
    EXPECT_EQ(cell(*kernel, "U", "y", 0), "2");
    EXPECT_EQ(warningOf(*kernel, "T"), "Table already defined");
    EXPECT_TRUE(kernel->getTable(0)->warning().isNull());
}

struct MarkerCase {
    std::vector<std::string> names;
    std::int32_t nameField;
    std::int32_t baseField;
    std::int32_t headerCount;
};

TEST(Linking, MarkerFieldsEndWithTheirWord) {
    const std::vector<MarkerCase> cases = {
        {{"k~name", "v"}, 0, -1, 1},
        {{"~name", "v"}, 0, -1, 1},
        {{"v", "k~base"}, -1, 1, 2},
        {{"r~name", "r~base", "v"}, 0, 1, 2},
        {{"v", "w", "x~name"}, 2, -1, 3},
        // The first "~name" must end the name.
        {{"a~name~name", "v"}, -1, -1, 0},
        {{"a~names", "v"}, -1, -1, 0},
        {{"name", "base"}, -1, -1, 0},
    };
    for (const auto& c : cases) {
        std::string program = "table T{ ";
        for (const auto& name : c.names)
            program += name + ":=1! ";
        program += "}";
        Pointer<Kernel> kernel = loadModel(program);
        const ResolvedTable& table = *kernel->getTableByName("T")->resolved();
        EXPECT_EQ(table.nameField(), c.nameField) << program;
        EXPECT_EQ(table.baseField(), c.baseField) << program;
        EXPECT_EQ(table.headerCount(), c.headerCount) << program;
    }
}

TEST(Linking, RowNamesComeFromTheNameMarker) {
    Pointer<Kernel> kernel = loadModel(
        "table T{ k~name:=1! v:=10! w:=second*2! <1>:={first, 5} <2>:={second, 7, 100} "
        "<3>:={\"third\", 9} } table D extends T{ z:=third+1! <3>:={z:=40} }");
    const ResolvedTable& table = *kernel->getTableByName("T")->resolved();
    EXPECT_EQ(table.rowIndexOf("first"), 1);
    EXPECT_EQ(table.rowIndexOf("second"), 2);
    EXPECT_EQ(table.rowIndexOf("third"), 3);
    EXPECT_FALSE(table.rowIndexOf("fourth").has_value());
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{"sum |  | 21 | 500", "base |  | 10 | 200",
                                        "first | first | 5 | 200", "second | second | 7 | 100",
                                        "third | third | 9 | 200"}));
    // A derived table inherits the row names and reads its own field there.
    EXPECT_EQ(kernel->getTableByName("D")->resolved()->rowIndexOf("third"), 3);
    EXPECT_EQ(cell(*kernel, "D", "z", 0), "41");
}

TEST(Linking, UnresolvedNamesMakeTheFormulaAWarning) {
    Pointer<Kernel> kernel =
        loadModel("table T{ x:=a+b! y:=zz+1! z:=x! w:=T.nothing! q:=1! r:=nothing(2)! }");
    EXPECT_EQ(cell(*kernel, "T", "x", 0), "undefined: a,b");
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "undefined: zz");
    EXPECT_EQ(cell(*kernel, "T", "z", 0), "depends on cell that contain error");
    EXPECT_EQ(cell(*kernel, "T", "w", 0), "undefined: nothing");
    EXPECT_EQ(cell(*kernel, "T", "r", 0), "func unknown");
}

// The definition that editing a cell changes, and what the edit does to
// the derived and the base table.
TEST(Linking, EditingAnInheritedFieldCreatesAnOverride) {
    Pointer<Kernel> kernel = loadModel("table B{ a:=1! 2! } table D extends B{ c:=a+1! <2>:={} }");
    Pointer<TableResult> derived = kernel->getTableByName("D");
    std::int32_t before = kernel->getChangeCount();
    Pointer<FieldDef> edited = derived->resolved()->fieldForEdit(0);
    EXPECT_EQ(edited->owner(), derived->definition().get());
    EXPECT_EQ(edited->nameText()->toStdString(), "a");
    EXPECT_EQ(kernel->getChangeCount(), before + 1);
    edited->setFormula(0, make<ExpressionParser>()->parseFormula(str("7")));
    EXPECT_EQ(renderTable(*kernel, "D"),
              (std::vector<std::string>{"sum | 14 | 4 | 16", "base | 7 | 2 | 8", "1 | 7 | 2 | 8",
                                        "2 | 7 | 2 | 8"}));
    EXPECT_EQ(renderTable(*kernel, "B"), (std::vector<std::string>{"sum |  | ", "base | 1 | 2"}));
    EXPECT_EQ(kernel->getTableByName("B")->definition()->fieldCount(), 2);
    EXPECT_TRUE(kernel->getTableByName("D")->overrides(0));

    // An own field is edited in place; an unnamed inherited one cannot be.
    Pointer<TableResult> again = kernel->getTableByName("D");
    EXPECT_EQ(again->resolved()->fieldForEdit(2).get(), again->definition()->field(0).get());
    EXPECT_EQ(thrownMessage([&] { again->resolved()->fieldForEdit(1); }),
              "can not overide unnamed field");
    EXPECT_EQ(thrownMessage([&] { again->resolved()->fieldForEdit(-1); }), "field not found");
}

TEST(Linking, EditsBeforeTheNextLinkReachOneOverride) {
    Pointer<Kernel> kernel = loadModel("table B{ a:=1! } table D extends B{ <3>:={} }");
    Pointer<TableResult> derived = kernel->getTableByName("D");
    // A pasted block: several cells of the inherited field, no read between.
    auto editor = make<ModelEditor>(kernel->program(), nullptr);
    editor->setCellFormula(*derived, 0, 1, str("5"));
    editor->setCellFormula(*derived, 0, 2, str("6"));
    editor->setCellFormula(*derived, 0, 3, str("row*2"));
    EXPECT_EQ(kernel->getTableByName("D")->definition()->fieldCount(), 1);
    EXPECT_EQ(column(*kernel, "D", "a"), (std::vector<std::string>{"5", "6", "6"}));
    EXPECT_EQ(column(*kernel, "B", "a"), (std::vector<std::string>{}));
    EXPECT_TRUE(kernel->getTableByName("D")->resolved()->field(0)->warning().isNull());
}

TEST(Linking, EditingBeyondTheFieldsAppendsFields) {
    Pointer<Kernel> kernel = loadModel("table T{ a:=1! }");
    Pointer<TableResult> table = kernel->getTableByName("T");
    std::int32_t before = kernel->getChangeCount();
    Pointer<FieldDef> added = table->resolved()->fieldForEdit(2);
    EXPECT_EQ(table->definition()->fieldCount(), 3);
    EXPECT_EQ(table->definition()->field(2).get(), added.get());
    EXPECT_TRUE(added->dontOverride());
    EXPECT_EQ(kernel->getChangeCount(), before + 2);
    added->setFormula(0, make<ExpressionParser>()->parseFormula(str("a+41")));
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{"sum |  |  | ", "base | 1 |  | 42"}));
}

TEST(Linking, EditingAHiddenInheritedFieldKeepsItHidden) {
    Pointer<Kernel> kernel = loadModel("table B{ a:=1; b:=2! } table D extends B{ <2>:={} }");
    Pointer<TableResult> derived = kernel->getTableByName("D");
    make<ModelEditor>(kernel->program(), nullptr)->setCellFormula(*derived, 0, 1, str("5"));
    Pointer<TableResult> after = kernel->getTableByName("D");
    EXPECT_FALSE(after->isVisible(0));
    EXPECT_EQ(after->visibleCount(), 1);
    EXPECT_EQ(column(*kernel, "D", "a"), (std::vector<std::string>{"5", "1"}));
}

TEST(Linking, VisibilityFollowsTheDefinitionOrTheOverriddenField) {
    Pointer<Kernel> kernel =
        loadModel("table B{ a:=1; b:=2! c:=3! } table D extends B{ b:=20; d:=4! } ");
    Pointer<TableResult> derived = kernel->getTableByName("D");
    EXPECT_FALSE(derived->isVisible(0));  // inherited hidden
    EXPECT_FALSE(derived->isVisible(1));  // overridden and hidden here
    EXPECT_TRUE(derived->isVisible(2));
    EXPECT_TRUE(derived->isVisible(3));
    EXPECT_EQ(derived->visibleCount(), 2);
    EXPECT_EQ(derived->visibleField(0), 2);
    EXPECT_EQ(derived->visibleField(1), 3);
    EXPECT_EQ(derived->ownVisibleCount(), 1);
}

TEST(Linking, ProgramWideFieldNumbersAndTheIdentifierMap) {
    Pointer<Kernel> kernel = loadModel("table A{ x:=1! y:=2! } table B{ y:=3! z:=4! }");
    const ResolvedProgram& linked = *kernel->getLinked();
    EXPECT_EQ(linked.identifierCount(), 3);
    EXPECT_EQ(linked.identifierOf("x"), 0);
    EXPECT_EQ(linked.identifierOf("y"), 1);
    EXPECT_EQ(linked.identifierOf("z"), 2);
    EXPECT_EQ(linked.identifierOf("w"), -1);
    const ResolvedTable& b = *linked.table(1);
    EXPECT_EQ(b.fieldOfIdentifier(0), -1);
    EXPECT_EQ(b.fieldOfIdentifier(1), 0);
    EXPECT_EQ(b.fieldOfIdentifier(2), 1);
    EXPECT_EQ(b.fieldOfIdentifier(7), -1);
}

TEST(Linking, ATableAddedLaterIsLinkedWithTheOthers) {
    auto kernel = make<Kernel>();
    addTables(*kernel, "table D extends B{ y:=x+1! }");
    EXPECT_EQ(warningOf(*kernel, "D"), "base table not found");
    addTables(*kernel, "table B{ x:=1! }");
    EXPECT_EQ(warningOf(*kernel, "D"), "");
    EXPECT_EQ(cell(*kernel, "D", "y", 0), "2");
}

// The kernel's own operations.

TEST(Kernel, ReadingResultsTwiceComputesOnce) {
    auto feedback = make<test::CountingFeedback>();
    auto kernel = make<Kernel>(feedback);
    addTables(*kernel, "table T{ x:=1! y:=x+1! }");
    int computed = feedback->started;
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "2");
    EXPECT_EQ(cell(*kernel, "T", "x", 0), "1");
    kernel->getResults();
    EXPECT_EQ(feedback->started, computed);
    // An edit: the next read relinks and computes once more.
    make<ModelEditor>(kernel->program(), nullptr)
        ->setCellFormula(*kernel->getTableByName("T"), 0, 0, str("5"));
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "6");
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "6");
    EXPECT_EQ(feedback->started, computed + 1);
    kernel->setOptionFlag(false);
    EXPECT_FALSE(kernel->getOptionFlag());
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "6");
    EXPECT_EQ(feedback->started, computed + 2);
    EXPECT_EQ(feedback->finished, feedback->started);
}

TEST(Kernel, FindsTablesByNameAndIndex) {
    Pointer<Kernel> kernel = loadModel("table A{ x:=1! } table B{ y:=2! }");
    EXPECT_EQ(kernel->getTableCount(), 2);
    EXPECT_EQ(kernel->getTableIndex("B"), 1);
    EXPECT_EQ(kernel->getTableIndex("C"), -1);
    EXPECT_EQ(kernel->getTable(1)->name()->toStdString(), "B");
    EXPECT_TRUE(kernel->getTable(2).isNull());
    EXPECT_TRUE(kernel->getTable(-1).isNull());
    EXPECT_EQ(thrownMessage([&] { kernel->getTableByName("C"); }), "table not found");
    EXPECT_EQ(thrownMessage([&] { kernel->getTableByName("a"); }), "table not found");
}

TEST(Kernel, EvaluatesExpressionsAndTexts) {
    Pointer<Kernel> kernel = loadModel("table T{ x:=1! y:=x*10! }");
    EXPECT_EQ(kernel->evaluateExpression(str("tables")).get(), kernel.get());
    EXPECT_EQ(kernel->evaluateExpression(str(" tables ")).get(), kernel.get());
    const std::vector<std::pair<std::string, std::string>> expressions = {
        {"T.y+1", "Double:11"},
        {"T", "TableResult:T"},
        {"zz+1", "Warning:undefined: zz"},
        {"1 2", "Warning:bad expression"},
        {"(", "Warning:bad expression"},
        {"", "Warning:bad expression"},
        {"col", "Double:1"},
        {"x", "Warning:undefined: x"},  // no table is current
    };
    for (const auto& [text, expected] : expressions)
        EXPECT_EQ(test::typed(kernel->evaluateExpression(str(text))), expected) << text;
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"=1+2", "Double:3"},
        {"=T.x", "Double:1"},
        {"-5", "Double:-5"},
        {"+2", "Double:2"},
        {"abc", "String:abc"},
        {"3 apples", "String:3 apples"},
        {"=1 2", "String:"},
        {"", "String:"},
        {"=zz", "Warning:undefined: zz"},
        {"=(1).x", "Warning:result not supporting identifier access"},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(test::typed(kernel->evaluateText(str(text))), expected) << text;
}

TEST(Kernel, FormatsAndReadsFormulaText) {
    auto kernel = make<Kernel>();
    const std::vector<std::pair<std::string, std::string>> formats = {
        {"1+2*3", "1 + 2 * 3"},
        {"  a  +  b ", "a + b"},
        {"(a)", "a"},
        {"if a then b else c", "if a then b else c"},
        {"x alt y", "x alt y"},
        {"\"s\"", "\"s\""},
        {"   ", ""},
        {"1 2", "#1 2#"},  // kept, as a formula that does not parse is kept
    };
    for (const auto& [text, expected] : formats)
        EXPECT_EQ(kernel->formatExpression(str(text))->toStdString(), expected) << text;

    auto stream = make<StringStream>(str("  a + /*inner*/ 1 /*after*/ ; rest"));
    EXPECT_EQ(kernel->readFormulaText(stream)->toStdString(), "a + /*inner*/ 1");
    EXPECT_EQ(stream->next()->code(), kSemicolon);
    // The caller may have looked at the first token already.
    auto peeked = make<StringStream>(str("( a + 1 ) ;"));
    peeked->next();
    EXPECT_EQ(peeked->peek()->code(), kIdentifier);
    EXPECT_EQ(kernel->readFormulaText(peeked)->toStdString(), "a + 1");
    EXPECT_EQ(peeked->next()->code(), kCloseParen);
    auto broken = make<StringStream>(str("(a ; rest"));
    EXPECT_EQ(thrownMessage([&] { kernel->readFormulaText(broken); }), "expecting )");
}

TEST(Kernel, AddsAndChecksTables) {
    Pointer<Kernel> kernel = loadModel("table T{ x:=1! }");
    std::int32_t before = kernel->getChangeCount();
    make<ModelEditor>(kernel->program(), nullptr)->addTable(ModelEditor::NewTable::Name, str("N"));
    Pointer<TableResult> empty = kernel->getTable(1);
    EXPECT_EQ(kernel->getTableCount(), 2);
    EXPECT_EQ(kernel->getChangeCount(), before + 1);
    EXPECT_EQ(empty->fieldCount(), 0);
    EXPECT_EQ(empty->definition()->owner(), kernel->program().get());
    EXPECT_EQ(kernel->getTable(1)->definition().get(), empty->definition().get());

    auto stream = make<StringStream>(str("table U{ y:=2! } table V{"));
    kernel->checkTableText(stream);
    EXPECT_EQ(kernel->getTableCount(), 2);
    EXPECT_TRUE(stream->peek()->isWord("table"));
    EXPECT_NE(thrownMessage([&] { kernel->checkTableText(stream); }), "(no error)");
    auto bad = make<StringStream>(str("table W{ y:=2 }"));
    EXPECT_EQ(thrownMessage([&] { kernel->addTableFromText(bad); }),
              "syntax error: expecting ; ! or =");
    EXPECT_EQ(kernel->getTableCount(), 2);
}

TEST(Kernel, ACopyComputesAloneTheSameModel) {
    auto feedback = make<test::CountingFeedback>();
    auto original = make<Kernel>(feedback);
    addTables(*original, "table B{ a:=2! b:=a*3! <2>:={} } table D extends B{ a:=5! }");
    original->setOptionFlag(false);
    auto copy = cast<Kernel>(original->clone());
    ASSERT_FALSE(copy.isNull());
    EXPECT_EQ(copy->feedback().get(), feedback.get());
    EXPECT_FALSE(copy->getOptionFlag());
    EXPECT_EQ(renderTable(*copy, "D"), renderTable(*original, "D"));
    EXPECT_EQ(renderTable(*copy, "B"), renderTable(*original, "B"));
    EXPECT_EQ(copy->toSource()->toStdString(), original->toSource()->toStdString());

    auto editor = make<ModelEditor>(copy->program(), nullptr);
    editor->setCellFormula(*copy->getTableByName("B"), 0, 0, str("100"));
    editor->addTable(ModelEditor::NewTable::Name, str("N"));
    EXPECT_EQ(cell(*copy, "D", "b", 0), "15");
    EXPECT_EQ(cell(*copy, "B", "b", 0), "300");
    EXPECT_EQ(cell(*original, "B", "b", 0), "6");
    EXPECT_EQ(original->getTableCount(), 2);
    EXPECT_EQ(copy->getTableCount(), 3);
}

}  // namespace
}  // namespace qv
