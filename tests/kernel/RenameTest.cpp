// Exact renames: each row renames one table, field or row of a model and
// gives the program text expected afterwards (or the refusal). Every row
// also checks that each cell shows the same value after the rename, that
// reverting the plan gives the text back byte for byte, and that renaming
// back gives the original text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/NameTarget.h"
#include "kernel/References.h"
#include "kernel/RenamePlan.h"
#include "tests/kernel/ModelTestSupport.h"
#include "tests/kernel/RenameTestSupport.h"

namespace qv {
namespace {

using test::allValues;
using test::loadModel;
using test::renamedLabel;

struct RenameRow {
    const char* what;
    const char* model;
    const char* old;
    const char* newName;
    const char* expected;  // the program text after, or the refusal
};

class RenameRows : public ::testing::TestWithParam<RenameRow> {};

TEST_P(RenameRows, RewritesExactlyAndKeepsEveryValue) {
    const RenameRow& row = GetParam();
    Pointer<Kernel> kernel = loadModel(row.model);
    std::string before = kernel->toSource()->toStdString();
    ASSERT_EQ(before, row.model) << "write the model as the writer does";
    std::vector<std::string> values = allValues(*kernel);

    RenamePlan plan = planRename(*kernel, parseNameTarget(row.old), row.newName);
    if (plan.refused()) {
        EXPECT_EQ(plan.refusal->toStdString(), row.expected);
        EXPECT_EQ(kernel->toSource()->toStdString(), before);
        return;
    }
    applyRename(*kernel->program(), plan);
    EXPECT_EQ(kernel->toSource()->toStdString(), row.expected);
    std::vector<std::string> renamedValues = allValues(*kernel);
    // A row's name is also the value of its name cell.
    if (plan.target.kind == NameTarget::Kind::kRow) {
        for (std::string& line : renamedValues) {
            std::string shown = " | " + std::string(row.newName) + " |";
            if (auto at = line.find(shown); at != std::string::npos)
                line.replace(at, shown.size(), " | " + plan.target.current + " |");
        }
    }
    EXPECT_EQ(renamedValues, values);

    revertRename(*kernel->program(), plan);
    EXPECT_EQ(kernel->toSource()->toStdString(), before);

    applyRename(*kernel->program(), plan);
    std::string back = renamedLabel(plan.target, row.newName);
    RenamePlan undo = planRename(*kernel, parseNameTarget(back), plan.target.current);
    ASSERT_FALSE(undo.refused()) << undo.refusal->toStdString();
    applyRename(*kernel->program(), undo);
    EXPECT_EQ(kernel->toSource()->toStdString(), before);
    EXPECT_EQ(allValues(*kernel), values);
}

const RenameRow kRenameRows[] = {
    {"field formula", "table T{\n    a:=1!\n    b:=a*2+a!\n}\n", "T.a", "x",
     "table T{\n    x:=1!\n    b:=x*2+x!\n}\n"},
    {"comments and spacing of a formula stay",
     "table T{\n    a:=1!\n    b:=a  * /* a here */ 2!\n}\n", "T.a", "x",
     "table T{\n    x:=1!\n    b:=x  * /* a here */ 2!\n}\n"},
    {"row override and its header",
     "table T{\n    a:=1!\n    b:=a+1!\n    <2>:={    a:=5,b:=a*3,}\n}\n", "T.a", "x",
     "table T{\n    x:=1!\n    b:=x+1!\n    <2>:={    x:=5,b:=x*3,}\n}\n"},
    {"inherited field renamed in the base",
     "table B{\n    a:=1!\n    b:=a*2!\n}\ntable D extends B{\n    a:=3!\n    c:=a+b!\n}\n", "B.a",
     "x", "table B{\n    x:=1!\n    b:=x*2!\n}\ntable D extends B{\n    x:=3!\n    c:=x+b!\n}\n"},
    {"inherited field renamed in the extending table",
     "table B{\n    a:=1!\n    b:=a*2!\n}\ntable D extends B{\n    a:=3!\n    c:=a+b!\n}\n", "D.a",
     "x", "table B{\n    x:=1!\n    b:=x*2!\n}\ntable D extends B{\n    x:=3!\n    c:=x+b!\n}\n"},
    {"base-table clause and table names",
     "table B{\n    a:=1!\n}\ntable D extends B{\n    c:=B.a+a!\n}\n", "B", "Base",
     "table Base{\n    a:=1!\n}\ntable D extends Base{\n    c:=Base.a+a!\n}\n"},
    {"user function body and call", "table T{\n    k:=2!\n    [f(x)]:= x*k!\n    c:=f(3)!\n}\n",
     "T.k", "m", "table T{\n    m:=2!\n    [f(x)]:= x*m!\n    c:=f(3)!\n}\n"},
    {"a parameter shadows the field", "table T{\n    x:=5!\n    [f(x)]:= x*2!\n    c:=f(x)!\n}\n",
     "T.x", "y", "table T{\n    y:=5!\n    [f(x)]:= x*2!\n    c:=f(y)!\n}\n"},
    {"user function renamed", "table T{\n    [f(x)]:= x*2!\n    c:=f(3)+f(1)!\n}\n", "T.f", "g",
     "table T{\n    [g(x)]:= x*2!\n    c:=g(3)+g(1)!\n}\n"},
    {"user function named with its parameters",
     "table T{\n    [f(x, y)]:= x*y!\n    c:=f(3, 2)!\n}\n", "T.[f(x, y)]", "g",
     "table T{\n    [g(x, y)]:= x*y!\n    c:=g(3, 2)!\n}\n"},
    {"select: the left of a comparison reads the selected table",
     "table P{\n    price:=col*2!\n    <3>:={}\n}\ntable Q{\n    price:=3!\n    "
     "n:=select * from P where price>price!\n}\n",
     "P.price", "cost",
     "table P{\n    cost:=col*2!\n    <3>:={}\n}\ntable Q{\n    price:=3!\n    "
     "n:=select * from P where cost>price!\n}\n"},
    {"select: the table's name",
     "table P{\n    price:=col*2!\n    <3>:={}\n}\ntable Q{\n    "
     "n:=select * from P where price>1!\n}\n",
     "P", "Stock",
     "table Stock{\n    price:=col*2!\n    <3>:={}\n}\ntable Q{\n    "
     "n:=select * from Stock where price>1!\n}\n"},
    {"find and alt", "table C{\n    v:=1!\n    w:=find(v=2).v alt 0!\n    <2>:={    v:=2,}\n}\n",
     "C.v", "u", "table C{\n    u:=1!\n    w:=find(u=2).u alt 0!\n    <2>:={    u:=2,}\n}\n"},
    {"row@field: the field",
     "table C{\n    ~name:=?;\n    v:=1!\n    w:=a@v!\n    <1>:={    ~name:=a,}\n}\n", "C.v", "u",
     "table C{\n    ~name:=?;\n    u:=1!\n    w:=a@u!\n    <1>:={    ~name:=a,}\n}\n"},
    {"row@field and the row's name",
     "table C{\n    ~name:=?;\n    v:=1!\n    w:=a@v!\n    <1>:={    ~name:=a,}\n}\n", "C[a]",
     "first",
     "table C{\n    ~name:=?;\n    v:=1!\n    w:=first@v!\n    <1>:={    ~name:=first,}\n}\n"},
    {"a row named by a text, found by number",
     "table C{\n    ~name:=?;\n    v:=1!\n    w:=a@v!\n    <1>:={    ~name:=\"a\",}\n}\n", "C[1]",
     "b", "table C{\n    ~name:=?;\n    v:=1!\n    w:=b@v!\n    <1>:={    ~name:=\"b\",}\n}\n"},
    {"what-if call: its arguments and the member read",
     "table S{\n    rate:=0.1!\n    total:=rate*100!\n}\ntable W{\n    "
     "z:=S(rate := 0.2).total!\n}\n",
     "S.rate", "r",
     "table S{\n    r:=0.1!\n    total:=r*100!\n}\ntable W{\n    z:=S(r := 0.2).total!\n}\n"},
    {"member of a local table call and of a field holding a row",
     "table S{\n    rate:=0.1!\n    total:=rate*100!\n}\ntable W{\n    row:=S[base]!\n    "
     "z:=S(rate := 0.2).total+row.total!\n}\n",
     "S.total", "sum_of",
     "table S{\n    rate:=0.1!\n    sum_of:=rate*100!\n}\ntable W{\n    row:=S[base]!\n    "
     "z:=S(rate := 0.2).sum_of+row.sum_of!\n}\n"},
    {"a field of the current table shadows a table of the name",
     "table a{\n    x:=1!\n}\ntable T{\n    a:=2!\n    b:=a+a.x!\n}\n", "a", "z",
     "table z{\n    x:=1!\n}\ntable T{\n    a:=2!\n    b:=a+a.x!\n}\n"},
    {"namesakes in other tables and text in strings stay",
     "table A{\n    v:=1!\n}\ntable B{\n    v:=2!\n    w:=\"v\"&v&A.v!\n}\n", "A.v", "u",
     "table A{\n    u:=1!\n}\ntable B{\n    v:=2!\n    w:=\"v\"&v&A.u!\n}\n"},
    {"names that need brackets get them", "table T{\n    a:=1!\n    b:=a*2!\n}\n", "T.a",
     "unit price", "table T{\n    [unit price]:= 1!\n    b:=[unit price]*2!\n}\n"},
    {"a keyword-like name gets brackets too", "table T{\n    a:=1!\n    b:=a*2!\n}\n", "T.a",
     "select", "table T{\n    [select]:= 1!\n    b:=[select]*2!\n}\n"},
    {"hash-text formulas", "table T{\n    a:=1!\n    b:=#a * 2#!\n}\n", "T.a", "x",
     "table T{\n    x:=1!\n    b:=#x * 2#!\n}\n"},
    {"the right of a dot that is not known, with one family of the name",
     "table A{\n    v:=1!\n}\ntable T{\n    x:=if 1 then A else A!\n    y:=x.v!\n}\n", "A.v", "u",
     "table A{\n    u:=1!\n}\ntable T{\n    x:=if 1 then A else A!\n    y:=x.u!\n}\n"},
    // Refusals: nothing changes.
    {"a field name taken", "table T{\n    a:=1!\n    b:=a!\n}\n", "T.a", "b",
     "T.a: the name b is taken in table T"},
    {"a name taken in a table inheriting the field",
     "table B{\n    a:=1!\n}\ntable D extends B{\n    b:=2!\n}\n", "B.a", "b",
     "B.a: the name b is taken in table D"},
    {"a table name taken", "table A{\n}\ntable B{\n}\n", "A", "B",
     "A: the name B is taken by another table"},
    {"a row name taken",
     "table C{\n    ~name:=?;\n    v:=1!\n    <1>:={    ~name:=a,}\n    <2>:={    ~name:=b,}\n}\n",
     "C[a]", "b", "C[a]: the name b is taken in table C"},
    {"an invalid name", "table T{\n    a:=1!\n}\n", "T.a", "x]",
     "T.a: \"x]\" is not a valid name: it may not be empty, begin or end with a blank, or hold ], "
     "#, \" or control characters"},
    {"an empty name", "table T{\n    a:=1!\n}\n", "T.a", "",
     "T.a: \"\" is not a valid name: it may not be empty, begin or end with a blank, or hold ], #, "
     "\" or control characters"},
    {"a field name that would make a function", "table T{\n    a:=1!\n}\n", "T.a", "f(x)",
     "T.a: \"f(x)\" is not a valid field name: a ( would make the field a function"},
    {"a marker name", "table T{\n    a:=1!\n}\n", "T.a", "x~name",
     "T.a: \"x~name\" would change whether the field names or bases the rows (~name, ~base)"},
    {"a new name that a nearer definition hides",
     "table P{\n    v:=1!\n}\ntable T{\n    a:=2!\n    b:=P.v+a!\n}\n", "T.a", "P",
     "T.a: the name P would change what P means in T.b"},
    {"a new name hidden by a parameter", "table T{\n    a:=2!\n    [f(x)]:= x+a!\n}\n", "T.a", "x",
     "T.a: the name x would change what a means in T.[f(x)]"},
};

INSTANTIATE_TEST_SUITE_P(Kernel, RenameRows, ::testing::ValuesIn(kRenameRows),
                         [](const auto& info) { return "row" + std::to_string(info.index); });

TEST(Rename, UnknownTargetsThrowTheirMessage) {
    Pointer<Kernel> kernel = loadModel("table T{\n    a:=1!\n}\n");
    const std::pair<const char*, const char*> rows[] = {
        {"U", "U: no such table"},
        {"T.zz", "T.zz: no such field"},
        {"T[zz]", "T[zz]: no such row"},
        {"T[1]", "T[1]: no such row"},
        {"T..a", "bad name T..a: write Table, Table.field or Table[row]"},
        {"", "bad name : write Table, Table.field or Table[row]"},
    };
    for (const auto& [old, message] : rows) {
        try {
            planRename(*kernel, parseNameTarget(old), "x");
            ADD_FAILURE() << old << " was found";
        } catch (const StringPointer& thrown) {
            EXPECT_EQ(thrown->toStdString(), message);
        }
    }
}

TEST(Rename, UndecidedMembersStayAndAreCounted) {
    Pointer<Kernel> kernel = loadModel(
        "table A{\n    v:=1!\n}\ntable B{\n    v:=2!\n}\ntable T{\n    x:=if 1 then A "
        "else B!\n    y:=x.v!\n}\n");
    RenamePlan plan = planRename(*kernel, parseNameTarget("A.v"), "u");
    ASSERT_FALSE(plan.refused());
    EXPECT_EQ(plan.undecided, 1);
    applyRename(*kernel->program(), plan);
    EXPECT_EQ(kernel->toSource()->toStdString(),
              "table A{\n    u:=1!\n}\ntable B{\n    v:=2!\n}\ntable T{\n    x:=if 1 then A "
              "else B!\n    y:=x.v!\n}\n");
    EXPECT_EQ(renameSummary(plan, 0),
              "Only the name changes; 1 name after a dot left as it is: other tables have fields "
              "of that name");
}

// The preview's text counts what changes besides the name and leaves out
// what is counted 0; a row's own name cell is the name, not a use of it.
TEST(Rename, SummaryCountsOnlyWhatChanges) {
    struct Case {
        const char* what;
        const char* model;
        const char* target;
        std::vector<const char*> views;
        const char* summary;
    };
    const Case cases[] = {
        {"formulas in two tables, no view",
         "table P{\n    q:=1!\n    r:=q*2!\n    s:=q+1!\n}\ntable R{\n    t:=P.q!\n}\n",
         "P.q",
         {},
         "3 formulas in 2 tables"},
        {"one formula and one view",
         "table P{\n    q:=1!\n    r:=q*2!\n}\n",
         "P.q",
         {"P.q"},
         "1 formula in 1 table, 1 view"},
        {"only a view", "table P{\n    q:=1!\n}\n", "P.q", {"P.q", "P"}, "1 view"},
        {"nothing uses it", "table P{\n    q:=1!\n}\n", "P.q", {"P"}, "Only the name changes"},
        {"a table extended, shown in two views",
         "table B{\n    a:=1!\n}\ntable D extends B{\n    c:=2!\n}\n",
         "B",
         {"B", "B[1]"},
         "1 base-table clause, 2 views"},
        {"the field of a family",
         "table B{\n    a:=1!\n    b:=a*2!\n}\ntable D extends B{\n    a:=3!\n    c:=a+b!\n}\n",
         "B.a",
         {"B.a", "D"},
         "2 formulas in 2 tables, 1 view; the field is defined in 2 tables (a base table and "
         "those extending it), renamed in all"},
        {"a row nothing uses",
         "table C{\n    ~name:=?!\n    v:=1!\n    <1>:={    ~name:=a,}\n}\n",
         "C[a]",
         {},
         "Only the name changes"},
        {"a row used once",
         "table C{\n    ~name:=?!\n    v:=1!\n    w:=a@v+1!\n    <1>:={    ~name:=a,}\n}\n",
         "C[a]",
         {},
         "1 formula in 1 table"},
        {"two names after a dot undecided",
         "table A{\n    v:=1!\n}\ntable B{\n    v:=2!\n}\ntable T{\n    x:=if 1 then A else "
         "B!\n    y:=x.v+x.v!\n}\n",
         "A.v",
         {},
         "Only the name changes; 2 names after a dot left as they are: other tables have fields "
         "of that name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Pointer<Kernel> kernel = loadModel(c.model);
        std::vector<StringPointer> views;
        for (const char* view : c.views)
            views.push_back(str(view));
        RenamePlan plan = planRename(*kernel, parseNameTarget(c.target), "fresh", views);
        ASSERT_FALSE(plan.refused()) << plan.refusal->toStdString();
        EXPECT_EQ(renameSummary(plan, static_cast<std::int32_t>(plan.outside.size())), c.summary);
    }
}

TEST(References, ListDefinitionsThenFormulasWithTheirPlaces) {
    Pointer<Kernel> kernel = loadModel(
        "table B{\n    a:=1!\n    b:=a*2!\n}\ntable D extends B{\n    a:=3!\n    c:=a+B.a!\n    "
        "<2>:={    c:=a,}\n}\n");
    NameTarget target = parseNameTarget("B.a");
    std::vector<Reference> references = findReferences(*kernel, target);
    std::vector<std::string> lines;
    for (const Reference& reference : references) {
        std::string line = placeLabel(*kernel->program(), reference.place);
        StringPointer text = referenceText(*kernel->program(), reference);
        if (!text.isNull())
            line += " " + text->toStdString() + " @" + std::to_string(reference.offset) + "+" +
                    std::to_string(reference.length);
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"B.a", "D.a", "B.b a*2 @0+1", "D.c a+B.a @0+1",
                                               "D.c a+B.a @4+1", "D.c[2] a @0+1"}));
}

}  // namespace
}  // namespace qv
