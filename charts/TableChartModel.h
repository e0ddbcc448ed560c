// The chart of a table: the trajectories its fields hold in record 0, in
// field order, named by their fields.
#pragma once

#include "charts/ChartModel.h"
#include "kernel/TableResult.h"

namespace qv {

class TableChartModel final : public ChartModel {
    QV_OBJECT(TableChartModel, ChartModel, "TableChartModel")
  public:
    explicit TableChartModel(const Pointer<TableResult>& table) : m_table(table) {}

    const Pointer<TableResult>& table() const noexcept { return m_table; }
    // The name as a table header writes it, so the directive reads back.
    StringPointer textForm() const override;
    StringPointer title() const override { return m_table->name(); }
    std::vector<ChartSeries> trajectories() const override;

  private:
    Pointer<TableResult> m_table;
};

}  // namespace qv
