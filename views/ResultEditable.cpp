#include "views/ResultEditable.h"

#include "charts/OneChartModel.h"
#include "core/ValueConversions.h"
#include "core/Vector.h"
#include "core/Warning.h"
#include "functions/Trajectory2D.h"
#include "kernel/ResultAccess.h"
#include "kernel/TableResult.h"
#include "kernel/TableResultSlices.h"
#include "views/ChartEditable.h"
#include "views/ErrorEditable.h"
#include "views/EvalMultiModel.h"
#include "views/EvalSingleModel.h"
#include "views/ExpressionViewSeek.h"
#include "views/TableEditable.h"
#include "views/TablesView.h"

namespace qv {

namespace {

// A vector is drawn as a chart only when it holds something to draw; a
// vector of plain values reads better as text.
bool holdsPlot(const Vector& items) {
    for (std::int32_t i = 0; i < items.size(); ++i) {
        if (is<Trajectory2D>(*items.elementAt(i))) return true;
    }
    return false;
}

// "Name[0]" is how the table-opening dialog names a table's heading view,
// yet in a formula index 0 reaches nothing (the formula row is "[base]"):
// such a text is read as the table's formula row, so the view shows the
// heading grid instead of an empty value.
Pointer<Object> headingRow(Kernel& kernel, const StringPointer& expression) {
    constexpr std::string_view kSuffix = "[0]";
    StringPointer trimmed = expression->trim();
    std::string_view text = trimmed->view();
    if (text.size() <= kSuffix.size() || !text.ends_with(kSuffix)) return {};
    auto table = cast<TableResult>(
        kernel.evaluateExpression(str(text.substr(0, text.size() - kSuffix.size()))));
    if (table.isNull()) return {};
    return make<TableResultRow>(table, 0);
}

}  // namespace

ResultEditable::ResultEditable(const Pointer<Kernel>& kernel, const StringPointer& expression,
                               const Pointer<GlobalSettings>& settings,
                               const Pointer<GridController>& controller)
    : m_kernel(kernel), m_expression(expression), m_settings(settings), m_controller(controller) {}

ResultEditable::ValueKind ResultEditable::kindOf(const Pointer<Object>& value) {
    if (is<Kernel>(*value)) return ValueKind::Tables;
    if (is<TableResult>(*value)) return ValueKind::Table;
    if (is<TableResultRow>(*value)) return ValueKind::Row;
    if (is<Trajectory2D>(*value)) return ValueKind::Chart;
    Pointer<Vector> items = cast<Vector>(value);
    if (!items.isNull() && holdsPlot(*items)) return ValueKind::Chart;
    return ValueKind::Text;
}

void ResultEditable::refresh() {
    Pointer<Object> value;
    try {
        value = m_kernel->evaluateExpression(m_expression);
        if (value.isNull()) value = headingRow(*m_kernel, m_expression);
    } catch (const StringPointer& message) {
        value = make<Warning>(message);
    }
    ValueKind kind = kindOf(value);
    if (m_rebuild || kind != m_kind || !acceptedByInnerView(kind, value)) {
        m_kind = kind;
        setInnerView(viewFor(kind, value));
    }
    m_rebuild = false;
}

bool ResultEditable::acceptedByInnerView(ValueKind kind, const Pointer<Object>& value) {
    const Pointer<AbstractEditable>& inner = innerView();
    if (inner.isNull()) return false;
    switch (kind) {
        case ValueKind::Table:
        case ValueKind::Tables:
        case ValueKind::Row:
            // The grid's model takes a new result of its own table (and a
            // heading grid the row's record).
            return cast<TableEditable>(inner)->acceptValue(value);
        case ValueKind::Chart:
            // A chart keeps no state of its own: a fresh one costs nothing.
            return false;
        case ValueKind::Text:
            cast<ErrorEditable>(inner)->setText(toText(value));
            return true;
    }
    return false;
}

Pointer<AbstractEditable> ResultEditable::viewFor(ValueKind kind,
                                                  const Pointer<Object>& value) const {
    Pointer<TableEditable> grid;
    switch (kind) {
        case ValueKind::Table:
            grid = make<TableEditable>(
                make<EvalMultiModel>(cast<TableResult>(value), m_settings, m_settings->zeroRow));
            break;
        case ValueKind::Row: {
            auto row = cast<TableResultRow>(value);
            auto model = make<EvalSingleModel>(row->table(), m_settings);
            model->setRecord(row->row());
            model->layout();
            grid = make<TableEditable>(model);
            break;
        }
        case ValueKind::Tables:
            grid = make<TableEditable>(make<TablesView>(m_kernel));
            break;
        case ValueKind::Chart:
            return make<ChartEditable>(make<OneChartModel>(m_expression, value));
        case ValueKind::Text:
            return make<ErrorEditable>(toText(value));
    }
    grid->setController(m_controller);
    return grid;
}

void ResultEditable::writeSource(std::string& out, std::int32_t) const {
    out += "result(";
    out += m_expression->view();
    out += ");\n";
}

void ResultEditable::setExpression(const StringPointer& expression) {
    m_expression = expression;
    m_rebuild = true;
}

void ResultEditable::notify(const Pointer<Object>& message) {
    if (auto seek = cast<ExpressionViewSeek>(message); !seek.isNull()) {
        seek->add(Pointer<AbstractEditable>(this));
        return;
    }
    InnerViewEditable::notify(message);
}

}  // namespace qv
