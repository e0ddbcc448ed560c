// Cutting a grid into printed pages: rows a page from the page's height and
// the row height, the header rows and leading columns on every page, the
// last page partial, columns that do not fit on further pages (down first),
// and the degenerate grids; and the grid turned on its side for printing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "views/GridPages.h"
#include "views/TableEditable.h"
#include "views/TransposedGridModel.h"

namespace qv {
namespace {

// `widths` are the columns' widths; cell (c, r) shows "c:r".
class SizedModel final : public GridModel {
    QV_OBJECT(SizedModel, GridModel, "SizedModel")
  public:
    SizedModel(std::vector<std::int32_t> widths, std::int32_t rows, std::int32_t leading,
               std::int32_t headers)
        : m_widths(std::move(widths)), m_rows(rows), m_leading(leading), m_headers(headers) {}
    Pointer<CellModel> createCell(std::int32_t column, std::int32_t row) override {
        return make<LabelCell>(str(std::to_string(column) + ":" + std::to_string(row)));
    }
    std::int32_t columnWidth(std::int32_t column) override {
        return m_widths[static_cast<std::size_t>(column)];
    }
    std::int32_t columnCount() override { return static_cast<std::int32_t>(m_widths.size()); }
    std::int32_t rowCount() override { return m_rows; }
    StringPointer title() override { return str("sized"); }
    std::int32_t leadingColumnCount() override { return m_leading; }
    std::int32_t headerRowCount() override { return m_headers; }

  private:
    std::vector<std::int32_t> m_widths;
    std::int32_t m_rows;
    std::int32_t m_leading;
    std::int32_t m_headers;
};

std::string describe(const GridPage& page) {
    return std::to_string(page.firstColumn) + "-" + std::to_string(page.endColumn) + " x " +
           std::to_string(page.firstRow) + "-" + std::to_string(page.endRow);
}

// A grid not in a window draws rows of 20 pixels.
TEST(GridPages, CutsRowsAndColumnsIntoPages) {
    struct Case {
        const char* what;
        std::vector<std::int32_t> widths;
        std::int32_t rows;
        std::int32_t leading;
        std::int32_t headers;
        toolkit::Size area;
        std::vector<std::string> pages;  // columns x rows of each page
    };
    const std::vector<std::int32_t> three{40, 70, 70};
    const std::vector<std::int32_t> eight{40, 70, 70, 70, 70, 70, 70, 70};
    // 200 high less a header row of 20: 9 rows a page.
    const Case cases[] = {
        {"one page, exactly full", three, 10, 1, 1, {300, 200}, {"1-3 x 1-10"}},
        {"one row more: a partial second page",
         three,
         11,
         1,
         1,
         {300, 200},
         {"1-3 x 1-10", "1-3 x 10-11"}},
        {"three pages, the last with one row",
         three,
         20,
         1,
         1,
         {300, 200},
         {"1-3 x 1-10", "1-3 x 10-19", "1-3 x 19-20"}},
        {"no records: the headers alone", three, 1, 1, 1, {300, 200}, {"1-3 x 1-1"}},
        {"nothing at all", {}, 0, 1, 1, {300, 200}, {"0-0 x 0-0"}},
        {"only frozen columns", {40}, 5, 1, 1, {300, 200}, {"1-1 x 1-5"}},
        // 300 less the leading 40 leaves 260: three columns of 70 a band.
        {"wide: down first, then across",
         eight,
         11,
         1,
         1,
         {300, 200},
         {"1-4 x 1-10", "1-4 x 10-11", "4-7 x 1-10", "4-7 x 10-11", "7-8 x 1-10", "7-8 x 10-11"}},
        {"a column wider than the page has a page of its own",
         {40, 70, 500, 70},
         3,
         1,
         1,
         {300, 200},
         {"1-2 x 1-3", "2-3 x 1-3", "3-4 x 1-3"}},
        {"headers taller than the page: still a row a page",
         three,
         4,
         1,
         3,
         {300, 50},
         {"1-3 x 3-4"}},
        {"two header rows and no leading column",
         three,
         12,
         0,
         2,
         {300, 100},
         {"0-3 x 2-5", "0-3 x 5-8", "0-3 x 8-11", "0-3 x 11-12"}},
    };
    for (const Case& c : cases) {
        auto grid = make<TableEditable>(make<SizedModel>(c.widths, c.rows, c.leading, c.headers));
        GridPages pages(*grid, c.area);
        std::vector<std::string> got;
        for (std::int64_t index = 0; index < pages.count(); ++index)
            got.push_back(describe(pages.page(index)));
        EXPECT_EQ(got, c.pages) << c.what;
    }
}

TEST(GridPages, AMillionRowsCostOneBand) {
    auto grid =
        make<TableEditable>(make<SizedModel>(std::vector<std::int32_t>{40, 70}, 1000001, 1, 1));
    GridPages pages(*grid, {680, 950});
    EXPECT_EQ(pages.rowsPerPage(), 46);
    EXPECT_EQ(pages.count(), (1000000 + 45) / 46);
    GridPage last = pages.page(pages.count() - 1);
    EXPECT_EQ(describe(last), "1-2 x " + std::to_string(1 + (pages.count() - 1) * 46) + "-1000001");
}

TEST(TransposedGridModel, SwapsRowsForColumnsAndHeadersForLeadingColumns) {
    auto inner = make<SizedModel>(std::vector<std::int32_t>{30, 90, 60}, 4, 2, 1);
    TransposedGridModel turned(inner);
    EXPECT_EQ(turned.columnCount(), 4);
    EXPECT_EQ(turned.rowCount(), 3);
    EXPECT_EQ(turned.leadingColumnCount(), 1);
    EXPECT_EQ(turned.headerRowCount(), 2);
    EXPECT_EQ(turned.createCell(3, 1)->text()->toStdString(), "1:3");
    // Every column as wide as the inner model's first scrolled column.
    EXPECT_EQ(turned.columnWidth(0), 60);
    EXPECT_EQ(turned.columnWidth(3), 60);
    // A line of either kind left out.
    TransposedGridModel skipping(inner, {1, 2});
    EXPECT_EQ(skipping.columnCount(), 3);
    EXPECT_EQ(skipping.rowCount(), 2);
    EXPECT_EQ(skipping.createCell(0, 0)->text()->toStdString(), "0:0");
    EXPECT_EQ(skipping.createCell(2, 1)->text()->toStdString(), "2:3");
    TransposedGridModel outside(inner, {7, 9});
    EXPECT_EQ(outside.columnCount(), 4);
    EXPECT_EQ(outside.rowCount(), 3);
    TransposedGridModel narrow(make<SizedModel>(std::vector<std::int32_t>{30}, 4, 1, 1));
    EXPECT_EQ(narrow.columnWidth(0), TransposedGridModel::kDefaultWidth);
}

}  // namespace
}  // namespace qv
