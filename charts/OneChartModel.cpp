#include "charts/OneChartModel.h"

#include <string>

#include "core/Vector.h"

namespace qv {

std::vector<ChartSeries> OneChartModel::trajectories() const {
    std::vector<ChartSeries> series;
    if (is<Trajectory2D>(*m_value)) {
        series.push_back({m_title, cast<Trajectory2D>(m_value)});
        return series;
    }
    Pointer<Vector> items = cast<Vector>(m_value);
    if (items.isNull()) return series;
    for (std::int32_t i = 0; i < items->size(); ++i) {
        Pointer<Object> item = items->elementAt(i);
        if (!is<Trajectory2D>(*item)) continue;
        series.push_back(
            {str(m_title->toStdString() + " " + std::to_string(i + 1)), cast<Trajectory2D>(item)});
    }
    return series;
}

}  // namespace qv
