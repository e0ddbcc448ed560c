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
// The step for the bounds, also when their span exceeds the largest double.
double tickStepBetween(double low, double high) noexcept;
// Values nearer zero than this read "0" on an axis whose step is not tiny.
inline constexpr double kNearZero = 1e-10;
// The tick value in the shortest general form with `digits` significant
// digits; a subnormal value, which holds fewer, gets the digits that tell
// ticks `step` apart. Values within kNearZero of zero read "0", and on axes
// whose step is below 1e-4 only values within a millionth of the step, so
// tiny spans keep their labels.
std::string tickLabel(double value, std::int32_t digits, double step = 1);

// Horizontal lines with labels for the y ticks, then vertical ones for x.
void paintAxes(toolkit::Graphics& graphics, const Viewing& viewing);

}  // namespace qv
