// How explain unfolds a value, on small fixed sets of cells: the depth, a
// cell shown once and referred to after, loops, the way to an origin
// shown whole whatever the depth, and the bounds on cells, lists, the way
// and time. What the kernel answers about real documents is tested with
// the command (ExplainCommandTest).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "cli/ErrorCauses.h"
#include "cli/ExplainTree.h"
#include "cli/ExplainWriter.h"
#include "core/Warning.h"

namespace qv::cli {
namespace {

struct FakeCell {
    std::string name;
    std::string formula;
    std::string value;  // an error when it starts with "!": the message follows
    std::vector<std::string> reads;
    std::string origin;             // for an error: the cell where it began
    std::vector<std::string> loop;  // for "(circular)": the cells of its loop
};

// Cells by name, each its own field of one table; any other text is an
// expression that reads the cells named in it, separated by '+'.
class FakeCells final : public ExplainedCells {
  public:
    explicit FakeCells(std::vector<FakeCell> cells) : m_cells(std::move(cells)) {
        for (std::size_t i = 0; i < m_cells.size(); ++i)
            m_index[m_cells[i].name] = static_cast<std::int32_t>(i);
    }

    std::optional<CellPlace> cellNamed(const std::string& expression) override {
        auto found = m_index.find(expression);
        if (found == m_index.end()) return std::nullopt;
        return CellPlace{0, found->second, 1};
    }
    CellFacts facts(const CellPlace& place) override {
        const FakeCell& cell = m_cells[static_cast<std::size_t>(place.field)];
        return {place, str(cell.name), str(cell.formula), valueOf(cell.value)};
    }
    Cause cause(const CellPlace& place) override {
        const FakeCell& cell = m_cells[static_cast<std::size_t>(place.field)];
        Cause cause;
        if (!cell.loop.empty()) {
            cause.kind = Cause::Kind::Cycle;
            std::string text = "cycle:";
            for (const std::string& name : cell.loop) {
                cause.cycle.push_back(facts(placeOf(name)));
                text += " " + name + " ->";
            }
            cause.text = str(text + " " + cell.loop.front());
        } else if (!cell.origin.empty()) {
            cause.kind = Cause::Kind::Origin;
            cause.origin = facts(placeOf(cell.origin));
            cause.text = str("caused by " + cell.origin + ": " +
                             m_cells[index(cell.origin)].value.substr(1));
        }
        return cause;
    }
    std::vector<CellFacts> precedents(const CellPlace& place, std::int32_t maxCells) override {
        return readsOf(m_cells[static_cast<std::size_t>(place.field)].reads, maxCells);
    }
    Explanation::ExpressionFacts expression(const std::string& text,
                                            std::int32_t maxCells) override {
        std::vector<std::string> names;
        for (std::size_t start = 0; start <= text.size();) {
            std::size_t end = std::min(text.find('+', start), text.size());
            names.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        Explanation::ExpressionFacts facts;
        facts.precedents = readsOf(names, maxCells);
        facts.value = facts.precedents.front().value;
        if (is<Warning>(facts.value)) facts.cause = cause(facts.precedents.front().place);
        return facts;
    }

  private:
    static Pointer<Object> valueOf(const std::string& value) {
        if (!value.empty() && value[0] == '!') return make<Warning>(str(value.substr(1)));
        return str(value);
    }
    std::size_t index(const std::string& name) const {
        return static_cast<std::size_t>(m_index.at(name));
    }
    CellPlace placeOf(const std::string& name) const {
        return {0, static_cast<std::int32_t>(index(name)), 1};
    }
    std::vector<CellFacts> readsOf(const std::vector<std::string>& names, std::int32_t maxCells) {
        std::vector<CellFacts> reads;
        for (const std::string& name : names) {
            if (static_cast<std::int32_t>(reads.size()) >= maxCells) break;
            reads.push_back(facts(placeOf(name)));
        }
        return reads;
    }

    std::vector<FakeCell> m_cells;
    std::map<std::string, std::int32_t> m_index;
};

std::string textOf(const ExplainReport& report) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = ::open_memstream(&buffer, &size);
    writeExplainText(report, out);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

const char* kDepends = "!depends on cell that contain error";

// A chain a <- b <- c <- d <- e where e divides by a missing name, and a
// diamond: p reads q and r, which both read s.
std::vector<FakeCell> chainAndDiamond() {
    return {
        {"a", "b+k", kDepends, {"b", "k"}, "e", {}},
        {"b", "c*2", kDepends, {"c"}, "e", {}},
        {"c", "d-1", kDepends, {"k", "d"}, "e", {}},
        {"d", "e", kDepends, {"e"}, "e", {}},
        {"e", "1/nothing", "!undefined: nothing", {"k"}, "e", {}},
        {"k", "", "7", {}, "", {}},
        {"p", "q+r", "4", {"q", "r"}, "", {}},
        {"q", "s", "2", {"s"}, "", {}},
        {"r", "s", "2", {"s"}, "", {}},
        {"s", "", "2", {}, "", {}},
    };
}

// x and y read each other; z reads x without being in the loop.
std::vector<FakeCell> loop() {
    return {
        {"x", "y+1", "!(circular)", {"y"}, "", {"x", "y"}},
        {"y", "x+1", "!(circular)", {"x"}, "", {"x", "y"}},
        {"z", "x*2", "!(circular)", {"x"}, "", {"x", "y"}},
    };
}

// m reads twelve cells.
std::vector<FakeCell> wide() {
    std::vector<FakeCell> cells{{"m", "sum", "12", {}, "", {}}};
    for (int i = 1; i <= 12; ++i) {
        cells[0].reads.push_back("n" + std::to_string(i));
        cells.push_back({"n" + std::to_string(i), "", "1", {}, "", {}});
    }
    return cells;
}

ExplainBounds boundsWith(std::int32_t depth, std::int32_t maxChildren = 1000,
                         std::int32_t maxCells = 10000, std::int32_t maxWay = 1000) {
    ExplainBounds bounds;
    bounds.depth = depth;
    bounds.maxChildren = maxChildren;
    bounds.maxCells = maxCells;
    bounds.maxWay = maxWay;
    return bounds;
}

TEST(ExplainTreeTest, ValuesUnfoldWithinTheirBounds) {
    struct Row {
        const char* what;
        std::vector<FakeCell> cells;
        std::string expression;
        ExplainBounds bounds;
        std::string text;
        bool complete;
    } rows[] = {
        {"a cell read twice is shown once, then referred to", chainAndDiamond(), "p", boundsWith(3),
         "p := q+r => 4\n"
         "  q := s => 2\n"
         "    s => 2\n"
         "  r := s => 2\n"
         "    s (see above)\n",
         true},
        {"the depth bounds the levels unfolded", chainAndDiamond(), "p", boundsWith(1),
         "p := q+r => 4\n"
         "  q := s => 2\n"
         "  r := s => 2\n",
         true},
        {"depth 0 is the value alone", chainAndDiamond(), "p", boundsWith(0), "p := q+r => 4\n",
         true},
        {"an expression reads cells", chainAndDiamond(), "q+s", boundsWith(2),
         "q+s => 2\n"
         "  q := s => 2\n"
         "    s => 2\n"
         "  s (see above)\n",
         true},
        {"the way to an origin deeper than the depth is shown whole", chainAndDiamond(), "a",
         boundsWith(1),
         "a := b+k => depends on cell that contain error\n"
         "caused by e: undefined: nothing\n"
         "  b := c*2 => depends on cell that contain error\n"
         "    c := d-1 => depends on cell that contain error\n"
         "      k => 7\n"
         "      d := e => depends on cell that contain error\n"
         "        e := 1/nothing => undefined: nothing  <- origin\n"
         "          k (see above)\n"
         "  k (see above)\n",
         true},
        {"even at depth 0", chainAndDiamond(), "d", boundsWith(0),
         "d := e => depends on cell that contain error\n"
         "caused by e: undefined: nothing\n"
         "  e := 1/nothing => undefined: nothing  <- origin\n"
         "    k => 7\n",
         true},
        {"the origin itself", chainAndDiamond(), "e", boundsWith(1),
         "e := 1/nothing => undefined: nothing  <- origin\n"
         "caused by e: undefined: nothing\n"
         "  k => 7\n",
         true},
        {"an expression reading an error", chainAndDiamond(), "c+p", boundsWith(0),
         "c+p => depends on cell that contain error\n"
         "caused by e: undefined: nothing\n"
         "  c := d-1 => depends on cell that contain error\n"
         "    k => 7\n"
         "    d := e => depends on cell that contain error\n"
         "      e := 1/nothing => undefined: nothing  <- origin\n"
         "        k (see above)\n"
         "  p := q+r => 4\n",
         true},
        {"a loop ends where it comes round", loop(), "x", boundsWith(3),
         "x := y+1 => (circular)\n"
         "cycle: x -> y -> x\n"
         "  y := x+1 => (circular)\n"
         "    x (see above)\n",
         true},
        {"a cell that reads a loop is led into it", loop(), "z", boundsWith(0),
         "z := x*2 => (circular)\n"
         "cycle: x -> y -> x\n"
         "  x := y+1 => (circular)\n"
         "    y := x+1 => (circular)\n"
         "      x (see above)\n",
         true},
        {"a long list is cut", wide(), "m", boundsWith(1, 3),
         "m := sum => 12\n"
         "  n1 => 1\n"
         "  n2 => 1\n"
         "  n3 => 1\n"
         "  ...\n",
         false},
        {"the tree is cut, the way to the origin is not", chainAndDiamond(), "a",
         boundsWith(5, 1000, 2),
         "a := b+k => depends on cell that contain error\n"
         "caused by e: undefined: nothing\n"
         "  b := c*2 => depends on cell that contain error\n"
         "    c := d-1 => depends on cell that contain error\n"
         "      ...\n"
         "      d := e => depends on cell that contain error\n"
         "        e := 1/nothing => undefined: nothing  <- origin\n"
         "          ...\n"
         "  ...\n",
         false},
        {"a way too long shows its origin apart", chainAndDiamond(), "a",
         boundsWith(0, 1000, 100, 2),
         "a := b+k => depends on cell that contain error\n"
         "caused by e: undefined: nothing\n"
         "  b := c*2 => depends on cell that contain error\n"
         "    c := d-1 => depends on cell that contain error\n"
         "      k => 7\n"
         "      d := e => depends on cell that contain error\n"
         "  k (see above)\n"
         "  ...\n"
         "  e := 1/nothing => undefined: nothing  <- origin\n",
         false},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.what);
        FakeCells cells(row.cells);
        ExplainReport report = explain(cells, row.expression, row.bounds);
        EXPECT_EQ(textOf(report), row.text);
        EXPECT_EQ(report.complete, row.complete);
    }
}

TEST(ExplainTreeTest, TheCauseIsReportedWithItsCells) {
    FakeCells chain(chainAndDiamond());
    ExplainReport origin = explain(chain, "b", boundsWith(0));
    EXPECT_EQ(origin.causeKind, Cause::Kind::Origin);
    ASSERT_EQ(origin.causeCells.size(), 1u);
    EXPECT_EQ(origin.causeCells[0].name, "e");
    EXPECT_TRUE(origin.causeCells[0].error);
    FakeCells loops(loop());
    ExplainReport cycle = explain(loops, "z", boundsWith(0));
    EXPECT_EQ(cycle.causeKind, Cause::Kind::Cycle);
    ASSERT_EQ(cycle.causeCells.size(), 2u);
    EXPECT_EQ(cycle.causeCells[1].name, "y");
    ExplainReport plain = explain(chain, "p", boundsWith(0));
    EXPECT_EQ(plain.causeKind, Cause::Kind::None);
    EXPECT_TRUE(plain.causeCells.empty());
}

TEST(ExplainTreeTest, AStopEndsTheUnfolding) {
    FakeCells cells(chainAndDiamond());
    ExplainBounds bounds = boundsWith(64);
    int asked = 0;
    bounds.stopped = [&asked] { return ++asked > 2; };
    ExplainReport report = explain(cells, "a", bounds);
    EXPECT_FALSE(report.complete);
    EXPECT_LE(report.nodes.size(), 6u);
    EXPECT_EQ(report.nodes[0].cell.name, "a");
}

TEST(ExplainTreeTest, LongTextsAreCut) {
    std::string longName(40, 'n');
    std::string longValue = std::string(30, 'v') + "\u00e9";
    FakeCells cells({{longName, std::string(50, 'f'), longValue, {}, "", {}}});
    ExplainBounds bounds = boundsWith(1);
    bounds.maxText = 30;
    ExplainReport report = explain(cells, longName, bounds);
    ASSERT_EQ(report.nodes.size(), 1u);
    EXPECT_EQ(report.nodes[0].cell.name, std::string(30, 'n') + "...");
    EXPECT_EQ(report.nodes[0].cell.formula, std::string(30, 'f') + "...");
    EXPECT_EQ(report.nodes[0].cell.value, std::string(30, 'v') + "...");
}

TEST(ExplainTreeTest, CausesAreTheSameForTheSameOriginOrLoop) {
    auto origin = [](Cause::Kind kind, std::int32_t field) {
        Cause cause;
        cause.kind = kind;
        cause.origin.place = {0, field, 1};
        return cause;
    };
    auto loopOf = [](std::vector<std::int32_t> fields) {
        Cause cause;
        cause.kind = Cause::Kind::Cycle;
        for (std::int32_t field : fields) {
            CellFacts cell;
            cell.place = {1, field, 2};
            cause.cycle.push_back(cell);
        }
        return cause;
    };
    struct Row {
        const char* what;
        Cause a;
        Cause b;
        bool same;
    } rows[] = {
        {"one origin", origin(Cause::Kind::Origin, 3), origin(Cause::Kind::Origin, 3), true},
        {"two origins", origin(Cause::Kind::Origin, 3), origin(Cause::Kind::Origin, 4), false},
        {"stopped there", origin(Cause::Kind::Origin, 3), origin(Cause::Kind::Stopped, 3), false},
        {"a loop told from another cell", loopOf({1, 2, 3}), loopOf({2, 3, 1}), true},
        {"another loop", loopOf({1, 2, 3}), loopOf({1, 2}), false},
        {"no error", Cause(), Cause(), true},
        {"an error and none", origin(Cause::Kind::Origin, 3), Cause(), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(sameCause(row.a, row.b), row.same);
        EXPECT_EQ(sameCause(row.b, row.a), row.same);
    }
}

}  // namespace
}  // namespace qv::cli
