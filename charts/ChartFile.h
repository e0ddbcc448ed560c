// Writing a chart to a file, for the desktop's export, its chart command and
// the tool: an SVG picture, or a PNG image encoded by the toolkit, chosen by
// the file's extension, and written through the one file writer.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "charts/ChartPicture.h"
#include "toolkit/ImageEncoder.h"

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
    // The whole message, naming the file and the reason: the file writer's
    // (core/FileWriter.h), "can not write to PATH: REASON" when the image
    // could not be encoded, or "can not write PATH: a chart is written as a
    // .png or an .svg file".
    std::string message;
};

// Writes the picture to `path`; nothing when the file was written. On any
// failure the file is left as it was.
std::optional<ChartFileFailure> writeChartFile(const ChartPicture& picture, const std::string& path,
                                               const toolkit::ImageEncoder& encodePng);

}  // namespace qv
