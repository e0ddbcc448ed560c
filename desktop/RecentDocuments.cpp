#include "desktop/RecentDocuments.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "desktop/UserSettings.h"

namespace qv {

namespace {

// Long paths keep their start and their file name.
constexpr std::size_t kCaptionPathLimit = 90;

std::string shortened(const std::string& path) {
    if (path.size() <= kCaptionPathLimit) return path;
    std::size_t keep = kCaptionPathLimit / 2 - 2;
    // Cut on character boundaries: never inside a UTF-8 sequence.
    std::size_t head = keep;
    while (head > 0 && (static_cast<unsigned char>(path[head]) & 0xC0) == 0x80)
        --head;
    std::size_t tail = path.size() - keep;
    while (tail < path.size() && (static_cast<unsigned char>(path[tail]) & 0xC0) == 0x80)
        ++tail;
    return path.substr(0, head) + "..." + path.substr(tail);
}

toolkit::MenuItem entry(std::string caption, std::int32_t id, bool enabled) {
    toolkit::MenuItem item{std::move(caption), id, {}, {}};
    item.enabled = enabled;
    return item;
}

}  // namespace

bool rememberRecent(std::vector<std::string>& recent, const std::string& absolutePath) {
    if (!isStorablePath(absolutePath)) return false;
    std::erase(recent, absolutePath);
    recent.insert(recent.begin(), absolutePath);
    if (recent.size() > UserSettings::kMaxRecent) recent.resize(UserSettings::kMaxRecent);
    return true;
}

bool forgetMissing(std::vector<std::string>& recent, const FileExists& exists) {
    return std::erase_if(recent, [&](const std::string& path) { return !exists(path); }) > 0;
}

std::string recentCaption(std::size_t index, const std::string& path) {
    std::string number = std::to_string(index + 1);
    std::string caption = number.substr(0, number.size() - 1) + "&" + number.back() + " ";
    for (char c : shortened(path)) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

toolkit::MenuItem recentMenu(const std::vector<std::string>& recent, const RecentMenuIds& ids,
                             const FileExists& exists) {
    std::vector<toolkit::MenuItem> items;
    bool anyMissing = false;
    for (std::size_t i = 0; i < recent.size(); ++i) {
        bool there = exists(recent[i]);
        anyMissing = anyMissing || !there;
        items.push_back(entry(recentCaption(i, recent[i]),
                              ids.firstDocument + static_cast<std::int32_t>(i), there));
    }
    if (recent.empty()) items.push_back(entry("No recent documents", 0, false));
    items.push_back(toolkit::MenuItem::separatorItem());
    items.push_back(entry("Remove &missing documents", ids.removeMissing, anyMissing));
    items.push_back(entry("&Clear list", ids.clear, !recent.empty()));
    return toolkit::MenuItem{"&Recent", 0, {}, std::move(items)};
}

bool regularFileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace qv
