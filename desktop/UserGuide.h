// The user guide: HTML pages installed with the program. The Help menu's
// two items open its index with the program the system has for HTML.
// The guide is looked for next to the program first (a build folder, or a
// program unpacked anywhere), then where an installation puts it relative
// to the program (PREFIX/bin/../share/quorvatelle, whatever the prefix),
// then in the folder it was configured to be installed to, then in the
// source tree the program was built from.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Window.h"

namespace qv {

inline constexpr std::string_view kGuideMissingNotice =
    "Could not find the HTML Documentation. To view the HTML Documentation, reinstall "
    "Quorvatelle, and select the help/ HTML Documentation again.";

// The folders that may hold docs/index.html, in the order they are tried.
struct GuideFolders {
    std::vector<std::string> folders;
};

// The running program's folder, the share folder relative to it, the
// configured share folder and the source tree; a folder that cannot be
// found is left out.
GuideFolders defaultGuideFolders();

// The first FOLDER/docs/index.html that is a readable file.
std::optional<std::string> findUserGuide(const GuideFolders& places);

// Opens the guide's index; shows a notice when it cannot be found or
// nothing can open it. Serves "&Html Documentation" and "&Browse
// Quorvatelle web site...".
void openUserGuide(toolkit::Window& window, const GuideFolders& places);

}  // namespace qv
