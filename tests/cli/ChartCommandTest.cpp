// qvl chart: a table's chart written as SVG.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/cli/CommandTestSupport.h"

namespace qv::cli {
namespace {

using test::Outcome;
using test::run;
using test::writeDocument;

const char* const kModel = R"(table Sales{
    month:=range 1 to 4!
    amount:=10*month!
    trend:=plot(month, amount);
    <1>:={amount:=12}
}
)";

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

TEST(ChartCommandTest, WritesTheChartOfATable) {
    std::string path = writeDocument("chart.qvl", kModel);
    std::string svg = ::testing::TempDir() + "chart.svg";
    Outcome outcome = run(runChart, {path, "Sales", "-o", svg});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    std::string text = readFile(svg);
    EXPECT_EQ(text.rfind("<?xml", 0), 0u);
    EXPECT_NE(text.find("width=\"640\" height=\"480\""), std::string::npos);
    EXPECT_EQ(count(text, "<ellipse"), 4u);
    EXPECT_NE(text.find(">trend</text>"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 7), "</svg>\n");
    // To standard output, the same picture.
    Outcome piped = run(runChart, {path, "Sales", "-o", "-"});
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, text);
}

TEST(ChartCommandTest, RefusesWhatItCanNotDraw) {
    std::string path = writeDocument("chart-errors.qvl", kModel);
    std::string svg = ::testing::TempDir() + "never.svg";
    const struct {
        ArgumentList arguments;
        int status;
        std::string message;
    } rows[] = {
        {{path, "Sales"}, 2, "qvl: chart needs -o OUT.svg\n"},
        {{path, "-o", svg}, 2, "qvl: chart takes FILE and TABLE\n"},
        {{path, "Sales", "-o"}, 2, "qvl: -o needs a file\n"},
        {{path, "Sales", "-o", ::testing::TempDir() + "x.png"},
         2,
         "qvl: chart writes SVG: name the output OUT.svg\n"},
        {{path, "Nowhere", "-o", svg}, 1, "qvl: " + path + ": Nowhere: table not found\n"},
        {{path, "Sales", "-o", ::testing::TempDir() + "no/such/dir.svg"},
         1,
         "qvl: " + ::testing::TempDir() + "no/such/dir.svg: can not open " + ::testing::TempDir() +
             "no/such/dir.svg: No such file or directory\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        Outcome outcome = run(runChart, row.arguments);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.err.substr(0, row.message.size()), row.message);
    }
    std::ifstream never(svg);
    EXPECT_FALSE(never.good());
    Outcome help = run(runChart, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: qvl chart", 0), 0u);
}

}  // namespace
}  // namespace qv::cli
