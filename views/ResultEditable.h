// The result view: the value of one expression text, evaluated by the
// kernel at every refresh and shown in the inner view that suits it — a
// detailed grid for a table, a heading grid for a row, the list of tables
// for "tables", a chart for a plot value or a vector holding plot values,
// and the value's text for anything else. It keeps only the text; all it
// shows is computed again at the refresh, never while painting.
#pragma once

#include <cstdint>

#include "kernel/Kernel.h"
#include "views/GlobalSettings.h"
#include "views/GridController.h"
#include "views/InnerViewEditable.h"

namespace qv {

class ResultEditable final : public InnerViewEditable {
    QV_OBJECT(ResultEditable, InnerViewEditable, "ResultEditable")
  public:
    // What the inner view shows.
    enum class ValueKind : std::int32_t { Table, Row, Tables, Chart, Text };

    // `controller`, when given, is told of the lines activated in the inner
    // grids (the list of tables opens a table from it).
    ResultEditable(const Pointer<Kernel>& kernel, const StringPointer& expression,
                   const Pointer<GlobalSettings>& settings,
                   const Pointer<GridController>& controller = {});

    const StringPointer& expression() const noexcept { return m_expression; }
    // A rename rewrites the names in it; the next refresh shows its value.
    void setExpression(const StringPointer& expression);
    const Pointer<Kernel>& kernel() const noexcept { return m_kernel; }
    // The kind of the inner view; Text before the first refresh.
    ValueKind shownKind() const noexcept { return m_kind; }

    static ValueKind kindOf(const Pointer<Object>& value);

    // Evaluates the expression and hands the value to the inner view, or
    // builds a new one when the value needs another kind of view.
    void refresh() override;
    StringPointer getTitle() const override { return m_expression; }
    void writeSource(std::string& out, std::int32_t indent) const override;
    void notify(const Pointer<Object>& message) override;

  private:
    bool acceptedByInnerView(ValueKind kind, const Pointer<Object>& value);
    Pointer<AbstractEditable> viewFor(ValueKind kind, const Pointer<Object>& value) const;

    Pointer<Kernel> m_kernel;
    StringPointer m_expression;
    Pointer<GlobalSettings> m_settings;
    Pointer<GridController> m_controller;
    ValueKind m_kind = ValueKind::Text;
    bool m_rebuild = true;
};

}  // namespace qv
