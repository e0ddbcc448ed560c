// Painting the work area on the recording surface: titles and texts drawn,
// nothing drawn outside the visible area or for a frame out of sight, only
// the lines of a long text that show, scrolling, the selected frame's title
// bar, the caret and the insertion marks of a drag.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

using Calls = std::vector<std::string>;

std::int32_t countStarting(const Calls& calls, const std::string& start) {
    return static_cast<std::int32_t>(
        std::count_if(calls.begin(), calls.end(),
                      [&](const std::string& call) { return call.rfind(start, 0) == 0; }));
}

bool contains(const Calls& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::string numbered(std::int32_t count) {
    std::string text;
    for (std::int32_t i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + "\n";
    return text;
}

class PaintTest : public EditingTest {
  protected:
    const Calls& paint() { return window.paint().calls(); }
    std::vector<std::string> texts() { return window.paint().texts(); }
};

TEST_F(PaintTest, TitlesAndTextsAreDrawnAndNothingOutOfSight) {
    addText("hello", {40, 40});
    auto table = make<LayoutTableEditable>();
    table->put(inTable(make<TextEditable>("in a cell")), 0, 0);
    addFrame(table, FramePlacement::Optimized, {300, 60});
    addText("far away", {100, 2000});
    std::vector<std::string> drawn = texts();
    for (const char* expected : {"Formula", "Text", "hello", "panel", "in a cell"}) {
        EXPECT_NE(std::find(drawn.begin(), drawn.end(), expected), drawn.end()) << expected;
    }
    const Calls& calls = paint();
    // The frame below the window costs no drawing at all, and nothing was
    // drawn wholly outside the clip it was drawn in.
    for (const std::string& call : calls) {
        EXPECT_EQ(call.find("far away"), std::string::npos) << call;
        EXPECT_EQ(call.find("(clipped)"), std::string::npos) << call;
    }
    // The work area's background is the visible area, below the bar and
    // beside the scroll bar the far frame calls for.
    const toolkit::Rect& area = support().visibleArea();
    EXPECT_EQ(area.width, 1024 - ScrollGeometry::kBarWidth);
    EXPECT_TRUE(contains(calls, "fill 0," + std::to_string(area.y) + " " +
                                    std::to_string(area.width) + "x" + std::to_string(area.height) +
                                    " #c8c8c8"));
}

TEST_F(PaintTest, TheSelectedFramesTitleBarIsHighlighted) {
    auto frame = addText("a");
    const std::string plain = "fill 40,40 120x20 #d7d7d7";
    const std::string active = "fill 40,40 120x20 #2e5e91";
    EXPECT_TRUE(contains(paint(), plain));
    press(centre(frame->view()->bounds()));  // the text inside is selected
    EXPECT_TRUE(contains(paint(), active));
    press({900, 700});
    EXPECT_TRUE(contains(paint(), plain));
}

TEST_F(PaintTest, TheCaretShowsOnlyInTheFocusedText) {
    auto frame = addText("ab");
    auto text = cast<TextEditable>(frame->view());
    const std::int32_t x = text->bounds().x + TextBase::kPadding + 16;
    const std::int32_t top = text->bounds().y + TextBase::kPadding;
    const std::string caret = "line " + std::to_string(x) + "," + std::to_string(top) + " " +
                              std::to_string(x) + "," + std::to_string(top + 15) + " #202020";
    support().select(text);
    key(toolkit::key::kEnd);
    EXPECT_TRUE(contains(paint(), caret));
    support().select({});
    EXPECT_FALSE(contains(paint(), caret));
}

TEST_F(PaintTest, OnlyTheLinesInSightOfALongTextAreDrawn) {
    auto frame = addFrame(make<TextEditable>(numbered(1000)), FramePlacement::Maximized);
    const std::int32_t inSight = support().visibleArea().height / 16 + 2;
    std::int32_t lines = countStarting(texts(), "line ");
    EXPECT_GT(lines, 10);
    EXPECT_LE(lines, inSight);
    EXPECT_TRUE(frame->scroller()->hasVerticalBar());
    EXPECT_FALSE(frame->scroller()->hasHorizontalBar());
    std::vector<std::string> drawn = texts();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "line 0"), drawn.end());
    // Two notches down: six lines further on.
    panel->wheel(-2, centre(frame->scroller()->viewport()), 0);
    EXPECT_EQ(frame->scroller()->scrollOffset().y, 2 * ScrollDecorator::kWheelStep);
    drawn = texts();
    EXPECT_EQ(std::find(drawn.begin(), drawn.end(), "line 0"), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "line 6"), drawn.end());
    // Up beyond the top stops at it.
    panel->wheel(10, centre(frame->scroller()->viewport()), 0);
    EXPECT_EQ(frame->scroller()->scrollOffset().y, 0);
}

