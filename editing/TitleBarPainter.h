// Drawing of the title bar's buttons: a square with an icon for each, kept
// apart from the frame's logic.
#pragma once

#include <cstdint>

#include "toolkit/Graphics.h"
#include "toolkit/Palette.h"

namespace qv {

// ORDER TITLE BUTTON: the numbers TitleDecorator::buttonPressed takes.
enum class TitleButton : std::int32_t { Close = 0, Maximize = 1, Optimize = 2, Float = 3 };

void paintTitleButton(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      TitleButton button, const toolkit::Rect& area, bool active);

}  // namespace qv
