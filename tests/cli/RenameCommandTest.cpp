// qvl refs and qvl rename: their output, their failures and the file they
// write, one row per case.
#include <fstream>
#include <iterator>

#include "tests/cli/CommandTestSupport.h"
#include "tests/cli/JsonValidator.h"

namespace qv::cli {
namespace {

using test::Outcome;
using test::run;
using test::writeDocument;

constexpr const char* kDocument =
    "table Prices{\n    qty:=2!\n    // the price of one\n    price:=qty*10!\n}\n"
    "table Orders{\n    qty:=5!\n    total:=Prices.qty*qty!\n}\n"
    "maximized result(Prices.qty);\n//--end";

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

struct CommandRow {
    const char* what;
    std::vector<std::string> arguments;  // FILE stands for the document's path
    int status;
    const char* out;
    const char* err;  // PATH stands for the path; null for a usage error
};

std::string withPath(std::string text, const std::string& path) {
    for (std::size_t at; (at = text.find("PATH")) != std::string::npos;)
        text.replace(at, 4, path);
    return text;
}

class RenameCommands : public ::testing::TestWithParam<CommandRow> {};

TEST_P(RenameCommands, PrintWhatTheyShould) {
    const CommandRow& row = GetParam();
    std::string path = writeDocument("rename.qvl", kDocument);
    ArgumentList arguments(row.arguments.begin() + 1, row.arguments.end());
    for (std::string& argument : arguments) {
        if (argument == "FILE") argument = path;
    }
    Outcome outcome = run(row.arguments[0] == "refs" ? runRefs : runRename, arguments);
    EXPECT_EQ(outcome.status, row.status);
    EXPECT_EQ(outcome.out, withPath(row.out, path));
    if (row.err != nullptr) {
        EXPECT_EQ(outcome.err, withPath(row.err, path));
    } else {
        EXPECT_EQ(outcome.err.rfind("qvl: ", 0), 0u) << "a usage error says what is wrong";
    }
    EXPECT_EQ(fileText(path), kDocument) << "only --write writes";
}

const CommandRow kCommandRows[] = {
    {"refs of a field",
     {"refs", "FILE", "Prices.qty"},
     0,
     "Prices.qty: field\nPrices.price: qty*10\nOrders.total: Prices.qty*qty\nview: "
     "result(Prices.qty)\n",
     ""},
    {"refs of a table", {"refs", "FILE", "Orders"}, 0, "Orders: table\n", ""},
    {"refs of an unknown field",
     {"refs", "FILE", "Prices.zz"},
     1,
     "",
     "qvl: PATH: Prices.zz: no such field\n"},
    {"refs with a bad name",
     {"refs", "FILE", "Prices."},
     1,
     "",
     "qvl: PATH: bad name Prices.: write Table, Table.field or Table[row]\n"},
    {"refs takes two", {"refs", "FILE"}, 2, "", nullptr},
    {"rename prints the document",
     {"rename", "FILE", "Prices.qty", "count"},
     0,
     "table Prices{\n    count:=2!\n    // the price of one\n    price:=count*10!\n}\n"
     "table Orders{\n    qty:=5!\n    total:=Prices.count*qty!\n}\n"
     "maximized result(Prices.count);\n//--end\n",
     "qvl: PATH: Prices.qty -> count: 2 formulas in 2 tables, 1 view\n"},
    {"rename --diff",
     {"rename", "--diff", "FILE", "Prices", "Stock"},
     0,
     "--- PATH\n+++ PATH\n@@ -1,11 +1,11 @@\n-table Prices{\n+table Stock{\n     qty:=2!\n     // "
     "the "
     "price of one\n     price:=qty*10!\n }\n table Orders{\n     qty:=5!\n-    "
     "total:=Prices.qty*qty!\n+    total:=Stock.qty*qty!\n }\n-maximized "
     "result(Prices.qty);\n+maximized "
     "result(Stock.qty);\n //--end\n\\ No newline at end of file\n",
     "qvl: PATH: Prices -> Stock: 1 formula in 1 table, 1 view\n"},
    {"a name taken",
     {"rename", "FILE", "Prices.qty", "price"},
     1,
     "",
     "qvl: PATH: Prices.qty: the name price is taken in table Prices\n"},
    {"an unknown name", {"rename", "FILE", "Nope", "x"}, 1, "", "qvl: PATH: Nope: no such table\n"},
    {"rename takes three", {"rename", "FILE", "Prices"}, 2, "", nullptr},
    {"--write needs a file", {"rename", "--write", "-", "A", "B"}, 2, "", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cli, RenameCommands, ::testing::ValuesIn(kCommandRows),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(RenameCommand, WriteReplacesTheFile) {
    std::string path = writeDocument("write.qvl", kDocument);
    Outcome outcome = run(runRename, {"--write", path, "Orders.qty", "[order qty]"});
    EXPECT_EQ(outcome.status, 1) << "brackets are how names are written, not part of them";
    outcome = run(runRename, {"--write", path, "Orders.qty", "order qty"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(
        fileText(path),
        "table Prices{\r\n    qty:=2!\r\n    // the price of one\r\n    price:=qty*10!\r\n}\r\n"
        "table Orders{\r\n    [order qty]:= 5!\r\n    total:=Prices.qty*[order qty]!\r\n}\r\n"
        "maximized result(Prices.qty);\r\n//--end");
}

TEST(RenameCommand, RefsWritesJson) {
    std::string path = writeDocument("json.qvl", kDocument);
    Outcome outcome = run(runRefs, {"--format", "json", path, "Prices.qty"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(test::JsonValidator::isValid(outcome.out)) << outcome.out;
    EXPECT_NE(outcome.out.find("{\"kind\": \"formula\", \"table\": \"Orders\", \"field\": "
                               "\"total\", \"row\": 0, \"text\": \"Prices.qty*qty\", \"offset\": "
                               "7, \"length\": 3, \"guessed\": false}"),
              std::string::npos)
        << outcome.out;
}

TEST(RenameCommand, HelpIsPrinted) {
    for (auto command : {runRefs, runRename}) {
        Outcome outcome = run(command, {"--help"});
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.out.rfind("usage: qvl ", 0), 0u);
    }
}

}  // namespace
}  // namespace qv::cli
