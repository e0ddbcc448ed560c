#include "charts/ChartFile.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "charts/SvgGraphics.h"

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

ChartFileFailure systemFailure(int error) {
    return {false, error > 0 ? std::generic_category().message(error) : std::string()};
}

// The whole text or nothing: a partly written file is removed.
std::optional<ChartFileFailure> writeText(const std::string& path, const std::string& text) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return systemFailure(errno);
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written) return std::nullopt;
    std::remove(path.c_str());
    return systemFailure(error);
}

}  // namespace

ChartFileKind chartFileKindOf(std::string_view path) {
    if (endsWithNoCase(path, ".png")) return ChartFileKind::Png;
    if (endsWithNoCase(path, ".svg")) return ChartFileKind::Svg;
    return ChartFileKind::Unknown;
}

std::optional<ChartFileFailure> writeChartFile(const ChartPicture& picture, const std::string& path,
                                               const toolkit::ImageWriter& writePng) {
    switch (chartFileKindOf(path)) {
        case ChartFileKind::Svg: {
            SvgGraphics graphics(picture.size());
            picture.paint(graphics);
            return writeText(path, graphics.document());
        }
        case ChartFileKind::Png: {
            std::string reason;
            auto paint = [&picture](toolkit::Graphics& graphics) { picture.paint(graphics); };
            if (writePng(path, picture.size(), paint, reason)) return std::nullopt;
            return ChartFileFailure{false, reason};
        }
        case ChartFileKind::Unknown:
            break;
    }
    return ChartFileFailure{true, {}};
}

}  // namespace qv
