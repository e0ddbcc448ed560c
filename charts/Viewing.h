// The chart's world bounds and the mapping from world values to the pixels
// of the plot rectangle it was fitted to.
#pragma once

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
    std::int32_t mapX(double x) const noexcept { return toPixel(x * m_xScale + m_xOffset); }
    std::int32_t mapY(double y) const noexcept { return toPixel(y * m_yScale + m_yOffset); }

    double xMin() const noexcept { return m_xMin; }
    double xMax() const noexcept { return m_xMax; }
    double yMin() const noexcept { return m_yMin; }
    double yMax() const noexcept { return m_yMax; }
    double xScale() const noexcept { return m_xScale; }
    double yScale() const noexcept { return m_yScale; }
    const toolkit::Rect& plot() const noexcept { return m_plot; }

  private:
    // Truncated toward zero; values far outside any screen are held at a
    // distance the graphics backends still draw correctly.
    static std::int32_t toPixel(double value) noexcept;

    double m_xMin = 0;
    double m_xMax = 0;
    double m_yMin = 0;
    double m_yMax = 0;
    double m_xScale = 0;
    double m_xOffset = 0;
    double m_yScale = 0;
    double m_yOffset = 0;
    bool m_hasPoints = false;
    toolkit::Rect m_plot;
};

}  // namespace qv
