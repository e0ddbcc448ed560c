// What qvl writes: the table warnings of check and show, control
// characters escaped for the terminal, JSON that stays valid for any bytes a
// document holds, exact numbers, and fmt's text handed on in pieces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/TerminalText.h"
#include "cli/Commands.h"
#include "cli/TableRenderer.h"
#include "core/Number.h"
#include "kernel/RowLimits.h"
#include "tests/cli/CommandTestSupport.h"
#include "tests/cli/JsonValidator.h"

namespace qv::cli {
namespace {

using test::JsonValidator;
using test::Outcome;
using test::run;
using test::writeDocument;

TEST(OutputFormatTest, ControlsAndStrayBytesAreEscapedForTheTerminal) {
    struct Row {
        std::string text;
        std::string shown;
        std::size_t width;
    } rows[] = {
        {"plain text", "plain text", 10},
        {"a\nb", "a\\nb", 4},
        {"\t\r", "\\t\\r", 4},
        {"\x1b[31mred", "\\x1b[31mred", 11},
        {std::string("nul\0", 4), "nul\\x00", 7},
        {"\x7f", "\\x7f", 4},
        {"\xc2\x85 \xc2\x9b", "\\u0085 \\u009b", 13},  // C1 controls (NEL, CSI)
        {"\x9b", "\\x9b", 4},                          // CSI as a lone byte: not UTF-8
        {"\xff\xfe", "\\xff\\xfe", 8},
        {"\xe2\x82", "\\xe2\\x82", 8},                     // cut short
        {"\xc0\xaf", "\\xc0\\xaf", 8},                     // overlong
        {"\xed\xa0\x80", "\\xed\\xa0\\x80", 12},           // surrogate
        {"\xf4\x90\x80\x80", "\\xf4\\x90\\x80\\x80", 16},  // past U+10FFFF
        {"\u00e9t\u00e9 \u00a0\u20ac\U0001F600", "\u00e9t\u00e9 \u00a0\u20ac\U0001F600", 7},
        {"back\\slash", "back\\slash", 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown);
        EXPECT_EQ(forTerminal(row.text), row.shown);
        EXPECT_EQ(terminalWidth(row.text), row.width);
        bool printableAscii =
            row.shown == row.text && row.text.find_first_of("\xc3\xc2") == std::string::npos;
        EXPECT_EQ(isPlainText(row.text), printableAscii);
        EXPECT_LE(forTerminal(row.text).size(), kMaxEscapeGrowth * row.text.size());
    }
}

TEST(OutputFormatTest, TheTextGridShowsEscapesAndStaysAligned) {
    std::string path = writeDocument(
        "controls.qvl",
        "table T{ x:=range 1 to 3! s:=if x=1 then \"a\tb\" else if x=2 then \"\x1b[2J\xc2\x9b\" "
        "else \"\xff\u00e9\"! n:=x! }\n");
    Outcome outcome = run(runShow, {path});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out,
              "table T\n"
              "     x  s              n\n"
              "1    1  a\\tb           1\n"
              "2    2  \\x1b[2J\\u009b  2\n"
              "3    3  \\xff\u00e9          3\n"
              "sum  6                 6\n");
    // Nothing below a blank reaches the terminal but the line ends.
    for (char ch : outcome.out) {
        auto byte = static_cast<unsigned char>(ch);
        EXPECT_TRUE(byte >= 0x20 || ch == '\n') << static_cast<int>(byte);
    }
}

TEST(OutputFormatTest, TheValidatorRejectsWhatIsNotJson) {
    struct Row {
        std::string text;
        bool valid;
    } rows[] = {
        {"{\"a\":[1,-2.5e3,true,null,\"\\u00e9\\n\"]}\n", true},
        {"{\"a\":\"\xc3\xa9\"}", true},
        {"{\"a\":\"\x1b\"}", false},          // a raw control
        {"{\"a\":\"\xff\"}", false},          // not UTF-8
        {"{\"a\":\"\xed\xa0\x80\"}", false},  // a surrogate
        {"{\"a\":\"\\x1b\"}", false},         // no such escape
        {"{\"a\":[1,]}", false},
        {"{\"a\":01}", false},
        {"{\"a\":1}x", false},
        {"{\"a\":\"b}", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(JsonValidator::isValid(row.text), row.valid);
    }
}

TEST(OutputFormatTest, JsonStaysValidForAnyBytesOfADocument) {
    std::string path = writeDocument(
        "bytes.qvl",
        "table T{ x:=range 1 to 4! s:=if x=1 then \"a\tb\xff\xfe\" else if x=2 then "
        "\"\x1b[2J\x7f\x01\" else if x=3 then \"\xc2\x85\xe2\x82\" else \"\\q\xed\xa0\x80\"! }\n"
        "table U extends Nowhere{ y:=1! }\n");
    Outcome outcome = run(runShow, {"--format", "json", path});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(JsonValidator::isValid(outcome.out)) << outcome.out;
    for (const char* expected :
         {"\"a\\tb\xef\xbf\xbd\xef\xbf\xbd\"", "\"\\u001b[2J\\u007f\\u0001\"",
          "\"\\u0085\xef\xbf\xbd\xef\xbf\xbd\"", "\"\\\\q\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\"",
          "\"warning\":\"base table not found\""}) {
        EXPECT_NE(outcome.out.find(expected), std::string::npos) << expected;
    }
}

// Each number read back from --exact output is the double the kernel
// computed, in every format and in eval; the shown texts stay as before.
TEST(OutputFormatTest, ExactNumbersReadBackAsTheSameDouble) {
    const char* formulas[] = {"0.1+0.2",   "1/3",           "1e-300", "-1/7",
                              "2/3*1e300", "123456789.123", "5e-324", "1.7976931348623157e308"};
    std::string text = "table T{ x:=range 1 to 1!";
    for (std::size_t i = 0; i < std::size(formulas); ++i)
        text += " f" + std::to_string(i) + ":=" + formulas[i] + "!";
    text += " }\n";
    std::string path = writeDocument("exact.qvl", text);
    Pointer<Document> document = Document::read(str(text));
    Pointer<TableResult> table = document->kernel()->getTableByName("T");
    auto computed = [&](std::size_t i) {
        auto field = static_cast<std::int32_t>(i) + 1;
        return cast<Double>(table->value(field, 1))->value();
    };
    for (const char* format : {"csv", "tsv"}) {
        SCOPED_TRACE(format);
        Outcome outcome = run(runShow, {"--exact", "--format", format, path});
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        std::istringstream lines(outcome.out);
        std::string header, row;
        std::getline(lines, header);
        std::getline(lines, row);
        char delimiter = format[0] == 'c' ? ',' : '\t';
        std::vector<std::string> cells;
        std::istringstream fields(row);
        for (std::string cell; std::getline(fields, cell, delimiter);)
            cells.push_back(cell);
        ASSERT_EQ(cells.size(), std::size(formulas) + 2);  // label, x, the formulas
        for (std::size_t i = 0; i < std::size(formulas); ++i) {
            SCOPED_TRACE(formulas[i]);
            double read = std::strtod(cells[i + 2].c_str(), nullptr);
            double expected = computed(i);
            EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << cells[i + 2];
        }
    }
    Outcome json = run(runShow, {"--exact", "--format", "json", path});
    EXPECT_NE(json.out.find("\"0.30000000000000004\",\"0.3333333333333333\",\"1e-300\""),
              std::string::npos);
    Outcome eval = run(runEval, {"--exact", path, "0.1+0.2", "1/3", "T[1].f4", "\"a\""});
    EXPECT_EQ(eval.out, "0.30000000000000004\n0.3333333333333333\n6.666666666666667e+299\na\n");
    Outcome shown = run(runEval, {path, "0.1+0.2", "1/3", "T[1].f4"});
    EXPECT_EQ(shown.out, "0.3\n0.3333333333\n666.6666667e+297\n");
}

#if !defined(QV_TEST_SANITIZED)
std::string manyFieldsDocument() {
    // A base table of 2,000 fields and 1,000 tables extending it: the last
    // one passes the program's field budget.
    std::string text = "table B{";
    for (int f = 0; f < 2000; ++f)
        text += " f" + std::to_string(f) + ":=1;";
    text += " }\n";
    for (int k = 0; k < 1000; ++k)
        text += "table E" + std::to_string(k) + " extends B{ }\n";
    return text;
}
#endif

TEST(OutputFormatTest, CheckReportsEachTableWarning) {
    struct Row {
        std::string text;
        std::string warnings;  // the lines before the summary
        std::string summary;   // after "FILE: "
    };
    std::vector<Row> rows = {
        {"table A extends B{ x:=1! }\ntable B extends A{ y:=2! }\ntable C{ z:=1! }\n",
         "A: (circular)\nB: (circular)\n",
         "3 tables, 3 fields, 0 rows, 0 cells with errors, 2 tables with warnings"},
        {"table C extends Nowhere{ z:=1! }\n", "C: base table not found\n",
         "1 tables, 1 fields, 0 rows, 0 cells with errors, 1 tables with warnings"},
        {"table A{ a:=1! }\ntable A{ b:=2! }\n", "A: Table already defined\n",
         "2 tables, 2 fields, 0 rows, 0 cells with errors, 1 tables with warnings"},
        // Rows past the limit: the range cells refuse them, the table counts.
        {"table X{ a:=range 1 to 5000! b:=range 1 to 5000! }\ntable T{ c:=1! }\n",
         "X: too many rows: 25000000 rows pass the limit of 10000000\n",
         "2 tables, 3 fields, 0 rows, 2 cells with errors, 1 tables with warnings"},
    };
#if !defined(QV_TEST_SANITIZED)
    // Linking two million fields takes a minute under the sanitizers; the
    // kernel's own tests cover the budget there.
    rows.push_back({manyFieldsDocument(),
                    "E999: too many fields: the program passes the limit of " +
                        std::to_string(kMaxLinkedFields) + "\n",
                    "1001 tables, 2002000 fields, 0 rows, 0 cells with errors, 1 tables with "
                    "warnings"});
    // One table of 2,000,001 fields keeps none of them, but has them all.
    std::string wide = "table W{";
    for (int f = 0; f <= 2'000'000; ++f)
        wide += "1;";
    rows.push_back({wide + "}\n",
                    "W: too many fields: the program passes the limit of " +
                        std::to_string(kMaxLinkedFields) + "\n",
                    "1 tables, 2000001 fields, 0 rows, 0 cells with errors, 1 tables with "
                    "warnings"});
#endif
    for (const Row& row : rows) {
        SCOPED_TRACE(row.warnings);
        std::string path = writeDocument("warned.qvl", row.text);
        Outcome outcome = run(runCheck, {path});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, row.warnings + path + ": " + row.summary + "\n");
    }
}

TEST(OutputFormatTest, StrictCheckFailsOnWarningsAndErrorCells) {
    struct Row {
        const char* text;
        int strict;
    } rows[] = {
        {"table T{ x:=range 1 to 3! y:=x*2! }\n", 0},
        {"table C extends Nowhere{ z:=1! }\n", 1},
        {"table T{ a:=nothing! }\n", 1},
        {"table T{ x:=range 1 to 2! a:=if x=2 then nothing else 1! }\n", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string path = writeDocument("strict.qvl", row.text);
        Outcome plain = run(runCheck, {path});
        EXPECT_EQ(plain.status, 0);
        Outcome strict = run(runCheck, {"--strict", path});
        EXPECT_EQ(strict.status, row.strict);
        EXPECT_EQ(strict.out, plain.out);
    }
}

TEST(OutputFormatTest, DelimitedOutputStartsWithTheWarning) {
    std::string path =
        writeDocument("delimited.qvl",
                      "table C extends Nowhere{ x:=range 1 to 2! }\ntable T{ x:=range 1 to 2! }\n");
    struct Row {
        const char* format;
        const char* table;
        const char* expected;
    } rows[] = {
        {"csv", "C", "# warning: base table not found\n,x\n1,1\n2,2\nsum,3\n"},
        {"tsv", "C", "# warning: base table not found\n\tx\n1\t1\n2\t2\nsum\t3\n"},
        {"csv", "T", ",x\n1,1\n2,2\nsum,3\n"},
        {"text", "C", "table C\nwarning: base table not found\n     x\n1    1\n2    2\nsum  3\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.format) + " " + row.table);
        Outcome outcome = run(runShow, {"--format", row.format, path, row.table});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, row.expected);
    }
}

// A table without data rows shows an empty grid; the errors of its formula
// row are said under it. Where a row or --all shows them, nothing is added.
TEST(OutputFormatTest, FormulaRowErrorsShowUnderAnEmptyGrid) {
    struct Row {
        const char* what;
        const char* text;
        std::vector<std::string> options;
        const char* expected;
    } rows[] = {
        {"an undefined name",
         "table T{ a:=nosuch! b:=1/0! }",
         {},
         "table T\n     a  b\nsum\nerror in formula row: a: undefined: nosuch\n"},
        {"two errors, in field order",
         "table T{ b:=nosuch! c:=1! a:=b+1! }",
         {},
         "table T\n     b  c  a\nsum\nerror in formula row: b: undefined: nosuch\n"
         "error in formula row: a: depends on cell that contain error\n"},
        {"csv ends with it",
         "table T{ a:=nosuch! }",
         {"--format", "csv"},
         ",a\nsum,\n# error in formula row: a: undefined: nosuch\n"},
        {"tsv too",
         "table T{ a:=nosuch! }",
         {"--format", "tsv"},
         "\ta\nsum\t\n# error in formula row: a: undefined: nosuch\n"},
        {"--all shows the row itself",
         "table T{ a:=nosuch! }",
         {"--all"},
         "table T\n      a\nbase  undefined: nosuch\nsum\n"},
        {"data rows repeat it",
         "table T{ a:=nosuch! <1>:={} }",
         {},
         "table T\n     a\n1    undefined: nosuch\nsum\n"},
        {"a hidden field is not shown",
         "table T{ a:=nosuch; b:=2! }",
         {},
         "table T\n     b\nsum\n"},
        {"no error, nothing added", "table T{ a:=1! }", {}, "table T\n     a\nsum\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string path = writeDocument("formularow.qvl", row.text);
        std::vector<std::string> arguments = row.options;
        arguments.push_back(path);
        Outcome outcome = run(runShow, arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, row.expected);
    }
}

// fmt hands the text on a table at a time; it must be the text the program
// writes on saving, byte for byte.
TEST(OutputFormatTest, FmtPrintsWhatTheDocumentWrites) {
    for (const char* file : {"loan.qvl", "prices.qvl", "scenarios.qvl", "statistics.qvl",
                             "whatif.qvl", "lookup.qvl"}) {
        SCOPED_TRACE(file);
        std::string path = std::string(QV_SOURCE_DIR) + "/examples/" + file;
        Outcome outcome = run(runFmt, {path});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.out, Document::readFile(path)->toSource()->toStdString() + "\n");
    }
}

// A long table is rendered a slice of rows at a time (the grid measured
// first and written after): its output in every format must be that of the
// table rendered whole, with the widest cell and an escaped text only in a
// late slice, and at the sizes around a slice's end.
TEST(OutputFormatTest, ALongTableInSlicesWritesWhatItWritesWhole) {
    auto capture = [](Format format, const std::function<void(TableWriter&)>& write) {
        std::FILE* file = std::tmpfile();
        {
            TableWriter writer(format, file);
            write(writer);
            writer.finish();
        }
        std::rewind(file);
        std::string text;
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        std::fclose(file);
        return text;
    };
    for (int rows : {32766, 32767, 32768, 70001}) {
        SCOPED_TRACE(rows);
        std::string late = std::to_string(rows - 3);
        Pointer<Document> document = Document::read(
            str("table T{ x:=range 1 to " + std::to_string(rows) + "! s:=if x=" + late +
                " then \"wide \x1b text\" else \"a\"! n:=x/7! }\n"
                "table U{ y:=range 1 to 3! }\n"));
        ASSERT_FALSE(document.isNull());
        Kernel& kernel = *document->kernel();
        for (Format format : {Format::Text, Format::Csv, Format::Tsv, Format::Json}) {
            for (bool all : {false, true}) {
                SCOPED_TRACE(static_cast<int>(format) * 2 + all);
                std::string whole = capture(format, [&](TableWriter& writer) {
                    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t)
                        writer.write(renderTable(*kernel.getTable(t), all));
                });
                std::string sliced = capture(format, [&](TableWriter& writer) {
                    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t)
                        writer.write(*kernel.getTable(t), all, NumberStyle::Display);
                });
                EXPECT_EQ(sliced, whole);
                EXPECT_NE(whole.find("wide "), std::string::npos);
            }
        }
    }
}

}  // namespace
}  // namespace qv::cli
