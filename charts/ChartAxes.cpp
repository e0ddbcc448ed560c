#include "charts/ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/FitText.h"

namespace qv {
namespace {

constexpr toolkit::Color kGridColor = toolkit::Color::grey(215);
constexpr toolkit::Color kLabelColor = toolkit::Color::grey(70);
// Room kept free between an x label and the next one.
constexpr std::int32_t kLabelGap = 6;

// A tick's label in the room it has: rounded to the digits that fit, so
// that it never runs into the next label nor reads as another value.
std::string fittedLabel(const toolkit::Graphics& graphics, double value, std::int32_t digits,
                        std::int32_t budget) {
    std::string label = tickLabel(value, digits);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    if (metrics.textWidth(label) <= budget) return label;
    TextWidth width = [&metrics](std::string_view text) { return metrics.textWidth(text); };
    return fitNumber(value, budget, width, NumberForm::General, digits);
}

// The first tick at or below `low`, or NaN when there is none to draw.
double firstTick(double low, double step) noexcept {
    if (!(step > 0)) return NAN;
    double first = std::floor(low / step) * step;
    return std::isfinite(first) ? first : NAN;
}

void paintYAxis(toolkit::Graphics& graphics, const Viewing& viewing) {
    const toolkit::Rect& plot = viewing.plot();
    double step = tickStep(viewing.yMax() - viewing.yMin());
    double first = firstTick(viewing.yMin(), step);
    if (std::isnan(first)) return;
    for (std::int32_t k = 0; k < kMaxTicks; ++k) {
        double value = first + k * step;
        std::int32_t row = viewing.mapY(value);
        if (row > plot.bottom() - kGridMargin) continue;
        if (row < plot.y + kGridMargin) break;
        graphics.setColor(kGridColor);
        graphics.drawLine({plot.x + kGridMargin, row}, {plot.right() - kGridMargin, row});
        graphics.setColor(kLabelColor);
        graphics.drawText({plot.x, row + 5}, fittedLabel(graphics, value, 10, plot.width));
    }
}

void paintXAxis(toolkit::Graphics& graphics, const Viewing& viewing) {
    const toolkit::Rect& plot = viewing.plot();
    double step = tickStep(viewing.xMax() - viewing.xMin());
    double first = firstTick(viewing.xMin(), step);
    if (std::isnan(first)) return;
    for (std::int32_t k = 0; k < kMaxTicks; ++k) {
        double value = first + k * step;
        if (value >= viewing.xMax()) break;
        std::int32_t column = viewing.mapX(value);
        if (column < plot.x + kGridMargin) continue;
        if (column > plot.right() - kGridMargin) break;
        graphics.setColor(kGridColor);
        graphics.drawLine({column, plot.y + kGridMargin}, {column, plot.bottom() - kGridMargin});
        graphics.setColor(kLabelColor);
        std::int32_t left = column - 3;
        std::int32_t room =
            std::min(viewing.mapX(value + step) - column - kLabelGap, plot.right() - left);
        graphics.drawText({left, plot.bottom() - 4}, fittedLabel(graphics, value, 13, room));
    }
}

}  // namespace

double tickStep(double span) noexcept {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    double step = std::pow(10.0, std::floor(std::log10(span)));
    double ratio = span / step;
    if (ratio < 5) step *= ratio <= 2 ? 0.2 : 0.5;
    return step;
}

std::string tickLabel(double value, std::int32_t digits) {
    if (value > -1e-10 && value < 1e-10) return "0";
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", static_cast<int>(digits), value);
    return text;
}

void paintAxes(toolkit::Graphics& graphics, const Viewing& viewing) {
    paintYAxis(graphics, viewing);
    paintXAxis(graphics, viewing);
}

}  // namespace qv
