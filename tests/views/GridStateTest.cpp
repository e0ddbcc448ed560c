// The grid's state members on their own: the selection across model
// changes, the scroll position's limits and bars, and the column resize
// drag.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "views/ColumnResize.h"
#include "views/GridModel.h"
#include "views/GridScroll.h"
#include "views/GridSelection.h"
#include "views/GridTyping.h"
#include "views/TableCells.h"

namespace qv {
namespace {

// A grid of a given shape whose rows carry the identities given (row i:
// identities[i]; the row number past them).
class ShapeModel final : public GridModel {
    QV_OBJECT(ShapeModel, GridModel, "ShapeModel")
  public:
    ShapeModel(std::int32_t columns, std::int32_t rows) : columns(columns), rows(rows) {}
    std::int32_t columns;
    std::int32_t rows;
    std::vector<std::int32_t> identities;

    std::int32_t rowIdentity(std::int32_t row) override {
        return row < static_cast<std::int32_t>(identities.size())
                   ? identities[static_cast<std::size_t>(row)]
                   : row;
    }
    Pointer<CellModel> createCell(std::int32_t, std::int32_t) override {
        return make<LabelCell>(str(""));
    }
    std::int32_t columnWidth(std::int32_t) override { return 50; }
    std::int32_t columnCount() override { return columns; }
    std::int32_t rowCount() override { return rows; }
    StringPointer title() override { return str("shape"); }
};

using Cell = std::pair<std::int32_t, std::int32_t>;

TEST(GridSelectionTest, SelectCellClampsToTheGrid) {
    struct Row {
        std::int32_t columns, rows;
        Cell asked;
        Cell expected;
    };
    const Row rows[] = {
        {5, 10, {2, 3}, {2, 3}}, {5, 10, {9, 30}, {4, 9}}, {5, 10, {-4, -1}, {0, 0}},
        {0, 0, {3, 3}, {0, 0}},  // an empty grid keeps the first position
        {1, 1, {1, 1}, {0, 0}},
    };
    for (const Row& row : rows) {
        auto model = make<ShapeModel>(row.columns, row.rows);
        GridSelection selection;
        ASSERT_TRUE(selection.selectColumns(*make<ShapeModel>(3, 3), 0, 2));
        selection.selectCell(*model, row.asked.first, row.asked.second);
        EXPECT_EQ((Cell{selection.column(), selection.row()}), row.expected)
            << row.columns << "x" << row.rows << " asked " << row.asked.first << ","
            << row.asked.second;
        EXPECT_FALSE(selection.columnRange()) << "a cell ends the column range";
    }
}

TEST(GridSelectionTest, ColumnRangesRunFromTheAnchor) {
    struct Row {
        std::int32_t first, last;
        std::optional<Cell> range;
        std::int32_t anchor, current;
    };
    const Row rows[] = {
        {1, 3, Cell{1, 3}, 1, 3},
        {3, 1, Cell{1, 3}, 3, 1},  // leftwards from the anchor
        {-2, 9, Cell{0, 4}, 0, 4},
        {2, 2, Cell{2, 2}, 2, 2},
    };
    auto model = make<ShapeModel>(5, 10);
    for (const Row& row : rows) {
        GridSelection selection;
        selection.selectCell(*model, 0, 5);
        EXPECT_TRUE(selection.selectColumns(*model, row.first, row.last));
        EXPECT_EQ(selection.columnRange(), row.range) << row.first << ".." << row.last;
        EXPECT_EQ(selection.anchor(), row.anchor);
        EXPECT_EQ(selection.column(), row.current);
        EXPECT_EQ(selection.row(), 5);
        selection.clearColumnRange();
        EXPECT_FALSE(selection.columnRange());
        EXPECT_EQ(selection.anchor(), -1);
    }
    GridSelection selection;
    EXPECT_FALSE(selection.selectColumns(*make<ShapeModel>(0, 3), 0, 1)) << "no columns";
    EXPECT_FALSE(selection.columnRange());
}

// After the model took a new value the selection stays on the same line
// where that line is still there, and within the grid where it is not.
TEST(GridSelectionTest, FollowsTheModelByRowIdentity) {
    struct Row {
        const char* change;
        std::int32_t columns, rows;
        std::vector<std::int32_t> identities;
        Cell expected;
        std::optional<Cell> range;
    };
    // Before: 5 columns, 6 rows with identities 10..15, cell (3, 2) (identity
    // 12), columns 2..4 selected with the anchor at 2.
    const Row rows[] = {
        {"unchanged", 5, 6, {10, 11, 12, 13, 14, 15}, {4, 2}, Cell{2, 4}},
        {"a line above inserted", 5, 7, {10, 99, 11, 12, 13, 14, 15}, {4, 3}, Cell{2, 4}},
        {"the line gone", 5, 6, {10, 11, 13, 14, 15, 16}, {4, 2}, Cell{2, 4}},
        {"lines gone below it", 5, 2, {10, 11}, {4, 1}, Cell{2, 4}},
        {"columns gone", 3, 6, {10, 11, 12, 13, 14, 15}, {2, 2}, Cell{2, 2}},
        {"the anchor's column gone", 2, 6, {10, 11, 12, 13, 14, 15}, {1, 2}, std::nullopt},
    };
    for (const Row& row : rows) {
        auto model = make<ShapeModel>(5, 6);
        model->identities = {10, 11, 12, 13, 14, 15};
        GridSelection selection;
        selection.selectCell(*model, 3, 2);
        ASSERT_TRUE(selection.selectColumns(*model, 2, 4));
        model->columns = row.columns;
        model->rows = row.rows;
        model->identities = row.identities;
        selection.followModel(*model);
        EXPECT_EQ((Cell{selection.column(), selection.row()}), row.expected) << row.change;
        EXPECT_EQ(selection.columnRange(), row.range) << row.change;
    }
}

TEST(GridSelectionTest, TheRowFoundAgainIsRememberedByItsNewIdentity) {
    auto model = make<ShapeModel>(2, 4);
    model->identities = {10, 11, 12, 13};
    GridSelection selection;
    selection.selectCell(*model, 0, 3);
    model->identities = {20, 21, 22, 23};  // every line new: the row stays
    selection.followModel(*model);
    EXPECT_EQ(selection.row(), 3);
    model->identities = {23, 20, 21, 22};  // and is followed by its new identity
    selection.followModel(*model);
    EXPECT_EQ(selection.row(), 0);
}

TEST(GridScrollTest, ClampsToTheFrozenPartAndTheFurthestScroll) {
    struct Row {
        Cell set;
        Cell expected;
    };
    // One leading column, two header rows; scrolls to column 7, row 40.
    const Row rows[] = {
        {{3, 10}, {3, 10}}, {{0, 0}, {1, 2}}, {{50, 90}, {7, 40}}, {{-5, 41}, {1, 40}}};
    for (const Row& row : rows) {
        GridScroll scroll;
        scroll.setLeft(row.set.first);
        scroll.setTop(row.set.second);
        scroll.clamp(1, 7, 2, 40);
        EXPECT_EQ((Cell{scroll.left(), scroll.top()}), row.expected)
            << row.set.first << "," << row.set.second;
    }
}

// The bars count the scrolled lines after the frozen ones: a grid at its
// first scrolled row has its thumb at the top of the track, at its last
// one at the bottom.
TEST(GridScrollTest, BarsCountTheLinesAfterTheFrozenOnes) {
    const toolkit::Rect track{0, 0, 12, 200};
    GridScroll scroll;
    scroll.setTop(2);
    ScrollGeometry first = scroll.bar(ScrollAxis::Vertical, track, 2, 102, 10, 92);
    EXPECT_EQ(first.thumb().y, track.y);
    scroll.setTop(92);
    ScrollGeometry last = scroll.bar(ScrollAxis::Vertical, track, 2, 102, 10, 92);
    EXPECT_EQ(last.thumb().bottom(), track.bottom());
    // The horizontal bar follows the left column, not the top row.
    scroll.setLeft(1);
    ScrollGeometry across = scroll.bar(ScrollAxis::Horizontal, {0, 0, 200, 12}, 1, 21, 5, 16);
    EXPECT_EQ(across.thumb().x, 0);

    scroll.grabThumb(true, 7);
    EXPECT_EQ(scroll.thumbVertical(), true);
    EXPECT_EQ(scroll.grip(), 7);
    scroll.releaseThumb();
    EXPECT_FALSE(scroll.thumbVertical());
}

TEST(ColumnResizeTest, KeepsOnlyTheWidthsTheUserSet) {
    ColumnResize resize;
    EXPECT_FALSE(resize.width(3));
    resize.setWidth(3, 120);
    resize.setWidth(5, 2);  // never narrower than the smallest column
    EXPECT_EQ(resize.width(3), 120);
    EXPECT_EQ(resize.width(5), ColumnResize::kSmallestColumn);
    EXPECT_FALSE(resize.width(4));
}

TEST(ColumnResizeTest, ADragEndsOnceWithItsStartWidth) {
    ColumnResize resize;
    EXPECT_FALSE(resize.isActive());
    EXPECT_FALSE(resize.finish()) << "no drag to end";
    resize.start(2, 70);
    EXPECT_TRUE(resize.isActive());
    EXPECT_EQ(resize.column(), 2);
    EXPECT_EQ(resize.widthAfter(15), 85);
    EXPECT_EQ(resize.widthAfter(-30), 40);
    EXPECT_EQ(resize.finish(), (Cell{2, 70}));
    EXPECT_FALSE(resize.isActive());
    EXPECT_FALSE(resize.finish()) << "a release after the end changes nothing";
}

TEST(GridTypingTest, ShowsTheTextUntilTheEditEnds) {
    GridTyping typing;
    EXPECT_FALSE(typing.isEditing());
    typing.show("=1+");
    EXPECT_TRUE(typing.isEditing());
    EXPECT_EQ(typing.text(), "=1+");
    typing.show("");  // an emptied field is still an edit
    EXPECT_TRUE(typing.isEditing());
    typing.end();
    EXPECT_FALSE(typing.text());
}

}  // namespace
}  // namespace qv
