// Grid element test helpers: a work area on the headless window holding a
// grid in an optimized frame, a synthetic model of any size that counts the
// cells it makes, and the clicks and keys a user sends to the grid.
#pragma once

#include <string>
#include <vector>

#include "tests/editing/EditingTestSupport.h"
#include "tests/views/ViewTestSupport.h"
#include "views/TableEditable.h"

namespace qv::test {

// Columns and rows as asked, one header row and one leading column; cell
// (c, r) shows "c:r". Counts createCell calls.
class CountingModel final : public GridModel {
    QV_OBJECT(CountingModel, GridModel, "CountingModel")
  public:
    CountingModel(std::int32_t columns, std::int32_t rows) : m_columns(columns), m_rows(rows) {}
    std::int32_t created = 0;

    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override {
        ++created;
        return make<LabelCell>(str(std::to_string(column) + ":" + std::to_string(row)));
    }
    std::int32_t columnWidth(std::int32_t column) override { return column == 0 ? 40 : 70; }
    std::int32_t columnCount() override { return m_columns; }
    std::int32_t rowCount() override { return m_rows; }
    StringPointer title() override { return str("counting"); }

  private:
    std::int32_t m_columns;
    std::int32_t m_rows;
};

class GridTest : public EditingTest {
  protected:
    Pointer<TableEditable> grid;
    Pointer<TitleDecorator> frame;

    // The grid in an optimized frame at (40, 40), laid out.
    void show(const Pointer<GridModel>& model,
              FramePlacement placement = FramePlacement::Optimized) {
        grid = make<TableEditable>(model);
        frame = addFrame(grid, placement);
    }
    FormulaValueEditable& bar() { return *panel->formulaBar(); }
    std::string barText() { return std::string(bar().field()->text()); }

    toolkit::Point cellPoint(std::int32_t column, std::int32_t row) {
        layout();
        toolkit::Rect rect = grid->cellRect(column, row);
        EXPECT_GT(rect.width, 0) << "cell " << column << "," << row << " not in sight";
        return centre(rect);
    }
    void click(std::int32_t column, std::int32_t row, std::uint32_t modifiers = 0) {
        toolkit::Point at = cellPoint(column, row);
        press(at, modifiers);
        releaseAt(at);
    }
    void doubleClickCell(std::int32_t column, std::int32_t row) {
        toolkit::Point at = cellPoint(column, row);
        press(at);
        releaseAt(at);
        doubleClick(at);
        releaseAt(at);
    }
    void wheel(std::int32_t steps) {
        layout();
        toolkit::Rect box = grid->bounds();
        panel->wheel(steps, {box.x + 5, box.y + 5}, 0);
    }
    std::vector<std::string> paintedTexts() {
        layout();
        return window.paint().texts();
    }
    // The calls of the last paint that fill a rectangle of the colour.
    std::vector<std::string> fills(std::string_view colour) {
        std::vector<std::string> found;
        for (const std::string& call : window.paint().calls()) {
            if (call.rfind("fill ", 0) == 0 && call.find(colour) != std::string::npos)
                found.push_back(call);
        }
        return found;
    }
};

}  // namespace qv::test
