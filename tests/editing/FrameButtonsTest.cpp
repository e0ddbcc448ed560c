// The title-bar buttons of frames (close, maximize, optimize, float), each
// an undoable step, with the frame's placement, bounds and document text
// after every step, undo and redo.
#include <string>
#include <vector>

#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

class FrameButtonsTest : public EditingTest {
  protected:
    struct Snapshot {
        WorkAreaState state;
        toolkit::Rect bounds;
        std::string titlePart;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
        friend std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
            const toolkit::Rect& r = s.bounds;
            return out << s.state << " bounds " << r.x << "," << r.y << " " << r.width << "x"
                       << r.height << " title " << s.titlePart;
        }
    };
    Snapshot snapshot(const Pointer<TitleDecorator>& frame) {
        WorkAreaState now = state();
        return {now, frame->bounds(), root().titlePart()};
    }
};

TEST_F(FrameButtonsTest, EachButtonIsOneStepThatUndoTakesBack) {
    struct Case {
        TitleButton button;
        std::string layout;  // after pressing it
        toolkit::Rect bounds;
        std::string titlePart;
    };
    const toolkit::Rect optimized{40, 40, 120, 42};
    const std::vector<Case> cases = {
        {TitleButton::Maximize, "maximized text(\"a\");\n", {0, 27, 1024, 741}, "[Text]"},
        // 1.1 times the bounds, truncated.
        {TitleButton::Float, "floating(40,40) text(\"a\");\n", {40, 40, 132, 46}, ""},
        {TitleButton::Close, "", optimized, ""},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(static_cast<int>(row.button));
        auto frame = addText("a");
        ASSERT_EQ(frame->bounds(), optimized);
        Snapshot before;
        before.state = {0, 0, false, "optimized(40,40) text(\"a\");\n"};
        before.bounds = optimized;
        Snapshot after;
        after.state = {1, 0, true, row.layout};
        after.bounds = row.bounds;
        after.titlePart = row.titlePart;
        EXPECT_EQ(snapshot(frame), before);
        pressButton(frame, row.button);
        EXPECT_EQ(snapshot(frame), after);
        key(toolkit::key::kUndo);
        Snapshot undone = before;
        undone.state.redo = 1;
        EXPECT_EQ(snapshot(frame), undone);
        key(toolkit::key::kRedo);
        EXPECT_EQ(snapshot(frame), after);
        // Start the next row afresh.
        commands().clear();
        root().detach(frame);
    }
}

TEST_F(FrameButtonsTest, OptimizingTheCurrentPlacementChangesNothing) {
    auto frame = addText("a");
    pressButton(frame, TitleButton::Optimize);
    EXPECT_EQ(commands().undoCount(), 0);
    pressButton(frame, TitleButton::Maximize);
    pressButton(frame, TitleButton::Maximize);
    EXPECT_EQ(commands().undoCount(), 1);
}

TEST_F(FrameButtonsTest, AFrameComesBackFromMaximizedToWhereItStood) {
    auto frame = addText("a");
    pressButton(frame, TitleButton::Float);
    toolkit::Rect bar = frame->titleBarRect();
    dragAndDrop({bar.x + 4, bar.y + 5}, {bar.x + 104, bar.y + 65});
    const toolkit::Rect floated{140, 100, 132, 46};
    ASSERT_EQ(frame->bounds(), floated);
    pressButton(frame, TitleButton::Maximize);
    EXPECT_EQ(frame->placement(), FramePlacement::Maximized);
    pressButton(frame, TitleButton::Float);
    EXPECT_EQ(frame->bounds(), floated);
    pressButton(frame, TitleButton::Maximize);
    pressButton(frame, TitleButton::Optimize);
    EXPECT_EQ(frame->bounds(), (toolkit::Rect{140, 100, 120, 42}));
    EXPECT_EQ(layoutText(), "optimized(140,100) text(\"a\");\n");
    // Every placement change is a step, and so is the drag.
    EXPECT_EQ(commands().undoCount(), 6);
    for (int i = 0; i < 6; ++i)
        key(toolkit::key::kUndo);
    EXPECT_EQ(layoutText(), "optimized(40,40) text(\"a\");\n");
    EXPECT_EQ(frame->placement(), FramePlacement::Optimized);
    EXPECT_EQ(frame->bounds(), (toolkit::Rect{40, 40, 120, 42}));
}

TEST_F(FrameButtonsTest, ClosingAViewInAPanelAndUndoing) {
    auto table = make<LayoutTableEditable>();
    auto tableFrame = addFrame(table, FramePlacement::Optimized, {100, 100});
    auto cell = inTable(make<TextEditable>("c"));
    table->put(cell, 0, 0);
    layout();
    EXPECT_EQ(cell->buttons(), (std::vector<TitleButton>{TitleButton::Close}));
    support().select(cell->view());
    pressButton(cell, TitleButton::Close);
    EXPECT_EQ(table->cellCount(), 0);
    EXPECT_TRUE(support().selected().isNull());
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true,
                                      "optimized(100,100) ltable{\n    lrow{\n        ;\n    "
                                      "}\n}\n"}));
    key(toolkit::key::kUndo);
    EXPECT_EQ(table->cellAt(0, 0), Pointer<AbstractEditable>(cell));
    EXPECT_EQ(cell->placement(), FramePlacement::InTable);
    // The panel's own frame shows all four buttons.
    EXPECT_EQ(tableFrame->buttons().size(), 4u);
}

TEST_F(FrameButtonsTest, APanelInAPanelHasAThinBarAndNoButtons) {
    auto inner = inTable(make<LayoutTableEditable>());
    auto outer = make<LayoutTableEditable>();
    outer->put(inner, 0, 0);
    addFrame(outer);
    EXPECT_EQ(inner->titleBarHeight(), TitleDecorator::kPanelBarHeight);
    EXPECT_TRUE(inner->buttons().empty());
    EXPECT_TRUE(inner->buttonRect(TitleButton::Close).isEmpty());
    // It can still be grabbed by that bar and deleted.
    toolkit::Rect bar = inner->titleBarRect();
    press({bar.x + 10, bar.y + 2});
    EXPECT_EQ(support().selected(), Pointer<AbstractEditable>(inner));
    EXPECT_TRUE(root().isDragArmed());
    releaseAt({bar.x + 10, bar.y + 2});
    key(toolkit::key::kDelete);
    EXPECT_EQ(outer->cellCount(), 0);
}

TEST_F(FrameButtonsTest, FramePlacementsAndTheirSizes) {
    // Floating without bounds of its own: a box of 600 by 400 under the bar.
    auto floating = addFrame(make<TextEditable>("f"), FramePlacement::Floating, {10, 50});
    EXPECT_EQ(floating->bounds(), (toolkit::Rect{10, 50, 600, 420}));
    EXPECT_TRUE(floating->isMovable());
    floating->setTopLevel(false);
    EXPECT_EQ(floating->placement(), FramePlacement::InTable);
    EXPECT_FALSE(floating->isMovable());
    floating->setTopLevel(true);
    EXPECT_EQ(floating->placement(), FramePlacement::Optimized);
    auto maximized = addFrame(make<TextEditable>("m"), FramePlacement::Maximized);
    EXPECT_FALSE(maximized->isMovable());
    maximized->setTopLevel(true);
    EXPECT_EQ(maximized->placement(), FramePlacement::Maximized);
    // A maximized frame is never smaller than 80 by 25.
    maximized->layoutSize({10, 10});
    EXPECT_EQ(maximized->bounds().width, 80);
    EXPECT_EQ(maximized->bounds().height, 25);
}

}  // namespace
}  // namespace qv
