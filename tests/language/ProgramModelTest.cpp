// The program model: the document text a table writes, the field headers,
// the diagnostic texts, and the copies and change counter of a program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Warning.h"
#include "language/ExpressionParser.h"
#include "language/FunctionSignature.h"
#include "language/ProgramDef.h"
#include "tests/language/TableTestSupport.h"

namespace qv {
namespace {

using test::readTable;
using test::renderTable;

ExpressionPointer formula(std::string_view text) {
    return make<ExpressionParser>()->parseFormula(str(text));
}

struct WriteCase {
    const char* text;      // read with the table parser
    const char* expected;  // what the table writes
};

TEST(ProgramModelTest, WritesTheDocumentTextOfATable) {
    const std::vector<WriteCase> cases = {
        {"table T{}", "table T{\n}\n"},
        {"table T extends B{x;}", "table T extends B{\n    x;\n}\n"},
        {"table T{a:=1!b:=;;}", "table T{\n    a:=1!\n    b:=;\n    ;\n}\n"},
        // The row count: no block for 1, one empty block for the last row,
        // none when the highest override already is the last row.
        {"table T{a:=1;<4>:={}}", "table T{\n    a:=1;\n    <4>:={}\n}\n"},
        {"table T{a:=1;<4>:={7}}", "table T{\n    a:=1;\n    <4>:={    a:=7,}\n}\n"},
        {"table T{a:=1;<4>:={}<2>:={7}}",
         "table T{\n    a:=1;\n    <2>:={    a:=7,}\n    <4>:={}\n}\n"},
        {"table T{<2>:={}}", "table T{\n    <2>:={}\n}\n"},
        // The summary block comes first; with no formula row after it the
        // last key taken is -1, so the empty block of row 0 follows.
        {"table T{a:=1;<3>:={4}<sum>:={sum(a)}}",
         "table T{\n    a:=1;\n    <sum>:={    a:=sum(a),}\n    <3>:={    a:=4,}\n}\n"},
        {"table T{a:=;<sum>:={1}}", "table T{\n    a:=;\n    <sum>:={    a:=1,}\n    <0>:={}\n}\n"},
        // Unnamed fields: by position, or by column number after a gap.
        {"table T{1;2;<1>:={5,6}}", "table T{\n    1;\n    2;\n    <1>:={    5,6,}\n}\n"},
        {"table T{a:=1;2;<1>:={,5}}", "table T{\n    a:=1;\n    2;\n    <1>:={    <2>:=5,}\n}\n"},
        {"table T{1;b:=2;3;<1>:={,5,6}}",
         "table T{\n    1;\n    b:=2;\n    3;\n    <1>:={    b:=5,<3>:=6,}\n}\n"},
        {"table T{a:=1;b:=2;<1>:={,5}}",
         "table T{\n    a:=1;\n    b:=2;\n    <1>:={    b:=5,}\n}\n"},
        // Names that are not plain are written in brackets.
        {"table T{[my name]:=1;<1>:={2}}",
         "table T{\n    [my name]:= 1;\n    <1>:={    [my name]:= 2,}\n}\n"},
        {"table T{[f(a,b)]:=a+b!}", "table T{\n    [f(a,b)]:= a+b!\n}\n"},
        {"table T{select:=1;<1>:={[select]:=2}}",
         "table T{\n    [select]:= 1;\n    <1>:={    [select]:= 2,}\n}\n"},
        {"table [my table] extends [a b]{}", "table [my table] extends [a b]{\n}\n"},
        // Formula texts: hash text stays hash text, comments before and after
        // go before the field, lines after the first are not indented again.
        {"table T{a:=#(1#;b:=#1+2#!}", "table T{\n    a:=#(1#;\n    b:=#1+2#!\n}\n"},
        {"table T{a:= /* lead */ 1 + /* in */ 2 // trail\n;}",
         "table T{\n    /* lead */\n    // trail\n    a:=1 + /* in */ 2;\n}\n"},
        {"table T{a:=1 +\n  2!<1>:={3 +\n 4}}",
         "table T{\n    a:=1 +\n  2!\n    <1>:={    a:=3 +\n 4,}\n}\n"},
        {"table T{a:=\"x\n  y\"!}", "table T{\n    a:=\"x\n  y\"!\n}\n"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        try {
            EXPECT_EQ(readTable(row.text)->toSource()->toStdString(), row.expected);
        } catch (const StringPointer& message) {
            ADD_FAILURE() << "threw " << message->toStdString();
        }
    }
}

TEST(ProgramModelTest, WritesThePricesExample) {
    auto program = make<ProgramDef>();
    auto table = make<TableDef>(program.get());
    table->setTableName(str("Prices"));
    table->setBaseName(str("Base"));
    Pointer<FieldDef> qty = table->addField();
    qty->setName(str("qty"));
    qty->setFormula(0, formula("3"));
    Pointer<FieldDef> tax = table->addField();
    tax->setName(str("tax"));
    tax->setVisible(0);
    tax->setFormula(0, formula("qty*2"));
    qty->setFormula(2, formula("5"));
    table->setNumRows(4);
    program->addTable(table);

    const std::string expected =
        "table Prices extends Base{\n"
        "    qty:=3!\n"
        "    tax:=qty*2;\n"
        "    <2>:={    qty:=5,}\n"
        "    <3>:={}\n"
        "}\n";
    EXPECT_EQ(program->toSource()->toStdString(), expected);
    EXPECT_EQ(renderTable(readTable(expected)), renderTable(table));
    EXPECT_EQ(renderTable(table), "Prices extends Base rows=4 | qty! 0=3 2=5 | tax; 0=qty*2");
}

struct HeaderCase {
    const char* name;     // nullptr: the null object
    const char* warning;  // nullptr: no warning
    const char* expected;
};

TEST(ProgramModelTest, WritesTheFieldHeader) {
    const std::vector<HeaderCase> cases = {
        {nullptr, nullptr, ""},
        {"", nullptr, ""},
        {"   ", "w", ""},
        {"qty", nullptr, "qty:="},
        {"  qty ", nullptr, "qty:="},
        {"x1_y", nullptr, "x1_y:="},
        {"alt", nullptr, "alt:="},
        {"my name", nullptr, "[my name]:= "},
        {"1abc", nullptr, "[1abc]:= "},
        {"and", nullptr, "[and]:= "},
        {"select", nullptr, "[select]:= "},
        {"range", nullptr, "[range]:= "},
        {"datarange", nullptr, "[datarange]:= "},
        {"f(a,b)", nullptr, "[f(a,b)]:= "},
        {"qty", "bad name", "[#qty#]:= "},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name == nullptr ? "(null)" : row.name);
        auto field = make<FieldDef>(nullptr);
        if (row.name != nullptr) field->setName(str(row.name));
        if (row.warning != nullptr) field->setWarning(str(row.warning));
        EXPECT_EQ(field->writeHeader()->toStdString(), row.expected);
    }
}

TEST(ProgramModelTest, WritesAndReadsASignatureName) {
    auto table = make<TableDef>(nullptr);
    table->setTableName(str("T"));
    Pointer<FieldDef> field = table->addField();
    field->setName(make<ExpressionParser>()->parseFieldName(str("f(a, b)"))->value());
    ASSERT_TRUE(is<FunctionSignature>(field->name()));
    field->setFormula(0, formula("a+b"));
    field->setFormula(1, formula("3"));
    table->setNumRows(2);
    const std::string text = table->toSource()->toStdString();
    EXPECT_EQ(text, "table T{\n    [f(a,b)]:= a+b!\n    <1>:={    [f(a,b)]:= 3,}\n}\n");
    EXPECT_EQ(renderTable(readTable(text)), "T rows=2 | f(a,b)! 0=a+b 1=3");
}

TEST(ProgramModelTest, DescribesFieldsAndTables) {
    auto field = make<FieldDef>(nullptr);
    EXPECT_EQ(field->describe()->toStdString(),
              "\nFieldDef{\n    name=NullObject;\n    warning=NullObject;\n    is_visible=1;\n"
              "    dont_ovrride=true;\n    expr=virtual vector{};\n}\n");
    field->setName(str("qty"));
    field->setWarning(str("bad"));
    field->setVisible(0);
    field->setDontOverride(false);
    field->setFormula(0, formula("1"));
    field->setFormula(2, formula("2"));
    EXPECT_EQ(field->describe()->toStdString(),
              "\nFieldDef{\n    name=qty;\n    warning=bad;\n    is_visible=0;\n"
              "    dont_ovrride=false;\n    expr=virtual vector{[0]=ExpressionSource;\n"
              "    [2]=ExpressionSource;\n    };\n}\n");

    auto table = make<TableDef>(nullptr);
    EXPECT_EQ(table->describe()->toStdString(),
              "\nTableDef{\n    base_name=NullObject;\n    table_name=NullObject;\n"
              "    base_name_error=NullObject;\n    table_name_error=NullObject;\n"
              "    field=VECTOR(0){}count=1\n    num_rows=1\n}\n");
    table->setTableName(str("T"));
    table->setBaseName(str("B"));
    table->setBaseNameError(make<Warning>(str("no base")));
    table->addField();
    table->addField();
    table->setNumRows(3);
    EXPECT_EQ(table->describe()->toStdString(),
              "\nTableDef{\n    base_name=B;\n    table_name=T;\n"
              "    base_name_error=no base;\n    table_name_error=NullObject;\n"
              "    field=VECTOR(2){,,}count=1\n    num_rows=3\n}\n");
}

// A program of two tables with a null entry between them.
Pointer<ProgramDef> sampleProgram() {
    auto program = make<ProgramDef>();
    program->addTable(readTable("table A{a:=1!<2>:={5}}"));
    program->addTable(Pointer<TableDef>());
    program->addTable(readTable("table B extends A{[f(x)]:=x*2;<sum>:={3}}"));
    program->table(2)->field(0)->setWarning(str("w"));
    return program;
}

TEST(ProgramModelTest, ProgramTextSkipsNullEntries) {
    Pointer<ProgramDef> program = sampleProgram();
    EXPECT_EQ(program->tableCount(), 3);
    EXPECT_EQ(program->toSource()->toStdString(),
              "table A{\n    a:=1!\n    <2>:={    a:=5,}\n}\n"
              "table B extends A{\n    [#f(x)#]:= x*2;\n    <sum>:={    [#f(x)#]:= 3,}\n}\n");
    EXPECT_EQ(program->describe()->toStdString(), "VECTOR(3){,,,}count=1");
    EXPECT_EQ(make<ProgramDef>()->toSource()->toStdString(), "");
}

TEST(ProgramModelTest, ChangeCounterCountsAdditionsAndTouches) {
    auto program = make<ProgramDef>();
    EXPECT_EQ(program->changeCount(), 0);
    auto table = make<TableDef>(nullptr);
    program->addTable(table);
    EXPECT_EQ(program->changeCount(), 1);
    EXPECT_EQ(table->owner(), program.get());
    program->addTable(Pointer<TableDef>());
    EXPECT_EQ(program->changeCount(), 2);
    program->touch();
    program->touch();
    EXPECT_EQ(program->changeCount(), 4);
    EXPECT_EQ(cast<ProgramDef>(program->clone())->changeCount(), 0);
}

TEST(ProgramModelTest, CloneIsDeepAndKeepsNamesAndWarnings) {
    Pointer<ProgramDef> original = sampleProgram();
    original->table(0)->setSort(0, true);
    const std::string text = original->toSource()->toStdString();
    auto copy = cast<ProgramDef>(original->clone());
    ASSERT_FALSE(copy.isNull());
    ASSERT_EQ(copy->tableCount(), 3);
    EXPECT_TRUE(copy->table(1).isNull());
    EXPECT_EQ(copy->toSource()->toStdString(), text);
    for (std::int32_t t : {0, 2}) {
        const Pointer<TableDef>& table = copy->table(t);
        EXPECT_NE(table.get(), original->table(t).get());
        EXPECT_EQ(table->owner(), copy.get());
        EXPECT_EQ(renderTable(table), renderTable(original->table(t)));
        for (const auto& field : *table->fields())
            EXPECT_EQ(field->owner(), table.get());
    }
    // The sort settings are not part of a copy.
    EXPECT_EQ(copy->table(0)->sortField(), -1);
    EXPECT_FALSE(copy->table(0)->sortDescending());
    Pointer<FieldDef> signature = copy->table(2)->field(0);
    EXPECT_EQ(signature->nameText()->toStdString(), "f(x)");
    EXPECT_EQ(signature->warning()->toStdString(), "w");

    // Edits of the copy leave the original alone.
    Pointer<FieldDef> field = copy->table(0)->field(0);
    EXPECT_NE(field.get(), original->table(0)->field(0).get());
    EXPECT_NE(field->formula(0).get(), original->table(0)->field(0)->formula(0).get());
    field->setFormula(0, formula("99"));
    field->setFormula(2, Pointer<AbstractExpression>());
    field->setName(str("renamed"));
    field->setVisible(0);
    copy->table(0)->setNumRows(9);
    copy->table(0)->setTableName(str("Z"));
    copy->table(0)->addField()->setName(str("extra"));
    copy->addTable(readTable("table C{}"));
    EXPECT_EQ(original->toSource()->toStdString(), text);
    EXPECT_EQ(original->tableCount(), 3);
}

// The table parser alone keeps the comments of a table, its own text reads
// back to the same table, and a copy of the program keeps them all.
// Undo steps copy tables with their formulas shared: the copy still reads
// and writes as the original, and edits of either leave the other alone.
TEST(ProgramModelTest, TableCopiesCloneOrShareFormulasAndStayApart) {
    const struct {
        FieldDef::Formulas formulas;
        bool sameFormulaObjects;
    } rows[] = {{FieldDef::Formulas::Cloned, false}, {FieldDef::Formulas::Shared, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.sameFormulaObjects ? "shared" : "cloned");
        Pointer<TableDef> original = readTable("table A{a:=1!b:=a*2;<2>:={5,6}<900>:={7}}");
        const std::string text = original->toSource()->toStdString();
        auto copy = make<TableDef>(*original, nullptr, row.formulas);
        EXPECT_EQ(copy->toSource()->toStdString(), text);
        EXPECT_EQ(copy->field(0)->formula(2).get() == original->field(0)->formula(2).get(),
                  row.sameFormulaObjects);
        copy->field(0)->setFormula(2, formula("8"));
        copy->field(1)->setFormula(900, formula("9"));
        copy->field(0)->setFormula(900, Pointer<AbstractExpression>());
        EXPECT_EQ(original->toSource()->toStdString(), text);
        original->field(1)->setFormula(0, formula("a*3"));
        EXPECT_EQ(copy->field(1)->formula(0)->toSource()->toStdString(), "a*2");
    }
}

// A table written a few rows at a time joins into the very text written at
// once: comments, the summary row, gaps and the closing empty row included.
TEST(ProgramModelTest, TableTextWrittenInPartsIsTheWholeText) {
    const char* const tables[] = {
        "table A{a:=1!}",
        "table A{a:=1!<5>:={}}",
        ("// lead\ntable A{a:=1! // field\nb:=a;<sum>:={3}<0>:={} // base\n"
         "<2>:={5,6} // two\n// before four\n<4>:={<2>:=7}<9>:={}\n// closing\n} // end"),
        "table B extends A{c:=2!<1>:={8}<3>:={9}<7>:={}}",
    };
    for (const char* text : tables) {
        SCOPED_TRACE(text);
        Pointer<TableDef> table = readTable(text);
        const std::string whole = table->toSource()->toStdString();
        for (std::int32_t rows : {1, 2, 3}) {
            std::string parts;
            TableSourceWriter writer(*table);
            std::int32_t calls = 1;
            while (!writer.write(parts, rows))
                ++calls;
            EXPECT_EQ(parts, whole) << rows;
            EXPECT_LE(calls, 2 + 10 / rows) << rows;
        }
    }
}

TEST(ProgramModelTest, TablesAndTheirCopiesKeepTheirComments) {
    auto program = make<ProgramDef>();
    program->addTable(readTable(
        "table /* h */ T{ // a\n a:=1; /* a2 */\n // row\n <2>:={a:=3} // r\n // end\n}"));
    const std::string text =
        "/* h */\ntable T{\n    // a\n    a:=1; /* a2 */\n    // row\n    <2>:={    a:=3,} // r\n"
        "    // end\n}\n";
    EXPECT_EQ(program->toSource()->toStdString(), text);
    EXPECT_EQ(program->table(0)->commentCount(), 6);
    // The comments written before "table" are the table's when read back.
    EXPECT_EQ(readTable(text)->toSource()->toStdString(), text);
    auto copy = cast<ProgramDef>(program->clone());
    EXPECT_EQ(copy->toSource()->toStdString(), text);
    EXPECT_EQ(copy->table(0)->commentCount(), 6);
}

}  // namespace
}  // namespace qv
