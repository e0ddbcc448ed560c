// Frames at the ends of the integer range: a drop there puts the frame no
// farther than a document may place it, and the work area lays out,
// paints, scrolls to it, hit-tests and drags with every sum of positions
// and sizes in range.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "editing/Positions.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

class FarPositionTest : public EditingTest {};

TEST_F(FarPositionTest, DropsAnywhereLandWithinTheLimitAndTheWorkAreaStaysWhole) {
    struct Case {
        toolkit::Point dropAt;
        toolkit::Point corner;  // where the frame lands
    };
    const std::int32_t far = kFarthestFramePosition;
    for (Case c : {Case{{INT_MAX, INT_MAX}, {far, far}}, Case{{INT_MIN, INT_MIN}, {-far, -far}},
                   Case{{far, 7}, {far, 7}}, Case{{far + 1, -far - 1}, {far, -far}},
                   Case{{12, INT_MAX - 3}, {12, far}}}) {
        SCOPED_TRACE(std::to_string(c.dropAt.x) + "," + std::to_string(c.dropAt.y));
        auto near = addText("near", {40, 40});
        auto frame = make<TitleDecorator>(make<TextEditable>("far away"));
        ASSERT_TRUE(root().drop(frame, make<FloatLayoutPosition>(panel->layoutRoot(), c.dropAt)));
        layout();
        EXPECT_EQ(frame->bounds().x, c.corner.x);
        EXPECT_EQ(frame->bounds().y, c.corner.y);
        EXPECT_GT(frame->bounds().right(), frame->bounds().x);
        EXPECT_GT(frame->bounds().bottom(), frame->bounds().y);
        window.paint();

        // The wheel scrolls the work area to its far ends and back.
        panel->wheel(-1000000, {200, 200}, 0);
        layout();
        window.paint();
        toolkit::Point end = root().scrolling().offset();
        EXPECT_GE(end.y, 0);
        panel->wheel(1000000, {200, 200}, 0);
        layout();
        EXPECT_EQ(root().scrolling().offset().y, 0);
        root().scrollTo({INT_MAX, INT_MAX});
        layout();
        window.paint();
        root().scrollTo({0, 0});
        layout();

        // The near frame still answers the pointer and drags as before.
        dragFrame(near, {100, 120});
        layout();
        EXPECT_EQ(near->bounds().x, 100);
        EXPECT_EQ(near->bounds().y, 120);
        EXPECT_EQ(root().hitTest(101, 121, false).object(), near.object());

        // What is saved places the far frame where the reader puts it back.
        std::string text = layoutText();
        EXPECT_NE(text.find("(" + std::to_string(std::max(c.corner.x, 0)) + "," +
                            std::to_string(std::max(c.corner.y, 0)) + ") text(\"far away\")"),
                  std::string::npos)
            << text;
        root().detach(frame);
        root().detach(near);
    }
}

// A view that asks for any size, however absurd.
class Absurd final : public AbstractEditable {
    QV_OBJECT(Absurd, AbstractEditable, "Absurd")
  public:
    Absurd(std::int32_t minimum, std::int32_t maximum, std::int32_t height)
        : m_minimum(minimum), m_maximum(maximum), m_height(height) {}
    std::int32_t minimumWidth() const override { return m_minimum; }
    std::int32_t maximumWidth() const override { return m_maximum; }
    void layoutWidth(std::int32_t hint) override { setBounds({0, 0, hint, m_height}); }

  private:
    std::int32_t m_minimum;
    std::int32_t m_maximum;
    std::int32_t m_height;
};

