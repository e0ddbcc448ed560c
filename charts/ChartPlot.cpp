#include "charts/ChartPlot.h"

#include <algorithm>
#include <cmath>

#include "charts/ChartAxes.h"

namespace qv {
namespace {

// Curves that share a chart differ by colour, so the legend can tell them
// apart; the first is the painter's default.
constexpr toolkit::Color kPalette[] = {
    SimpleStripPainter::kDefaultColor,
    {200, 60, 40},
    {40, 150, 70},
    {150, 70, 170},
    {220, 140, 20},
    {20, 150, 160},
};
constexpr std::int32_t kPaletteSize = sizeof kPalette / sizeof kPalette[0];
const toolkit::Font kLabelFont{"arial", 12, false};
constexpr std::int32_t kSwatchWidth = 12;

}  // namespace

void ChartPlot::rebuild(const ChartModel& model) {
    m_viewing = make<Viewing>();
    m_points.clear();
    m_strips.clear();
    m_names.clear();
    std::vector<ChartSeries> trajectories = model.trajectories();
    // One allocation for all the points: growing by doubling would hold the
    // old and the new array at once, half as much again for long series.
    std::size_t total = 0;
    for (const ChartSeries& series : trajectories)
        total += static_cast<std::size_t>(std::max(series.trajectory->pointCount(), 0));
    m_points.reserve(total);
    for (const ChartSeries& series : trajectories) {
        const Trajectory2D& trajectory = *series.trajectory;
        if (trajectory.pointCount() < 1) continue;
        auto first = static_cast<std::int32_t>(m_points.size());
        for (std::int32_t i = 0; i < trajectory.pointCount(); ++i) {
            double x = trajectory.xs()[i];
            double y = trajectory.ys()[i];
            m_points.push_back({x, y, {}});
            m_viewing->includePoint(x, y);
        }
        auto last = static_cast<std::int32_t>(m_points.size()) - 1;
        toolkit::Color color = kPalette[m_strips.size() % kPaletteSize];
        m_strips.push_back(
            make<Strip>(first, last, make<SimpleStripPainter>(kMarkerRadius, color)));
        m_names.push_back(series.name);
    }
}

void ChartPlot::paint(toolkit::Graphics& graphics, const ChartModel& model,
                      const toolkit::Rect& plot) {
    rebuild(model);
    m_viewing->fit(plot);
    for (ChartPoint& point : m_points) {
        if (point.drawn()) point.screen = {m_viewing->mapX(point.x), m_viewing->mapY(point.y)};
    }
    graphics.setFont(kLabelFont);
    paintAxes(graphics, *m_viewing);
    for (const Pointer<Strip>& strip : m_strips)
        paintStrip(graphics, *strip);
    paintLegend(graphics);
}

void ChartPlot::paintStrip(toolkit::Graphics& graphics, const Strip& strip) {
    const StripPainter& painter = *strip.painter();
    painter.selectColor(graphics);
    std::span<const ChartPoint> points(m_points.data() + strip.first(),
                                       static_cast<std::size_t>(strip.last() - strip.first() + 1));
    if (denserThanColumns(static_cast<std::int64_t>(points.size()), m_viewing->plot())) {
        paintThinned(graphics, painter, points);
        return;
    }
    for (std::int32_t i = strip.first() + 1; i <= strip.last(); ++i) {
        if (m_points[i - 1].drawn() && m_points[i].drawn())
            painter.drawSegment(graphics, m_points[i - 1].screen, m_points[i].screen);
    }
    for (std::int32_t i = strip.first(); i <= strip.last(); ++i) {
        if (m_points[i].drawn()) painter.drawPoint(graphics, m_points[i].screen);
    }
}

void ChartPlot::paintThinned(toolkit::Graphics& graphics, const StripPainter& painter,
                             std::span<const ChartPoint> points) {
    // Each unbroken run of drawn points is one line.
    for (std::size_t start = 0; start < points.size();) {
        std::size_t end = start;
        while (end < points.size() && points[end].drawn())
            ++end;
        if (end > start) {
            thinLine(points.subspan(start, end - start), m_line);
            for (std::size_t i = 1; i < m_line.size(); ++i)
                painter.drawSegment(graphics, m_line[i - 1], m_line[i]);
        }
        start = end + 1;
    }
    m_sieve.reset(m_viewing->plot());
    for (const ChartPoint& point : points) {
        if (point.drawn() && m_sieve.firstAt(point.screen))
            painter.drawPoint(graphics, point.screen);
    }
}

void ChartPlot::paintLegend(toolkit::Graphics& graphics) const {
    const toolkit::FontMetrics& metrics = graphics.metrics();
    std::int32_t widest = 0;
    for (const StringPointer& name : m_names)
        widest = std::max(widest, metrics.textWidth(name->view()));
    const toolkit::Rect& plot = m_viewing->plot();
    std::int32_t left = plot.right() - kGridMargin - widest - kSwatchWidth - 4;
    std::int32_t baseline = plot.y + kGridMargin + metrics.ascent();
    for (std::size_t i = 0; i < m_names.size(); ++i, baseline += metrics.height()) {
        // Names that would not fit above the bottom grid line are left out.
        if (baseline > plot.bottom() - kGridMargin) break;
        graphics.setColor(kPalette[i % kPaletteSize]);
        graphics.fillRect({left, baseline - metrics.ascent() / 2 - 1, kSwatchWidth, 3});
        graphics.drawText({left + kSwatchWidth + 4, baseline}, m_names[i]->view());
    }
}

}  // namespace qv
