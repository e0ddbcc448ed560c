// Generated documents of a quarter megabyte — tables only, and tables with
// a layout of every kind of view — read, write back to the same model and
// compute. (Documents of 50 MB are a benchmark: in the sanitizer build they
// take minutes.)
#include <gtest/gtest.h>

#include <string>

#include "core/ValueConversions.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

constexpr std::size_t kTargetBytes = 256u << 10;

void appendTable(std::string& out, int index) {
    std::string name = "Table" + std::to_string(index);
    out += "table " + name;
    if (index % 4 == 1) out += " extends Table" + std::to_string(index - 1);
    out += "{\n";
    out += "    x:=range 1 to 8!\n";
    out += "    price:=x*1.25+3!\n";
    out += "    tax:=if price>20 then price*0.2 else price*0.1; // reduced rate\n";
    out += "    label:=\"item \" & x!\n";
    out += "    total:=if row=1 then price else prev+price!\n";
    out += "    share:=price/sum(price) alt 0!\n";
    out += "    <sum>:={?,sum(price),sum(tax),?,?,?}\n";
    for (int row = 2; row < 8; row += 3)
        out += "    <" + std::to_string(row) + ">:={price:=" + std::to_string(row * 7) + "}\n";
    out += "}\n";
}

void appendViews(std::string& out, int index) {
    std::string name = "Table" + std::to_string(index);
    out += "optimized(" + std::to_string(index % 900) + "," + std::to_string(index % 700) +
           ") result(" + name + ".price[sum] + 1);\n";
    out += "floating(3,4) text(\"notes on " + name + "\\nsecond line with \"\"quotes\"\"\");\n";
    if (index % 50 == 0) {
        out += "maximized ltable{lrow{chart(" + name + "); ; project(" + name +
               ");} lrow{properties();}}\n";
    }
}

std::string generate(bool withLayout) {
    std::string out;
    out.reserve(kTargetBytes + 4096);
    for (int index = 0; out.size() < kTargetBytes; ++index) {
        appendTable(out, index);
        if (withLayout) appendViews(out, index);
    }
    return out + "//--end";
}

void expectLoads(bool withLayout) {
    std::string text = generate(withLayout);
    ASSERT_GE(text.size(), kTargetBytes);
    auto document = test::readDocument(text);
    std::int32_t tables = document->kernel()->getTableCount();
    EXPECT_GT(tables, 300);
    EXPECT_EQ(document->layout()->frameCount() > 0, withLayout);
    StringPointer written = document->toSource();
    auto again = Document::read(written);
    EXPECT_EQ(again->kernel()->getTableCount(), tables);
    EXPECT_EQ(again->layout()->frameCount(), document->layout()->frameCount());
    EXPECT_TRUE(again->layout()->equals(*document->layout()));
    // Table 0: prices 4.25, 14, 6.75, 8, 35, 10.5, 11.75, 13 (rows 2 and 5
    // overridden).
    Pointer<TableResult> first = again->kernel()->getTableByName("Table0");
    ASSERT_EQ(first->rowCount(), 9);
    EXPECT_EQ(toText(first->value(1, -1))->toStdString(), "103.25");
    Pointer<TableResult> last = again->kernel()->getTable(tables - 1);
    EXPECT_EQ(last->rowCount(), 9);
}

TEST(LargeDocumentTest, ManyTablesLoad) {
    expectLoads(false);
}

TEST(LargeDocumentTest, ManyTablesAndViewsLoad) {
    expectLoads(true);
}

}  // namespace
}  // namespace qv
