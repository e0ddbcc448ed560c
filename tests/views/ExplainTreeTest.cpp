// The explain view's tree: unfolding asks for one level at a time, folding
// drops it, lines count through every level, and an error opens on the
// path to its origin or round its cycle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/views/ViewTestSupport.h"
#include "views/ExplainTree.h"

namespace qv {
namespace {

using test::loadModel;

// a[2].z reads y, y reads x; b's cells read a; c's p and q read each other.
constexpr std::string_view kModel =
    "table a{ x:=range 1 to 2! y:=x + 1! z:=y * 2! }"
    "table b{ n:=range 1 to 1! s:=a[2].z + a[1].x! e:=nosuch(1)! f:=e + 1! g:=f + 1! }"
    "table c{ n:=range 1 to 1! p:=q + 1! q:=p + 1! r:=q! }"
    // Two what-ifs failing in different cells of their local tables; s
    // tries the first and fails by the second.
    "table L{ a:=1! b:=find(false)! c:=b + a! e:=nosuch(a)! f:=e + 1! }"
    "table w{ n:=range 1 to 1! u:=L(a:=2).f! v:=L(a:=3).c! s:=v + 1 alt u! }";

// The tree's lines by name, dots for depth.
std::vector<std::string> lines(const ExplainTree& tree) {
    std::vector<std::string> out;
    for (std::int32_t line = 0; line < tree.lineCount(); ++line) {
        ExplainTree::Line at = tree.line(line);
        out.push_back(std::string(static_cast<std::size_t>(at.depth), '.') +
                      at.node->facts.name->toStdString());
    }
    return out;
}

TEST(ExplainTree, UnfoldsAndFoldsOneLevelAtATime) {
    Pointer<Kernel> kernel = loadModel(kModel);
    ExplainTree tree;
    tree.explain(kernel, {kernel->getTableIndex("b"), 1, 1});
    EXPECT_EQ(tree.subject().name->toStdString(), "b[1].s");
    EXPECT_EQ(tree.cause().kind, Cause::Kind::None);
    EXPECT_EQ(tree.focusLine(), -1);
    struct Step {
        const char* what;
        bool unfold;
        std::int32_t line;
        std::vector<std::string> lines;
    };
    const Step steps[] = {
        {"first level", true, -1, {"a[2].z", "a[1].x"}},
        {"unfold z", true, 0, {"a[2].z", ".a[2].y", "a[1].x"}},
        {"unfold y", true, 1, {"a[2].z", ".a[2].y", "..a[2].x", "a[1].x"}},
        {"unfold x: it reads nothing", true, 2, {"a[2].z", ".a[2].y", "..a[2].x", "a[1].x"}},
        {"unfold the last", true, 3, {"a[2].z", ".a[2].y", "..a[2].x", "a[1].x"}},
        {"fold z drops its levels", false, 0, {"a[2].z", "a[1].x"}},
        {"unfold z again asks again", true, 0, {"a[2].z", ".a[2].y", "a[1].x"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.line >= 0) {
            EXPECT_TRUE(step.unfold ? tree.unfold(step.line) : tree.fold(step.line));
        }
        EXPECT_EQ(lines(tree), step.lines);
    }
    EXPECT_EQ(tree.parentLine(1), 0);
    EXPECT_EQ(tree.parentLine(2), -1);
    EXPECT_FALSE(tree.toggle(3));
    EXPECT_FALSE(tree.unfold(-1));
    EXPECT_EQ(tree.line(9).node, nullptr);
    // The summary record reads every record's s.
    ASSERT_EQ(tree.dependents().size(), 1u);
    EXPECT_EQ(tree.dependents()[0].name->toStdString(), "b[sum].s");
}

TEST(ExplainTree, AnErrorOpensOnThePathToItsOriginAndACycleAroundIt) {
    struct Case {
        const char* table;
        std::int32_t field;
        Cause::Kind kind;
        std::vector<std::string> lines;
        std::int32_t focus;
    };
    const Case cases[] = {
        // A field that cannot differ by row is read in its formula row.
        {"b", 4, Cause::Kind::Origin, {"b.f", ".b.e"}, 1},
        {"b", 2, Cause::Kind::Origin, {}, -1},
        {"c", 1, Cause::Kind::Cycle, {"c[1].q", ".c[1].p"}, 1},
        {"c", 3, Cause::Kind::Cycle, {"c[1].q", ".c[1].p", "..c[1].q"}, 2},
        {"w", 3, Cause::Kind::Origin, {"w.v", "w.u"}, 1},
    };
    Pointer<Kernel> kernel = loadModel(kModel);
    for (const Case& c : cases) {
        ExplainTree tree;
        tree.explain(kernel, {kernel->getTableIndex(c.table), c.field, 1});
        SCOPED_TRACE(tree.subject().name->toStdString());
        EXPECT_EQ(tree.cause().kind, c.kind);
        EXPECT_EQ(lines(tree), c.lines);
        EXPECT_EQ(tree.focusLine(), c.focus);
    }
}

TEST(ExplainTree, ACellTheResultsDoNotHoldLeavesItEmpty) {
    Pointer<Kernel> kernel = loadModel(kModel);
    const CellPlace places[] = {{9, 0, 1}, {-1, 0, 0}};
    for (const CellPlace& place : places) {
        ExplainTree tree;
        tree.explain(kernel, place);
        EXPECT_TRUE(tree.isEmpty());
        EXPECT_EQ(tree.lineCount(), 0);
    }
    ExplainTree tree;
    tree.explain({}, {0, 0, 1});
    EXPECT_TRUE(tree.isEmpty());
}

}  // namespace
}  // namespace qv
