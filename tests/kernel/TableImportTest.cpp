// Importing CSV data into a table: a new table written as the document's own
// data rows; a refresh by key (rows updated, added, removed, the cells of
// formula fields going with their rows) and without one (rows replaced);
// extending and reading tables keep their formulas; the program after an
// import computes as the same text read afresh; and every fault refused
// with its place and nothing changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CsvReader.h"
#include "kernel/TableImport.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::allValues;
using test::loadModel;
using test::renderTable;

std::string textOf(Kernel& kernel) {
    return kernel.program()->toSource()->toStdString();
}

CsvTable readData(const std::string& data, const CsvOptions& options = {}) {
    CsvResult read = readCsv(data, options);
    EXPECT_TRUE(read.ok()) << describeCsvError(read.error);
    return read.ok() ? std::move(*read.table) : CsvTable();
}

std::string countsOf(const ImportCounts& counts) {
    return std::string(counts.newTable ? "new" : "old") + " u" + std::to_string(counts.updated) +
           " a" + std::to_string(counts.added) + " r" + std::to_string(counts.removed) + " f" +
           std::to_string(counts.newFields);
}

// The program after the import computes as its own text read afresh, and
// that text reads back to itself.
void expectSameAsFreshRead(Kernel& kernel) {
    std::string text = textOf(kernel);
    Pointer<Kernel> fresh = loadModel(text);
    EXPECT_EQ(textOf(*fresh), text);
    EXPECT_EQ(allValues(kernel), allValues(*fresh));
}

