// The grid and tick labels of the chart's axes: the tick step for a span,
// the label of a tick value, and the drawing of both axes.
#pragma once

#include <cstdint>
#include <string>

#include "charts/Viewing.h"
#include "toolkit/Graphics.h"

namespace qv {

// At most this many ticks are walked per axis, so that no plot size or value
// range (a span below the spacing of doubles far from zero, say) can make the
// walk run on.
inline constexpr std::int32_t kMaxTicks = 300;
// Grid lines keep this far from the plot's edges.
inline constexpr std::int32_t kGridMargin = 20;

// A round step of 1, 2 or 5 times a power of ten for the span; 0 when the
// span is not a positive finite number.
double tickStep(double span) noexcept;
// The tick value in the shortest general form with `digits` significant
// digits; values within 1e-10 of zero read "0".
std::string tickLabel(double value, std::int32_t digits);

// Horizontal lines with labels for the y ticks, then vertical ones for x.
void paintAxes(toolkit::Graphics& graphics, const Viewing& viewing);

}  // namespace qv
