#include "charts/ChartSvg.h"

#include "charts/ChartEditable.h"
#include "charts/SvgGraphics.h"

namespace qv {

std::string chartToSvg(const Pointer<ChartModel>& model, toolkit::Size size) {
    auto chart = make<ChartEditable>(model);
    chart->layoutSize(size);
    toolkit::Size drawn{chart->bounds().width, chart->bounds().height};
    SvgGraphics graphics(drawn);
    chart->paint(graphics, {0, 0});
    return graphics.document();
}

}  // namespace qv
