#include "desktop/TablePrint.h"

#include <algorithm>

#include "views/GridPages.h"

namespace qv {

namespace {

const toolkit::Font kTitleFont{"arial", 18, true};
const toolkit::Font kFooterFont{"arial", 12, false};

}  // namespace

std::string TablePrint::pageNumberText(std::int64_t page, std::int64_t count) {
    return "Page " + std::to_string(page) + " of " + std::to_string(count);
}

toolkit::Size TablePrint::cellArea(toolkit::Size page) {
    return {std::max(1, page.width), std::max(1, page.height - kTitleHeight - kFooterHeight)};
}

std::string TablePrint::title() const {
    return m_grid->getTitle()->toStdString();
}

std::int64_t TablePrint::pageCount(toolkit::Size page) const {
    return GridPages(*m_grid, cellArea(page)).count();
}

bool TablePrint::paint(toolkit::PageSink& sink, const Progress& progress) const {
    toolkit::Size page = sink.pageSize();
    GridPages pages(*m_grid, cellArea(page));
    std::int64_t count = pages.count();
    for (std::int64_t index = 0; index < count; ++index) {
        if (progress && !progress(index + 1, count)) return false;
        toolkit::Graphics& graphics = sink.beginPage();
        paintPage(graphics, page, pages.page(index), index + 1, count);
        sink.endPage();
    }
    return true;
}

void TablePrint::paintPage(toolkit::Graphics& graphics, toolkit::Size page, const GridPage& cells,
                           std::int64_t number, std::int64_t count) const {
    // Paper is white whatever the screen's colours.
    const toolkit::Palette paper = toolkit::Palette::light();
    graphics.setColor(paper.text);
    graphics.setFont(kTitleFont);
    graphics.drawText({0, graphics.metrics().ascent()}, title());
    {
        toolkit::Size area = cellArea(page);
        toolkit::GraphicsScope scope(graphics, {0, kTitleHeight, area.width, area.height});
        m_grid->paintPage(graphics, {0, kTitleHeight}, cells);
    }
    graphics.setColor(paper.text);
    graphics.setFont(kFooterFont);
    std::string text = pageNumberText(number, count);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    graphics.drawText({(page.width - metrics.textWidth(text)) / 2, page.height - metrics.descent()},
                      text);
}

}  // namespace qv
