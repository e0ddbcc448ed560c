// Fitting a text or a number into the width a cell or a label has. A value
// that is shown must never read as another value: a number too wide is
// rounded to the digits that fit (never cut, which would drop its end and
// change what it says), "###" stands where not even its whole part fits, and
// a text too wide ends with a visible mark. The grid, the chart's tick
// labels and printed output share these rules; the width of a text comes
// from the caller, in pixels or in characters.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

// The width of a text in the caller's units.
using TextWidth = std::function<std::int32_t(std::string_view)>;

// The mark that ends a text too wide: one character, the ellipsis.
inline constexpr std::string_view kCutMark = "\xE2\x80\xA6";

// How a number is written: the engineering format of result cells, or the
// shortest general form (as printf's %g writes it) of chart labels.
enum class NumberForm : std::uint8_t { Engineering, General };

// The text when it fits the budget; else its longest head (whole UTF-8
// characters) that fits with the mark after it; the empty text when not
// even the mark fits.
std::string fitText(std::string_view text, std::int32_t budget, const TextWidth& width);

// The number with `digits` significant digits (at most 10 in the
// engineering form) when it fits; else with the most digits that fit,
// rounded from the value; else as many "#" (up to three) as fit.
std::string fitNumber(double value, std::int32_t budget, const TextWidth& width,
                      NumberForm form = NumberForm::Engineering, std::int32_t digits = 10);

}  // namespace qv
