// Layout tables nested in one another: every cell is measured a fixed
// number of times per layout, however deep it sits, a change deep inside
// shows at the next layout, and the deepest nesting a document may hold
// lays out, paints and answers the pointer.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

// A view that counts the width questions and layouts it is asked.
class Counted final : public AbstractEditable {
    QV_OBJECT(Counted, AbstractEditable, "Counted")
  public:
    explicit Counted(std::int32_t width) : m_width(width) {}
    std::int32_t minimumWidth() const override {
        ++m_calls;
        return m_width;
    }
    std::int32_t maximumWidth() const override {
        ++m_calls;
        return m_width;
    }
    void layoutWidth(std::int32_t) override {
        ++m_calls;
        setBounds({0, 0, m_width, 20});
    }
    void setWidth(std::int32_t width) { m_width = width; }
    std::int32_t calls() const noexcept { return m_calls; }
    void resetCalls() noexcept { m_calls = 0; }

  private:
    std::int32_t m_width;
    mutable std::int32_t m_calls = 0;
};

// Tables nested `depth` deep, each in a frame in cell (0, 0) of the one
// around it, with `leaves` counted views beside the nested table on every
// level (the innermost table holds only leaves).
struct Nest {
    Pointer<LayoutTableEditable> outermost;
    Pointer<LayoutTableEditable> innermost;
    std::vector<Pointer<Counted>> leaves;
};

Nest nest(std::int32_t depth, std::int32_t leaves) {
    Nest built;
    built.outermost = make<LayoutTableEditable>();
    Pointer<LayoutTableEditable> table = built.outermost;
    for (std::int32_t level = 1; level <= depth; ++level) {
        for (std::int32_t i = 0; i < leaves; ++i) {
            auto leaf = make<Counted>(200 + i);
            built.leaves.push_back(leaf);
            table->put(make<TitleDecorator>(leaf), 0, i + 1);
        }
        if (level == depth) break;
        auto inner = make<LayoutTableEditable>();
        table->put(make<TitleDecorator>(inner), 0, 0);
        table = inner;
    }
    built.innermost = table;
    return built;
}

class NestedLayoutTest : public EditingTest {};

// The questions one cell is asked in one layout of its outermost frame are
// the same for a lone table and for one nested a hundred deep, so the
// work grows with the number of cells and not with the nesting.
TEST_F(NestedLayoutTest, EveryCellIsMeasuredAsOftenAsInALoneTable) {
    Nest lone = nest(1, 1);
    auto loneFrame = addFrame(lone.outermost);
    lone.leaves[0]->resetCalls();
    loneFrame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
    const std::int32_t perCell = lone.leaves[0]->calls();
    ASSERT_GT(perCell, 0);
    ASSERT_LE(perCell, 12);

    struct Case {
        std::int32_t depth;
        std::int32_t leaves;
    };
    for (Case c : {Case{2, 1}, Case{5, 1}, Case{12, 1}, Case{16, 2}, Case{40, 3},
                   Case{LayoutTableEditable::kMaxNesting, 1}}) {
        Nest built = nest(c.depth, c.leaves);
        auto frame = make<TitleDecorator>(built.outermost);
        frame->setPlacement(FramePlacement::Optimized);
        root().add(frame);
        for (const auto& leaf : built.leaves)
            leaf->resetCalls();
        frame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
        for (std::size_t i = 0; i < built.leaves.size(); ++i) {
            ASSERT_EQ(built.leaves[i]->calls(), perCell) << "depth " << c.depth << ", leaf " << i;
        }
        root().detach(frame);
    }
}

// A measure is kept only while one layout runs: a cell that grows or a
// cell put in deep inside widens every table around it at the next one.
TEST_F(NestedLayoutTest, ChangesDeepInsideShowAtTheNextLayout) {
    for (std::int32_t depth : {1, 2, 7, 30}) {
        Nest built = nest(depth, 1);
        auto frame = addFrame(built.outermost);
        const std::int32_t before = frame->bounds().width;
        const std::int32_t innerBefore = built.innermost->bounds().width;

        built.leaves.back()->setWidth(300);  // 100 wider than it was
        frame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
        EXPECT_EQ(built.innermost->bounds().width, innerBefore + 100) << depth;
        EXPECT_EQ(frame->bounds().width, before + 100) << depth;

        // A new column deep inside: its empty-cell width and a gap more.
        built.innermost->put(make<TitleDecorator>(make<Counted>(250)), 0, 5);
        frame->layoutWidth(FloatLayoutEditable::kFrameWidthHint);
        // Three empty columns before it, and four gaps more.
        const std::int32_t added = 3 * LayoutTableEditable::kEmptyCellSize + 250 + 4 * 6;
        EXPECT_EQ(built.innermost->bounds().width, innerBefore + 100 + added) << depth;
        EXPECT_EQ(frame->bounds().width, before + 100 + added) << depth;
        root().detach(frame);
    }
}

