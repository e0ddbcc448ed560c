// The drawing of a chart, shared by the chart view and the exported
// picture: the point list and strips rebuilt from a model, the viewing
// fitted to the plot rectangle, then the grid, the strips and the legend.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "charts/ChartModel.h"
#include "charts/ChartPoint.h"
#include "charts/Strip.h"
#include "charts/StripThinning.h"
#include "charts/Viewing.h"
#include "toolkit/Graphics.h"

namespace qv {

class ChartPlot {
  public:
    static constexpr std::int32_t kMarkerRadius = 2;

    // Fresh bounds, points and strips from the model's trajectories; a
    // trajectory without points gets no strip.
    void rebuild(const ChartModel& model);
    // Rebuilds, fits and draws into the plot rectangle.
    void paint(toolkit::Graphics& graphics, const ChartModel& model, const toolkit::Rect& plot);

    const Viewing& viewing() const noexcept { return *m_viewing; }
    const std::vector<ChartPoint>& points() const noexcept { return m_points; }
    const std::vector<Pointer<Strip>>& strips() const noexcept { return m_strips; }
    const std::vector<StringPointer>& names() const noexcept { return m_names; }

  private:
    // Point by point, or thinned when the strip is denser than the plot's
    // pixel columns.
    void paintStrip(toolkit::Graphics& graphics, const Strip& strip);
    void paintThinned(toolkit::Graphics& graphics, const StripPainter& painter,
                      std::span<const ChartPoint> points);
    // The field names in their strips' colours, at the plot's top right.
    void paintLegend(toolkit::Graphics& graphics) const;

    Pointer<Viewing> m_viewing = make<Viewing>();
    std::vector<ChartPoint> m_points;
    std::vector<Pointer<Strip>> m_strips;
    std::vector<StringPointer> m_names;  // one per strip
    std::vector<toolkit::Point> m_line;  // a thinned run, reused
    MarkerSieve m_sieve;
};

}  // namespace qv