TEST(TableImport, NewTableHoldsTheDataRows) {
    struct Case {
        const char* name;
        std::string data;
        CsvOptions options;
        std::string table;
        std::vector<std::string> rendered;
    };
    CsvOptions semicolons;
    semicolons.delimiter = ';';
    semicolons.decimalComma = true;
    const std::vector<Case> cases = {
        {"types per column",
         "name,qty,ok\nx,1,true\ny,-2.5,FALSE\n,,\n",
         {},
         "table Data{\n"
         "    name:=!\n"
         "    qty:=!\n"
         "    ok:=!\n"
         "    <1>:={    name:=\"x\",qty:=1,ok:=true,}\n"
         "    <2>:={    name:=\"y\",qty:=-2.5,ok:=false,}\n"
         "    <3>:={}\n"
         "}\n",
         {"sum |  | -1.5 | ", "base |  |  | ", "1 | x | 1 | true", "2 | y | -2.5 | false",
          "3 |  |  | "}},
        {"a number in a text column stays a text",
         "code\n007\n12\n",
         {},
         "table Data{\n"
         "    code:=!\n"
         "    <1>:={    code:=\"007\",}\n"
         "    <2>:={    code:=\"12\",}\n"
         "}\n",
         {"sum | ", "base | ", "1 | 007", "2 | 12"}},
        {"names needing brackets, a decimal comma, text with a line break",
         "Unit Price;if;x\n1,5;\"a\nb\";2\n",
         semicolons,
         "table Data{\n"
         "    [Unit Price]:= !\n"
         "    [if]:= !\n"
         "    x:=!\n"
         "    <1>:={    [Unit Price]:= 1.5,[if]:= \"a\nb\",x:=2,}\n"
         "}\n",
         {"sum | 1.5 |  | 2", "base |  |  | ", "1 | 1.5 | a\nb | 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel("");
        CsvTable data = readData(c.data, c.options);
        ImportPlan plan(*kernel->program(), data, {"Data", ""});
        ASSERT_FALSE(plan.failed()) << plan.error().message;
        EXPECT_EQ(plan.tableIndex(), -1);
        applyImport(*kernel->program(), plan);
        EXPECT_EQ(textOf(*kernel), c.table);
        EXPECT_EQ(renderTable(*kernel, "Data"), c.rendered);
        expectSameAsFreshRead(*kernel);
    }
}

// Stock holds ids with a formula field, a note typed in some rows and a sum
// row; More extends it and Report reads it.
constexpr std::string_view kStock =
    "table Stock{\n"
    "    id:=!\n"
    "    qty:=0!\n"
    "    value:=qty*2!\n"
    "    note:=\"-\"!\n"
    "    <sum>:={qty:=sum(qty),}\n"
    "    <1>:={id:=1,qty:=5,note:=\"first\",}\n"
    "    <2>:={id:=2,qty:=6,}\n"
    "    <3>:={id:=3,qty:=7,note:=\"third\",}\n"
    "}\n"
    "table More extends Stock{\n"
    "    double:=value*2!\n"
    "}\n"
    "table Report{\n"
    "    first:=Stock[1].value!\n"
    "}\n";

TEST(TableImport, RefreshKeepsWhatDidNotComeFromTheFile) {
    struct Case {
        const char* name;
        std::string data;
        std::string key;
        std::string counts;
        std::vector<std::string> stock;
        std::vector<std::string> more;
        std::vector<std::string> report;
    };
    // More extends Stock: it has Stock's fields and row count, not its
    // cells. Report reads Stock's first row.
    const std::vector<std::string> more3 = {"sum |  | 0 | 0 |  | 0", "base |  | 0 | 0 | - | 0",
                                            "1 |  | 0 | 0 | - | 0", "2 |  | 0 | 0 | - | 0",
                                            "3 |  | 0 | 0 | - | 0"};
    const std::vector<Case> cases = {
        {"by key: updated, added, removed, in the file's order",
         "id,qty\n3,70\n1,50\n4,80\n",
         "id",
         "old u2 a1 r1 f0",
         {"sum | 8 | 200 | 400 | ", "base |  | 0 | 0 | -", "1 | 3 | 70 | 140 | third",
          "2 | 1 | 50 | 100 | first", "3 | 4 | 80 | 160 | -"},
         more3,
         {"sum | ", "base | 140"}},
        {"by key, the same rows again",
         "id,qty\n1,5\n2,6\n3,7\n",
         "id",
         "old u3 a0 r0 f0",
         {"sum | 6 | 18 | 36 | ", "base |  | 0 | 0 | -", "1 | 1 | 5 | 10 | first",
          "2 | 2 | 6 | 12 | -", "3 | 3 | 7 | 14 | third"},
         more3,
         {"sum | ", "base | 10"}},
        {"by key, a new column becomes a new field",
         "id,qty,place\n2,60,north\n",
         "id",
         "old u1 a0 r2 f1",
         {"sum | 2 | 60 | 120 |  | ", "base |  | 0 | 0 | - | ", "1 | 2 | 60 | 120 | - | north"},
         {"sum |  | 0 | 0 |  |  | 0", "base |  | 0 | 0 | - |  | 0", "1 |  | 0 | 0 | - |  | 0"},
         {"sum | ", "base | 120"}},
        {"without a key the rows are replaced in place",
         "id,qty\n9,1\n8,2\n",
         "",
         "old u0 a2 r3 f0",
         {"sum | 17 | 3 | 6 | ", "base |  | 0 | 0 | -", "1 | 9 | 1 | 2 | first",
          "2 | 8 | 2 | 4 | -"},
         {"sum |  | 0 | 0 |  | 0", "base |  | 0 | 0 | - | 0", "1 |  | 0 | 0 | - | 0",
          "2 |  | 0 | 0 | - | 0"},
         {"sum | ", "base | 2"}},
        // The summary formula over no data rows reads itself: the engine's
        // own answer for an empty table, the same as for the text read afresh.
        {"an empty file empties the table",
         "id,qty\n",
         "id",
         "old u0 a0 r3 f0",
         {"sum |  | (circular) |  | ", "base |  | 0 | 0 | -"},
         {"sum |  | (circular) |  |  | ", "base |  | 0 | 0 | - | 0"},
         {"sum | ", "base | "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kStock);
        const std::string other = kernel->program()->table(1)->toSource()->toStdString() +
                                  kernel->program()->table(2)->toSource()->toStdString();
        CsvTable data = readData(c.data);
        ImportPlan plan(*kernel->program(), data, {"Stock", c.key});
        ASSERT_FALSE(plan.failed()) << plan.error().message;
        EXPECT_EQ(plan.tableIndex(), 0);
        EXPECT_EQ(countsOf(plan.counts()), c.counts);
        applyImport(*kernel->program(), plan);
        EXPECT_EQ(renderTable(*kernel, "Stock"), c.stock);
        EXPECT_EQ(renderTable(*kernel, "More"), c.more);
        EXPECT_EQ(renderTable(*kernel, "Report"), c.report);
        // The other tables are as they were, formulas and all.
        EXPECT_EQ(kernel->program()->table(1)->toSource()->toStdString() +
                      kernel->program()->table(2)->toSource()->toStdString(),
                  other);
        // The field formulas and the sum row of the refreshed table stay.
        std::string stock = kernel->program()->table(0)->toSource()->toStdString();
        EXPECT_NE(stock.find("value:=qty*2!"), std::string::npos);
        EXPECT_NE(stock.find("qty:=sum(qty),"), std::string::npos);
        expectSameAsFreshRead(*kernel);
    }
}

TEST(TableImport, KeysMatchByValue) {
    // Keys written differently in the table and the file still match: a
    // number by its value, a text by its characters, a negative number.
    struct Case {
        const char* name;
        std::string table;
        std::string data;
        std::string counts;
    };
    const std::vector<Case> cases = {
        {"1.0 and 1", "table T{ k:=! v:=! <1>:={k:=1.0,v:=1,} }", "k,v\n1,2\n", "old u1 a0 r0 f0"},
        {"negative numbers", "table T{ k:=! v:=! <1>:={k:=-4,v:=1,} }", "k,v\n-4,2\n",
         "old u1 a0 r0 f0"},
        {"texts", "table T{ k:=! v:=! <1>:={k:=\"a b\",v:=1,} }", "k,v\na b,2\n",
         "old u1 a0 r0 f0"},
        {"a text is no number", "table T{ k:=! v:=! <1>:={k:=\"1\",v:=1,} }", "k,v\n1,2\n",
         "old u0 a1 r1 f0"},
        {"a key repeated in the table matches once",
         "table T{ k:=! v:=! <1>:={k:=1,v:=1,} <2>:={k:=1,v:=2,} }", "k,v\n1,2\n",
         "old u1 a0 r1 f0"},
        {"a table without the key field", "table T{ v:=! <1>:={v:=1,} }", "k,v\n1,2\n",
         "old u0 a1 r1 f1"},
        {"Booleans", "table T{ k:=! v:=! <1>:={k:=true,v:=1,} }", "k,v\nTRUE,2\n",
         "old u1 a0 r0 f0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(c.table);
        CsvTable data = readData(c.data);
        ImportPlan plan(*kernel->program(), data, {"T", "k"});
        ASSERT_FALSE(plan.failed()) << plan.error().message;
        EXPECT_EQ(countsOf(plan.counts()), c.counts);
        applyImport(*kernel->program(), plan);
        expectSameAsFreshRead(*kernel);
    }
}

TEST(TableImport, FaultsChangeNothing) {
    struct Case {
        const char* name;
        std::string data;
        ImportOptions options;
        std::int64_t line;
        std::int64_t column;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a key that is no column",
         "id,qty\n1,2\n",
         {"Stock", "code"},
         0,
         0,
         "the key field code is not a column of the data"},
        {"an empty key", "qty,id\n1,2\n3,\n", {"Stock", "id"}, 3, 3, "the key field id is empty"},
        {"a repeated key",
         "qty,id\n1,2\n3,4\n5, 2\n",
         {"Stock", "id"},
         4,
         3,
         "the key 2 is repeated (first on line 2)"},
        {"a repeated text key",
         "id\nx\ny\nx\n",
         {"New", "id"},
         4,
         1,
         "the key x is repeated (first on line 2)"},
        {"an empty table name",
         "id\n1\n",
         {"", ""},
         0,
         0,
         "\"\" is not a valid table name: it may not be empty, begin or end with a blank, or "
         "hold ], #, \" or control characters"},
        {"a table name with a bracket",
         "id\n1\n",
         {"a]b", ""},
         0,
         0,
         "\"a]b\" is not a valid table name: it may not be empty, begin or end with a blank, "
         "or hold ], #, \" or control characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(kStock);
        const std::string before = textOf(*kernel);
        const std::int32_t changes = kernel->program()->changeCount();
        CsvTable data = readData(c.data);
        ImportPlan plan(*kernel->program(), data, c.options);
        ASSERT_TRUE(plan.failed());
        EXPECT_EQ(plan.error().message, c.message);
        EXPECT_EQ(plan.error().line, c.line);
        EXPECT_EQ(plan.error().column, c.column);
        EXPECT_TRUE(plan.table().isNull());
        applyImport(*kernel->program(), plan);
        EXPECT_EQ(textOf(*kernel), before);
        EXPECT_EQ(kernel->program()->changeCount(), changes);
    }
}

TEST(TableImport, RowCommentsFollowTheirRows) {
    // A comment on a row that the refresh removes goes with it; one on a
    // kept row moves with the row; the table's own comments stay.
    struct Case {
        const char* name;
        std::string data;
        std::string key;
        std::string table;
    };
    const std::string model =
        "// stock\n"
        "table T{\n"
        "    k:=!\n"
        "    // the summary\n"
        "    <sum>:={}\n"
        "    <1>:={    k:=1,}\n"
        "    // the second\n"
        "    <2>:={    k:=2,}\n"
        "    // the third\n"
        "    <3>:={    k:=3,}\n"
        "}\n";
    const std::vector<Case> cases = {
        {"by key, the third row first", "k\n3\n1\n", "k",
         "// stock\n"
         "table T{\n"
         "    k:=!\n"
         "    // the summary\n"
         "    <sum>:={}\n"
         "    // the third\n"
         "    <1>:={    k:=3,}\n"
         "    <2>:={    k:=1,}\n"
         "}\n"},
        {"without a key, one row left", "k\n7\n", "",
         "// stock\n"
         "table T{\n"
         "    k:=!\n"
         "    // the summary\n"
         "    <sum>:={}\n"
         "    <1>:={    k:=7,}\n"
         "}\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pointer<Kernel> kernel = loadModel(model);
        CsvTable data = readData(c.data);
        ImportPlan plan(*kernel->program(), data, {"T", c.key});
        ASSERT_FALSE(plan.failed()) << plan.error().message;
        applyImport(*kernel->program(), plan);
        EXPECT_EQ(textOf(*kernel), c.table);
        EXPECT_EQ(kernel->program()->table(0)->numRows(),
                  loadModel(c.table)->program()->table(0)->numRows());
    }
}

TEST(TableImport, RowsPastTheEngineBoundAreRefused) {
    // A table of 20,000 fields may hold 1,000 rows (20,000,000 cells).
    std::string table = "table Wide{\n";
    for (int i = 0; i < 20000; ++i)
        table += "    f" + std::to_string(i) + ":=1;\n";
    table += "}\n";
    Pointer<Kernel> kernel = loadModel(table);
    std::string data = "f0\n";
    for (int i = 0; i < 1001; ++i)
        data += "1\n";
    CsvTable read = readData(data);
    ImportPlan plan(*kernel->program(), read, {"Wide", ""});
    ASSERT_TRUE(plan.failed());
    EXPECT_EQ(plan.error().message, "too many rows: 1001 rows pass the limit of 1000");
    EXPECT_EQ(plan.error().line, 1002);
    EXPECT_EQ(plan.error().column, 1);

    data.resize(data.size() - 2);
    CsvTable fits = readData(data);
    EXPECT_FALSE(ImportPlan(*kernel->program(), fits, {"Wide", ""}).failed());
}

TEST(TableImport, ProgressAndStop) {
    std::string data = "a,b\n";
    for (int i = 0; i < 100000; ++i)
        data += std::to_string(i) + ",x\n";
    CsvTable read = readData(data);
    Pointer<Kernel> kernel = loadModel(kStock);
    const std::string before = textOf(*kernel);
    std::vector<std::int64_t> seen;
    ImportPlan done(*kernel->program(), read, {"Big", ""}, [&](std::int64_t cells) {
        seen.push_back(cells);
        return true;
    });
    EXPECT_FALSE(done.failed());
    // Every 65,536 rows of each of the two columns.
    EXPECT_EQ(seen, (std::vector<std::int64_t>{0, 65536, 100000, 165536}));

    int calls = 0;
    ImportPlan stopped(*kernel->program(), read, {"Big", ""},
                       [&](std::int64_t) { return ++calls < 3; });
    ASSERT_TRUE(stopped.failed());
    EXPECT_EQ(stopped.error().message, "import stopped");
    EXPECT_TRUE(stopped.table().isNull());
    applyImport(*kernel->program(), stopped);
    EXPECT_EQ(textOf(*kernel), before);
}

TEST(TableImport, DescribesWhatItDid) {
    EXPECT_EQ(describeImport({"Sales", ""}, {true, 0, 5, 0, 3}),
              "imported Sales: 0 updated, 5 added, 0 removed");
    EXPECT_EQ(describeImport({"Sales", "id"}, {false, 2, 1, 1, 1}),
              "refreshed Sales: 2 updated, 1 added, 1 removed, 1 new fields");
}

}  // namespace
}  // namespace qv
