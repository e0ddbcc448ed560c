// A chart drawn as a picture rather than in the work area: the chart's box
// at the picture's size, painted from the picture's corner as the chart view
// paints it, so every exported format shows what the work area shows.
#pragma once

#include "charts/ChartModel.h"
#include "charts/ChartPlot.h"
#include "toolkit/Graphics.h"

namespace qv {

class ChartPicture {
  public:
    // `size` is widened to the smallest a chart takes.
    ChartPicture(const Pointer<ChartModel>& model, toolkit::Size size);

    toolkit::Size size() const noexcept;
    // Draws the whole chart on a surface of size(), from its top left corner.
    void paint(toolkit::Graphics& graphics) const;

  private:
    Pointer<ChartModel> m_model;
    toolkit::Size m_size;
    // Rebuilt from the model on every paint, which leaves the picture as it was.
    mutable ChartPlot m_plot;
};

}  // namespace qv
