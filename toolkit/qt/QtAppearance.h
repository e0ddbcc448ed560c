// The program's palette over Qt: the desktop's colours as Qt reports them
// (its application palette), or a fixed appearance the user chose, which
// is then given to Qt as well so that menus, dialogs and the message line
// match the work area. One for the whole program, as Qt's palette is.
#pragma once

#include <cstdint>

#include "toolkit/Palette.h"

class QPalette;

namespace qv::toolkit {

class QtAppearance {
  public:
    static const Palette& palette();
    static Appearance appearance() noexcept;
    static void setAppearance(Appearance appearance);
    // Qt's application palette changed (the desktop's colours did).
    static void refreshFromDesktop();
    // Counts the palette's changes, so each window can tell whether it has
    // told its listener of the latest.
    static std::int64_t version() noexcept;
};

SystemColors systemColorsOf(const QPalette& palette);
// A Qt palette in the colours of `palette`, for Qt's own widgets.
QPalette qtPaletteOf(const Palette& palette);

}  // namespace qv::toolkit
