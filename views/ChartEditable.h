// The chart view of the work area: draws its model's trajectories over a
// grid with labelled ticks, rebuilt from the model on every paint so that it
// always shows the values as computed now.
#pragma once

#include "charts/ChartBox.h"
#include "charts/ChartModel.h"
#include "charts/ChartPlot.h"
#include "editing/AbstractEditable.h"

namespace qv {

class ChartEditable final : public AbstractEditable {
    QV_OBJECT(ChartEditable, AbstractEditable, "ChartEditable")
  public:
    static constexpr std::int32_t kNarrowest = ChartBox::kNarrowest;
    static constexpr std::int32_t kWidest = ChartBox::kWidest;

    explicit ChartEditable(const Pointer<ChartModel>& model);

    const Pointer<ChartModel>& model() const noexcept { return m_model; }
    const ChartPlot& plot() const noexcept { return m_plot; }
    void rebuild() { m_plot.rebuild(*m_model); }

    void refresh() override { repaint(); }
    void layoutWidth(std::int32_t widthHint) override;
    void layoutSize(toolkit::Size size) override;
    std::int32_t minimumWidth() const override { return kNarrowest; }
    std::int32_t maximumWidth() const override { return kWidest; }
    void paint(toolkit::Graphics& graphics, toolkit::Point origin) override;
    Pointer<Object> getObject() const override { return m_model; }
    StringPointer getTitle() const override;
    void writeSource(std::string& out, std::int32_t indent) const override;

  private:
    Pointer<ChartModel> m_model;
    ChartPlot m_plot;
};

}  // namespace qv
