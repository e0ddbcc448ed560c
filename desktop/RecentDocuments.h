// File > Recent: the list of the documents opened or saved last, most
// recent first, and the submenu made from it. Documents that are gone are
// shown greyed, and the submenu offers to drop them or the whole list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Menu.h"

namespace qv {

struct RecentMenuIds {
    // The n-th document (counted from 0) is chosen as firstDocument + n.
    std::int32_t firstDocument;
    std::int32_t removeMissing;
    std::int32_t clear;
};

using FileExists = std::function<bool(const std::string& path)>;

// Puts the document first, once, keeping at most UserSettings::kMaxRecent;
// false (and nothing changed) for a path the settings file cannot hold.
bool rememberRecent(std::vector<std::string>& recent, const std::string& absolutePath);
// Drops the documents that are gone; false when none was.
bool forgetMissing(std::vector<std::string>& recent, const FileExists& exists);

// "&1 /home/ada/loan.qvl": the number is the access key ("1&0" for the
// tenth); an "&" of the path is doubled so that it shows.
std::string recentCaption(std::size_t index, const std::string& path);
toolkit::MenuItem recentMenu(const std::vector<std::string>& recent, const RecentMenuIds& ids,
                             const FileExists& exists);

// A regular file at the path, a link to one included.
bool regularFileExists(const std::string& path);

}  // namespace qv
