// The user's own settings, kept apart from documents: the recent
// documents, the window's place and size, the folder the file dialogs
// start in, the zoom of the work area and the colours (the desktop's, or
// light, dark or high contrast). They live in a small text file,
// $XDG_CONFIG_HOME/quorvatelle/settings.conf (~/.config when the variable
// names no absolute folder), one "key = value" line each:
//
//   # Quorvatelle settings
//   zoom = 150
//   appearance = dark
//   window = 120 80 1024 768
//   folder = /home/ada/models
//   recent = /home/ada/models/loan.qvl
//
// The file is the user's to edit, so it is read as untrusted input: a file
// that is too large, not text or not readable is ignored whole (the caller
// shows why); a line with an unknown key or a value out of its bounds is
// ignored alone, so that a later version's keys do no harm.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Palette.h"

namespace qv {

struct UserSettings {
    static constexpr std::size_t kMaxRecent = 10;
    static constexpr std::int64_t kMaxFileBytes = 64 * 1024;
    // A window is at least this large, and stands within this far of the
    // screen's origin.
    static constexpr toolkit::Size kMinWindowSize{320, 240};
    static constexpr std::int32_t kMaxWindowCoordinate = 1'000'000;

    // Absolute paths, the most recent first, each once.
    std::vector<std::string> recent;
    // The window's inside on the screen, as it was at the last close.
    std::optional<toolkit::Rect> window;
    // An absolute folder, or empty.
    std::string lastFolder;
    std::int32_t zoomPercent = 100;
    toolkit::Appearance appearance = toolkit::Appearance::System;

    friend bool operator==(const UserSettings&, const UserSettings&) = default;
};

struct SettingsReading {
    UserSettings settings;
    // Why the file was ignored; empty when it was read or is not there.
    std::optional<std::string> problem;
};

// $XDG_CONFIG_HOME/quorvatelle/settings.conf, else
// ~/.config/quorvatelle/settings.conf; empty when neither variable names an
// absolute folder.
std::string defaultSettingsPath();

std::string settingsText(const UserSettings& settings);
SettingsReading parseSettings(std::string_view text);
// A missing file gives the defaults without a problem.
SettingsReading readSettingsFile(const std::string& path);
// Writes the file whole (atomically), making its folder first; throws the
// writer's message as a StringPointer.
void writeSettingsFile(const std::string& path, const UserSettings& settings);

// True when the path can be kept in the file: absolute, and free of line
// ends and other control characters.
bool isStorablePath(std::string_view path);

// The window's saved place, made to fit `screen`: at least the smallest
// size, no larger than the screen, and wholly on it. Empty when the screen
// is unknown.
std::optional<toolkit::Rect> placedOnScreen(const toolkit::Rect& saved,
                                            const toolkit::Rect& screen);

}  // namespace qv
