#include "charts/TableChartModel.h"

#include <string>

#include "language/AbstractExpression.h"

namespace qv {

StringPointer TableChartModel::textForm() const {
    std::string out;
    printName(out, m_table->name());
    return str(out);
}

std::vector<ChartSeries> TableChartModel::trajectories() const {
    std::vector<ChartSeries> series;
    for (std::int32_t field = 0; field < m_table->fieldCount(); ++field) {
        // The cell itself: the display form elides a compound value that
        // repeats down the column, and the chart would lose its curve.
        Pointer<Object> value = m_table->value(field, 0);
        if (!is<Trajectory2D>(*value)) continue;
        series.push_back({m_table->fieldName(field), cast<Trajectory2D>(value)});
    }
    return series;
}

}  // namespace qv
