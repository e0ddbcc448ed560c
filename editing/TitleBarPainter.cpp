#include "editing/TitleBarPainter.h"

namespace qv {

namespace {

void outline(toolkit::Graphics& graphics, std::int32_t x, std::int32_t y, std::int32_t width,
             std::int32_t height) {
    graphics.drawRect({x, y, width, height});
}

}  // namespace

// Icons in the square's inner area, 3 pixels in from its edges: a cross
// (close), a full window with a heavy top (maximize), a smaller window
// (optimize, the view's own size) and two overlapping windows (float).
void paintTitleButton(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      TitleButton button, const toolkit::Rect& area, bool active) {
    graphics.setColor(active ? colors.selection : colors.shade(3));
    graphics.fillRect(area);
    graphics.setColor(colors.edge);
    outline(graphics, area.x, area.y, area.width - 1, area.height - 1);
    graphics.setColor(colors.text);
    const std::int32_t left = area.x + 3;
    const std::int32_t top = area.y + 3;
    const std::int32_t right = area.right() - 4;
    const std::int32_t bottom = area.bottom() - 4;
    const std::int32_t side = right - left;
    switch (button) {
        case TitleButton::Close:
            graphics.drawLine({left + 1, top + 1}, {right - 1, bottom - 1});
            graphics.drawLine({left + 1, bottom - 1}, {right - 1, top + 1});
            break;
        case TitleButton::Maximize:
            outline(graphics, left, top, side, bottom - top);
            graphics.drawLine({left, top + 1}, {right, top + 1});
            break;
        case TitleButton::Optimize:
            outline(graphics, left + side / 4, top + side / 4, side / 2, (bottom - top) / 2);
            break;
        case TitleButton::Float:
            outline(graphics, left + side / 3, top, side - side / 3, (bottom - top) * 2 / 3);
            graphics.setColor(active ? colors.selection : colors.shade(3));
            graphics.fillRect({left, top + side / 3, side * 2 / 3, (bottom - top) * 2 / 3});
            graphics.setColor(colors.text);
            outline(graphics, left, top + side / 3, side * 2 / 3, (bottom - top) * 2 / 3);
            break;
    }
}

}  // namespace qv
