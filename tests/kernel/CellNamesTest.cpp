// Cell names read back: each name, evaluated as an expression outside any
// table, gives the value of the very cell it names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/CellPlace.h"
#include "kernel/ProgramResult.h"
#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::display;
using test::loadModel;

struct NameCase {
    const char* what;
    std::string program;
    const char* table;
    const char* field;  // looked up in the table; the name marker by its whole name
    std::int32_t row;
    std::string expected;
};

CellPlace placeIn(Kernel& kernel, const NameCase& c) {
    Pointer<TableResult> table = kernel.getTableByName(c.table);
    return {kernel.getTableIndex(c.table), table->resolved()->fieldIndexOf(c.field), c.row};
}

TEST(CellNames, NamesReadBackAsTheSameCell) {
    const std::string plain = "table T{ a:=3! b:=a*2! <2>:={a:=7} <sum>:={a:=99} }";
    const std::string inherited = "table B{ a:=1! b:=a+1! } table D extends B{ c:=b*10! a:=5! }";
    const std::string named = "table N{ k~name:=1! v:=10! <2>:={second, 7} }";
    const std::vector<NameCase> cases = {
        {"a data row", "table Prices{ rate:=row*10! <4>:={} }", "Prices", "rate", 4,
         "Prices[4].rate"},
        {"the formula row", plain, "T", "a", 0, "T.a"},
        {"a row override", plain, "T", "a", 2, "T[2].a"},
        {"a row computed by the field's formula", plain, "T", "b", 2, "T[2].b"},
        {"the summary row", plain, "T", "a", -1, "T[sum].a"},
        {"names that need brackets",
         "table [My Prices]{ [unit rate]:=4! x:=[unit rate]+1! <1>:={} }", "My Prices", "unit rate",
         1, "[My Prices][1].[unit rate]"},
        {"a reserved word as a name", "table [if]{ [then]:=8! }", "if", "then", 0, "[if].[then]"},
        {"an inherited field", inherited, "D", "b", 0, "D.b"},
        {"an overridden field keeps its place", inherited, "D", "a", 0, "D.a"},
        {"a field of the derived table", inherited, "D", "c", 0, "D.c"},
        {"a named row goes by its number", named, "N", "v", 2, "N[2].v"},
        {"the name marker itself", named, "N", "k~name", 2, "N[2].k~name"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto kernel = loadModel(c.program);
        CellPlace place = placeIn(*kernel, c);
        ASSERT_GE(place.field, 0);
        StringPointer name = cellName(*kernel->getResults(), place);
        EXPECT_EQ(name->toStdString(), c.expected);
        Pointer<TableResult> table = kernel->getTableByName(c.table);
        EXPECT_EQ(display(kernel->evaluateExpression(name)),
                  display(table->value(place.field, c.row)));
    }
}

TEST(CellNames, PlacesOutsideTheResults) {
    auto kernel = loadModel("table T{ a:=1! <2>:={} }");
    ProgramResult& results = *kernel->getResults();
    EXPECT_EQ(cellName(results, CellPlace{})->toStdString(), "");
    const std::vector<CellPlace> missing = {{1, 0, 0}, {0, 1, 0}, {0, 0, 3}, {0, 0, -2}};
    for (const CellPlace& place : missing) {
        SCOPED_TRACE(std::to_string(place.table) + "/" + std::to_string(place.field) + "/" +
                     std::to_string(place.row));
        try {
            cellName(results, place);
            ADD_FAILURE() << "no error";
        } catch (const StringPointer& message) {
            EXPECT_EQ(message->toStdString(), "no such cell");
        }
    }
}

}  // namespace
}  // namespace qv
