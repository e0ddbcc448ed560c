// One scroll bar's arithmetic, and the work area scrolling to frames that
// reach past a small window: bars drawn, the wheel and the bars scroll,
// and a frame far out can be reached and closed.
#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editing/ScrollDecorator.h"
#include "editing/ScrollGeometry.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

TEST(ScrollGeometryTest, TheThumbTheTrackAndTheDrag) {
    struct Case {
        const char* what;
        std::int64_t content, visible, offset, range;
        std::int32_t trackLength;
        toolkit::Rect thumb;  // on a vertical track at (100, 10)
    };
    const Case cases[] = {
        {"a third in sight at the start", 300, 100, 0, 200, 90, {100, 10, 12, 30}},
        {"a third in sight at the end", 300, 100, 200, 200, 90, {100, 70, 12, 30}},
        {"half way", 300, 100, 100, 200, 90, {100, 40, 12, 30}},
        {"all in sight", 100, 300, 0, 0, 90, {100, 10, 12, 90}},
        {"no content", 0, 100, 0, 0, 90, {100, 10, 12, 90}},
        {"a million rows keep the smallest thumb",
         1'000'000,
         20,
         0,
         999'980,
         90,
         {100, 10, 12, ScrollGeometry::kSmallestThumb}},
        {"a track shorter than the smallest thumb", 300, 100, 0, 200, 10, {100, 10, 12, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScrollGeometry bar(ScrollAxis::Vertical, {100, 10, 12, c.trackLength}, c.content,
                                 c.visible, c.offset, c.range);
        EXPECT_EQ(bar.thumb(), c.thumb);
        const ScrollGeometry across(ScrollAxis::Horizontal, {10, 100, c.trackLength, 12}, c.content,
                                    c.visible, c.offset, c.range);
        EXPECT_EQ(across.thumb(), (toolkit::Rect{c.thumb.y, 100, c.thumb.height, 12}));
    }
    // A third in sight, half way: the thumb stands at 40..70 of the track.
    const ScrollGeometry bar(ScrollAxis::Vertical, {100, 10, 12, 90}, 300, 100, 100, 200);
    EXPECT_EQ(bar.sideOfThumb({105, 20}), -1);
    EXPECT_EQ(bar.sideOfThumb({105, 45}), 0);
    EXPECT_EQ(bar.sideOfThumb({105, 95}), 1);
    EXPECT_EQ(bar.gripAt({105, 45}), 5);
    // Held 5 pixels into the thumb: the thumb's start follows the pointer,
    // within the 60 pixels it can travel.
    EXPECT_EQ(bar.offsetForDrag({105, 15}, 5), 0);
    EXPECT_EQ(bar.offsetForDrag({105, 45}, 5), 100);
    EXPECT_EQ(bar.offsetForDrag({105, 75}, 5), 200);
    EXPECT_EQ(bar.offsetForDrag({105, 500}, 5), 200);
    // A thumb that fills its track cannot move the offset.
    const ScrollGeometry full(ScrollAxis::Vertical, {100, 10, 12, 90}, 100, 300, 0, 0);
    EXPECT_EQ(full.offsetForDrag({105, 80}, 5), 0);
}

// A list `height` pixels tall that asks room for `tallest` of them when
// laid out by width (0: for all).
class TallList final : public AbstractEditable {
    QV_OBJECT(TallList, AbstractEditable, "TallList")
  public:
    TallList(std::int32_t height, std::int32_t tallest) : m_height(height), m_tallest(tallest) {}
    void layoutWidth(std::int32_t hint) override {
        setBounds({0, 0, std::clamp(hint, 100, 200), m_height});
    }
    std::int32_t minimumWidth() const override { return 100; }
    void layoutSize(toolkit::Size size) override {
        setBounds({0, 0, std::max(size.width, 100), std::max(size.height, m_height)});
    }
    std::int32_t tallestUnscrolled() const override { return m_tallest; }
    std::optional<toolkit::Rect> takeAreaToShow() override {
        return std::exchange(m_wanted, std::nullopt);
    }
    void setHeight(std::int32_t height) { m_height = height; }
    void wantInSight(const toolkit::Rect& area) { m_wanted = area; }

  private:
    std::int32_t m_height;
    std::int32_t m_tallest;
    std::optional<toolkit::Rect> m_wanted;
};

TEST(ScrollDecoratorTest, LaidOutByWidthAViewTallerThanItAsksRoomForScrolls) {
    struct Case {
        const char* what;
        std::int32_t height, tallest, hint;
        toolkit::Size box;
        bool bar;
    };
    constexpr std::int32_t kBar = ScrollDecorator::kBarWidth;
    const Case cases[] = {
        {"no bound: as large as the view", 5000, 0, 1000, {200, 5000}, false},
        {"within its bound", 300, 400, 1000, {200, 300}, false},
        {"exactly its bound", 400, 400, 1000, {200, 400}, false},
        {"past its bound: the bound and a bar", 5000, 400, 1000, {200 + kBar, 400}, true},
        {"the bar taken from a narrow hint", 5000, 400, 150, {150, 400}, true},
        {"a hint narrower than the view can be", 5000, 400, 50, {100 + kBar, 400}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto box = make<ScrollDecorator>(make<TallList>(c.height, c.tallest));
        box->layoutWidth(c.hint);
        EXPECT_EQ(box->bounds().width, c.box.width);
        EXPECT_EQ(box->bounds().height, c.box.height);
        EXPECT_EQ(box->hasVerticalBar(), c.bar);
        EXPECT_FALSE(box->hasHorizontalBar());
        EXPECT_EQ(box->view()->bounds().height, c.height);
        // A scroll position survives the next layout, as far as it can.
        box->scrollTo({0, 100});
        box->layoutWidth(c.hint);
        EXPECT_EQ(box->scrollOffset().y, c.bar ? 100 : 0);
        EXPECT_EQ(box->handleWheel(-1), c.bar);
    }
}

// The area a view asks for after a layout is brought into sight in its box
// once, however the box was laid out; a view that shows whole drops it.
TEST(ScrollDecoratorTest, BringsTheAreaTheViewAsksForIntoSightOnce) {
    enum class Layout { ByWidth, BySize };
    struct Case {
        const char* what;
        Layout layout;
        std::int32_t height;  // the view's, asked room for 400
        std::int32_t wantedY;
        std::int32_t scroll;  // after the layout
    };
    const Case cases[] = {
        {"far down: at the bottom of the box", Layout::ByWidth, 5000, 2000, 2018 - 400},
        {"far down, laid out by size", Layout::BySize, 5000, 2000, 2018 - 400},
        {"already in sight: the box stays", Layout::ByWidth, 5000, 100, 0},
        {"past the end: as far as the box goes", Layout::ByWidth, 5000, 6000, 5000 - 400},
        {"the view shows whole: dropped", Layout::ByWidth, 300, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto list = make<TallList>(c.height, 400);
        auto box = make<ScrollDecorator>(list);
        auto lay = [&] {
            if (c.layout == Layout::ByWidth) {
                box->layoutWidth(300);
            } else {
                box->layoutSize({200, 400});
            }
        };
        lay();
        list->wantInSight({0, c.wantedY, 100, 18});
        lay();
        EXPECT_EQ(box->scrollOffset().y, c.scroll);
        // Asked once: the next layout keeps where the user scrolled to,
        // even when the view has grown past its box since.
        list->setHeight(8000);
        box->scrollTo({0, 50});
        lay();
        EXPECT_EQ(box->scrollOffset().y, c.height > 400 ? 50 : 0);
    }
}

class WorkAreaScrollingTest : public EditingTest {
  protected:
    const toolkit::HeadlessGraphics& paint() { return window.paint(); }
    const WorkAreaScroll& scrolling() { return root().scrolling(); }
    bool drawn(const std::string& text) {
        std::vector<std::string> texts = paint().texts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
    // A window point of something at a work-area point.
    toolkit::Point onScreen(toolkit::Point at) {
        return {at.x - scrolling().offset().x, at.y - scrolling().offset().y};
    }
};

TEST_F(WorkAreaScrollingTest, AFrameFarOutOfASmallWindowCanBeScrolledToAndClosed) {
    window.resize({400, 300});
    addText("near", {20, 60});
    auto far = addText("far", {900, 700});
    layout();
    const toolkit::Rect area = support().visibleArea();
    EXPECT_TRUE(scrolling().hasVerticalBar());
    EXPECT_TRUE(scrolling().hasHorizontalBar());
    EXPECT_EQ(area.right(), 400 - ScrollGeometry::kBarWidth);
    EXPECT_EQ(area.bottom(), 300 - ScrollGeometry::kBarWidth);
    EXPECT_TRUE(drawn("near"));
    EXPECT_FALSE(drawn("far"));
    const std::int32_t rangeX = far->bounds().right() - area.right();
    const std::int32_t rangeY = far->bounds().bottom() - area.bottom();

    struct Step {
        const char* what;
        std::function<void()> act;
        toolkit::Point offset;
    };
    const toolkit::Point middle{200, 150};
    const Step steps[] = {
        {"one notch of the wheel down",
         [&] { panel->wheel(-1, middle, 0); },
         {0, WorkAreaScroll::kWheelStep}},
        {"the wheel stops at the end", [&] { panel->wheel(-100, middle, 0); }, {0, rangeY}},
        {"a press on the track right of the thumb turns a page",
         [&] {
             press({area.right() - 5, area.bottom() + 5});
             releaseAt({area.right() - 5, area.bottom() + 5});
         },
         {area.width, rangeY}},
        {"the horizontal thumb dragged to the far end",
         [&] {
             toolkit::Point thumb{area.right() - 40, area.bottom() + 5};
             press({area.x + 1, area.bottom() + 5});  // a page back to the start
             releaseAt({area.x + 1, area.bottom() + 5});
             toolkit::Point grip{area.x + 3, area.bottom() + 5};
             press(grip);
             dragTo({thumb.x, grip.y});
             dragTo({area.right() + 50, grip.y});
             releaseAt({area.right() + 50, grip.y});
         },
         {rangeX, rangeY}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(scrolling().offset(), step.offset);
        // Scrolling is no change of the document.
        EXPECT_EQ(commands().undoCount(), 0);
    }
    window.repaint();
    EXPECT_TRUE(drawn("far"));
    EXPECT_FALSE(drawn("near"));
    // The far frame's close button, clicked where it shows now.
    const toolkit::Point close = onScreen(centre(far->buttonRect(TitleButton::Close)));
    ASSERT_TRUE(area.contains(close));
    press(close);
    releaseAt(close);
    EXPECT_EQ(root().frameCount(), 1);
    EXPECT_EQ(state(), (WorkAreaState{1, 0, true, "optimized(20,60) text(\"near\");\n"}));
    // With it gone nothing reaches past the window: no bars, no offset.
    EXPECT_FALSE(scrolling().hasVerticalBar());
    EXPECT_EQ(scrolling().offset(), (toolkit::Point{0, 0}));
    key(toolkit::key::kUndo);
    EXPECT_EQ(root().frameCount(), 2);
    EXPECT_EQ(commands().isClean(), true);
}

// Typing into a text below the window brings its caret into sight; typing
// into the formula bar, which is always in sight, scrolls nothing.
TEST_F(WorkAreaScrollingTest, TheCaretOfATextOutOfSightScrollsTheWorkArea) {
    window.resize({400, 300});
    auto far = addText("far", {20, 600});
    layout();
    ASSERT_EQ(scrolling().offset(), (toolkit::Point{0, 0}));
    support().select(far->view());
    type("x");
    layout();
    const toolkit::Rect area = support().visibleArea();
    const toolkit::Point corner = onScreen({far->view()->bounds().x, far->view()->bounds().y});
    EXPECT_GT(scrolling().offset().y, 0);
    EXPECT_TRUE(area.contains(corner));
    EXPECT_EQ(scrolling().offset().x, 0);
    const toolkit::Point offset = scrolling().offset();
    support().select(panel->formulaBar()->field());
    type("1");
    EXPECT_EQ(scrolling().offset(), offset);
}

TEST_F(WorkAreaScrollingTest, AWindowLargeEnoughShowsNoBars) {
    addText("a", {40, 40});
    layout();
    EXPECT_FALSE(scrolling().hasVerticalBar());
    EXPECT_FALSE(scrolling().hasHorizontalBar());
    EXPECT_EQ(support().visibleArea().width, 1024);
    panel->wheel(-3, {100, 100}, 0);
    EXPECT_EQ(scrolling().offset(), (toolkit::Point{0, 0}));
}

}  // namespace
}  // namespace qv
