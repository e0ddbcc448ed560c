// The grid element on a synthetic model: it draws only what is in sight
// whatever the size, scrolls by wheel, keys and scroll bars, moves the
// current cell by keys, selects ranges of columns, and resizes columns by
// their header border as undoable steps.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/views/GridTestSupport.h"
#include "views/EvalMultiModel.h"

namespace qv {
namespace {

namespace key = toolkit::key;
using test::CountingModel;

class TableEditableTest : public test::GridTest {
  protected:
    Pointer<CountingModel> model;
    void showCounting(std::int32_t columns, std::int32_t rows) {
        model = make<CountingModel>(columns, rows);
        show(model);
    }
    // The texts painted on one grid row, left to right. Rows are painted one
    // after the other, so a text cut short (ending in a mark, its row gone)
    // belongs to the row of the text before it.
    std::vector<std::string> paintedRow(std::int32_t row) {
        std::vector<std::string> row_;
        bool inRow = false;
        for (const std::string& text : paintedTexts()) {
            auto colon = text.find(':');
            if (colon == std::string::npos && text.ends_with("\xE2\x80\xA6")) {
                if (inRow) row_.push_back(text);
                continue;
            }
            inRow = colon != std::string::npos && text.substr(colon + 1) == std::to_string(row);
            if (inRow) row_.push_back(text);
        }
        return row_;
    }
};

TEST_F(TableEditableTest, PaintsOnlyTheCellsInSightOfAMillionColumns) {
    showCounting(1'000'001, 6);
    // 600 wide: the leading column of 40 and eight columns of 70 (the last
    // one cut); six rows of 20.
    struct Case {
        std::int32_t scrollTo;
        std::vector<std::string> row1;
    };
    const std::vector<Case> cases = {
        {1, {"0:1", "1:1", "2:1", "3:1", "4:1", "5:1", "6:1", "7:1", "8:1"}},
        {500'000,
         {"0:1", "500000:1", "500001:1", "500002:1", "500003:1", "500004:1", "500005:1", "500006:1",
          "500007:1"}},
        // As far as it goes: the last columns fill the view; "1000000:1"
        // is too wide for its column and ends in a mark.
        {2'000'000,
         {"0:1", "999993:1", "999994:1", "999995:1", "999996:1", "999997:1", "999998:1", "999999:1",
          "1000000\xE2\x80\xA6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scrollTo);
        grid->scrollTo(c.scrollTo, 1);
        layout();
        model->created = 0;
        EXPECT_EQ(paintedRow(1), c.row1);
        // Nine columns by six rows, each cell made once.
        EXPECT_EQ(model->created, 9 * 6);
    }
    EXPECT_EQ(grid->bounds().width, 600);
    EXPECT_EQ(grid->bounds().height, 6 * 20 + TableEditable::kBarWidth);
}

TEST_F(TableEditableTest, TheWheelScrollsRowsOrElseColumns) {
    struct Case {
        std::int32_t columns, rows, steps;
        std::int32_t left, top;
    };
    const std::vector<Case> cases = {
        // Tall: three rows a notch, not above the first scrolled row.
        {5, 100, -2, 1, 7},
        {5, 100, 1, 1, 1},
        // Wide and short: columns.
        {1000, 4, -2, 7, 1},
        // Both fit: nothing moves, and the wheel is not taken.
        {3, 3, -1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows));
        root().detach(frame);
        showCounting(c.columns, c.rows);
        wheel(c.steps);
        EXPECT_EQ(grid->leftColumn(), c.left);
        EXPECT_EQ(grid->topRow(), c.top);
    }
}

TEST_F(TableEditableTest, KeysMoveTheCurrentCellAndKeepItInSight) {
    struct Case {
        const char* what;
        std::int32_t column, row;
        std::int32_t code;
        std::uint32_t modifiers;
        std::int32_t toColumn, toRow;
    };
    using toolkit::modifier::kControl;
    using toolkit::modifier::kShift;
    const std::vector<Case> cases = {
        {"right", 3, 3, key::kRight, 0, 4, 3},
        {"left", 3, 3, key::kLeft, 0, 2, 3},
        {"left at the edge", 0, 3, key::kLeft, 0, 0, 3},
        {"up", 3, 3, key::kUp, 0, 3, 2},
        {"up at the top", 3, 0, key::kUp, 0, 3, 0},
        {"down", 3, 3, key::kDown, 0, 3, 4},
        {"down at the bottom", 3, 49, key::kDown, 0, 3, 49},
        {"tab", 3, 3, key::kTab, 0, 4, 3},
        {"shift tab", 3, 3, key::kTab, kShift, 2, 3},
        {"enter", 3, 3, key::kEnter, 0, 3, 4},
        {"home", 3, 3, key::kHome, 0, 0, 3},
        {"end", 3, 3, key::kEnd, 0, 199, 3},
        {"ctrl home", 30, 30, key::kHome, kControl, 0, 1},
        {"ctrl end", 3, 3, key::kEnd, kControl, 199, 49},
        // The view shows 19 scrolled rows (400 high, header of 20, bar of 12).
        {"page down", 3, 3, key::kPageDown, 0, 3, 22},
        {"page down at the end", 3, 45, key::kPageDown, 0, 3, 49},
        {"page up", 3, 30, key::kPageUp, 0, 3, 11},
        // Seven whole columns of 70 beside the leading one and the bar.
        {"ctrl page down", 3, 3, key::kPageDown, kControl, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        root().detach(frame);
        showCounting(200, 50);
        grid->selectCell(c.column, c.row);
        support().select(grid);
        key(c.code, {}, c.modifiers);
        EXPECT_EQ(grid->currentColumn(), c.toColumn);
        EXPECT_EQ(grid->currentRow(), c.toRow);
        layout();
        EXPECT_GT(grid->cellRect(c.toColumn, c.toRow).width, 0) << "out of sight";
    }
}

TEST_F(TableEditableTest, ScrollBarsPageAndDrag) {
    showCounting(1'000'001, 6);
    layout();
    const toolkit::Rect& box = grid->bounds();
    // The horizontal bar along the bottom: a press right of the thumb turns
    // a page of columns.
    toolkit::Point track{box.x + box.width - 20, box.bottom() - TableEditable::kBarWidth / 2};
    press(track);
    releaseAt(track);
    EXPECT_EQ(grid->leftColumn(), 9);
    // The thumb dragged to the far end shows the last columns.
    toolkit::Point thumb{box.x + 8, track.y};
    grid->scrollTo(1, 1);
    press(thumb);
    dragTo({box.right() + 50, track.y});
    releaseAt({box.right() + 50, track.y});
    EXPECT_EQ(grid->leftColumn(), 999'993);
    EXPECT_EQ(paintedRow(1).back(), "1000000\xE2\x80\xA6");
}

TEST_F(TableEditableTest, HeaderClicksSelectRangesOfColumns) {
    showCounting(20, 5);
    click(3, 0);
    EXPECT_EQ(grid->selectedColumns(), (std::pair{3, 3}));
    click(5, 0, toolkit::modifier::kShift);
    EXPECT_EQ(grid->selectedColumns(), (std::pair{3, 5}));
    click(2, 0, toolkit::modifier::kShift);
    EXPECT_EQ(grid->selectedColumns(), (std::pair{2, 3}));
    // A click on a cell ends the range.
    click(4, 2);
    EXPECT_FALSE(grid->selectedColumns());
    EXPECT_EQ(grid->currentColumn(), 4);
    EXPECT_EQ(grid->currentRow(), 2);
    key(key::kSelectAll);
    EXPECT_EQ(grid->selectedColumns(), (std::pair{0, 19}));
}

TEST_F(TableEditableTest, DraggingAHeaderBorderResizesTheColumnAsOneStep) {
    showCounting(20, 5);
    layout();
    toolkit::Rect header = grid->cellRect(2, 0);
    toolkit::Point border{header.right(), header.y + 5};
    moveTo(border);
    EXPECT_EQ(window.cursor(), toolkit::CursorKind::SizeWestEast);
    std::int32_t before = commands().undoCount();
    press(border);
    dragTo({border.x + 10, border.y});
    dragTo({border.x + 30, border.y});
    releaseAt({border.x + 30, border.y});
    EXPECT_EQ(grid->columnWidth(2), 100);
    EXPECT_EQ(commands().undoCount(), before + 1);
    key(key::kUndo);
    EXPECT_EQ(grid->columnWidth(2), 70);
    key(key::kRedo);
    EXPECT_EQ(grid->columnWidth(2), 100);
    // Not narrower than the smallest width, and other columns keep theirs.
    layout();
    header = grid->cellRect(2, 0);
    press({header.right(), header.y + 5});
    dragTo({header.x - 40, header.y + 5});
    releaseAt({header.x - 40, header.y + 5});
    EXPECT_EQ(grid->columnWidth(2), TableEditable::kSmallestColumn);
    EXPECT_EQ(grid->columnWidth(3), 70);
}

// Grids without cells, or with one, take every event without harm.
TEST_F(TableEditableTest, EmptyAndTinyGridsTakeEveryEvent) {
    struct Case {
        std::int32_t columns, rows;
    };
    for (const Case& c : std::vector<Case>{{0, 0}, {0, 3}, {3, 0}, {1, 1}}) {
        SCOPED_TRACE(std::to_string(c.columns) + "x" + std::to_string(c.rows));
        root().detach(frame);
        showCounting(c.columns, c.rows);
        layout();
        const toolkit::Rect& box = grid->bounds();
        press({box.x + 2, box.y + 2});
        releaseAt({box.x + 2, box.y + 2});
        doubleClick({box.x + 2, box.y + 2});
        for (std::int32_t code : {key::kRight, key::kDown, key::kEnd, key::kPageDown, key::kHome,
                                  key::kEnter, key::kTab, key::kF2, key::kDelete, key::kCopy,
                                  key::kPaste, key::kCut, key::kSelectAll})
            key(code);
        key(key::kCharacter, "x");
        wheel(-3);
        paintedTexts();
        EXPECT_GE(grid->currentColumn(), 0);
        EXPECT_LE(grid->currentColumn(), std::max(0, c.columns - 1));
        EXPECT_LE(grid->currentRow(), std::max(0, c.rows - 1));
    }
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// The field names of a detailed view are read whole: the frozen name column
// widens to the longest name, up to a limit, unless the user sized it.
TEST_F(TableEditableTest, FrozenColumnsWidenToTheirTexts) {
    const std::string longest(300, 'n');
    struct Case {
        const char* program;
        std::string widest;  // the text the column fits
    };
    const Case cases[] = {
        {"table T{ a:=1! b:=2! }", "T"},
        {"table T{ a:=1! a_rather_long_name:=2! }", "a_rather_long_name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        Pointer<Kernel> kernel = test::loadModel(c.program);
        show(make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true));
        layout();
        const std::int32_t expected =
            std::max(20, panel->support().plainMetrics().textWidth(c.widest) +
                             2 * TableEditable::kPadding + 1);
        EXPECT_EQ(grid->columnWidth(0), expected);
        // Record columns keep the model's width.
        EXPECT_EQ(grid->columnWidth(1), 70);
    }
    Pointer<Kernel> kernel = test::loadModel("table T{ " + longest + ":=1! }");
    show(make<EvalMultiModel>(kernel->getTableByName("T"), make<GlobalSettings>(), true));
    layout();
    EXPECT_EQ(grid->columnWidth(0), TableEditable::kWidestFitted);
    grid->setColumnWidth(0, 50);
    layout();
    EXPECT_EQ(grid->columnWidth(0), 50);
}

}  // namespace
}  // namespace qv
