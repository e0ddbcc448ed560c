// Calls: local tables as what-ifs, user functions and their parameters,
// aggregates over a call's arguments and over the rows of a table, and
// calls that recurse without end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/kernel/ModelTestSupport.h"

namespace qv {
namespace {

using test::cell;
using test::column;
using test::loadModel;
using test::renderTable;

struct CellCase {
    std::string table;
    std::string field;
    std::int32_t row;
    std::string expected;
};

void expectCells(Kernel& kernel, const std::vector<CellCase>& cases) {
    for (const CellCase& c : cases) {
        EXPECT_EQ(cell(kernel, c.table, c.field, c.row), c.expected)
            << c.table << "." << c.field << " row " << c.row;
    }
}

TEST(LocalTables, AreWhatIfs) {
    auto kernel = loadModel(
        "table T{ rate:=0.1! amount:=100! total:=amount*(1+rate)! }"
        " table W{ what:=T(rate := 0.05).total! now:=T.total!"
        " two:=T(rate := 0.5, amount := 10).total! perrow:=T(rate := row/10).total! <2>:={} }"
        " table T2{ rate:=0.1! v:=rate*100! <1>:={} <2>:={rate:=0.2} }"
        " table V{ a:=T2(rate := 0.5)[1].v! b:=T2(rate := 0.5)[2].v! c:=T2(rate := 0.5).rate! }");
    EXPECT_EQ(
        renderTable(*kernel, "W"),
        (std::vector<std::string>{"sum | 210 | 220 | 30 | 230", "base | 105 | 110 | 15 | (range)",
                                  "1 | 105 | 110 | 15 | 110", "2 | 105 | 110 | 15 | 120"}));
    // The table itself is unchanged; a row with its own formula keeps it.
    EXPECT_EQ(renderTable(*kernel, "T"),
              (std::vector<std::string>{"sum |  |  | ", "base | 0.1 | 100 | 110"}));
    expectCells(*kernel, {{"V", "a", 0, "50"}, {"V", "b", 0, "20"}, {"V", "c", 0, "0.5"}});
}

TEST(LocalTables, MalformedCalls) {
    auto kernel = loadModel(
        "table T{ rate:=0.1! f:=1! }"
        " table M{ a:=T(1 := 2)! b:=X(a := 1)! c:=T(zz := 1)! d:=T.f(1)! e:=nosuch(1)!"
        " g:=T(rate := 2, f := zz)! }");
    expectCells(*kernel, {{"M", "a", 0, "expecting identifer left of of assignment"},
                          {"M", "b", 0, "table X not found"},
                          {"M", "c", 0, "field zz not found in table T"},
                          {"M", "d", 0, "func unknown"},
                          {"M", "e", 0, "func unknown"},
                          {"M", "g", 0, "undefined: zz"}});
}

TEST(UserFunctions, ReadTheirArguments) {
    auto kernel = loadModel(
        "table F{ [f(a,b)]:=a*10+b! [second(a,b)]:=b! [h(a)]:=f(a+1, 7)+a! [dbl(a)]:=a*2!"
        " a:=100! x:=f(1, 2)! y:=second(7, 8)! z:=h(4)! w:=dbl(3)! v:=dbl(a)!"
        " n:=f(f(1, 2), h(1))! r:=f(row, a)! <2>:={} }");
    expectCells(*kernel, {
                             {"F", "x", 0, "12"},
                             {"F", "y", 0, "8"},
                             // After f returns, h reads its own argument again.
                             {"F", "z", 0, "61"},
                             // A parameter hides the field of the same name.
                             {"F", "w", 0, "6"},
                             {"F", "v", 0, "200"},
                             {"F", "n", 0, "148"},
                             {"F", "r", 0, "(range)"},
                             {"F", "r", 2, "120"},
                             {"F", "f(a,b)", 0, "(Function def)"},
                             {"F", "f(a,b)", 1, "(Function def)"},
                             {"F", "f(a,b)", -1, ""},
                         });
}

// An aggregate over the rows inside a function reads the call's arguments
// in every row, and each call gets its own aggregate.
TEST(UserFunctions, AggregateOverRowsWithParameters) {
    auto kernel = loadModel(
        "table T{ x:=! [tot(c)]:=sum(c*x)! a:=tot(1)! b:=tot(2)! s:=sum(x)! <1>:={x:=1}"
        " <2>:={x:=2} }");
    EXPECT_EQ(column(*kernel, "T", "a"), (std::vector<std::string>{"3", "3"}));
    EXPECT_EQ(column(*kernel, "T", "b"), (std::vector<std::string>{"6", "6"}));
    EXPECT_EQ(column(*kernel, "T", "s"), (std::vector<std::string>{"3", "3"}));
}

TEST(Aggregates, OverArgumentsOrOverRows) {
    auto kernel = loadModel(
        "table A{ x:=! s1:=sum(1, 2, 3)! s2:=sum(x)! s3:=sum(x, 10)! av:=avg(2, 4)!"
        " mx:=max(2, 5, 5)! m2:=max(2, 5)! mn:=min(x)! so:=sort(1, 2)!"
        " c:=concat(\"a\", \"b\", \"c\")! m3:=mavg(1, 2, 3)! w1:=wavg(x)!"
        " <1>:={x:=3} <2>:={x:=1} <3>:={x:=2} }");
    expectCells(*kernel, {
                             {"A", "s1", 1, "6"},
                             {"A", "s2", 1, "6"},
                             {"A", "s2", 0, "6"},
                             {"A", "s3", 0, "10"},
                             {"A", "s3", 1, "13"},
                             {"A", "s3", 2, "11"},
                             {"A", "av", 1, "3"},
                             {"A", "mx", 1, "5"},
                             {"A", "m2", 1, "5"},
                             {"A", "mn", 3, "1"},
                             {"A", "so", 1, "(sort)"},
                             {"A", "c", 1, "abc"},
                             {"A", "m3", 1, "func unknown"},
                             {"A", "w1", 1, "func unknown"},
                         });
}

// A scanning aggregate read before its table's rows are generated (by a
// range formula) is not served again once the rows exist.
TEST(Aggregates, ScanTheGeneratedRows) {
    auto kernel = loadModel("table T{ a:=range 1 to 3! s:=sum(a)! b:=range 1 to s step s! }");
    EXPECT_EQ(column(*kernel, "T", "s"), (std::vector<std::string>{"6", "6", "6"}));
}

TEST(Recursion, UserFunctionsWithoutEnd) {
    auto kernel = loadModel(
        "table R{ [f(n)]:=f(n+1)! [p(n)]:=q(n)! [q(n)]:=p(n)!"
        " [down(n)]:=if n <= 0 then 0 else 1 + down(n-1)!"
        " x:=f(1)! y:=f(row)! m:=p(1)! deep:=down(5000)! ok:=1! <3>:={} }");
    const std::string deep = "calculation nested too deeply";
    EXPECT_EQ(column(*kernel, "R", "x"), (std::vector<std::string>{deep, deep, deep}));
    EXPECT_EQ(column(*kernel, "R", "y"), (std::vector<std::string>{deep, deep, deep}));
    expectCells(*kernel, {{"R", "y", 0, "(range)"},
                          {"R", "m", 0, deep},
                          {"R", "deep", 0, "5000"},
                          {"R", "ok", 3, "1"}});
}

TEST(Recursion, LocalTablesWithoutEnd) {
    auto kernel = loadModel(
        "table L{ a:=1! x:=L(a := 2).x! }"
        " table M{ a:=1! x:=M(a := row)[1].x! <3>:={} }"
        " table A{ z:=0! x:=B(y := 1).x! }"
        " table B{ y:=0! x:=A(z := 1).x! }"
        " table G{ k:=0! v:=g(k+1)! [g(n)]:=G(k := n).v! }"
        " table C{ n:=50! x:=if n > 0 then C(n := n-1).x + 1 else 0! }"
        " table D{ n:=500! x:=if n > 0 then D(n := n-1).x else 0! }"
        " table OK{ v:=C.x+1! }");
    // The innermost level holds "calculation nested too deeply"; every
    // level above reads it through a dot and so depends on an error.
    const std::string depends = "depends on cell that contain error";
    EXPECT_EQ(cell(*kernel, "L", "x", 0), depends);
    // A row read by index passes the error on as an error.
    EXPECT_EQ(renderTable(*kernel, "M"),
              (std::vector<std::string>{"sum | 3 | ", "base | 1 | (range)", "1 | 1 | " + depends,
                                        "2 | 1 | " + depends, "3 | 1 | " + depends}));
    expectCells(*kernel, {{"A", "x", 0, depends},
                          {"B", "x", 0, depends},
                          {"G", "v", 0, depends},
                          {"C", "x", 0, "50"},
                          {"D", "x", 0, depends},
                          {"OK", "v", 0, "51"}});
}

}  // namespace
}  // namespace qv
