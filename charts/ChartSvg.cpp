#include "charts/ChartSvg.h"

#include "charts/ChartPicture.h"
#include "charts/SvgGraphics.h"

namespace qv {

std::string chartToSvg(const Pointer<ChartModel>& model, toolkit::Size size) {
    ChartPicture picture(model, size);
    SvgGraphics graphics(picture.size());
    picture.paint(graphics);
    return graphics.document();
}

}  // namespace qv
