// A chart as an SVG picture, painted by the chart view itself onto an SVG
// surface, so the export shows what the work area shows.
#pragma once

#include <string>

#include "charts/ChartModel.h"
#include "toolkit/Geometry.h"

namespace qv {

std::string chartToSvg(const Pointer<ChartModel>& model, toolkit::Size size);

}  // namespace qv
