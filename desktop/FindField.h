// One line of text the find panel edits (the query, the replacement) with
// the habits of every text field: a caret, a selection made with Shift and
// the arrows or by dragging the mouse, select all, and cut, copy and paste
// through the clipboard. Positions are byte indexes on character
// boundaries.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "toolkit/Font.h"

namespace qv {

class FindField {
  public:
    // Longer than any query or replacement anyone types.
    static constexpr std::size_t kMaxLength = 10000;

    const std::string& text() const noexcept { return m_text; }
    // The whole text anew, the caret at its end.
    void setText(std::string text);
    std::int32_t caret() const noexcept { return m_caret; }
    // From the smaller end to the larger; (caret, caret) without a selection.
    std::pair<std::int32_t, std::int32_t> selection() const noexcept;
    bool hasSelection() const noexcept { return m_anchor >= 0 && m_anchor != m_caret; }
    std::string selectedText() const;

    // Moves the caret; with `extend` (Shift held, a drag) the selection
    // runs from where it began to the caret.
    void moveTo(std::int32_t index, bool extend);
    void selectAll();
    // A double click: the word (letters, digits, underscores) around the
    // index, or the one character there.
    void selectWordAt(std::int32_t index);
    // Replaces the selection, or inserts at the caret; only the first line
    // of the text counts.
    void insert(std::string_view typed);
    // Backspace and Delete: the selection, or the character before or
    // after the caret.
    void erase(bool forward);
    // Removes the selection and gives it back (Ctrl+X).
    std::string cut();

    // The field's keys (typing, Backspace, Delete, the arrows, Home, End,
    // Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V). Returns false for another key; a
    // copy or a cut puts its text into `copied`, a paste takes `pasted`.
    bool key(std::int32_t code, std::string_view text, std::uint32_t modifiers,
             std::string_view pasted, std::string* copied);

    // The first byte shown in a field `room` pixels wide: the end of a long
    // text, or as far left as the caret needs.
    std::int32_t firstShown(std::int32_t room, const toolkit::FontMetrics& metrics) const;
    // The character boundary nearest to `x` pixels from the shown start.
    std::int32_t indexAt(std::int32_t x, std::int32_t room,
                         const toolkit::FontMetrics& metrics) const;

  private:
    std::string m_text;
    std::int32_t m_caret = 0;
    // Where the selection began, or -1.
    std::int32_t m_anchor = -1;
};

}  // namespace qv
