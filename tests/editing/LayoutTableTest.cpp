// Layout tables on their own: cell keys, growing and shrinking the grid,
// the layout rule, the drop target at the 3-pixel boundaries with its five
// modes, and the document text.
#include <string>
#include <vector>

#include "editing/LayoutTablePosition.h"
#include "tests/editing/EditingTestSupport.h"

namespace qv {
namespace {

using Mode = LayoutTableEditable::TargetMode;

// A view with a fixed minimum and maximum width and height.
class Sized final : public AbstractEditable {
    QV_OBJECT(Sized, AbstractEditable, "Sized")
  public:
    Sized(std::int32_t minimum, std::int32_t maximum, std::int32_t height = 20)
        : m_minimum(minimum), m_maximum(maximum), m_height(height) {}
    std::int32_t minimumWidth() const override { return m_minimum; }
    std::int32_t maximumWidth() const override { return m_maximum; }
    void layoutWidth(std::int32_t hint) override {
        setBounds({0, 0, std::clamp(hint, m_minimum, m_maximum), m_height});
    }
    void writeSource(std::string& out, std::int32_t) const override {
        out += "sized(" + std::to_string(m_minimum) + ");\n";
    }

  private:
    std::int32_t m_minimum;
    std::int32_t m_maximum;
    std::int32_t m_height;
};

Pointer<AbstractEditable> sized(std::int32_t minimum, std::int32_t maximum,
                                std::int32_t height = 20) {
    return make<Sized>(minimum, maximum, height);
}

// Equal keys hash alike, and every place of a table far wider than it is
// high keeps its own cell, whichever keys share a hash value.
TEST(LayoutTableTest, KeysThatHashAlikeStayDistinct) {
    EXPECT_EQ(make<RowCol>(1, 0)->hashCode(), make<RowCol>(1, 0)->hashCode());
    EXPECT_TRUE(make<RowCol>(1, 0)->equals(*make<RowCol>(1, 0)));
    EXPECT_FALSE(make<RowCol>(1, 0)->equals(*make<RowCol>(0, 100)));
    auto table = make<LayoutTableEditable>();
    const std::int32_t rows = 3;
    const std::int32_t columns = 201;
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column)
            table->put(sized(row * 1000 + column, 100000), row, column);
    }
    EXPECT_EQ(table->cellCount(), rows * columns);
    for (std::int32_t row = 0; row < rows; ++row) {
        for (std::int32_t column = 0; column < columns; ++column)
            ASSERT_EQ(table->cellAt(row, column)->minimumWidth(), row * 1000 + column)
                << row << "," << column;
    }
    EXPECT_TRUE(table->cellAt(rows, 0).isNull());
}

TEST(LayoutTableTest, APutGrowsTheGridAndEveryPlaceIsWritten) {
    auto table = make<LayoutTableEditable>();
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(table->toSource()->toStdString(), "ltable{\n    lrow{\n        ;\n    }\n}\n");
    table->put(sized(7, 7), 2, 3);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->columnCount(), 4);
    const std::string empty = "    lrow{\n" + std::string(4, ' ') + "    ;\n" +
                              std::string(4, ' ') + "    ;\n" + std::string(4, ' ') + "    ;\n" +
                              std::string(4, ' ') + "    ;\n    }\n";
    EXPECT_EQ(table->toSource()->toStdString(),
              "ltable{\n" + empty + empty +
                  "    lrow{\n        ;\n        ;\n        ;\n        sized(7);\n    }\n}\n");
    EXPECT_EQ(table->getTitle()->toStdString(), "panel");
    EXPECT_TRUE(table->isPanel());
}

TEST(LayoutTableTest, NestedTablesIndentEachLevelByFourBlanks) {
    auto inner = make<LayoutTableEditable>();
    inner->put(make<TitleDecorator>(make<TextEditable>("x")), 0, 0);
    auto outer = make<LayoutTableEditable>();
    outer->put(make<TitleDecorator>(inner), 0, 1);
    EXPECT_EQ(outer->toSource()->toStdString(),
              "ltable{\n"
              "    lrow{\n"
              "        ;\n"
              "        ltable{\n"
              "            lrow{\n"
              "                text(\"x\");\n"
              "            }\n"
              "        }\n"
              "    }\n"
              "}\n");
}