// Each level adds the same margins, so the nesting is as wide as its
// depth says; the deepest table a document holds is painted, and the
// pointer finds the view inside it.
TEST_F(NestedLayoutTest, TheDeepestNestingLaysOutPaintsAndAnswersThePointer) {
    struct Case {
        std::int32_t depth;
    };
    std::vector<std::int32_t> widths;
    // Room for the deepest nesting, so that its innermost view is in sight.
    window.resize({4000, 6000});
    for (Case c : {Case{1}, Case{2}, Case{3}, Case{50}, Case{LayoutTableEditable::kMaxNesting}}) {
        auto table = make<LayoutTableEditable>();
        Pointer<LayoutTableEditable> innermost = table;
        for (std::int32_t level = 1; level < c.depth; ++level) {
            auto inner = make<LayoutTableEditable>();
            innermost->put(inTable(inner), 0, 0);
            innermost = inner;
        }
        auto text = make<TextEditable>("x");
        innermost->put(inTable(text), 0, 0);
        auto frame = addFrame(table, FramePlacement::Optimized, {10, 10});
        widths.push_back(table->bounds().width);
        EXPECT_EQ(table->panelDepth(), c.depth);

        const toolkit::Rect& place = text->bounds();
        ASSERT_FALSE(place.isEmpty()) << c.depth;
        EXPECT_TRUE(table->bounds().contains({place.x, place.y})) << c.depth;
        Pointer<AbstractEditable> hit = table->hitTest(place.x + 1, place.y + 1, true);
        EXPECT_EQ(hit.object(), text.object()) << c.depth;
        std::vector<std::string> drawn = window.paint().texts();
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), "x"), drawn.end()) << c.depth;
        root().detach(frame);
    }
    // Every level is wider than the one inside it by the same amount.
    const std::int32_t step = widths[1] - widths[0];
    EXPECT_GT(step, 0);
    EXPECT_EQ(widths[2] - widths[1], step);
    EXPECT_EQ(widths[3] - widths[2], 47 * step);
    EXPECT_EQ(widths[4] - widths[3], 50 * step);
}

// A view dragged by the mouse into the innermost of a hundred nested
// tables lands in a new column there; a panel dragged there is refused, as
// the reader would refuse the document it makes.
TEST_F(NestedLayoutTest, DragsIntoTheDeepestTableTakeATextAndRefuseAPanel) {
    window.resize({4000, 6000});
    struct Case {
        bool panel;
        std::int32_t cellsAfter;
    };
    for (Case c : {Case{false, 2}, Case{true, 1}}) {
        auto outermost = make<LayoutTableEditable>();
        Pointer<LayoutTableEditable> innermost = outermost;
        for (std::int32_t level = 1; level < LayoutTableEditable::kMaxNesting; ++level) {
            auto inner = make<LayoutTableEditable>();
            innermost->put(inTable(inner), 0, 0);
            innermost = inner;
        }
        innermost->put(inTable(make<TextEditable>("x")), 0, 0);
        auto nestFrame = addFrame(outermost, FramePlacement::Optimized, {10, 10});
        Pointer<AbstractEditable> view = make<TextEditable>("dragged");
        if (c.panel) view = make<LayoutTableEditable>();
        auto dragged = addFrame(view, FramePlacement::Optimized, {3000, 40});

        // The pointer on the line after the innermost table's only column.
        const toolkit::Rect& table = innermost->bounds();
        toolkit::Point line{
            table.x + innermost->columnPositions()[0] + innermost->columnWidths()[0] + 1,
            table.y + innermost->rowPositions()[0] + 5};
        toolkit::Rect bar = dragged->titleBarRect();
        dragFrame(dragged, {line.x - 4, line.y - bar.height / 2});
        EXPECT_EQ(innermost->cellCount(), c.cellsAfter) << c.panel;
        EXPECT_EQ(outermost->panelDepth(), LayoutTableEditable::kMaxNesting) << c.panel;
        root().detach(nestFrame);
        root().detach(dragged);
    }
}

}  // namespace
}  // namespace qv
