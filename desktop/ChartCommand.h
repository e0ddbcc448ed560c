// `quorvatelle --chart OUT FILE TABLE`: the chart of one table of a
// document written to a PNG or SVG file, without a window, by the same
// painting code as the chart view.
#pragma once

#include <cstdio>

#include "desktop/ProgramArguments.h"
#include "toolkit/ImageEncoder.h"

namespace qv {

// 0 when the file was written; 1 after telling `errors` why not (a document
// that can not be read, a table it does not have, a file that can not be
// written); no file is written then. PNG images are encoded by `encodePng`.
int runChartCommand(const ChartRequest& request, const toolkit::ImageEncoder& encodePng,
                    std::FILE* errors);

}  // namespace qv
