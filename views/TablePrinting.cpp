// Drawing a printed page of the grid: the same cells as on screen (each
// made by the model as it is drawn), for the rows and columns of one page
// after the frozen ones.
#include <algorithm>

#include "editing/EditableSupport.h"
#include "views/TableEditable.h"

namespace qv {

namespace {

// Cells made while printing show no selection; the flag goes down however
// the painting ends.
class PrintingScope {
  public:
    explicit PrintingScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~PrintingScope() { m_flag = false; }
    PrintingScope(const PrintingScope&) = delete;
    PrintingScope& operator=(const PrintingScope&) = delete;

  private:
    bool& m_flag;
};

}  // namespace

void TableEditable::paintPage(toolkit::Graphics& graphics, toolkit::Point corner,
                              const GridPage& page) {
    Extent e;
    e.columns = m_model->columnCount();
    e.rows = m_model->rowCount();
    e.leading = std::clamp(m_model->leadingColumnCount(), 0, e.columns);
    e.headers = std::clamp(m_model->headerRowCount(), 0, e.rows);
    PrintingScope printing(m_printing);
    if (support() != nullptr) graphics.setFont(support()->plainFont());
    std::int32_t line = rowHeight();
    std::int32_t right = corner.x;
    for (std::int32_t column = 0; column < e.leading; ++column)
        right += columnWidth(column);
    for (std::int32_t column = page.firstColumn; column < page.endColumn; ++column)
        right += columnWidth(column);
    right = std::min(right, graphics.clip().right());
    auto paintRow = [&](std::int32_t row, std::int32_t y) {
        std::int32_t x = corner.x;
        auto paintColumn = [&](std::int32_t column) {
            std::int32_t width = columnWidth(column);
            paintCell(graphics, {x, y, width, line}, right, column, row, e);
            x += width;
        };
        for (std::int32_t column = 0; column < e.leading; ++column)
            paintColumn(column);
        for (std::int32_t column = page.firstColumn; column < page.endColumn && x < right; ++column)
            paintColumn(column);
    };
    std::int32_t y = corner.y;
    for (std::int32_t row = 0; row < e.headers; ++row, y += line)
        paintRow(row, y);
    for (std::int32_t row = page.firstRow; row < page.endRow; ++row, y += line)
        paintRow(row, y);
}

}  // namespace qv