// Views that ask for sizes up to the end of the range, or below zero, in
// a table of several columns and rows at the farthest corner: every size
// stops at the widest a view is laid out, every offset grows with its
// column or row, and the work area paints and scrolls over it.
TEST_F(FarPositionTest, HugeAndNegativeSizesStayWithinTheWidestExtent) {
    struct Case {
        const char* name;
        std::int32_t minimum;
        std::int32_t maximum;
        std::int32_t height;
    };
    const std::int32_t far = kFarthestFramePosition;
    for (Case c : {Case{"the end of the range", INT_MAX, INT_MAX, INT_MAX},
                   Case{"half the range", INT_MAX / 2, INT_MAX / 2, INT_MAX / 2},
                   Case{"the widest extent", toolkit::kMaxExtent, toolkit::kMaxExtent, 5},
                   Case{"below zero", -50, -10, INT_MIN}}) {
        SCOPED_TRACE(c.name);
        auto table = make<LayoutTableEditable>();
        for (std::int32_t row = 0; row < 3; ++row) {
            for (std::int32_t column = 0; column < 4; ++column)
                table->put(inTable(make<Absurd>(c.minimum, c.maximum, c.height)), row, column);
        }
        auto frame = make<TitleDecorator>(table);
        ASSERT_TRUE(root().drop(
            frame, make<FloatLayoutPosition>(panel->layoutRoot(), toolkit::Point{far, far})));
        layout();
        for (const toolkit::Rect& r : {frame->bounds(), table->bounds()}) {
            EXPECT_GE(r.width, 0);
            EXPECT_LE(r.width, toolkit::kMaxExtent);
            EXPECT_GE(r.height, 0);
            EXPECT_LE(r.height, toolkit::kMaxExtent);
            // The edges are true sums, not ones stopped at the end.
            EXPECT_EQ(std::int64_t{r.right()}, std::int64_t{r.x} + r.width);
            EXPECT_EQ(std::int64_t{r.bottom()}, std::int64_t{r.y} + r.height);
        }
        for (const auto* offsets : {&table->columnPositions(), &table->rowPositions()}) {
            EXPECT_TRUE(std::is_sorted(offsets->begin(), offsets->end()))
                << ::testing::PrintToString(*offsets);
        }
        window.paint();
        root().scrollTo({INT_MAX, INT_MAX});
        layout();
        window.paint();
        EXPECT_GE(root().scrolling().offset().x, 0);
        root().scrollTo({0, 0});
        root().detach(frame);
    }
}

// A text whose line is wider than the widest extent is laid out at it.
TEST_F(FarPositionTest, ATextWiderThanTheWidestExtentStopsAtIt) {
    std::string line(static_cast<std::size_t>(toolkit::kMaxExtent / 8 + 1000), 'x');
    auto text = make<TextEditable>(line + "\n" + line);
    auto frame = addFrame(text, FramePlacement::Optimized, {kFarthestFramePosition, 0});
    EXPECT_EQ(text->maximumWidth(), toolkit::kMaxExtent);
    EXPECT_EQ(std::int64_t{frame->bounds().right()},
              std::int64_t{frame->bounds().x} + frame->bounds().width);
    window.paint();
}

// Rectangles at the ends of the range: edges stop at the end instead of
// wrapping round, so a far rectangle never contains a near point.
TEST(FarRectTest, EdgesAndMovesSaturate) {
    struct Case {
        toolkit::Rect rect;
        std::int32_t right;
        std::int32_t bottom;
    };
    for (Case c :
         {Case{{INT_MAX, INT_MAX, 10, 10}, INT_MAX, INT_MAX},
          Case{{INT_MAX - 5, 0, INT_MAX, 1}, INT_MAX, 1},
          Case{{INT_MIN, INT_MIN, -10, -1}, INT_MIN, INT_MIN}, Case{{-5, -5, 10, 10}, 5, 5}}) {
        SCOPED_TRACE(std::to_string(c.rect.x) + "," + std::to_string(c.rect.y));
        EXPECT_EQ(c.rect.right(), c.right);
        EXPECT_EQ(c.rect.bottom(), c.bottom);
        EXPECT_FALSE(c.rect.contains({0, 0}) && c.rect.x > 0);
        toolkit::Rect moved = c.rect.translated(INT_MAX, INT_MIN);
        EXPECT_EQ(moved.x, toolkit::saturatingAdd(c.rect.x, INT_MAX));
        EXPECT_EQ(moved.y, toolkit::saturatingAdd(c.rect.y, INT_MIN));
        EXPECT_EQ(moved.width, c.rect.width);
        toolkit::Rect common = c.rect.intersected({0, 0, INT_MAX, INT_MAX});
        EXPECT_GE(common.width, 0);
        EXPECT_GE(common.height, 0);
    }
    EXPECT_EQ(toolkit::saturatingAdd(INT_MAX, 1), INT_MAX);
    EXPECT_EQ(toolkit::saturatingAdd(INT_MIN, -1), INT_MIN);
    EXPECT_EQ(toolkit::saturatingAdd(-7, 3), -4);
    EXPECT_TRUE(toolkit::Rect({INT_MAX - 5, 0, 100, 10}).contains({INT_MAX - 1, 5}));
    EXPECT_FALSE(toolkit::Rect({INT_MAX - 5, 0, 100, 10}).contains({INT_MIN + 1, 5}));
}

}  // namespace
}  // namespace qv
