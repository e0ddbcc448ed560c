// The texts that name the current document to the user: the window's
// title and the name the save question uses. A document read from no file
// (the default document, or one whose file was never written) is untitled.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

inline constexpr std::string_view kProductName = "Quorvatelle";

// The part of the path after its last separator; both '/' and '\\' count,
// so a path written on another system still shows its file's name.
std::string displayNameOf(std::string_view path);

// "NAME", " * " when modified, " - Quorvatelle", then "[TITLE]" for every
// maximized view; NAME is "Untitled" for an untitled document.
std::string windowTitleOf(const std::optional<std::string>& path, bool modified,
                          const std::vector<std::string>& maximizedViewTitles);

// The full path, or "The untitled file".
std::string promptNameOf(const std::optional<std::string>& path);

// The question asked before a modified document is replaced or closed.
std::string savePromptOf(const std::optional<std::string>& path);

}  // namespace qv
