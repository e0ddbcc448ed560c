// qvl import: the document it prints, the line on stderr, its failures with
// the data's line and column, and the file it writes (only with --write, and
// never on a failure). One row per case.
#include <string>
#include <vector>

#include "app/Document.h"
#include "app/DocumentFile.h"
#include "tests/cli/CommandTestSupport.h"
#include "tests/cli/ToolProcess.h"

namespace qv::cli {
namespace {

using test::Outcome;
using test::run;
using test::writeDocument;

constexpr const char* kDocument =
    "table Stock{\n    id:=!\n    qty:=0!\n    value:=qty*2!\n"
    "    <1>:={id:=1,qty:=5,}\n    <2>:={id:=2,qty:=6,}\n}\n"
    "table Report{\n    first:=Stock[1].value!\n}\n"
    "maximized result(Stock);\n//--end";

struct ImportRow {
    const char* what;
    std::string data;                    // written to DATA
    std::vector<std::string> arguments;  // FILE and DATA stand for the paths
    int status;
    const char* out;  // the document printed; null: not checked, "" for none
    const char* err;  // PATH and DATA stand for the paths; null for a usage error
};

std::string withPaths(std::string text, const std::string& path, const std::string& data) {
    for (std::size_t at; (at = text.find("PATH")) != std::string::npos;)
        text.replace(at, 4, path);
    for (std::size_t at; (at = text.find("DATA")) != std::string::npos;)
        text.replace(at, 4, data);
    return text;
}

const std::string kStockAfterKey =
    "table Stock{\n    id:=!\n    qty:=0!\n    value:=qty*2!\n"
    "    <1>:={    id:=2,qty:=60,}\n    <2>:={    id:=3,qty:=70,}\n}\n"
    "table Report{\n    first:=Stock[1].value!\n}\n"
    "maximized result(Stock);\n//--end\n";

const std::string kNewTable =
    "table Stock{\n    id:=!\n    qty:=0!\n    value:=qty*2!\n"
    "    <1>:={    id:=1,qty:=5,}\n    <2>:={    id:=2,qty:=6,}\n}\n"
    "table Report{\n    first:=Stock[1].value!\n}\n"
    "table [New data]{\n    name:=!\n    [in stock]:= !\n"
    "    <1>:={    name:=\"caf\xC3\xA9\",[in stock]:= true,}\n}\n"
    "maximized result(Stock);\n//--end\n";

const ImportRow kRows[] = {
    {"a refresh by key",
     "id,qty\n2,60\n3,70\n",
     {"FILE", "DATA", "--table", "Stock", "--key", "id"},
     0,
     kStockAfterKey.c_str(),
     "qvl: PATH: refreshed Stock: 1 updated, 1 added, 1 removed\n"},
    {"a new table from Latin-1 with semicolons",
     "name;in stock\ncaf\xE9;TRUE\n",
     {"FILE", "DATA", "--table=New data", "--encoding", "latin-1", "--delimiter", ";"},
     0,
     kNewTable.c_str(),
     "qvl: PATH: imported New data: 0 updated, 1 added, 0 removed\n"},
    {"tabs without a header",
     "1\t5\n2\t6\n",
     {"FILE", "DATA", "--table", "T", "--no-header", "--delimiter", "tab"},
     0,
     nullptr,
     "qvl: PATH: imported T: 0 updated, 2 added, 0 removed\n"},
    {"a ragged row",
     "id,qty\n1,2\n3\n",
     {"FILE", "DATA", "--table", "Stock"},
     1,
     "",
     "qvl: DATA:3:2: expected 2 cells, found 1\n"},
    {"an unterminated quote",
     "id,qty\n1,\"2\n",
     {"FILE", "DATA", "--table", "Stock"},
     1,
     "",
     "qvl: DATA:2:3: unterminated quoted cell\n"},
    {"invalid UTF-8",
     "id,qty\n1,\xE9t\xE9\n",
     {"FILE", "DATA", "--table", "Stock"},
     1,
     "",
     "qvl: DATA:2:3: invalid UTF-8 (is the data Latin-1?)\n"},
    {"a NUL byte",
     std::string("id\n1\0\n", 6),
     {"FILE", "DATA", "--table", "Stock"},
     1,
     "",
     "qvl: DATA:2:2: NUL byte in the data\n"},
    {"a repeated key",
     "id,qty\n1,2\n1,3\n",
     {"FILE", "DATA", "--table", "Stock", "--key", "id"},
     1,
     "",
     "qvl: DATA:3:1: the key 1 is repeated (first on line 2)\n"},
    {"a key that is no column",
     "id,qty\n1,2\n",
     {"FILE", "DATA", "--table", "Stock", "--key", "code"},
     1,
     "",
     "qvl: DATA: the key field code is not a column of the data\n"},
    {"an empty data file",
     "",
     {"FILE", "DATA", "--table", "Stock"},
     1,
     "",
     "qvl: DATA: the data is empty\n"},
    {"a decimal comma with a comma",
     "a\n1\n",
     {"FILE", "DATA", "--table", "T", "--decimal-comma", "--delimiter", ","},
     1,
     "",
     "qvl: DATA: a decimal comma can not go with a comma as the delimiter\n"},
    {"a bad table name",
     "a\n1\n",
     {"FILE", "DATA", "--table", "#x"},
     1,
     "",
     "qvl: DATA: \"#x\" is not a valid table name: it may not be empty, begin or end with a "
     "blank, or hold ], #, \" or control characters\n"},
    {"no --table", "a\n1\n", {"FILE", "DATA"}, 2, "", nullptr},
    {"--table without a name", "a\n1\n", {"FILE", "DATA", "--table"}, 2, "", nullptr},
    {"one file only", "a\n1\n", {"FILE", "--table", "T"}, 2, "", nullptr},
    {"an unknown delimiter",
     "a\n1\n",
     {"FILE", "DATA", "--table", "T", "--delimiter", "|"},
     2,
     "",
     nullptr},
    {"an unknown encoding",
     "a\n1\n",
     {"FILE", "DATA", "--table", "T", "--encoding", "cp1252"},
     2,
     "",
     nullptr},
    {"--write to standard output",
     "a\n1\n",
     {"-", "DATA", "--table", "T", "--write"},
     2,
     "",
     nullptr},
    {"both from standard input", "a\n1\n", {"-", "-", "--table", "T"}, 2, "", nullptr},
    {"an option of another command",
     "a\n1\n",
     {"FILE", "DATA", "--table", "T", "--all"},
     2,
     "",
     nullptr},
};

class ImportCommand : public ::testing::TestWithParam<ImportRow> {};

TEST_P(ImportCommand, PrintsOrFailsAndWritesNothing) {
    const ImportRow& row = GetParam();
    std::string path = writeDocument("import.qvl", kDocument);
    std::string data = writeDocument("import.csv", row.data);
    std::string printed;
    for (bool write : {false, true}) {
        SCOPED_TRACE(write ? "with --write" : "without --write");
        ArgumentList arguments = row.arguments;
        for (std::string& argument : arguments) {
            if (argument == "FILE") argument = path;
            if (argument == "DATA") argument = data;
        }
        if (write && row.status == 0) arguments.push_back("--write");
        Outcome outcome = run(runImport, arguments);
        EXPECT_EQ(outcome.status, row.status);
        if (row.err != nullptr) {
            EXPECT_EQ(outcome.err, withPaths(row.err, path, data));
        } else {
            EXPECT_EQ(outcome.err.rfind("qvl: ", 0), 0u) << "a usage error says what is wrong";
        }
        if (row.status != 0 || !write) {
            if (row.out != nullptr) {
                EXPECT_EQ(outcome.out, row.out);
            }
            printed = outcome.out;
            EXPECT_EQ(test::fileText(path), kDocument) << "only a --write that succeeds writes";
            continue;
        }
        // --write writes what is printed without it, and nothing on stdout.
        EXPECT_EQ(outcome.out, "");
        std::string written = readDocumentFile(path)->toStdString();
        EXPECT_EQ(written + "\n", printed);
        // The written file reads and computes as the document it printed.
        Pointer<Document> reread = Document::read(str(written));
        EXPECT_EQ(reread->toSource()->toStdString(), written);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, ImportCommand, ::testing::ValuesIn(kRows));

TEST(ImportCommandFile, AnUnreadableDocumentOrDataFails) {
    std::string data = writeDocument("plain.csv", "a\n1\n");
    std::string broken = writeDocument("broken.qvl", "table {");
    Outcome outcome = run(runImport, {broken, data, "--table", "T", "--write"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("qvl: " + broken + ":", 0), 0u) << outcome.err;
    EXPECT_EQ(test::fileText(broken), "table {");

    std::string path = writeDocument("good.qvl", kDocument);
    std::string missing = ::testing::TempDir() + "missing.csv";
    outcome = run(runImport, {path, missing, "--table", "T"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "qvl: " + missing + ": can not open " + missing + ": No such file or directory\n");
    outcome = run(runImport, {path, ::testing::TempDir(), "--table", "T"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "qvl: " + ::testing::TempDir() + ": can not read " +
                               ::testing::TempDir() + ": Is a directory\n");
}

TEST(ImportCommandFile, ReadsDataFromStandardInput) {
    std::string path = writeDocument("stdin.qvl", kDocument);
    std::string data = writeDocument("stdin.csv", "id,qty\n2,60\n3,70\n");
    test::ToolRun input;
    input.input = data;
    test::ToolOutcome outcome =
        test::runToolInChild({"import", path, "-", "--table", "Stock", "--key", "id"}, input);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, kStockAfterKey);
    EXPECT_EQ(outcome.err, "qvl: " + path + ": refreshed Stock: 1 updated, 1 added, 1 removed\n");

    // Bad data from standard input is named "-".
    writeDocument("stdin.csv", "id,qty\n2\n");
    outcome = test::runToolInChild({"import", path, "-", "--table", "Stock", "--write"}, input);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "qvl: -:2:2: expected 2 cells, found 1\n");
    EXPECT_EQ(test::fileText(path), kDocument);
}

// A document that can not be written stays as it was, and no import is
// reported: only the reason.
TEST(ImportCommandFile, AWriteThatFailsReportsNoImport) {
    std::string path = writeDocument("full.qvl", kDocument);
    std::string data = writeDocument("full.csv", "id,qty\n2,60\n3,70\n");
    test::ToolRun small;
    small.output = "/dev/null";
    small.fileSize = std::string(kDocument).size() + 8;
    test::ToolOutcome outcome =
        test::runToolInChild({"import", path, data, "--table", "Grown", "--write"}, small);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "qvl: " + path + ": can not write to " + path + ": File too large\n");
    EXPECT_EQ(test::fileText(path), kDocument);
}

}  // namespace
}  // namespace qv::cli
