// Which function a name or a call links to, through the real linking: a
// scalar function by name and argument count, else an aggregate over the
// rows of the table by name and count, else an aggregate over the call's own
// arguments; a bare name is a constant or a function without arguments.
// Names are exact, letter case included.
#include <gtest/gtest.h>

#include <string>

#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::loadModel;

// The value tells which lookup won: over the rows, max(a) is 3 and sum(a)
// is 6; over its own arguments a call sees only row 2's a, which is 2.
struct Lookup {
    const char* formula;
    const char* value;  // in data row 2 of a table whose column a holds 1, 2, 3
};

const Lookup kLookups[] = {
    {"pi", "3.141592654"},
    {"e", "2.718281828"},
    {"true", "true"},
    {"row", "2"},
    {"row()", "2"},
    {"prev", ""},  // its own column: empty from row 1 on
    {"sin(0)", "0"},
    {"warning(\"x\")", "x"},
    {"max(1,2)", "2"},
    {"min(4,3)", "3"},
    {"max(a)", "3"},
    {"min(a)", "1"},
    {"sum(a)", "6"},
    {"concat(a)", "123"},
    {"wavg(a,a)", "2.333333333"},
    {"mavg(2,a)", "1.5"},
    {"_or(a)", "true"},
    {"max(1,5,2)", "5"},
    {"min(5,4,3,2,9)", "2"},
    {"sum(1,2,3,4)", "10"},
    // Constants are bare names only; a wrong count finds nothing.
    {"pi()", "func unknown"},
    {"pi(1)", "func unknown"},
    {"true()", "func unknown"},
    {"row(1)", "func unknown"},
    {"sin(0,1)", "func unknown"},
    {"mavg(a)", "func unknown"},
    {"mavg(1,2,3)", "func unknown"},
    {"plot(a)", "func unknown"},
    {"Sin(0)", "func unknown"},
    {"Max(1,2)", "func unknown"},
};

TEST(CallLookup, ThroughTheLinking) {
    for (const Lookup& lookup : kLookups) {
        SCOPED_TRACE(lookup.formula);
        auto kernel =
            loadModel(std::string("table T{ a:=range 1 to 3! f:=") + lookup.formula + "! }");
        EXPECT_EQ(cell(*kernel, "T", "f", 2), lookup.value);
    }
}

// A field of the table, a parameter, a table and a function of one name:
// the nearest wins.
TEST(CallLookup, NamesOfTheProgramHideFunctions) {
    auto kernel = loadModel(
        "table T{ pi:=3! x:=pi! [sin(n)]:=n*10! y:=sin(2)! [max(p)]:=p! z:=max(1,2)! }"
        " table sum{ v:=1! } table U{ s:=sum.v! }");
    EXPECT_EQ(cell(*kernel, "T", "x", 0), "3");
    EXPECT_EQ(cell(*kernel, "T", "y", 0), "20");
    EXPECT_EQ(cell(*kernel, "T", "z", 0), "2");
    EXPECT_EQ(cell(*kernel, "U", "s", 0), "1");
}

}  // namespace
}  // namespace qv
