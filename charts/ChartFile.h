// Writing a chart to a file, the one writer for the desktop's export, its
// chart command and the tool: an SVG picture, or a PNG image through the
// toolkit's image writer, chosen by the file's extension. Each caller words
// the failure its own way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "charts/ChartPicture.h"
#include "toolkit/ImageWriter.h"

namespace qv {

// The size of a chart written by the tools without a window: the chart
// view's widest box.
inline constexpr toolkit::Size kChartFileSize{640, 480};

enum class ChartFileKind { Png, Svg, Unknown };

// By the extension, in any letter case.
ChartFileKind chartFileKindOf(std::string_view path);

struct ChartFileFailure {
    // True when the file's name asks for neither kind: nothing was tried.
    bool unknownKind = false;
    // The reason the system or the image writer gave; "" when none.
    std::string reason;
};

// Writes the picture to `path`; nothing when the file was written. A file
// that could not be written whole is not left behind.
std::optional<ChartFileFailure> writeChartFile(const ChartPicture& picture, const std::string& path,
                                               const toolkit::ImageWriter& writePng);

}  // namespace qv
