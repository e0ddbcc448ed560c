// Documents small on disk that would link or compute into gigabytes: a long
// chain of tables each extending the last, and many wide tables with far
// rows. The kernel refuses what passes its program-wide budgets and says so
// in the tables concerned; everything before stays computed.
#include <gtest/gtest.h>

#include <string>

#include "core/ValueConversions.h"
#include "kernel/RowLimits.h"
#include "tests/kernel/ModelTestSupport.h"

#include "tests/Sanitizers.h"

namespace qv {
namespace {

std::string warningOf(Kernel& kernel, std::int32_t table) {
    return toText(kernel.getTable(table)->warning())->toStdString();
}

TEST(ProgramBounds, AChainOfExtendingTablesStopsAtTheFieldBudget) {
    // Table k extends table k - 1 and adds one field: the k-th table links k
    // fields, so 3,000 tables would copy 4.5 million fields.
    std::string text = "table T0{ f0:=1! }\n";
    for (int k = 1; k < 3000; ++k) {
        text += "table T" + std::to_string(k) + " extends T" + std::to_string(k - 1) + "{ f" +
                std::to_string(k) + ":=f" + std::to_string(k - 1) + "+1! }\n";
    }
    auto kernel = test::loadModel(text);
    // The first two thousand tables fit: 2000 * 2001 / 2 fields.
    EXPECT_EQ(warningOf(*kernel, 1000), "");
    EXPECT_EQ(test::cell(*kernel, "T1000", "f1000", 0), "1001");
    EXPECT_EQ(warningOf(*kernel, 2999), "too many fields: the program passes the limit of " +
                                            std::to_string(kMaxLinkedFields));
    EXPECT_EQ(kernel->getTable(2999)->fieldCount(), 0);
    // The tables after the first refused one extend it: none gets a part
    // of its fields, though the budget has room for a few again.
    EXPECT_EQ(kernel->getTable(2001)->fieldCount(), 0);
    EXPECT_EQ(warningOf(*kernel, 2001), warningOf(*kernel, 2999));
    EXPECT_EQ(kernel->getTable(2999)->resolved()->declaredFieldCount(), 3000);
    EXPECT_EQ(kernel->getTable(1000)->resolved()->declaredFieldCount(), 1001);
}

#if !defined(QV_TEST_SANITIZED)
// Two million fields take a minute to link under the sanitizers.
// A table refused its fields still counts those it declares: the base's,
// then its own except those that override a base field, while a name
// given twice makes two fields.
TEST(ProgramBounds, ARefusedTableCountsTheFieldsItDeclares) {
    std::string wide;
    for (int f = 0; f < kMaxLinkedFields; ++f)
        wide += "1;";
    struct Row {
        const char* what;
        std::string text;
        std::int64_t declared;
    } rows[] = {
        {"one field too many", "table W{" + wide + "x:=1;}", kMaxLinkedFields + 1},
        {"overrides count once",
         "table B{a:=1;b:=2;} table W extends B{" + wide + "a:=3;b:=4;c:=5;}",
         kMaxLinkedFields + 3},
        {"a repeated name is another field", "table W{" + wide + "a:=1;a:=2;}",
         kMaxLinkedFields + 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        auto kernel = test::loadModel(row.text);
        Pointer<TableResult> table = kernel->getTableByName("W");
        EXPECT_EQ(
            toText(table->warning())->toStdString(),
            "too many fields: the program passes the limit of " + std::to_string(kMaxLinkedFields));
        EXPECT_EQ(table->fieldCount(), 0);
        EXPECT_EQ(table->resolved()->declaredFieldCount(), row.declared);
    }
}
#endif

#if !defined(QV_TEST_SANITIZED)
// Each table alone fits the per-table bound; together they pass the
// program's cell budget, so the last ones keep their formula row only.
TEST(ProgramBounds, ManyWideTablesShareOneCellBudget) {
    std::string fields;
    for (int f = 0; f < 1000; ++f)
        fields += "f" + std::to_string(f) + ":=1;";
    std::string text;
    for (int t = 0; t < 7; ++t) {
        text += "table W" + std::to_string(t) + "{" + fields + "<9999>:={} }\n";
    }
    auto kernel = test::loadModel(text);
    EXPECT_EQ(kernel->getTable(0)->rowCount(), 10000);
    EXPECT_EQ(warningOf(*kernel, 0), "");
    EXPECT_LT(kernel->getTable(6)->rowCount(), 10000);
    EXPECT_EQ(warningOf(*kernel, 6),
              "too many cells: the tables of this program pass the limit of " +
                  std::to_string(kMaxProgramCells));
}
#endif

}  // namespace
}  // namespace qv
