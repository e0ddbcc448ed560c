#include "desktop/UserSettings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/FileWriter.h"

namespace qv {

namespace {

constexpr std::string_view kHeader = "# Quorvatelle settings\n";
constexpr std::string_view kZoomKey = "zoom";
constexpr std::string_view kWindowKey = "window";
constexpr std::string_view kFolderKey = "folder";
constexpr std::string_view kRecentKey = "recent";
constexpr std::string_view kAppearanceKey = "appearance";
constexpr std::string_view kFileName = "/quorvatelle/settings.conf";

bool isAbsoluteFolder(const char* value) {
    return value != nullptr && value[0] == '/';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// Leading blanks go; trailing ones may belong to a file name.
std::string_view pathValue(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

std::optional<std::int32_t> numberOf(std::string_view text, std::int32_t bound) {
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < -bound || value > bound) return std::nullopt;
    return value;
}

std::optional<toolkit::Rect> windowOf(std::string_view text) {
    std::int32_t parts[4] = {};
    for (std::int32_t& part : parts) {
        text = trimmed(text);
        std::size_t blank = std::min(text.find(' '), text.find('\t'));
        std::optional<std::int32_t> number =
            numberOf(text.substr(0, blank), UserSettings::kMaxWindowCoordinate);
        if (!number) return std::nullopt;
        part = *number;
        text.remove_prefix(blank == std::string_view::npos ? text.size() : blank);
    }
    if (!trimmed(text).empty() || parts[2] <= 0 || parts[3] <= 0) return std::nullopt;
    return toolkit::Rect{parts[0], parts[1], parts[2], parts[3]};
}

// Text files hold no control characters but tabs and line ends.
bool looksLikeText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') || byte == 0x7f;
    });
}

void readLine(std::string_view line, UserSettings& settings) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::size_t equals = line.find('=');
    if (line.starts_with('#') || equals == std::string_view::npos) return;
    std::string_view key = trimmed(line.substr(0, equals));
    std::string_view value = line.substr(equals + 1);
    if (key == kZoomKey) {
        if (auto percent = numberOf(trimmed(value), 100'000))
            settings.zoomPercent = std::clamp(*percent, 50, 300);
    } else if (key == kWindowKey) {
        if (auto bounds = windowOf(value)) settings.window = bounds;
    } else if (key == kAppearanceKey) {
        toolkit::parseAppearance(trimmed(value), settings.appearance);
    } else if (key == kFolderKey) {
        if (isStorablePath(pathValue(value))) settings.lastFolder = pathValue(value);
    } else if (key == kRecentKey) {
        std::string path(pathValue(value));
        if (isStorablePath(path) && settings.recent.size() < UserSettings::kMaxRecent &&
            std::find(settings.recent.begin(), settings.recent.end(), path) ==
                settings.recent.end())
            settings.recent.push_back(std::move(path));
    }
}

std::string ignored(const std::string& path, std::string_view reason) {
    return "The settings file " + path + " was ignored: " + std::string(reason) +
           ". The program starts with its usual settings.";
}

}  // namespace

std::string defaultSettingsPath() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); isAbsoluteFolder(config))
        return std::string(config) + std::string(kFileName);
    if (const char* home = std::getenv("HOME"); isAbsoluteFolder(home))
        return std::string(home) + "/.config" + std::string(kFileName);
    return {};
}

bool isStorablePath(std::string_view path) {
    return path.starts_with('/') && path.size() < 4096 && looksLikeText(path) &&
           path.find_first_of("\n\r\t") == std::string_view::npos;
}

std::string settingsText(const UserSettings& settings) {
    std::string text(kHeader);
    auto line = [&text](std::string_view key, std::string_view value) {
        text.append(key).append(" = ").append(value).append("\n");
    };
    line(kZoomKey, std::to_string(settings.zoomPercent));
    if (settings.appearance != toolkit::Appearance::System)
        line(kAppearanceKey, toolkit::appearanceName(settings.appearance));
    if (settings.window) {
        const toolkit::Rect& bounds = *settings.window;
        line(kWindowKey, std::to_string(bounds.x) + " " + std::to_string(bounds.y) + " " +
                             std::to_string(bounds.width) + " " + std::to_string(bounds.height));
    }
    if (isStorablePath(settings.lastFolder)) line(kFolderKey, settings.lastFolder);
    for (const std::string& path : settings.recent)
        if (isStorablePath(path)) line(kRecentKey, path);
    return text;
}

SettingsReading parseSettings(std::string_view text) {
    SettingsReading reading;
    if (static_cast<std::int64_t>(text.size()) > UserSettings::kMaxFileBytes) {
        reading.problem = "it is larger than 64 KiB";
        return reading;
    }
    if (!looksLikeText(text)) {
        reading.problem = "it is not a text file";
        return reading;
    }
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        readLine(text.substr(0, end), reading.settings);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return reading;
}

SettingsReading readSettingsFile(const std::string& path) {
    SettingsReading reading;
    if (path.empty()) return reading;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            reading.problem = ignored(path, "can not read it: " + systemReason(errno));
        return reading;
    }
    // A pipe in its place would wait for a writer; a device would never end.
    if (!S_ISREG(status.st_mode)) {
        reading.problem = ignored(path, "it is not a regular file");
        return reading;
    }
    if (status.st_size > UserSettings::kMaxFileBytes) {
        reading.problem = ignored(path, "it is larger than 64 KiB");
        return reading;
    }
    std::ifstream file(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(UserSettings::kMaxFileBytes) + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad() || !file.is_open()) {
        reading.problem = ignored(path, "can not read it");
        return reading;
    }
    text.resize(static_cast<std::size_t>(file.gcount()));
    reading = parseSettings(text);
    if (reading.problem) reading.problem = ignored(path, *reading.problem);
    return reading;
}

void writeSettingsFile(const std::string& path, const UserSettings& settings) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (std::filesystem::create_directories(folder, error))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    writeFileWhole(path, settingsText(settings));
}

std::optional<toolkit::Rect> placedOnScreen(const toolkit::Rect& saved,
                                            const toolkit::Rect& screen) {
    if (screen.isEmpty()) return std::nullopt;
    toolkit::Rect placed;
    placed.width = std::clamp(
        saved.width, std::min(UserSettings::kMinWindowSize.width, screen.width), screen.width);
    placed.height = std::clamp(
        saved.height, std::min(UserSettings::kMinWindowSize.height, screen.height), screen.height);
    placed.x = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(saved.x, screen.x, std::int64_t{screen.right()} - placed.width));
    placed.y = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(saved.y, screen.y, std::int64_t{screen.bottom()} - placed.height));
    return placed;
}

}  // namespace qv
