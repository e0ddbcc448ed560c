// The colours the program paints with, as one object: the editables, the
// views and the program's own dialogs take every colour from the palette of
// their window, which follows the desktop (light, dark or high contrast) or
// the user's choice. Pictures meant to leave the screen (printed pages,
// charts) keep the light palette: paper is white.
//
// Every palette keeps text readable on the backgrounds it is drawn on (a
// contrast of at least 4.5:1, see textPairs) and the marks a user relies
// on apart from a plain view: the selection, error cells, title bars.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "toolkit/Geometry.h"

namespace qv::toolkit {

enum class Appearance : std::int32_t { System = 0, Light = 1, Dark = 2, HighContrast = 3 };

// What the desktop reports of its colours (as Qt's palette names them).
struct SystemColors {
    Color window;
    Color windowText;
    Color base;
    Color text;
    Color highlight;
    Color highlightedText;
    Color button;
    Color buttonText;
};

struct Palette {
    Color text;
    // Hints, values shown for information only, the types of columns.
    Color quietText;
    // Views, text fields and the cells of grids.
    Color view;
    // The work area behind the frames.
    Color workArea;
    Color gridLine;
    // The edges of frames, fields and bars.
    Color edge;
    // Backgrounds a little apart from views (shades 1 to 3): title bars at
    // rest and dialogs; headers and scroll tracks; buttons and fields at
    // rest.
    Color bar;
    Color header;
    Color button;
    // Focus marks, the active title bar, what is being dragged.
    Color accent;
    // Text on the accent.
    Color accentText;
    // The selected cell or line, and a title bar of the active dialog.
    Color selection;
    // Selected columns beside the selected cell.
    Color range;
    // A cell being typed into.
    Color typing;
    Color errorBackground;
    Color errorText;

    // Steps 1 to 3 (clamped).
    Color shade(std::int32_t step) const noexcept;

    friend bool operator==(const Palette&, const Palette&) = default;

    static Palette light();
    static Palette dark();
    // Light on black, for users who need the strongest contrast.
    static Palette highContrast();
    // Dark on white, when the desktop's own high contrast theme is light.
    static Palette highContrastLight();
    // The palette of a desktop: the builtin one of its kind (light, dark or
    // high contrast), in the desktop's own view, text and highlight colours,
    // with any text that would not read pushed to the contrast it needs.
    static Palette fromSystem(const SystemColors& system);
    static Palette forAppearance(Appearance appearance, const SystemColors& system);
};

// WCAG's contrast ratio of two colours, 1 to 21.
double contrastRatio(Color first, Color second) noexcept;
double relativeLuminance(Color color) noexcept;
// `amount` 0 gives `from`, 1 gives `to`.
Color mixed(Color from, Color to, double amount) noexcept;

inline constexpr double kMinimumTextContrast = 4.5;

// A text colour and a background it is painted on.
struct TextPair {
    std::string_view name;
    Color Palette::*foreground;
    Color Palette::*background;
};
// Every text on background the program paints (shades are named apart).
const std::vector<TextPair>& textPairs();

// "system", "light", "dark", "high contrast"; the settings file's words.
std::string_view appearanceName(Appearance appearance) noexcept;
bool parseAppearance(std::string_view text, Appearance& appearance) noexcept;

}  // namespace qv::toolkit
