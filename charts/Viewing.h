// The chart's world bounds and the mapping from world values to the pixels
// of the plot rectangle it was fitted to.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/Object.h"
#include "toolkit/Geometry.h"

namespace qv {

class Viewing final : public Object {
    QV_OBJECT(Viewing, Object, "Viewing")
  public:
    Viewing() { resetBounds(); }

    // No points yet: the minima above the maxima.
    void resetBounds() noexcept;
    // Widens the bounds to the point. The first point sets them, so values
    // beyond +-1e10 are not crushed against a bound no point reaches; a point
    // with a coordinate that is not finite is left out (it is drawn as a gap).
    void includePoint(double x, double y) noexcept;
    void fit(const toolkit::Rect& plot) noexcept;
    // Points, lines and tick labels all go through these, so whatever is
    // drawn agrees with the labels beside it.
    std::int32_t mapX(double x) const noexcept {
        return toPixel(shifted(x, m_xShift) * m_xScale + m_xOffset);
    }
    std::int32_t mapY(double y) const noexcept {
        return toPixel(shifted(y, m_yShift) * m_yScale + m_yOffset);
    }

    double xMin() const noexcept { return m_xMin; }
    double xMax() const noexcept { return m_xMax; }
    double yMin() const noexcept { return m_yMin; }
    double yMax() const noexcept { return m_yMax; }
    // Pixels per unit of the world value times 2 to the power of the shift.
    double xScale() const noexcept { return m_xScale; }
    double yScale() const noexcept { return m_yScale; }
    // 0 for ordinary bounds. Bounds near the ends of the doubles or a span so
    // narrow that its scale would be infinite (subnormal values) are mapped
    // after multiplying by 2 to this power, which is exact and brings them
    // near 1.
    std::int32_t xShift() const noexcept { return m_xShift; }
    std::int32_t yShift() const noexcept { return m_yShift; }
    const toolkit::Rect& plot() const noexcept { return m_plot; }

  private:
    // Truncated toward zero; values far outside any screen are held at a
    // distance the graphics backends still draw correctly.
    static std::int32_t toPixel(double value) noexcept;
    static double shifted(double value, std::int32_t shift) noexcept {
        return shift == 0 ? value : std::ldexp(value, shift);
    }

    double m_xMin = 0;
    double m_xMax = 0;
    double m_yMin = 0;
    double m_yMax = 0;
    double m_xScale = 0;
    double m_xOffset = 0;
    double m_yScale = 0;
    double m_yOffset = 0;
    std::int32_t m_xShift = 0;
    std::int32_t m_yShift = 0;
    bool m_hasPoints = false;
    toolkit::Rect m_plot;
};

}  // namespace qv
