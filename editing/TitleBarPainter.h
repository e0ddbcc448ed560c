// Drawing of the title bar's buttons: a square with an icon for each, kept
// apart from the frame's logic.
#pragma once

#include "editing/TitleDecorator.h"
#include "toolkit/Graphics.h"

namespace qv {

void paintTitleButton(toolkit::Graphics& graphics, TitleButton button, const toolkit::Rect& area,
                      bool active);

}  // namespace qv
