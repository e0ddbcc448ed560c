// Round trips: a document read and written, read again and written again
// gives the same text, the same layout element by element and the same
// computed values; so do the shipped examples.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ValueConversions.h"
#include "tests/app/AppTestSupport.h"

namespace qv {
namespace {

const std::vector<const char*> kDocuments = {
    "table Table1{} optimized(40,40) project(Table1);",
    "maximized text(\"a\\nb\");",
    "floating(10,20) text(\"floating reads back optimized\");",
    "optimized(0,0) properties(); maximized result(1+2);",
    "table T{a:=1/0!} optimized(0,0) explain(); maximized result(T);",
    "maximized ltable{lrow{explain(); properties();}}",
    "table T{a:=range 1 to 3!b:=a*2;} optimized(1,2) chart(T); optimized(3,4) result(T);",
    "table [Two words]{x:=1!} maximized chart([Two words]);",
    "maximized result(a + // a comment inside\n b);",
    "maximized result(a // a comment after\n);",
    "maximized result(\"multi\nline\" & x);",
    "maximized result( [bracketed name] );",
    "maximized project(T[1] /* note */);",
    "maximized text(\"say \"\"hi\"\"\");",
    "maximized text(\"\"); maximized text(\"\"\"\");",
    "maximized text(\"cr\rin text\");",
    "maximized ltable{}",
    "maximized ltable{lrow{} lrow{;;}}",
    "maximized ltable{lrow{; text(\"x\");} lrow{properties();}}",
    "optimized(5,5) ltable{lrow{ltable{lrow{;ltable{lrow{result(\"a\nb\");}}}}}}",
    "maximized ltable{lrow{result(x +\n y); project(tables);}}",
    "table A{a:=1!} maximized chart(A); table B extends A{a:=!<1>:={5}}",
    "table T{a:=1;} table T{a:=2;} maximized chart(T);",
    "table T{a:=1 /* one */ + 2!b:=3 // trailing\n;} //--end",
    "table T{a:=1!}\r\noptimized(1,2) text(\"crlf\");\r\n//--end",
};

void expectFixedPoint(std::string_view text) {
    auto first = test::readDocument(text);
    std::string written = first->toSource()->toStdString();
    auto second = test::readDocument(written);
    EXPECT_EQ(second->toSource()->toStdString(), written);
    EXPECT_TRUE(second->layout()->equals(*first->layout()))
        << first->layout()->describe()->toStdString() << "\n"
        << second->layout()->describe()->toStdString();
    EXPECT_EQ(second->kernel()->toSource()->toStdString(),
              first->kernel()->toSource()->toStdString());
    EXPECT_EQ(written.substr(written.size() - 7), "//--end");
}

TEST(RoundTripTest, WritingIsAFixedPointAndKeepsTheLayout) {
    for (const char* text : kDocuments) {
        SCOPED_TRACE(text);
        expectFixedPoint(text);
    }
}

TEST(RoundTripTest, TheExamplesAreFixedPoints) {
    std::vector<std::string> examples = test::exampleFiles();
    for (const std::string& example : examples) {
        SCOPED_TRACE(example);
        expectFixedPoint(test::fileBytes(example));
    }
    EXPECT_FALSE(examples.empty());
}

// Every table as lines of "label | value | ...", computed.
std::vector<std::string> renderAll(Kernel& kernel) {
    std::vector<std::string> lines;
    for (std::int32_t index = 0; index < kernel.getTableCount(); ++index) {
        Pointer<TableResult> table = kernel.getTable(index);
        lines.push_back("table " + table->name()->toStdString());
        for (std::int32_t row = -1; row < table->rowCount(); ++row) {
            std::string line = table->rowLabel(row)->toStdString();
            for (std::int32_t field = 0; field < table->fieldCount(); ++field)
                line += " | " + toText(table->value(field, row))->toStdString();
            lines.push_back(line);
        }
    }
    return lines;
}

TEST(RoundTripTest, ComputedValuesSurviveARoundTrip) {
    const char* text =
        "// Prices with a derived list.\n"
        "table Base{qty:=range 1 to 4!price:=qty*2.5!total:=qty*price!<sum>:={?,?,sum(total)}}\n"
        "maximized result(Base);\n"
        "table Derived extends Base{price:=!<2>:={price:=100}}\n"
        "optimized(10,10) ltable{lrow{chart(Derived); result(Derived.total[sum]);}}\n"
        "//--end";
    auto before = test::readDocument(text);
    std::vector<std::string> computed = renderAll(*before->kernel());
    auto after =
        test::readDocument(test::readDocument(before->toSource()->view())->toSource()->view());
    EXPECT_EQ(renderAll(*after->kernel()), computed);
    ASSERT_GE(computed.size(), 2u);
    EXPECT_EQ(computed[0], "table Base");
    EXPECT_EQ(computed[1], "sum |  |  | 75");
}

}  // namespace
}  // namespace qv
