#include "desktop/UserGuide.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "desktop/DocumentTitle.h"

namespace qv {

namespace {

std::string executableFolder() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().string();
}

bool isReadableFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    return std::ifstream(path).good();
}

}  // namespace

GuideFolders defaultGuideFolders() {
    GuideFolders places;
    std::string program = executableFolder();
    if (!program.empty()) {
        places.folders.push_back(program);
        // An installed program moved or installed to another prefix than the
        // one it was built for still finds the guide beside it.
        places.folders.push_back(
            (std::filesystem::path(program) / QV_GUIDE_FROM_PROGRAM).lexically_normal().string());
    }
    places.folders.emplace_back(QV_GUIDE_INSTALL_FOLDER);
    places.folders.emplace_back(QV_GUIDE_SOURCE_FOLDER);
    return places;
}

std::optional<std::string> findUserGuide(const GuideFolders& places) {
    for (const std::string& folder : places.folders) {
        std::filesystem::path index = std::filesystem::path(folder) / "docs" / "index.html";
        if (!isReadableFile(index)) continue;
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(index, error);
        return (error ? index : absolute.lexically_normal()).string();
    }
    return std::nullopt;
}

void openUserGuide(toolkit::Window& window, const GuideFolders& places) {
    std::optional<std::string> index = findUserGuide(places);
    if (!index) {
        window.showMessageBox(kGuideMissingNotice, kProductName, toolkit::MessageBoxKind::Notice);
        return;
    }
    if (!window.openWithSystem(*index)) {
        window.showMessageBox("Could not open the HTML Documentation: " + *index, kProductName,
                              toolkit::MessageBoxKind::Notice);
    }
}

}  // namespace qv
