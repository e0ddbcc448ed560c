#include "desktop/DocumentTitle.h"

namespace qv {

std::string displayNameOf(std::string_view path) {
    std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string_view::npos) return std::string(path);
    return std::string(path.substr(separator + 1));
}

std::string windowTitleOf(const std::optional<std::string>& path, bool modified,
                          const std::vector<std::string>& maximizedViewTitles) {
    std::string title = path ? displayNameOf(*path) : "Untitled";
    if (modified) title += " * ";
    title += " - ";
    title += kProductName;
    for (const std::string& view : maximizedViewTitles) {
        title += '[';
        title += view;
        title += ']';
    }
    return title;
}

std::string promptNameOf(const std::optional<std::string>& path) {
    return path ? *path : "The untitled file";
}

std::string savePromptOf(const std::optional<std::string>& path) {
    return promptNameOf(path) + " has changed,\n\nDo you want to save it?";
}

}  // namespace qv