TEST(LayoutTableTest, InsertingAndRemovingLinesMovesTheCells) {
    struct Case {
        const char* name;
        bool columns;
        std::int32_t index;
        std::int32_t count;
        std::int32_t rows;
        std::int32_t cols;
        std::vector<std::pair<std::int32_t, std::int32_t>> occupied;  // (row, column)
    };
    // The table starts 2 by 3 with cells at (0, 0) and (1, 2); column 1 is empty->
    const std::vector<Case> cases = {
        {"column at 0", true, 0, 1, 2, 4, {{0, 1}, {1, 3}}},
        {"two columns at 2", true, 2, 2, 2, 5, {{0, 0}, {1, 4}}},
        {"remove the empty column", true, 1, -1, 2, 2, {{0, 0}, {1, 1}}},
        {"an occupied column stays", true, 2, -1, 2, 3, {{0, 0}, {1, 2}}},
        {"row at 1", false, 1, 1, 3, 3, {{0, 0}, {2, 2}}},
        {"a row at the end", false, 2, 1, 3, 3, {{0, 0}, {1, 2}}},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        auto table = make<LayoutTableEditable>();
        table->put(sized(1, 1), 0, 0);
        table->put(sized(2, 2), 1, 2);
        if (row.columns) {
            table->insertColumns(row.index, row.count);
        } else {
            table->insertRows(row.index, row.count);
        }
        EXPECT_EQ(table->rowCount(), row.rows);
        EXPECT_EQ(table->columnCount(), row.cols);
        EXPECT_EQ(table->cellCount(), 2);
        for (auto [r, c] : row.occupied)
            EXPECT_FALSE(table->cellAt(r, c).isNull()) << r << "," << c;
    }
}

TEST(LayoutTableTest, EmptyLinesAreRemovedByOneScanFromTheStart) {
    auto table = make<LayoutTableEditable>();
    table->put(sized(1, 1), 0, 2);
    table->put(sized(2, 2), 3, 3);
    // Columns 0 and 1 are empty: removing 0 moves the old 1 to index 0,
    // and the scan goes on at index 1. Rows 0..3: 1 and 2 are empty alike.
    table->removeEmptyColumnsAndRows();
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_FALSE(table->cellAt(0, 1).isNull());
    EXPECT_FALSE(table->cellAt(2, 2).isNull());
    // An empty table keeps one row and one column.
    auto empty = make<LayoutTableEditable>();
    empty->insertColumns(0, 2);
    empty->removeEmptyColumnsAndRows();
    empty->removeEmptyColumnsAndRows();
    EXPECT_EQ(empty->columnCount(), 1);
    EXPECT_EQ(empty->rowCount(), 1);
}

TEST(LayoutTableTest, ColumnsGrowByEqualSharesUpToTheirMaximum) {
    struct Case {
        std::int32_t hint;
        std::vector<std::int32_t> widths;
    };
    // Minimum and maximum: 50..100 and 20..200; margins and gap of 6 make 18.
    const std::vector<Case> cases = {
        {0, {50, 20}},       // below the minimum: the minimum
        {88, {50, 20}},      // exactly the minimum
        {98, {55, 25}},      // 10 shared
        {99, {55, 25}},      // 11: the share is 5, one pixel left over
        {218, {100, 100}},   // 130: 65 each, the first stops at its maximum
        {300, {100, 182}},   // 212: the second takes the rest alone
        {1000, {100, 200}},  // both at their maximum
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.hint);
        auto table = make<LayoutTableEditable>();
        table->put(sized(50, 100), 0, 0);
        table->put(sized(20, 200, 40), 1, 1);
        table->layoutWidth(row.hint);
        EXPECT_EQ(table->columnWidths(), row.widths);
        EXPECT_EQ(table->columnPositions(), (std::vector<std::int32_t>{6, 12 + row.widths[0]}));
        EXPECT_EQ(table->rowHeights(), (std::vector<std::int32_t>{20, 40}));
        EXPECT_EQ(table->bounds().width, 18 + row.widths[0] + row.widths[1]);
        EXPECT_EQ(table->bounds().height, 18 + 60);
        EXPECT_EQ(table->cellAt(1, 1)->bounds().x, 12 + row.widths[0]);
        EXPECT_EQ(table->cellAt(1, 1)->bounds().y, 32);
    }
    EXPECT_EQ(make<LayoutTableEditable>()->minimumWidth(), 20 + 30 + 20);
}

