#include "charts/Viewing.h"

#include <algorithm>
#include <cmath>

namespace qv {
namespace {

// Bounds are held within this so that spans and the 10% padding stay finite.
constexpr double kLargestBound = 1e300;
constexpr double kFarthestPixel = 1 << 24;

// The first of the fit rules, then the padding, for one axis.
void padAxis(double& low, double& high) noexcept {
    low = std::clamp(low, -kLargestBound, kLargestBound);
    high = std::clamp(high, -kLargestBound, kLargestBound);
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
    padAxis(m_xMin, m_xMax);
    padAxis(m_yMin, m_yMax);
    m_xScale = plot.width / (m_xMax - m_xMin);
    m_xOffset = plot.x - m_xMin * m_xScale;
    m_yScale = plot.height / (m_yMin - m_yMax);
    m_yOffset = plot.y - m_yMax * m_yScale;
}

std::int32_t Viewing::toPixel(double value) noexcept {
    if (std::isnan(value)) return 0;
    return static_cast<std::int32_t>(std::clamp(value, -kFarthestPixel, kFarthestPixel));
}

}  // namespace qv
