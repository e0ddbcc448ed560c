#include "desktop/ControlPainting.h"

namespace qv {

namespace {

// The tick is a fixed shape, 7 by 6 pixels, whatever the size of the box.
constexpr std::int32_t kTickWidth = 7;
constexpr std::int32_t kTickHeight = 6;

}  // namespace

std::int32_t centredBaseline(const toolkit::Rect& area, const toolkit::FontMetrics& metrics) {
    return area.y + (area.height + metrics.ascent() - metrics.descent()) / 2;
}

void paintPushButton(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                     const toolkit::Rect& area, std::string_view caption, toolkit::Color frame) {
    const toolkit::FontMetrics& metrics = graphics.metrics();
    graphics.setColor(colors.shade(3));
    graphics.fillRect(area);
    graphics.setColor(frame);
    graphics.drawRect({area.x, area.y, area.width - 1, area.height - 1});
    std::int32_t width = metrics.textWidth(caption);
    graphics.setColor(colors.text);
    graphics.drawText({area.x + (area.width - width) / 2, centredBaseline(area, metrics)}, caption);
}

void paintCheckSquare(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      const toolkit::Rect& box, bool checked) {
    graphics.setColor(colors.view);
    graphics.fillRect(box);
    graphics.setColor(colors.edge);
    graphics.drawRect(box);
    if (!checked) return;
    std::int32_t x = box.x + (box.width - kTickWidth) / 2;
    std::int32_t y = box.y + (box.height - kTickHeight) / 2;
    graphics.setColor(colors.text);
    const toolkit::Point tick[] = {{x, y + 3}, {x + 2, y + 6}, {x + 7, y}};
    graphics.drawPolyline(tick);
}

}  // namespace qv
