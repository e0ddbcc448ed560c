// What the views that list lines one under another, some of them folding
// (the tables tree and the explain view), share: the presses they answer,
// the keys that move, fold and act, the current line's background, the
// fold box, and painting only the lines in sight.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "toolkit/Events.h"
#include "toolkit/Font.h"
#include "toolkit/Graphics.h"
#include "toolkit/Palette.h"

namespace qv::foldable {

// What a key asks of the current line.
enum class LineKey : std::uint8_t {
    None,      // not a key of the list: the view passes it on
    Previous,  // Up
    Next,      // Down
    First,     // Home
    Last,      // End
    Unfold,    // Right: unfolds a folded line, else moves on
    Fold,      // Left: folds an unfolded line, else goes to its parent
    Act,       // Enter
    Toggle,    // Space
};

LineKey lineKeyOf(std::int32_t code, std::string_view text);

// A press, a double click or a right press: the mouse events a list of
// lines takes (and with them the selection).
bool isLinePress(toolkit::MouseKind kind);

// The view's background, then each line the clip reaches, by `paintLine`
// (lines of `lineHeight` from `padding` below the top of `area`).
void paintLinesInSight(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                       const toolkit::Rect& area, std::int32_t padding, std::int32_t lineHeight,
                       std::int32_t lineCount, const std::function<void(std::int32_t)>& paintLine);

// The current line's background: stronger while the view has the keyboard.
void paintCurrentLine(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                      const toolkit::Rect& row, bool focused);

// The box before a line that folds: a minus while unfolded, else a plus.
void paintFoldBox(toolkit::Graphics& graphics, const toolkit::Palette& colors,
                  const toolkit::Rect& box, bool unfolded);

// Where text stands in a row: centred between its ascent and descent.
std::int32_t baselineIn(const toolkit::Rect& row, const toolkit::FontMetrics& metrics);

}  // namespace qv::foldable
