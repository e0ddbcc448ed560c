#include "views/TableChartView.h"

#include "charts/TableChartModel.h"
#include "views/ChartEditable.h"
#include "views/ErrorEditable.h"
#include "views/TableControllers.h"

namespace qv {

TableChartView::TableChartView(const Pointer<Kernel>& kernel, const StringPointer& tableName)
    : m_kernel(kernel), m_name(tableName), m_index(kernel->getTableIndex(tableName->view())) {}

void TableChartView::refresh() {
    std::int32_t index = m_kernel->getTableIndex(m_name->view());
    if (index < 0 && m_index < m_kernel->getTableCount()) index = m_index;
    Pointer<TableResult> table = index < 0 ? Pointer<TableResult>() : m_kernel->getTable(index);
    if (table.isNull()) {
        setInnerView(make<ErrorEditable>(str("table not found")));
        return;
    }
    m_index = index;
    m_name = table->name();
    setInnerView(make<ChartEditable>(make<TableChartModel>(table)));
}

StringPointer TableChartView::getTitle() const {
    return str(m_name->toStdString() + " chart view");
}

void TableChartView::writeSource(std::string& out, std::int32_t) const {
    out += "chart(" + tableReference(m_name) + ");\n";
}

}  // namespace qv
