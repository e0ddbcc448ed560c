// The CSV reader: every quoting and line-end case, the delimiters and their
// guess, the decimal comma, the encodings, the type found per column, the
// names made from a header, and every bad input with its message and place.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/CsvCells.h"
#include "core/CsvReader.h"

namespace qv {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows cellsOf(const CsvTable& table) {
    Rows rows;
    for (std::int64_t row = 0; row < table.rowCount(); ++row) {
        std::vector<std::string> cells;
        for (std::int32_t column = 0; column < table.columnCount(); ++column)
            cells.emplace_back(table.cell(row, column));
        rows.push_back(cells);
    }
    return rows;
}

std::string typesOf(const CsvTable& table) {
    std::string types;
    for (std::int32_t column = 0; column < table.columnCount(); ++column) {
        switch (table.columnType(column)) {
            case CsvType::Empty:
                types += 'e';
                break;
            case CsvType::Number:
                types += 'n';
                break;
            case CsvType::Boolean:
                types += 'b';
                break;
            case CsvType::Text:
                types += 't';
                break;
        }
    }
    return types;
}

// How a case reads its data: plain values, so the tables of cases need no
// copies of the reader's callback.
struct Reading {
    char delimiter = 0;
    bool header = true;
    bool decimalComma = false;
    CsvEncoding encoding = CsvEncoding::Utf8;
    std::int64_t maxBytes = std::int64_t{1} << 29;
    std::int64_t maxRows = 10'000'000;
    std::int64_t maxCells = 20'000'000;
    std::int64_t maxCellBytes = 16 << 20;
    std::int32_t maxColumns = 10'000;