// A 1 by 2 table: a cell at (0, 0) and column 1 empty->
TEST(LayoutTableTest, TheDropTargetAtTheThreePixelBoundaries) {
    auto table = make<LayoutTableEditable>();
    table->put(sized(60, 60, 40), 0, 0);
    table->insertColumns(1, 1);
    table->layoutWidth(0);
    const std::int32_t lead = table->columnPositions()[0];          // 6
    const std::int32_t after0 = lead + table->columnWidths()[0];    // 66
    const std::int32_t column1 = table->columnPositions()[1] + 10;  // inside the empty column
    const std::int32_t top = table->rowPositions()[0];              // 6
    const std::int32_t middle = top + 20;
    const std::int32_t below = top + table->rowHeights()[0];  // the line after row 0
    struct Case {
        const char* name;
        std::int32_t x;
        std::int32_t y;
        bool target;
        std::int32_t row;
        std::int32_t column;
        Mode mode;
    };
    const std::vector<Case> cases = {
        {"leading line", lead, middle, true, 0, 0, Mode::ColumnBeforeFirst},
        {"3 after the leading line", lead + 3, middle, true, 0, 0, Mode::ColumnBeforeFirst},
        {"3 before the leading line", lead - 3, middle, true, 0, 0, Mode::ColumnBeforeFirst},
        {"4 before the table's first column", lead - 4, middle, false, -1, -1, Mode::IntoCell},
        {"4 inside the occupied cell", lead + 4, middle, false, -1, -1, Mode::IntoCell},
        {"on the line after column 0", after0, middle, true, 0, 0, Mode::ColumnAfter},
        {"3 before that line", after0 - 3, middle, true, 0, 0, Mode::ColumnAfter},
        {"4 before that line", after0 - 4, middle, false, -1, -1, Mode::IntoCell},
        {"3 after that line", after0 + 3, middle, true, 0, 0, Mode::ColumnAfter},
        {"in the gap, 4 after", after0 + 4, middle, false, -1, -1, Mode::IntoCell},
        {"into the empty cell", column1, middle, true, 0, 1, Mode::IntoCell},
        {"leading row line", column1, top - 3, true, 0, 1, Mode::RowBeforeFirst},
        {"above the leading row line", column1, top - 4, false, -1, -1, Mode::IntoCell},
        {"line after row 0", column1, below + 3, true, 0, 1, Mode::RowAfter},
        {"beyond the last row", column1, below + 40, true, 0, 1, Mode::RowAfter},
        {"a row side wins over a column side", after0, below, true, 0, 0, Mode::RowAfter},
        {"row before the first, column after", after0 + 2, top + 1, true, 0, 0,
         Mode::RowBeforeFirst},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(table->computeTarget(row.x, row.y), row.target);
        EXPECT_EQ(table->targetRow(), row.row);
        EXPECT_EQ(table->targetColumn(), row.column);
        EXPECT_EQ(table->targetMode(), row.mode);
    }
    table->clearTarget();
    EXPECT_EQ(table->targetRow(), -1);
}

TEST(LayoutTableTest, AnEmptyTableTakesAViewAnywhereIntoItsFirstCell) {
    for (toolkit::Point at :
         {toolkit::Point{1, 1}, toolkit::Point{35, 35}, toolkit::Point{69, 0}}) {
        auto table = make<LayoutTableEditable>();
        table->layoutWidth(600);
        EXPECT_EQ(table->bounds(), (toolkit::Rect{0, 0, 70, 70}));
        auto view = make<TitleDecorator>(make<TextEditable>("v"));
        view->setPlacement(FramePlacement::Optimized);
        Pointer<AbstractPosition> position = table->dropPositionAt(at.x, at.y, view);
        auto place = cast<LayoutTablePosition>(position);
        ASSERT_FALSE(place.isNull());
        EXPECT_EQ(place->row(), 0);
        EXPECT_EQ(place->column(), 0);
        EXPECT_EQ(table->cellAt(0, 0), Pointer<AbstractEditable>(view));
        EXPECT_EQ(view->placement(), FramePlacement::InTable);
        EXPECT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->columnCount(), 1);
    }
}

struct DropCase {
    const char* name;
    Mode mode;
    std::int32_t rows;
    std::int32_t columns;
    std::int32_t row;  // where the new view lands
    std::int32_t column;
    std::int32_t oldRow;  // where the view already there ends
    std::int32_t oldColumn;
};

