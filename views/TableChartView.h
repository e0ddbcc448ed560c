// The chart of a table named in the document: at every refresh the table's
// current result is looked up again and drawn by a fresh ChartEditable, so
// the chart follows edits of the program. A table renamed since keeps its
// chart: the view follows it by its place in the program and writes the
// new name.
#pragma once

#include "kernel/Kernel.h"
#include "views/InnerViewEditable.h"

namespace qv {

class TableChartView final : public InnerViewEditable {
    QV_OBJECT(TableChartView, InnerViewEditable, "TableChartView")
  public:
    TableChartView(const Pointer<Kernel>& kernel, const StringPointer& tableName);

    const StringPointer& tableName() const noexcept { return m_name; }

    void refresh() override;
    StringPointer getTitle() const override;
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    Pointer<Kernel> m_kernel;
    StringPointer m_name;
    std::int32_t m_index;
};

}  // namespace qv
