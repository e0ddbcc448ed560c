// A chart drawn as a picture rather than in the work area: the chart view
// laid out at the picture's size and painted from the picture's corner, so
// every exported format shows what the work area shows.
#pragma once

#include "charts/ChartEditable.h"
#include "charts/ChartModel.h"
#include "toolkit/Graphics.h"

namespace qv {

class ChartPicture {
  public:
    // `size` is widened to the smallest the chart view allows.
    ChartPicture(const Pointer<ChartModel>& model, toolkit::Size size);

    toolkit::Size size() const noexcept;
    // Draws the whole chart on a surface of size(), from its top left corner.
    void paint(toolkit::Graphics& graphics) const;

  private:
    Pointer<ChartEditable> m_chart;
};

}  // namespace qv
