#include "toolkit/Palette.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv::toolkit {

namespace {

double linear(std::uint8_t channel) noexcept {
    double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::uint8_t channelBetween(std::uint8_t from, std::uint8_t to, double amount) noexcept {
    double value = from + (static_cast<double>(to) - from) * amount;
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};

// Moves `text` toward black or white, whichever reads better on
// `background`, until it reaches the contrast (black or white always do:
// one of them is at least 4.58:1 from any colour).
Color readableOn(Color text, Color background) noexcept {
    if (contrastRatio(text, background) >= kMinimumTextContrast) return text;
    Color goal =
        contrastRatio(kBlack, background) >= contrastRatio(kWhite, background) ? kBlack : kWhite;
    for (int step = 1; step <= 20; ++step) {
        Color moved = mixed(text, goal, step / 20.0);
        if (contrastRatio(moved, background) >= kMinimumTextContrast) return moved;
    }
    return goal;
}

// A background that must not pass for `view` (the selection, errors):
// moved toward `tint` until the two differ by `ratio` at least.
Color apartFrom(Color background, Color view, Color tint, double ratio) noexcept {
    for (int step = 0; step <= 10 && contrastRatio(background, view) < ratio; ++step)
        background = mixed(background, tint, 0.15);
    return background;
}

// Told apart by lightness or by hue.
bool standsApart(Color first, Color second) noexcept {
    double distance =
        std::hypot(first.red - second.red, first.green - second.green, first.blue - second.blue);
    return contrastRatio(first, second) >= 1.15 || distance >= 40;
}

bool isDark(Color color) noexcept {
    return relativeLuminance(color) < 0.2;
}

// Qt reports no high contrast flag: a desktop theme of pure black and pure
// white windows is one.
bool looksHighContrast(const SystemColors& system) noexcept {
    bool blackOnWhite = system.window == kWhite && system.windowText == kBlack;
    bool whiteOnBlack = system.window == kBlack && system.windowText == kWhite;
    return blackOnWhite || whiteOnBlack;
}

// A colour may be a text on one pair and the background of another (the
// accent), so a fix can undo an earlier one: a few rounds settle it.
void makeReadable(Palette& palette) noexcept {
    for (int round = 0; round < 4; ++round) {
        bool changed = false;
        for (const TextPair& pair : textPairs()) {
            Color& text = palette.*pair.foreground;
            Color readable = readableOn(text, palette.*pair.background);
            changed = changed || !(readable == text);
            text = readable;
        }
        if (!changed) return;
    }
}

bool allReadable(const Palette& palette) noexcept {
    return std::all_of(textPairs().begin(), textPairs().end(), [&palette](const TextPair& pair) {
        return contrastRatio(palette.*pair.foreground, palette.*pair.background) >=
               kMinimumTextContrast;
    });
}

}  // namespace

Color Palette::shade(std::int32_t step) const noexcept {
    if (step <= 1) return bar;
    return step == 2 ? header : button;
}

Palette Palette::light() {
    Palette p;
    p.text = {32, 32, 32};
    p.quietText = {84, 84, 84};
    p.view = kWhite;
    p.workArea = Color::grey(200);
    p.gridLine = Color::grey(200);
    p.edge = Color::grey(140);
    p.bar = Color::grey(215);
    p.header = Color::grey(230);
    p.button = Color::grey(245);
    p.accent = {46, 94, 145};
    p.accentText = kWhite;
    p.selection = {179, 208, 239};
    p.range = {218, 232, 247};
    p.typing = {255, 255, 230};
    p.errorBackground = {255, 224, 224};
    p.errorText = {170, 0, 0};
    return p;
}

Palette Palette::dark() {
    Palette p;
    p.text = {228, 228, 228};
    p.quietText = {178, 178, 178};
    p.view = {36, 36, 38};
    p.workArea = {20, 20, 22};
    p.gridLine = {70, 70, 74};
    p.edge = {118, 118, 122};
    p.bar = {52, 52, 56};
    p.header = {48, 48, 52};
    p.button = {44, 44, 48};
    p.accent = {110, 165, 225};
    p.accentText = {16, 16, 16};
    p.selection = {30, 64, 108};
    p.range = {38, 54, 76};
    p.typing = {68, 62, 26};
    p.errorBackground = {92, 28, 30};
    p.errorText = {255, 150, 150};
    return p;
}

Palette Palette::highContrast() {
    Palette p;
    p.text = kWhite;
    p.quietText = Color::grey(210);
    p.view = kBlack;
    p.workArea = kBlack;
    p.gridLine = Color::grey(150);
    p.edge = kWhite;
    p.bar = {0, 0, 0};
    p.header = Color::grey(40);
    p.button = Color::grey(25);
    p.accent = {255, 255, 0};
    p.accentText = kBlack;
    p.selection = {0, 0, 170};
    p.range = {0, 60, 0};
    p.typing = {70, 60, 0};
    p.errorBackground = {120, 0, 0};
    p.errorText = {255, 210, 210};
    return p;
}

Palette Palette::highContrastLight() {
    Palette p;
    p.text = kBlack;
    p.quietText = Color::grey(60);
    p.view = kWhite;
    p.workArea = kWhite;
    p.gridLine = Color::grey(110);
    p.edge = kBlack;
    p.bar = kWhite;
    p.header = Color::grey(225);
    p.button = Color::grey(240);
    p.accent = {0, 0, 150};
    p.accentText = kWhite;
    p.selection = {255, 240, 0};
    p.range = {200, 255, 200};
    p.typing = {255, 255, 190};
    p.errorBackground = {255, 200, 200};
    p.errorText = {130, 0, 0};
    return p;
}

Palette Palette::fromSystem(const SystemColors& system) {
    if (looksHighContrast(system))
        return system.window == kWhite ? highContrastLight() : highContrast();
    bool dark = isDark(system.base);
    Palette p = dark ? Palette::dark() : Palette::light();
    // A highlight that does not stand out from views marks nothing: the
    // builtin one takes its place.
    Color highlight = standsApart(system.highlight, system.base) ? system.highlight : p.accent;
    p.view = system.base;
    p.text = system.text;
    p.accent = highlight;
    p.accentText = system.highlightedText;
    p.selection =
        apartFrom(mixed(system.base, highlight, dark ? 0.45 : 0.35), p.view, highlight, 1.25);
    p.range = mixed(system.base, highlight, dark ? 0.25 : 0.18);
    p.errorBackground = apartFrom(mixed(system.base, Color{220, 0, 0}, dark ? 0.3 : 0.14), p.view,
                                  Color{220, 0, 0}, 1.15);
    makeReadable(p);
    // Colours no single text reads on (a mid grey view under a darker
    // selection): the program's own palette of the kind.
    if (!allReadable(p)) return dark ? Palette::dark() : Palette::light();
    return p;
}

Palette Palette::forAppearance(Appearance appearance, const SystemColors& system) {
    switch (appearance) {
        case Appearance::Light:
            return light();
        case Appearance::Dark:
            return dark();
        case Appearance::HighContrast:
            return highContrast();
        case Appearance::System:
            break;
    }
    return fromSystem(system);
}

double relativeLuminance(Color color) noexcept {
    return 0.2126 * linear(color.red) + 0.7152 * linear(color.green) + 0.0722 * linear(color.blue);
}

double contrastRatio(Color first, Color second) noexcept {
    double a = relativeLuminance(first);
    double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Color mixed(Color from, Color to, double amount) noexcept {
    amount = std::clamp(amount, 0.0, 1.0);
    return {channelBetween(from.red, to.red, amount), channelBetween(from.green, to.green, amount),
            channelBetween(from.blue, to.blue, amount)};
}

const std::vector<TextPair>& textPairs() {
    static const std::vector<TextPair> pairs = {
        {"text on views", &Palette::text, &Palette::view},
        {"text on the selection", &Palette::text, &Palette::selection},
        {"text in selected columns", &Palette::text, &Palette::range},
        {"typed text", &Palette::text, &Palette::typing},
        {"text on bars", &Palette::text, &Palette::bar},
        {"text on headers", &Palette::text, &Palette::header},
        {"text on buttons", &Palette::text, &Palette::button},
        {"quiet text on views", &Palette::quietText, &Palette::view},
        {"quiet text on the selection", &Palette::quietText, &Palette::selection},
        {"quiet text in selected columns", &Palette::quietText, &Palette::range},
        {"quiet text on headers", &Palette::quietText, &Palette::header},
        {"quiet text on bars", &Palette::quietText, &Palette::bar},
        {"the active title", &Palette::accentText, &Palette::accent},
        {"a message in a bar", &Palette::accent, &Palette::bar},
        {"an error cell", &Palette::errorText, &Palette::errorBackground},
        {"an error in a view", &Palette::errorText, &Palette::view},
        {"a selected error", &Palette::errorText, &Palette::selection},
        {"an error in selected columns", &Palette::errorText, &Palette::range},
        {"an error in a bar", &Palette::errorText, &Palette::bar},
    };
    return pairs;
}

std::string_view appearanceName(Appearance appearance) noexcept {
    switch (appearance) {
        case Appearance::Light:
            return "light";
        case Appearance::Dark:
            return "dark";
        case Appearance::HighContrast:
            return "high contrast";
        case Appearance::System:
            break;
    }
    return "system";
}

bool parseAppearance(std::string_view text, Appearance& appearance) noexcept {
    for (Appearance candidate :
         {Appearance::System, Appearance::Light, Appearance::Dark, Appearance::HighContrast}) {
        if (text != appearanceName(candidate)) continue;
        appearance = candidate;
        return true;
    }
    return false;
}

}  // namespace qv::toolkit
