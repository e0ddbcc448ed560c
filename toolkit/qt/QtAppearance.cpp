#include "toolkit/qt/QtAppearance.h"

#include <QApplication>
#include <QPalette>
#include <optional>

namespace qv::toolkit {

namespace {

struct State {
    Appearance appearance = Appearance::System;
    // The desktop's own palette, kept while a fixed appearance replaces it
    // in Qt, so that going back to the system's restores it.
    std::optional<QPalette> desktop;
    std::optional<Palette> palette;
    std::int64_t version = 0;
    // The palette of ours Qt holds (a fixed appearance); Qt tells of a
    // palette given to it later, in events, which must not pass for the
    // desktop's.
    std::optional<QPalette> ours;
};

State& state() {
    static State s;
    return s;
}

Color colorOf(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

QColor qtColorOf(Color color) {
    return QColor(color.red, color.green, color.blue);
}

const QPalette& desktopPalette() {
    State& s = state();
    if (!s.desktop) s.desktop = QGuiApplication::palette();
    return *s.desktop;
}

Palette computed() {
    const State& s = state();
    return Palette::forAppearance(s.appearance, systemColorsOf(desktopPalette()));
}

void recompute() {
    State& s = state();
    Palette next = computed();
    if (s.palette && *s.palette == next) return;
    s.palette = next;
    ++s.version;
}

void giveToQt(const QPalette& palette) {
    QApplication::setPalette(palette);
}

}  // namespace

SystemColors systemColorsOf(const QPalette& palette) {
    auto active = [&palette](QPalette::ColorRole role) {
        return colorOf(palette.color(QPalette::Active, role));
    };
    return {active(QPalette::Window),    active(QPalette::WindowText),
            active(QPalette::Base),      active(QPalette::Text),
            active(QPalette::Highlight), active(QPalette::HighlightedText),
            active(QPalette::Button),    active(QPalette::ButtonText)};
}

QPalette qtPaletteOf(const Palette& palette) {
    QPalette qt(qtColorOf(palette.button), qtColorOf(palette.bar));
    qt.setColor(QPalette::Base, qtColorOf(palette.view));
    qt.setColor(QPalette::AlternateBase, qtColorOf(palette.header));
    qt.setColor(QPalette::Text, qtColorOf(palette.text));
    qt.setColor(QPalette::WindowText, qtColorOf(palette.text));
    qt.setColor(QPalette::ButtonText, qtColorOf(palette.text));
    qt.setColor(QPalette::ToolTipBase, qtColorOf(palette.view));
    qt.setColor(QPalette::ToolTipText, qtColorOf(palette.text));
    qt.setColor(QPalette::PlaceholderText, qtColorOf(palette.quietText));
    qt.setColor(QPalette::Highlight, qtColorOf(palette.accent));
    qt.setColor(QPalette::HighlightedText, qtColorOf(palette.accentText));
    qt.setColor(QPalette::Disabled, QPalette::Text, qtColorOf(palette.quietText));
    qt.setColor(QPalette::Disabled, QPalette::WindowText, qtColorOf(palette.quietText));
    qt.setColor(QPalette::Disabled, QPalette::ButtonText, qtColorOf(palette.quietText));
    return qt;
}

const Palette& QtAppearance::palette() {
    State& s = state();
    if (!s.palette) s.palette = computed();
    return *s.palette;
}

Appearance QtAppearance::appearance() noexcept {
    return state().appearance;
}

std::int64_t QtAppearance::version() noexcept {
    return state().version;
}

void QtAppearance::setAppearance(Appearance appearance) {
    State& s = state();
    desktopPalette();  // before Qt's palette may become ours
    s.appearance = appearance;
    recompute();
    if (appearance != Appearance::System) {
        s.ours = qtPaletteOf(*s.palette);
        giveToQt(*s.ours);
    } else if (s.ours) {
        s.ours.reset();
        giveToQt(*s.desktop);
    }
}

// Under a fixed appearance Qt keeps ours; the desktop's new colours wait
// for a return to the system's.
void QtAppearance::refreshFromDesktop() {
    State& s = state();
    const QPalette& now = QGuiApplication::palette();
    if (s.ours) {
        if (now == *s.ours) return;
        s.desktop = now;
        giveToQt(*s.ours);
        return;
    }
    s.desktop = now;
    recompute();
}

}  // namespace qv::toolkit
