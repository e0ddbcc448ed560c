#include "charts/ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/FitText.h"

namespace qv {
namespace {

constexpr toolkit::Color kGridColor = toolkit::Color::grey(215);
constexpr toolkit::Color kLabelColor = toolkit::Color::grey(70);
// Room kept free between an x label and the next one.
constexpr std::int32_t kLabelGap = 6;

// A tick's label in the room it has: rounded to the digits that fit, so
// that it never runs into the next label nor reads as another value.
std::string fittedLabel(const toolkit::Graphics& graphics, double value, double step,
                        std::int32_t digits, std::int32_t budget) {
    std::string label = tickLabel(value, digits, step);
    const toolkit::FontMetrics& metrics = graphics.metrics();
    if (metrics.textWidth(label) <= budget) return label;
    TextWidth width = [&metrics](std::string_view text) { return metrics.textWidth(text); };
    return fitNumber(value, budget, width, NumberForm::General, digits);
}

// The first tick at or below `low` (at or above it when the one below lies
// beyond the doubles), or NaN when there is none to draw.
double firstTick(double low, double step) noexcept {
    if (!(step > 0)) return NAN;
    double first = std::floor(low / step) * step;
    if (!std::isfinite(first)) first = std::ceil(low / step) * step;
    return std::isfinite(first) ? first : NAN;
}

// 1, 2 or 5 times `power`, whichever gives between 5 and 10 ticks over a
// span `ratio` times the power.
double roundStep(double power, double ratio) noexcept {
    if (ratio < 5) power *= ratio <= 2 ? 0.2 : 0.5;
    return power;
}

void paintYAxis(toolkit::Graphics& graphics, const Viewing& viewing) {
    const toolkit::Rect& plot = viewing.plot();
    double step = tickStepBetween(viewing.yMin(), viewing.yMax());
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
        graphics.drawText({plot.x, row + 5}, fittedLabel(graphics, value, step, 10, plot.width));
    }
}

void paintXAxis(toolkit::Graphics& graphics, const Viewing& viewing) {
    const toolkit::Rect& plot = viewing.plot();
    double step = tickStepBetween(viewing.xMin(), viewing.xMax());
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
        graphics.drawText({left, plot.bottom() - 4}, fittedLabel(graphics, value, step, 13, room));
    }
}

}  // namespace

double tickStep(double span) noexcept {
    if (!(span > 0) || !std::isfinite(span)) return 0;
    double power = std::pow(10.0, std::floor(std::log10(span)));
    double step = roundStep(power, span / power);
    // A span of a few of the smallest subnormals: no step below them exists.
    return step > 0 ? step : std::numeric_limits<double>::denorm_min();
}

double tickStepBetween(double low, double high) noexcept {
    double span = high - low;
    if (!std::isfinite(span) && std::isfinite(low) && std::isfinite(high) && low < high) {
        // Wider than the largest double: work from half the span, which is not.
        double half = high / 2 - low / 2;
        double power = std::pow(10.0, std::floor(std::log10(half) + std::log10(2.0)));
        return roundStep(power, half / power * 2);
    }
    return tickStep(span);
}

std::string tickLabel(double value, std::int32_t digits, double step) {
    // Rounding noise on a tick that should be 0 is far below its step.
    double zero = std::min(kNearZero, step * 1e-6);
    if (value == 0 || (value > -zero && value < zero)) return "0";
    // Subnormal values hold fewer digits than a double's: show the digits
    // that tell one tick from the next, not the error of the power of ten
    // the step approximates.
    if (std::abs(value) < std::numeric_limits<double>::min()) {
        double steps = std::abs(value) / std::max(step, std::numeric_limits<double>::denorm_min());
        // Below one step (or no step to speak of) one digit is all there is.
        if (!(steps >= 1))
            digits = 1;
        else
            digits = std::clamp(static_cast<std::int32_t>(std::log10(steps)) + 2, 1, digits);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", static_cast<int>(digits), value);
    return text;
}

void paintAxes(toolkit::Graphics& graphics, const Viewing& viewing) {
    paintYAxis(graphics, viewing);
    paintXAxis(graphics, viewing);
}

}  // namespace qv