    CsvOptions options() const {
        CsvOptions options;
        options.delimiter = delimiter;
        options.header = header;
        options.decimalComma = decimalComma;
        options.encoding = encoding;
        options.maxBytes = maxBytes;
        options.maxRows = maxRows;
        options.maxCells = maxCells;
        options.maxCellBytes = maxCellBytes;
        options.maxColumns = maxColumns;
        return options;
    }
};

Reading noHeader() {
    Reading reading;
    reading.header = false;
    return reading;
}

Reading with(char delimiter, bool header = true, bool decimalComma = false) {
    Reading reading;
    reading.delimiter = delimiter;
    reading.header = header;
    reading.decimalComma = decimalComma;
    return reading;
}

Reading latin1() {
    Reading reading;
    reading.encoding = CsvEncoding::Latin1;
    return reading;
}

TEST(CsvReader, ReadsRowsAndCells) {
    struct Case {
        const char* name;
        std::string data;
        Reading reading;
        std::vector<std::string> fields;
        std::string types;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"plain, LF", "a,b\n1,2\n3,4\n", {}, {"a", "b"}, "nn", {{"1", "2"}, {"3", "4"}}},
        {"no line end at the end", "a,b\n1,2", {}, {"a", "b"}, "nn", {{"1", "2"}}},
        {"CRLF", "a,b\r\n1,x\r\n", {}, {"a", "b"}, "nt", {{"1", "x"}}},
        {"CR alone", "a,b\r1,x\r2,y", {}, {"a", "b"}, "nt", {{"1", "x"}, {"2", "y"}}},
        {"empty lines are skipped",
         "a,b\n\n1,2\r\n\r\n\n3,4\n\n",
         {},
         {"a", "b"},
         "nn",
         {{"1", "2"}, {"3", "4"}}},
        {"quoted cells", "a,b\n\"x, y\",\"2\"\n", {}, {"a", "b"}, "tt", {{"x, y", "2"}}},
        {"a quoted empty cell", "a,b\n\"\",1\n", {}, {"a", "b"}, "en", {{"", "1"}}},
        {"line ends inside quotes become LF",
         "a,b\n\"1\r\n2\r3\n4\",z\n",
         {},
         {"a", "b"},
         "tt",
         {{"1\n2\n3\n4", "z"}}},
        {"a quote inside a plain cell is a character in the header",
         "a\"b,c\n1,2\n",
         {},
         {"a b", "c"},
         "nn",
         {{"1", "2"}}},
        {"empty cells",
         "a,b,c\n,,\n1,,x\n",
         {},
         {"a", "b", "c"},
         "net",
         {{"", "", ""}, {"1", "", "x"}}},
        {"a delimiter at the end makes an empty last cell",
         "a,b\n1,\n",
         {},
         {"a", "b"},
         "ne",
         {{"1", ""}}},
        {"only a header", "a,b\n", {}, {"a", "b"}, "ee", {}},
        {"a byte-order mark", "\xEF\xBB\xBFname,n\nx,1\n", {}, {"name", "n"}, "tn", {{"x", "1"}}},
        {"semicolon given", "a;b\n1,5;2\n", with(';'), {"a", "b"}, "tn", {{"1,5", "2"}}},
        {"tab given", "a\tb\n1\t2\n", with('\t'), {"a", "b"}, "nn", {{"1", "2"}}},
        {"semicolon guessed", "a;b;c\n1;2;3\n", {}, {"a", "b", "c"}, "nnn", {{"1", "2", "3"}}},
        {"tab guessed", "a\tb\nx,y\tz\n", {}, {"a", "b"}, "tt", {{"x,y", "z"}}},
        {"decimal comma",
         "a;b\n1,5;-2,25e3\n",
         with(';', true, true),
         {"a", "b"},
         "nn",
         {{"1,5", "-2,25e3"}}},
        {"decimal comma makes a point text",
         "a;b\n1.5;2\n",
         with(';', true, true),
         {"a", "b"},
         "tn",
         {{"1.5", "2"}}},
        {"no header",
         "1,2\n3,4\n",
         noHeader(),
         {"column 1", "column 2"},
         "nn",
         {{"1", "2"}, {"3", "4"}}},
        {"Booleans in any case",
         "a,b\ntrue,TRUE\nFalse,x\n",
         {},
         {"a", "b"},
         "bt",
         {{"true", "TRUE"}, {"False", "x"}}},
        {"a quoted number is a text", "a\n\"1\"\n2\n", {}, {"a"}, "t", {{"1"}, {"2"}}},
        {"Latin-1 converted",
         "n\xE4me\nd\xE9j\xE0\n",
         latin1(),
         {"n\xC3\xA4me"},
         "t",
         {{"d\xC3\xA9j\xC3\xA0"}}},
        {"UTF-8 kept",
         "name\n\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\n",
         {},
         {"name"},
         "t",
         {{"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"}}},
        {"header names made valid and unique",
         "Unit Price,\"a\"\"b\",x,x,,Total (EUR),if,f(x)\n1,2,3,4,5,6,7,8\n",
         {},
         {"Unit Price", "a b", "x", "x 2", "column 5", "Total EUR", "if", "f x"},
         "nnnnnnnn",
         {{"1", "2", "3", "4", "5", "6", "7", "8"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CsvResult result = readCsv(c.data, c.reading.options());
        ASSERT_TRUE(result.ok()) << describeCsvError(result.error);
        EXPECT_EQ(result.table->fieldNames(), c.fields);
        EXPECT_EQ(typesOf(*result.table), c.types);
        EXPECT_EQ(cellsOf(*result.table), c.rows);
        // A stream read in chunks reads the same.
        std::istringstream stream(c.data);
        CsvResult streamed = readCsv(stream, c.reading.options());
        ASSERT_TRUE(streamed.ok());
        EXPECT_EQ(cellsOf(*streamed.table), c.rows);
    }
}

TEST(CsvReader, RefusesBadInputWithItsPlace) {
    struct Case {
        const char* name;
        std::string data;
        Reading reading;
        std::int64_t line;
        std::int64_t column;
        std::string message;
    };
    Reading tiny;
    tiny.maxRows = 2;
    tiny.maxCells = 5;
    tiny.maxCellBytes = 4;
    tiny.maxColumns = 3;
    Reading small;
    small.maxBytes = 10;
    Reading fewCells;
    fewCells.maxCells = 5;
    const std::vector<Case> cases = {
        {"a row with too few cells", "a,b,c\n1,2,3\n4,5\n", {}, 3, 4, "expected 3 cells, found 2"},
        {"a row with too many cells", "a,b\n1,2,3\n", {}, 2, 5, "expected 2 cells, found more"},
        {"an unterminated quote", "a,b\n1,\"x\ny\n", {}, 2, 3, "unterminated quoted cell"},
        {"text after a closing quote",
         "a,b\n\"x\"y,1\n",
         {},
         2,
         4,
         "expected a delimiter or a line end after the closing quote"},
        {"a stray continuation byte",
         "a\nx\x80y\n",
         {},
         2,
         2,
         "invalid UTF-8 (is the data Latin-1?)"},
        {"a sequence cut short", "a,b\n1,\xC3\n", {}, 2, 3, "invalid UTF-8 (is the data Latin-1?)"},
        {"an overlong form", "a\n\xC0\xAF\n", {}, 2, 1, "invalid UTF-8 (is the data Latin-1?)"},
        {"columns count characters",
         "a,b\n\xC3\xA9\xC3\xA9,\xFF\n",
         {},
         2,
         4,
         "invalid UTF-8 (is the data Latin-1?)"},
        {"a NUL byte", std::string("a,b\n1,x\0y\n", 10), {}, 2, 4, "NUL byte in the data"},
        {"a NUL byte in Latin-1", std::string("a\n\0\n", 4), latin1(), 2, 1,
         "NUL byte in the data"},
        {"a double quote in a text",
         "a,b\n1,\"say \"\"hi\"\"\"\n",
         {},
         2,
         3,
         "a text may not hold a double quote"},
        {"a plain quote in a text",
         "a,b\n1,5\" wide\n",
         {},
         2,
         3,
         "a text may not hold a double quote"},
        {"an empty file", "", {}, 0, 0, "the data is empty"},
        {"only empty lines", "\n\r\n", {}, 0, 0, "the data is empty"},
        {"a delimiter that is none of the three", "a|b\n", with('|'), 0, 0,
         "the delimiter must be a comma, a semicolon or a tab"},
        {"a decimal comma with the comma", "a,b\n", with(',', true, true), 0, 0,
         "a decimal comma can not go with a comma as the delimiter"},
        {"too many rows", "a\n1\n2\n3\n", tiny, 4, 1, "more than 2 rows"},
        {"too many cells", "a,b\n1,2\n3,4\n5,6\n", fewCells, 4, 3, "more than 5 cells"},
        {"a cell too long", "a\n12345\n", tiny, 2, 5, "a cell is longer than the limit of 4 bytes"},
        {"too many columns", "a,b,c,d\n", tiny, 1, 7, "more than 3 columns"},
        {"data too large", "abcdefghijklmnop\n", small, 0, 0,
         "the data is larger than the limit of 10 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CsvResult result = readCsv(c.data, c.reading.options());
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error.message, c.message);
        EXPECT_EQ(result.error.line, c.line);
        EXPECT_EQ(result.error.column, c.column);
    }
}

TEST(CsvReader, GuessesTheDelimiterFromTheFirstLines) {
    struct Case {
        const char* data;
        bool decimalComma;
        char expected;
    };
    const std::vector<Case> cases = {
        {"a,b,c\n1,2,3\n", false, ','},
        {"a;b\n1;2\n", false, ';'},
        {"a\tb\n1\t2\n", false, '\t'},
        // Commas inside quotes do not count.
        {"\"a,b,c\";d\n\"1,2\";3\n", false, ';'},
        // The candidate that splits every line alike wins over one that
        // appears more often in a single line.
        {"a;b,c,d\n1;2\n3;4\n", false, ';'},
        // A decimal comma rules the comma out.
        {"a,b\n1,5\n", true, ';'},
        {"a;b\n1,5;2\n", true, ';'},
        {"one column\n1\n", false, ','},
        {"", false, ','},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        EXPECT_EQ(guessCsvDelimiter(c.data, c.decimalComma), c.expected);
    }
}

TEST(CsvCells, KindAndFormulaText) {
    struct Case {
        const char* text;
        bool decimalComma;
        CsvCellKind kind;
        std::string number;  // the number's formula text, for numbers
    };
    const std::vector<Case> cases = {
        {"", false, CsvCellKind::Empty, ""},          {"0", false, CsvCellKind::Number, "0"},
        {"12.5", false, CsvCellKind::Number, "12.5"}, {" 12 ", false, CsvCellKind::Number, "12"},
        {"+3", false, CsvCellKind::Number, "3"},      {"-0.5", false, CsvCellKind::Number, "-0.5"},
        {".5", false, CsvCellKind::Number, ".5"},     {"5.", false, CsvCellKind::Number, "5."},
        {"1e5", false, CsvCellKind::Number, "1e5"},   {"1E-3", false, CsvCellKind::Number, "1E-3"},
        {"0.25", false, CsvCellKind::Number, "0.25"}, {"1,5", true, CsvCellKind::Number, "1.5"},
        {"007", false, CsvCellKind::Text, ""},        {"1e999", false, CsvCellKind::Text, ""},
        {"1e", false, CsvCellKind::Text, ""},         {"1.2.3", false, CsvCellKind::Text, ""},
        {"1,5", false, CsvCellKind::Text, ""},        {"1 000", false, CsvCellKind::Text, ""},
        {".", false, CsvCellKind::Text, ""},          {"-", false, CsvCellKind::Text, ""},
        {"   ", false, CsvCellKind::Text, ""},        {"0x10", false, CsvCellKind::Text, ""},
        {"true", false, CsvCellKind::Boolean, ""},    {"FALSE", false, CsvCellKind::Boolean, ""},
        {"yes", false, CsvCellKind::Text, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(csvCellKind(c.text, c.decimalComma), c.kind);
        if (c.kind == CsvCellKind::Number) {
            EXPECT_EQ(csvNumberText(c.text, c.decimalComma), c.number);
        }
    }
    EXPECT_EQ(csvFormulaText("x y", CsvType::Text, false), "\"x y\"");
    EXPECT_EQ(csvFormulaText("12", CsvType::Text, false), "\"12\"");
    EXPECT_EQ(csvFormulaText(" TRUE", CsvType::Boolean, false), "true");
    EXPECT_EQ(csvFormulaText("1,5", CsvType::Number, true), "1.5");
    EXPECT_EQ(csvFormulaText("", CsvType::Number, false), "");
}

TEST(CsvCells, FieldNames) {
    struct Case {
        std::vector<std::string> header;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases = {
        {{"a", "b"}, {"a", "b"}},
        {{" a ", "  b  c "}, {"a", "b c"}},
        {{"", ""}, {"column 1", "column 2"}},
        {{"x", "x", "x"}, {"x", "x 2", "x 3"}},
        {{"x 2", "x", "x"}, {"x 2", "x", "x 3"}},
        {{"column 2", ""}, {"column 2", "column 2 2"}},
        {{"a]b", "#c#", "\"d\"", "e\tf", "g(h)"}, {"a b", "c", "d", "e f", "g h"}},
        {{"()", "]"}, {"column 1", "column 2"}},
        {{"owner~name", "x~base"}, {"owner_name", "x_base"}},
        {{"caf\xC3\xA9"}, {"caf\xC3\xA9"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(csvFieldNames(c.header), c.names);
    }
}

TEST(CsvReader, ChunkBoundariesSplitNothing) {
    // A two-byte character, a CRLF and a doubled quote each placed across
    // the reader's 64 KiB chunk boundary give the same cells as in memory.
    for (std::size_t pad = 65530; pad < 65540; ++pad) {
        std::string data = "a,b\n" + std::string(pad, 'x') + ",\"\xC3\xA9\r\n\"\r\n1,2\r\n";
        std::istringstream stream(data);
        CsvResult streamed = readCsv(stream, {});
        ASSERT_TRUE(streamed.ok()) << pad << ": " << describeCsvError(streamed.error);
        EXPECT_EQ(cellsOf(*streamed.table),
                  (Rows{{std::string(pad, 'x'), "\xC3\xA9\n"}, {"1", "2"}}));
    }
}

TEST(CsvReader, PreviewAndProgress) {
    std::string data = "n\n";
    for (int i = 0; i < 300000; ++i)
        data += std::to_string(i) + "\n";
    CsvOptions preview;
    preview.previewRows = 3;
    CsvResult first = readCsv(data, preview);
    ASSERT_TRUE(first.ok());
    EXPECT_TRUE(first.table->cut());
    EXPECT_EQ(cellsOf(*first.table), (Rows{{"0"}, {"1"}, {"2"}}));

    CsvResult all = readCsv(data, {});
    ASSERT_TRUE(all.ok());
    EXPECT_FALSE(all.table->cut());
    EXPECT_EQ(all.table->rowCount(), 300000);
    EXPECT_EQ(all.table->lineOf(299999), 300001);

    CsvOptions stopped;
    int calls = 0;
    stopped.progress = [&](std::int64_t) { return ++calls < 2; };
    CsvResult stop = readCsv(data, stopped);
    ASSERT_FALSE(stop.ok());
    EXPECT_EQ(stop.error.message, "import stopped");
    EXPECT_EQ(calls, 2);
}

TEST(CsvReader, DescribesErrors) {
    EXPECT_EQ(describeCsvError({3, 7, "unterminated quoted cell"}),
              "line 3, column 7: unterminated quoted cell");
    EXPECT_EQ(describeCsvError({0, 0, "the data is empty"}), "the data is empty");
}

}  // namespace
}  // namespace qv
