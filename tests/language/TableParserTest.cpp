// The table grammar: what a table text reads as (fields, names, visibility,
// formulas by row key, row count), one row per message the grammar throws,
// and the formula kinds a field can hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Hashtable.h"
#include "core/Warning.h"
#include "language/SourceExpressions.h"
#include "tests/language/TableTestSupport.h"

namespace qv {
namespace {

using test::readError;
using test::readErrorAt;
using test::readTable;
using test::renderTable;

struct ReadCase {
    const char* text;
    const char* expected;  // renderTable of the table read
};

const std::vector<ReadCase> kReadCases = {
    // Header and body.
    {"table T{}", "T rows=1"},
    {"table T extends Base{}", "T extends Base rows=1"},
    {"table [my table] extends [the base]{}", "my table extends the base rows=1"},
    {"table T{a:=1!b:=2;}", "T rows=1 | a! 0=1 | b; 0=2"},
    {"table T{a:=;}", "T rows=1 | a;"},
    {"table T{;!}", "T rows=1 | ; | !"},
    // Unnamed fields: a bare formula, and a name not followed by ":=".
    {"table T{1+2!}", "T rows=1 | ! 0=1+2"},
    {"table T{x;}", "T rows=1 | ; 0=x"},
    {"table T{x + 1!}", "T rows=1 | ! 0=x + 1"},
    {"table T{[a b]*2;}", "T rows=1 | ; 0=[a b]*2"},
    // Names in brackets are kept as the raw text between them, trimmed.
    {"table T{[my name]:=1!}", "T rows=1 | my name! 0=1"},
    {"table T{[ f(a, b) ]:= a+b;}", "T rows=1 | f(a, b); 0=a+b"},
    {"table T{select:=1;}", "T rows=1 | select; 0=1"},
    // Row keys and the row count.
    {"table T{a:=1;<3>:={}}", "T rows=4 | a; 0=1"},
    {"table T{<3>:={}}", "T rows=4"},
    {"table T{a:=1;<5>:={}<2>:={}}", "T rows=6 | a; 0=1"},
    {"table T{a:=1;<2.7>:={4}}", "T rows=3 | a; 0=1 2=4"},
    {"table T{a:=1;<0>:={9}}", "T rows=1 | a; 0=9"},
    {"table T{a:=1;<sum>:={9}}", "T rows=1 | a; -1=9 0=1"},
    {"table T{a:=1;<total>:={9}}", "T rows=1 | a; -1=9 0=1"},
    // Positional values fill the fields in column order.
    {"table T{a:=1;b:=2;c:=3;<1>:={7,8,9}}", "T rows=2 | a; 0=1 1=7 | b; 0=2 1=8 | c; 0=3 1=9"},
    {"table T{a:=1;b:=2;<1>:={,5}}", "T rows=2 | a; 0=1 | b; 0=2 1=5"},
    // A named element does not move to its field, but it does take a column.
    {"table T{a:=1;b:=2;c:=3;<1>:={c:=7,8}}", "T rows=2 | a; 0=1 | b; 0=2 1=8 | c; 0=3 1=7"},
    {"table T{a:=1;b:=2;<1>:={<2>:=5,6}}", "T rows=2 | a; 0=1 | b; 0=2 1=6"},
    {"table T{1;2;3;<1>:={<3>:=5}}", "T rows=2 | ; 0=1 | ; 0=2 | ; 0=3 1=5"},
    // A trailing comma leaves an empty last element, even past the last field.
    {"table T{a:=1;<1>:={5,}}", "T rows=2 | a; 0=1 1=5"},
    {"table T{a:=1;<1>:={a:=5,}}", "T rows=2 | a; 0=1 1=5"},
    {"table T{1;2;<1>:={5,6,}}", "T rows=2 | ; 0=1 1=5 | ; 0=2 1=6"},
    {"table T{a:=1;<1>:={5,,,}}", "T rows=2 | a; 0=1 1=5"},
    // Row blocks may name fields defined after them.
    {"table T{<1>:={b:=5}a:=1;b:=2;}", "T rows=2 | a; 0=1 | b; 0=2 1=5"},
    // Names in row elements: bracketed, signatures, hash text.
    {"table T{[my name]:=1;<1>:={[my name]:=2}}", "T rows=2 | my name; 0=1 1=2"},
    {"table T{[f(a,b)]:= a+b;<1>:={f(a,b):=3}}", "T rows=2 | f(a,b); 0=a+b 1=3"},
    {"table T{[f(a, b)]:= a+b;<1>:={[f(a, b)]:=3}}", "T rows=2 | f(a, b); 0=a+b 1=3"},
    {"table T{b:=1;<1>:={#b#:=2}}", "T rows=2 | b; 0=1 1=2"},
    // Hash text: a formula that does not parse survives as an error formula.
    {"table T{a:=#(1#;}", "T rows=1 | a; 0=#(1#*"},
    {"table T{a:=#1+2#!}", "T rows=1 | a! 0=#1+2#"},
    {"table T{a:=#  #;}", "T rows=1 | a;"},
    {"table T{a:=1;<1>:={#1 2#}}", "T rows=2 | a; 0=1 1=#1 2#*"},
    // The source text: no blanks or comments before, no terminator or
    // trailing comment after, inner comments and line feeds kept.
    {"table T{a:= // lead\n /* more */ 1 + /* in */ 2 /* trail */ ;}",
     "T rows=1 | a; 0=1 + /* in */ 2"},
    {"table T{a:=1 +\n  2!}", "T rows=1 | a! 0=1 +\n  2"},
    {"table T{a:=1;<1>:={ /* c */ 2 // t\n }}", "T rows=2 | a; 0=1 1=2"},
    {"table T{a:=\"x\ny\"!}", "T rows=1 | a! 0=\"x\ny\""},
    {"table T{a:=if a > 1 then 2 else 3;}", "T rows=1 | a; 0=if a > 1 then 2 else 3"},
    // Words that start the next item are names inside a table.
    {"table T{table:=1;b:=table+1!}", "T rows=1 | table; 0=1 | b! 0=table+1"},
};

TEST(TableParserTest, ReadsTheModelOfEachText) {
    for (const auto& row : kReadCases) {
        SCOPED_TRACE(row.text);
        try {
            EXPECT_EQ(renderTable(readTable(row.text)), row.expected);
        } catch (const StringPointer& message) {
            ADD_FAILURE() << "threw " << message->toStdString();
        }
    }
}

// The index order of a set of field names, as the "not found" message lists them.
std::string indexOrder(std::initializer_list<const char*> names) {
    auto index = make<Hashtable>();
    for (const char* name : names)
        index->put(str(name), str(name));
    return join(index->keys(), ",")->toStdString();
}

struct ErrorCase {
    const char* text;
    const char* where;  // LINE:COL of what the message is about
    std::string message;
};

// Each message with the place it names: the token that could not be used,
// the element whose field is missing, the character that is not a token.
TEST(TableParserTest, ThrowsEachMessageOfTheGrammarAtItsPlace) {
    const std::vector<ErrorCase> cases = {
        {"table T{a:=1 2!}", "1:14", "syntax error: expecting ; ! or ="},
        {"table T{a:=1", "1:13", "syntax error: expecting ; ! or ="},
        {"table T{a:=1;<1>:={<1>:=5 6}}", "1:27", "expecting }  or ,"},
        {"table T{a:=1;<1>:={a:=5 6}}", "1:25", "expecting }  or ,"},
        {"table T{a:=1;<1>:={1 2}}", "1:22", "expecting , or }"},
        {"table T{a:=1;<1>:={5,6}}", "1:22", "field not found"},
        {"table T{<1>:={5}}", "1:15", "field not found"},
        {"table T{a:=1;<1>:={<2>:=5}}", "1:20", "field not found"},
        {"table T{a:=1;<1>:={<0>:=5}}", "1:20", "field not found"},
        {"table T{a:=1;<1>:={a:=}}", "1:23", "expecting expression after :="},
        {"table T{a:=1;<1>:={a:=,}}", "1:23", "expecting expression after :="},
        {"table T{b:=1;a:=2;<1>:={x:=1}}", "1:25", "field x not found in fields:b,a"},
        {"table T{a:=1;bb:=2;ccc:=3;<1>:={x:=1}}", "1:33",
         "field x not found in fields:" + indexOrder({"a", "bb", "ccc"})},
        {"table T{a:=1;<1>:={a+1:=1}}", "1:20",
         "Invalid field name: expecting identifier or function signature"},
        {"table T{a:=1;<1>:={f(1):=1}}", "1:20",
         "Invalid field name:  function name parameters must be identifiers only"},
        {"tabel T{}", "1:1", "expecting table"},
        {"", "1:1", "expecting table"},
        {"table T(}", "1:8", "expecting {"},
        {"table T extends B x{}", "1:19", "expecting {"},
        {"table T{a:=1;<1>:=5}", "1:19", "expecting {"},
        // "expecting <" and "expecting }" cannot occur: "<" is only taken
        // after it was seen, and the body ends only at "}".
        {"table T{a:=1;<1 2>:={}}", "1:17", "expecting >"},
        {"table T{a:=1;<1>:={<1 2>:=5}}", "1:23", "expecting >"},
        {"table T{a:=1;<1>{}}", "1:17", "expecting :="},
        {"table T{a:=1;<1>:={<1>5}}", "1:23", "expecting :="},
        {"table {}", "1:7", "expecting identifier"},
        {"table T extends {}", "1:17", "expecting identifier"},
        {"table T{a:=1;<1>:={<x>:=5}}", "1:21", "expecting number"},
        {"table T{a:=1;<1>:={<-1>:=5}}", "1:21", "expecting number"},
        {"table T{a:=1;<3000000000>:={}}", "1:15", "row number too large"},
        {"table T{a:=1;<1e999>:={}}", "1:15", "row number too large"},
        // Errors of the expression grammar abort the table.
        {"table T{a:=1<!}", "1:14", "Syntax error2"},
        {"table T{a:=(1;}", "1:14", "expecting )"},
        {"table T{a:=1;<1>:={(1}}", "1:22", "expecting )"},
        {"table T{a:=$;}", "1:12", "invalid char"},
        {"table T{a:=1;\n  /* open}", "2:3", "unterminated comment"},
        {"table T{a:=1 /* open;}", "1:14", "unterminated comment"},
        // A table that runs into the end or into the next table's header
        // misses its closing brace, said where it was expected.
        {"table T{a:=1;", "1:14", "missing } of table T begun at 1:1"},
        {"table T{", "1:9", "missing } of table T begun at 1:1"},
        {"table T{a:=1;\n<1>:={2}\n", "3:1", "missing } of table T begun at 1:1"},
        {"// T\n  table T extends B{a:=1;\ntable U{}", "3:1", "missing } of table T begun at 2:3"},
        {"table T{a:=1;\ntable U extends T{}", "2:1", "missing } of table T begun at 1:1"},
        {"table [my T]{a:=1; table [U]{}", "1:20", "missing } of table my T begun at 1:1"},
        // A field may be called "table": only a header ends the table.
        {"table T{table:=1; table x}", "1:25", "syntax error: expecting ; ! or ="},
        // Lines end with LF, CR LF or a lone CR alike.
        {"table T{\n    a:=1;\n    b:=a 2;\n}", "3:10", "syntax error: expecting ; ! or ="},
        {"// T\r\ntable T{\r\n    a:=(1;\r\n}", "3:10", "expecting )"},
        {"// T\rtable T{\r    a:=1;\r    <1>:={a:=1,\r        q:=2}\r}", "5:9",
         "field q not found in fields:a"},
        {"/* T\r\n\r */\n\rtable T{<1>:={5}}", "5:15", "field not found"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(readErrorAt(row.text), std::string(row.where) + " " + row.message);
    }
}

TEST(TableParserTest, HashTextProtectsAFormulaThatDoesNotParse) {
    // Without the hash marks the same text fails the whole table.
    EXPECT_EQ(readError("table T{a:=(1;}"), "expecting )");
    Pointer<TableDef> table = readTable("table T{a:=#(1#;}");
    ExpressionPointer formula = table->field(0)->formula(0);
    ASSERT_TRUE(is<ExpressionSource>(formula));
    EXPECT_EQ(cast<ExpressionSource>(formula)->text()->toStdString(), "(1");
    EXPECT_TRUE(is<ErrorExpression>(cast<ExpressionSource>(formula)->innermost()));
    ASSERT_TRUE(is<Warning>(formula->errorOf()));
    EXPECT_EQ(cast<Warning>(formula->errorOf())->message()->toStdString(),
              "Invalid formula: expecting )");
    EXPECT_EQ(formula->displayText()->toStdString(), "=(1");

    // Hash text that parses is an ordinary formula, still written as hash text.
    ExpressionPointer valid = readTable("table T{a:=#1+2#;}")->field(0)->formula(0);
    EXPECT_TRUE(valid->errorOf().isNull());
    EXPECT_EQ(valid->displayText()->toStdString(), "=1+2");
}

TEST(TableParserTest, NamesAreTextsAndUnnamedFieldsHaveTheEmptyName) {
    Pointer<TableDef> table = readTable("table T{x;[f(a,b)]:=a;q:=1!}");
    ASSERT_EQ(table->fieldCount(), 3);
    ASSERT_TRUE(is<String>(table->field(0)->name()));
    EXPECT_EQ(cast<String>(table->field(0)->name())->length(), 0);
    EXPECT_FALSE(table->field(0)->isNamed());
    ASSERT_TRUE(is<String>(table->field(1)->name()));
    EXPECT_EQ(cast<String>(table->field(1)->name())->toStdString(), "f(a,b)");
    EXPECT_EQ(table->field(2)->owner(), table.get());
}

TEST(TableParserTest, LeavesTheStreamAfterTheTableAndCanBeReused) {
    auto stream = make<StringStream>(str("table A{a:=1;} table B{b:=2;<1>:={a:=3}} rest"));
    auto parser = make<TableParser>();
    Pointer<TableDef> first = parser->parseTable(stream);
    EXPECT_EQ(test::renderTable(first), "A rows=1 | a; 0=1");
    EXPECT_TRUE(stream->peek()->isWord("table"));
    // The second table has its own field index: "a" belongs to the first.
    try {
        parser->parseTable(stream);
        ADD_FAILURE() << "expected an error";
    } catch (const StringPointer& message) {
        EXPECT_EQ(message->toStdString(), "field a not found in fields:b");
    }
    auto again = make<StringStream>(str("table C{c:=1;<2>:={c:=4}}rest"));
    EXPECT_EQ(renderTable(parser->parseTable(again)), "C rows=3 | c; 0=1 2=4");
    EXPECT_TRUE(again->peek()->isWord("rest"));
}

TEST(TableParserTest, RowFormulasAreSeparateFromTheFieldFormula) {
    Pointer<TableDef> table = readTable("table T{a:=1;b:=2;<2>:={b:=x*2}<sum>:={sum(a)}}");
    ASSERT_EQ(table->fieldCount(), 2);
    EXPECT_EQ(table->field(0)->formula(-1)->toSource()->toStdString(), "sum(a)");
    EXPECT_TRUE(table->field(0)->formula(2).isNull());
    EXPECT_TRUE(table->field(1)->formula(-1).isNull());
    EXPECT_EQ(table->field(1)->formula(2)->toSource()->toStdString(), "x*2");
    EXPECT_EQ(table->numRows(), 3);
}

}  // namespace
}  // namespace qv