// A line longer than the frame is wide is reached with the horizontal
// bar, never cut off.
TEST_F(PaintTest, ALineWiderThanItsFrameScrollsSideways) {
    const std::string longLine = "start " + std::string(200, 'w') + " end";
    auto frame = addFrame(make<TextEditable>(longLine), FramePlacement::Maximized);
    layout();
    ScrollDecorator& scroller = *frame->scroller();
    EXPECT_TRUE(scroller.hasHorizontalBar());
    EXPECT_FALSE(scroller.hasVerticalBar());
    EXPECT_EQ(frame->view()->bounds().width, 8 * static_cast<std::int32_t>(longLine.size()) + 7);
    // End brings the end of the line, with the caret after it, into sight.
    support().select(frame->view());
    key(toolkit::key::kEnd);
    layout();
    const std::int32_t caretRight =
        TextBase::kPadding + 8 * static_cast<std::int32_t>(longLine.size()) + 1;
    EXPECT_EQ(scroller.scrollOffset().x, caretRight - scroller.viewport().width);
}

TEST_F(PaintTest, TheCaretIsKeptInSightWhileTyping) {
    auto frame = addFrame(make<TextEditable>(numbered(200)), FramePlacement::Maximized);
    auto text = cast<TextEditable>(frame->view());
    support().select(text);
    key(toolkit::key::kEnd);
    key(toolkit::key::kEnter);
    type("last");
    layout();
    const toolkit::Rect viewport = frame->scroller()->viewport();
    const std::int32_t scrolled = frame->scroller()->scrollOffset().y;
    EXPECT_GT(scrolled, 0);
    EXPECT_EQ(scrolled, text->bounds().height - viewport.height);
    std::vector<std::string> drawn = texts();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "last"), drawn.end());
    // Home: back to the top.
    key(toolkit::key::kHome);
    EXPECT_EQ(frame->scroller()->scrollOffset().y, 0);
}

TEST_F(PaintTest, AThumbDraggedDownTheBarScrollsTheView) {
    auto frame = addFrame(make<TextEditable>(numbered(300)), FramePlacement::Maximized);
    layout();
    ScrollDecorator& scroller = *frame->scroller();
    const toolkit::Rect view = scroller.viewport();
    const toolkit::Point thumb{view.right() + ScrollDecorator::kBarWidth / 2, view.y + 5};
    press(thumb);
    dragTo({thumb.x, thumb.y + 100});
    releaseAt({thumb.x, thumb.y + 100});
    EXPECT_GT(scroller.scrollOffset().y, 100);
    // A press on the track below the thumb turns a page.
    std::int32_t before = scroller.scrollOffset().y;
    press({thumb.x, view.bottom() - 3});
    releaseAt({thumb.x, view.bottom() - 3});
    EXPECT_EQ(scroller.scrollOffset().y, before + view.height);
    EXPECT_EQ(commands().undoCount(), 0);
}

TEST_F(PaintTest, ADragOverAPanelShowsWhereTheViewWouldGo) {
    auto table = make<LayoutTableEditable>();
    table->put(inTable(make<TextEditable>("a")), 0, 0);
    addFrame(table, FramePlacement::Optimized, {300, 100});
    auto loose = addText("b", {40, 300});
    layout();
    const std::int32_t lineAfter =
        table->bounds().x + table->columnPositions()[0] + table->columnWidths()[0];
    toolkit::Rect bar = loose->titleBarRect();
    press({bar.x + 4, bar.y + 5});
    dragTo({bar.x + 20, bar.y + 5});
    dragTo({lineAfter, table->bounds().y + 20});
    EXPECT_EQ(table->targetMode(), LayoutTableEditable::TargetMode::ColumnAfter);
    // A bar three pixels wide in the accent colour, in the gap after column 0.
    const std::string mark = "fill " + std::to_string(lineAfter + 3 - 1) + "," +
                             std::to_string(table->bounds().y + table->rowPositions()[0]) + " 3x" +
                             std::to_string(table->rowHeights()[0]) + " #2e5e91";
    EXPECT_TRUE(contains(paint(), mark));
    // Away from the panel the mark goes.
    dragTo({600, 600});
    EXPECT_EQ(table->targetRow(), -1);
    EXPECT_FALSE(contains(paint(), mark));
    releaseAt({600, 600});
}

}  // namespace
}  // namespace qv
