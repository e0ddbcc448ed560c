// The chart of one value, for the result view of an expression: a
// trajectory, or a vector whose trajectories share the chart (its other
// items are skipped).
#pragma once

#include "charts/ChartModel.h"

namespace qv {

class OneChartModel final : public ChartModel {
    QV_OBJECT(OneChartModel, ChartModel, "OneChartModel")
  public:
    OneChartModel(const StringPointer& title, const Pointer<Object>& value)
        : m_title(title), m_value(value) {}

    const Pointer<Object>& value() const noexcept { return m_value; }
    StringPointer textForm() const override { return m_title; }
    StringPointer title() const override { return m_title; }
    // Named by the title; the curves of a vector by the title and their
    // position from 1.
    std::vector<ChartSeries> trajectories() const override;

  private:
    StringPointer m_title;
    Pointer<Object> m_value;
};

}  // namespace qv