TEST(LayoutTableTest, EachModeOpensItsLineAndDetachClosesIt) {
    const std::vector<DropCase> cases = {
        {"column before the first", Mode::ColumnBeforeFirst, 1, 2, 0, 0, 0, 1},
        {"row before the first", Mode::RowBeforeFirst, 2, 1, 0, 0, 1, 0},
        {"column after", Mode::ColumnAfter, 1, 2, 0, 1, 0, 0},
        {"row after", Mode::RowAfter, 2, 1, 1, 0, 0, 0},
    };
    for (const DropCase& row : cases) {
        SCOPED_TRACE(row.name);
        auto table = make<LayoutTableEditable>();
        auto old = sized(60, 60, 40);
        table->put(old, 0, 0);
        table->layoutWidth(0);
        const std::int32_t lead = table->columnPositions()[0];
        const std::int32_t right = lead + table->columnWidths()[0];
        const std::int32_t top = table->rowPositions()[0];
        const std::int32_t bottom = top + table->rowHeights()[0];
        toolkit::Point at;
        switch (row.mode) {
            case Mode::ColumnBeforeFirst:
                at = {lead, top + 20};
                break;
            case Mode::RowBeforeFirst:
                at = {lead + 20, top};
                break;
            case Mode::ColumnAfter:
                at = {right + 2, top + 20};
                break;
            case Mode::RowAfter:
                at = {lead + 20, bottom - 2};
                break;
            case Mode::IntoCell:
                break;
        }
        auto view = sized(10, 10);
        auto place = cast<LayoutTablePosition>(table->dropPositionAt(at.x, at.y, view));
        ASSERT_FALSE(place.isNull());
        EXPECT_EQ(table->rowCount(), row.rows);
        EXPECT_EQ(table->columnCount(), row.columns);
        EXPECT_EQ(place->row(), row.row);
        EXPECT_EQ(place->column(), row.column);
        EXPECT_EQ(table->cellAt(row.row, row.column), view);
        EXPECT_EQ(table->cellAt(row.oldRow, row.oldColumn), old);
        // Taking it out again closes the line it opened.
        auto from = cast<LayoutTablePosition>(table->detach(view));
        ASSERT_FALSE(from.isNull());
        EXPECT_EQ(from->row(), row.row);
        EXPECT_EQ(from->column(), row.column);
        EXPECT_EQ(from->rowCount(), row.rows);
        EXPECT_EQ(from->columnCount(), row.columns);
        EXPECT_EQ(table->rowCount(), 1);
        EXPECT_EQ(table->columnCount(), 1);
        EXPECT_EQ(table->cellAt(0, 0), old);
        // And dropping it at that place opens it once more.
        EXPECT_TRUE(table->drop(view, from));
        EXPECT_EQ(table->cellAt(row.row, row.column), view);
        EXPECT_EQ(table->cellAt(row.oldRow, row.oldColumn), old);
    }
}

TEST(LayoutTableTest, DetachingTheOnlyViewOfARowRemovesTheRow) {
    auto table = make<LayoutTableEditable>();
    auto a = sized(10, 10);
    auto b = sized(10, 10);
    auto c = sized(10, 10);
    table->put(a, 0, 0);
    table->put(b, 1, 0);
    table->put(c, 1, 1);
    EXPECT_EQ(cast<LayoutTablePosition>(table->detach(a))->rowCount(), 2);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->cellAt(0, 0), b);
    EXPECT_EQ(table->cellAt(0, 1), c);
    table->detach(b);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(table->cellAt(0, 0), c);
    table->detach(c);
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(table->cellCount(), 0);
    // Not in the table: nothing to detach.
    EXPECT_TRUE(table->detach(a).isNull());
}

TEST(LayoutTableTest, ADropNeverReplacesAView) {
    auto table = make<LayoutTableEditable>();
    auto a = sized(10, 10);
    auto b = sized(10, 10);
    table->put(a, 0, 0);
    EXPECT_TRUE(table->drop(b, make<LayoutTablePosition>(table, 0, 0, 1, 1)));
    EXPECT_EQ(table->cellCount(), 2);
    EXPECT_EQ(table->cellAt(0, 0), b);
    EXPECT_EQ(table->cellAt(0, 1), a);
    // A position another table answered is not taken.
    auto other = make<LayoutTableEditable>();
    EXPECT_FALSE(table->drop(sized(1, 1), make<LayoutTablePosition>(other, 0, 0, 1, 1)));
}

TEST(LayoutTableTest, NoDropNestsPanelsDeeperThanADocumentReadsBack) {
    // A chain of panels, each in a frame in a cell of the one before.
    auto outermost = make<LayoutTableEditable>();
    Pointer<LayoutTableEditable> innermost = outermost;
    for (std::int32_t depth = 1; depth < LayoutTableEditable::kMaxNesting; ++depth) {
        auto next = make<LayoutTableEditable>();
        innermost->put(make<TitleDecorator>(next), 0, 0);
        innermost = next;
    }
    EXPECT_EQ(outermost->panelDepth(), LayoutTableEditable::kMaxNesting);
    innermost->layoutWidth(0);
    // A text still fits in the deepest panel; a panel no longer does.
    auto panelFrame = make<TitleDecorator>(make<LayoutTableEditable>());
    EXPECT_FALSE(innermost->showDropTarget(5, 5, *panelFrame));
    EXPECT_TRUE(innermost->dropPositionAt(5, 5, panelFrame).isNull());
    EXPECT_EQ(innermost->cellCount(), 0);
    auto textFrame = make<TitleDecorator>(make<TextEditable>("deep"));
    EXPECT_TRUE(innermost->showDropTarget(5, 5, *textFrame));
    EXPECT_FALSE(innermost->dropPositionAt(5, 5, textFrame).isNull());
    EXPECT_EQ(outermost->panelDepth(), LayoutTableEditable::kMaxNesting);
}

}  // namespace
}  // namespace qv
