#include "charts/ChartFile.h"

#include "charts/SvgGraphics.h"
#include "core/Errors.h"
#include "core/FileWriter.h"

namespace qv {

namespace {

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    text.remove_prefix(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

// The file's content: the SVG text, or the PNG bytes of the picture.
std::string encoded(const ChartPicture& picture, ChartFileKind kind, const std::string& path,
                    const toolkit::ImageEncoder& encodePng) {
    if (kind == ChartFileKind::Svg) {
        SvgGraphics graphics(picture.size());
        picture.paint(graphics);
        return graphics.document();
    }
    std::string bytes;
    std::string reason;
    auto paint = [&picture](toolkit::Graphics& graphics) { picture.paint(graphics); };
    if (!encodePng(picture.size(), paint, bytes, reason))
        throwMessage("can not write to " + path + ": " + reason);
    return bytes;
}

}  // namespace

ChartFileKind chartFileKindOf(std::string_view path) {
    if (endsWithNoCase(path, ".png")) return ChartFileKind::Png;
    if (endsWithNoCase(path, ".svg")) return ChartFileKind::Svg;
    return ChartFileKind::Unknown;
}

std::optional<ChartFileFailure> writeChartFile(const ChartPicture& picture, const std::string& path,
                                               const toolkit::ImageEncoder& encodePng) {
    ChartFileKind kind = chartFileKindOf(path);
    if (kind == ChartFileKind::Unknown)
        return ChartFileFailure{
            true, "can not write " + path + ": a chart is written as a .png or an .svg file"};
    try {
        // A folder or a device in the file's place is refused before the
        // picture is painted.
        requireRegularTarget(path);
        writeFileWhole(path, encoded(picture, kind, path, encodePng));
    } catch (const StringPointer& message) {
        return ChartFileFailure{false, message->toStdString()};
    }
    return std::nullopt;
}

}  // namespace qv
