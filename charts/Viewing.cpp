#include "charts/Viewing.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qv {
namespace {

constexpr double kFarthestPixel = 1 << 24;
constexpr double kLargest = std::numeric_limits<double>::max();

// The fit rules for one axis: equal bounds widened, then a tenth of the span
// added on each side; false when a bound or the pixels per unit
// (extent / span) come out infinite.
bool padAxis(double& low, double& high, double extent) noexcept {
    if (low == high) {
        // Far from zero 0.01 is below the spacing of doubles and would leave
        // a span of 0 (an infinite scale): widen by a hundredth of the value.
        double widen = low - 0.01 == low ? std::abs(low) * 0.01 : 0.01;
        low -= widen;
        high += widen;
    }
    double span = high - low;
    low -= span * 0.1;
    high += span * 0.1;
    return std::isfinite(low) && std::isfinite(high) && std::isfinite(extent / (high - low));
}

// Pads the bounds; when that overflows, pads them multiplied by 2^shift
// instead (chosen to bring the larger near 1) and returns the shift, leaving
// `low` and `high` in shifted units. `world*` get the padded bounds in world
// units, held within the doubles.
std::int32_t fitAxis(double& low, double& high, double extent, double& worldLow,
                     double& worldHigh) noexcept {
    double plainLow = low;
    double plainHigh = high;
    if (padAxis(plainLow, plainHigh, extent)) {
        low = worldLow = plainLow;
        high = worldHigh = plainHigh;
        return 0;
    }
    std::int32_t shift = -std::ilogb(std::max(std::abs(low), std::abs(high)));
    low = std::ldexp(low, shift);
    high = std::ldexp(high, shift);
    padAxis(low, high, extent);
    worldLow = std::clamp(std::ldexp(low, -shift), -kLargest, kLargest);
    worldHigh = std::clamp(std::ldexp(high, -shift), -kLargest, kLargest);
    return shift;
}

}  // namespace

void Viewing::resetBounds() noexcept {
    m_xMin = m_yMin = 1e10;
    m_xMax = m_yMax = -1e10;
    m_hasPoints = false;
}

void Viewing::includePoint(double x, double y) noexcept {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (!m_hasPoints) {
        m_xMin = m_xMax = x;
        m_yMin = m_yMax = y;
        m_hasPoints = true;
        return;
    }
    if (x < m_xMin) m_xMin = x;
    if (x > m_xMax) m_xMax = x;
    if (y < m_yMin) m_yMin = y;
    if (y > m_yMax) m_yMax = y;
}

void Viewing::fit(const toolkit::Rect& plot) noexcept {
    m_plot = plot;
    if (m_xMin > m_xMax) m_xMin = m_xMax = m_yMin = m_yMax = 0;
    double xLow = m_xMin, xHigh = m_xMax, yLow = m_yMin, yHigh = m_yMax;
    m_xShift = fitAxis(xLow, xHigh, plot.width, m_xMin, m_xMax);
    m_yShift = fitAxis(yLow, yHigh, plot.height, m_yMin, m_yMax);
    m_xScale = plot.width / (xHigh - xLow);
    m_xOffset = plot.x - xLow * m_xScale;
    m_yScale = plot.height / (yLow - yHigh);
    m_yOffset = plot.y - yHigh * m_yScale;
}

std::int32_t Viewing::toPixel(double value) noexcept {
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::clamp(value, -kFarthestPixel, kFarthestPixel));
}

}  // namespace qv
