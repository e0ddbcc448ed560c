// What of a dense strip a picture can show. Past a few points per pixel
// column the segments between them repaint the same pixels and markers land
// on markers, so a long series is cut to what changes the picture: the
// screen and the SVG export both draw through this, and both stay the same
// picture at a size that follows the plot, not the series.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "charts/ChartPoint.h"
#include "toolkit/Geometry.h"

namespace qv {

// A strip of more points than the plot has pixel columns is thinned; a
// sparser one is drawn point by point.
bool denserThanColumns(std::int64_t points, const toolkit::Rect& plot) noexcept;

// The line through `run` (points that are all drawn, in order) with each
// stretch of consecutive points in one pixel column cut to its first, lowest,
// highest and last point, kept in the order they come. The path inside a
// column covers the pixels from its lowest to its highest point either way.
// `line` is cleared first; it is reused so thinning allocates nothing per
// point.
void thinLine(std::span<const ChartPoint> run, std::vector<toolkit::Point>& line);

// Remembers which pixels of a plot already hold a marker, so each is drawn
// once. Pixels outside the plot are never remembered.
class MarkerSieve {
  public:
    // Forgets every pixel and covers `plot`; a plot too large to remember
    // pixel by pixel remembers only the last marker.
    void reset(const toolkit::Rect& plot);
    // True the first time a pixel is offered.
    bool firstAt(toolkit::Point pixel);

  private:
    // Plots with more pixels than this remember only the last marker.
    static constexpr std::int64_t kMostPixels = std::int64_t{1} << 26;

    toolkit::Rect m_plot;
    std::vector<bool> m_seen;  // (width + 1) x (height + 1), row by row
    toolkit::Point m_last;
    bool m_hasLast = false;
};

}  // namespace qv
