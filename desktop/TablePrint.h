// The pages of a printed grid: the grid's title on top of every page, its
// cells cut into pages (GridPages) and painted by the grid itself, and
// "Page 3 of 40" at the foot. The same pages go to the printer and into a
// PDF.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/PageSink.h"
#include "views/TableEditable.h"

namespace qv {

class TablePrint {
  public:
    static constexpr std::int32_t kTitleHeight = 30;
    static constexpr std::int32_t kFooterHeight = 24;
    // A4 inside margins of 15 mm at 96 pixels an inch: the page the print
    // dialog and a PDF start with.
    static constexpr toolkit::Size kA4Page{680, 1009};
    // Told before each page with its number (from 1) and the count; false
    // stops the printing.
    using Progress = std::function<bool(std::int64_t page, std::int64_t count)>;

    explicit TablePrint(Pointer<TableEditable> grid) : m_grid(std::move(grid)) {}

    static std::string pageNumberText(std::int64_t page, std::int64_t count);
    // The part of a page the cells get.
    static toolkit::Size cellArea(toolkit::Size page);
    std::string title() const;
    // How many pages of `page` the grid makes.
    std::int64_t pageCount(toolkit::Size page) const;

    // Every page into `sink`; false when `progress` stopped it.
    bool paint(toolkit::PageSink& sink, const Progress& progress = {}) const;

  private:
    void paintPage(toolkit::Graphics& graphics, toolkit::Size page, const GridPage& cells,
                   std::int64_t number, std::int64_t count) const;

    Pointer<TableEditable> m_grid;
};

}  // namespace qv
