// The drawing of the plain controls the desktop's own panels and dialogs
// show: push buttons and check boxes, in the colours of the views.
#pragma once

#include <cstdint>
#include <string_view>

#include "toolkit/Graphics.h"
#include "toolkit/Palette.h"

namespace qv {

// The baseline that centres a line of text vertically in `area`.
std::int32_t centredBaseline(const toolkit::Rect& area, const toolkit::FontMetrics& metrics);

// A grey button filling `area`, framed in `frame`, its caption centred.
void paintPushButton(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                     const toolkit::Rect& area, std::string_view caption, toolkit::Color frame);

// A check box's square at `box`, with a tick centred in it when checked;
// the caption beside it is the caller's.
void paintCheckSquare(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      const toolkit::Rect& box, bool checked);

}  // namespace qv
