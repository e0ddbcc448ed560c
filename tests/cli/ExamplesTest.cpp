// Every example document reads, computes, and shows its key values; and it
// is a fixed point of formatting: writing it and reading it back gives the
// same text and the same values.
#include <gtest/gtest.h>

#include <string>

#include "app/Document.h"
#include "core/ValueConversions.h"

namespace qv {
namespace {

std::string examplePath(const std::string& name) {
    return std::string(QV_SOURCE_DIR) + "/examples/" + name;
}

std::string cellText(Document& document, const std::string& table, const std::string& field,
                     std::int32_t row) {
    Pointer<TableResult> result = document.kernel()->getTableByName(table);
    std::int32_t index = result->resolved()->fieldIndexOf(field);
    EXPECT_GE(index, 0) << table << "." << field;
    return toText(result->value(index, row))->toStdString();
}

struct KeyValue {
    const char* file;
    const char* table;
    const char* field;
    std::int32_t row;
    const char* expected;
};

const KeyValue kKeyValues[] = {
    {"loan.qvl", "Loan", "payment", 1, "2072.768175"},
    {"loan.qvl", "Loan", "interest", 1, "750"},
    {"loan.qvl", "Loan", "opening", 2, "198677.2318"},
    {"loan.qvl", "Loan", "closing", 119, "2065.024334"},
    {"loan.qvl", "Loan", "interest", -1, "48732.18102"},
    {"prices.qvl", "Books", "gross", 1, "32.1"},
    {"prices.qvl", "Books", "gross", 3, "45"},
    {"prices.qvl", "Tools", "gross", 2, "27"},
    {"prices.qvl", "Catalogue", "tax_rate", 0, "0.2"},
    {"scenarios.qvl", "Growth", "rate", 2, "0.02"},
    {"scenarios.qvl", "Growth", "years", 6, "2"},
    {"scenarios.qvl", "Growth", "value", 25, "1276.281563"},
    {"scenarios.qvl", "Growth", "value", -1, "1276.281563"},
    {"statistics.qvl", "Sales", "amount", -1, "1718"},
    {"statistics.qvl", "Sales", "moving", 3, "127.6666667"},
    {"statistics.qvl", "Sales", "sorted", 1, "87"},
    {"statistics.qvl", "Sales", "sorted", 12, "190"},
    {"statistics.qvl", "Sales", "sorted", -1, "142.1747967"},
    {"statistics.qvl", "Sales", "trend", 0, "plot"},
    {"whatif.qvl", "Savings", "total", 0, "13756.65517"},
    {"whatif.qvl", "Compare", "total", 1, "13139.6652"},
    {"whatif.qvl", "Compare", "after_fee", 2, "13550.30535"},
    {"lookup.qvl", "Cities", "capital_share", 2, "0.2402234637"},
    {"lookup.qvl", "Cities", "capital_share", 5, "0"},
    {"lookup.qvl", "Cities", "versus_paris", 3, "1.696927374"},
    {"lookup.qvl", "Census", "population", 3, "3.645e+6"},
    {"lookup.qvl", "Census", "millions", -1, "7.06"},
};

TEST(ExamplesTest, KeyValuesAreComputed) {
    for (const KeyValue& key : kKeyValues) {
        SCOPED_TRACE(std::string(key.file) + " " + key.table + "." + key.field + " row " +
                     std::to_string(key.row));
        Pointer<Document> document = Document::readFile(examplePath(key.file));
        EXPECT_EQ(cellText(*document, key.table, key.field, key.row), key.expected);
    }
}

TEST(ExamplesTest, FormattingIsAFixedPoint) {
    for (const char* file : {"loan.qvl", "prices.qvl", "scenarios.qvl", "statistics.qvl",
                             "whatif.qvl", "lookup.qvl"}) {
        SCOPED_TRACE(file);
        Pointer<Document> first = Document::readFile(examplePath(file));
        StringPointer written = first->toSource();
        Pointer<Document> second = Document::read(written);
        EXPECT_EQ(second->toSource()->toStdString(), written->toStdString());
        // The same values before and after the re-formatting.
        Kernel& before = *first->kernel();
        Kernel& after = *second->kernel();
        ASSERT_EQ(before.getTableCount(), after.getTableCount());
        for (std::int32_t t = 0; t < before.getTableCount(); ++t) {
            Pointer<TableResult> a = before.getTable(t);
            Pointer<TableResult> b = after.getTable(t);
            ASSERT_EQ(a->rowCount(), b->rowCount());
            for (std::int32_t field = 0; field < a->fieldCount(); ++field) {
                for (std::int32_t row = -1; row < a->rowCount(); ++row) {
                    EXPECT_EQ(toText(a->value(field, row))->toStdString(),
                              toText(b->value(field, row))->toStdString());
                }
            }
        }
    }
}

}  // namespace
}  // namespace qv
