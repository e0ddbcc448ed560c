#include "charts/ChartBox.h"

#include <algorithm>

namespace qv {

std::int32_t ChartBox::heightFor(std::int32_t width) noexcept {
    return width * 3 / 4;
}

toolkit::Size ChartBox::forWidth(std::int32_t widthHint) noexcept {
    std::int32_t width = std::clamp(widthHint, kNarrowest, kWidest);
    return {width, heightFor(width)};
}

toolkit::Size ChartBox::forSize(toolkit::Size size) noexcept {
    return {std::max(size.width, kNarrowest), std::max(size.height, heightFor(kNarrowest))};
}

void ChartBox::paint(toolkit::Graphics& graphics, ChartPlot& plot, const ChartModel& model,
                     const toolkit::Rect& area) {
    if (area.intersected(graphics.clip()).isEmpty()) return;
    toolkit::GraphicsScope scope(graphics, area);
    graphics.setColor(kBackground);
    graphics.fillRect(area);
    plot.paint(graphics, model, area);
}

}  // namespace qv
