// What the text area and the one-line field share: the text, the caret and
// the selection, the key codes that move the caret and edit the text, the
// mouse selection and the clipboard. Every change of the text is a
// TextChangedCommand, so typing undoes character by character.
//
// Text is UTF-8. The caret, the anchor and the selection end are byte
// indexes that always stand at the start of a character.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "editing/AbstractEditable.h"
#include "editing/TextChangedCommand.h"

namespace qv {

class TextBase : public AbstractEditable, public ChangeableText {
    QV_ABSTRACT_OBJECT(TextBase, AbstractEditable)
  public:
    // Space between the text and the edges of the editable.
    static constexpr std::int32_t kPadding = 3;

    std::string_view text() const noexcept { return m_text; }
    StringPointer textString() const { return str(m_text); }
    // Replaces the whole text outside the undo history (a text read from a
    // document, a cell's formula shown in the field), unchanged; caret at
    // the start.
    void setText(std::string_view text);

    std::int32_t version() const noexcept { return m_version; }
    void raiseVersion() noexcept { ++m_version; }

    std::int32_t caret() const noexcept { return m_caret; }
    // Clamped to the text and moved to the start of its character.
    void setCaret(std::int32_t index) noexcept;
    std::int32_t anchor() const noexcept { return m_anchor; }
    std::int32_t selectionEnd() const noexcept { return m_selectionEnd; }
    // -1 for either end means no selection.
    void setSelection(std::int32_t anchor, std::int32_t end) noexcept;
    void clearSelection() noexcept { m_anchor = m_selectionEnd = -1; }
    bool hasSelection() const noexcept { return m_anchor != -1 && m_selectionEnd != -1; }
    // From the smaller to the larger end; (caret, caret) without a selection.
    std::pair<std::int32_t, std::int32_t> selectionRange() const noexcept;
    std::string selectedText() const;
    // Selects a range with the caret at its end and brings it into sight
    // (a match stepped to): its start first, then its end.
    void selectAndShow(std::int32_t begin, std::int32_t end);

    // The two edits a text command makes; positions are byte indexes on
    // character boundaries.
    std::string removeText(std::int32_t position, std::int32_t length);
    void insertText(std::int32_t position, std::string_view text);
    // After a command: new layout, the caret brought into sight, a repaint.
    virtual void textChanged();
    // What a text command applies, for redo and undo alike.
    void swapRange(std::int32_t& position, std::int32_t& length, std::string& stored) override;

    // A command for the current selection with an empty stored text: the
    // selection's range (and the selection is cleared), or no range at the
    // caret.
    Pointer<TextChangedCommand> makeCommand();
    // Through the window's command manager; applied directly when the text
    // is not in a window.
    void executeCommand(const Pointer<TextChangedCommand>& command);

    void handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) override;
    bool handleMouse(toolkit::MouseKind kind, const MouseInfo& info) override;
    // An editable text named by its title.
    std::shared_ptr<toolkit::AccessibleNode> accessibleNode(
        const std::shared_ptr<toolkit::AccessibleNode>& parent) const override;
    bool acceptsEditCommand(std::int32_t code) const override;

  protected:
    // Keys a kind of text adds to the common ones; true when handled.
    virtual bool handleOwnKey(std::int32_t, std::string_view, std::uint32_t) { return false; }
    // True for the one-line field: line breaks typed or pasted become blanks.
    virtual bool isSingleLine() const { return false; }
    // The character index nearest to a point (this editable's coordinates).
    virtual std::int32_t indexAt(toolkit::Point point) const = 0;
    // The caret as a thin rectangle in this editable's coordinates.
    virtual toolkit::Rect caretRect() const = 0;

    // Inserts text as typed or pasted: cleaned, replacing the selection.
    void insertFromUser(std::string_view text);
    // Brings the caret into sight in the scrolling containers above.
    void showCaret();
    // Moves the caret; with Shift the selection follows it.
    void moveCaret(std::int32_t index, std::uint32_t modifiers);
    const toolkit::FontMetrics* metrics() const;
    std::int32_t lineHeight() const;
    // The width of text in the plain font (0 when not in a window).
    std::int32_t widthOf(std::string_view text) const;
    // The character boundary of `line` nearest to x pixels from its start;
    // an index into `line`.
    std::int32_t indexInLine(std::string_view line, std::int32_t x) const;
    // One line of text with the part of the selection in it; `lineStart` is
    // the line's index in the whole text.
    void paintLine(toolkit::Graphics& graphics, std::string_view line, std::int32_t lineStart,
                   toolkit::Point topLeft) const;
    // Only the selection's background behind `line`, for a text drawn in
    // parts of its own.
    void paintLineSelection(toolkit::Graphics& graphics, std::string_view line,
                            std::int32_t lineStart, toolkit::Point topLeft) const;

  private:
    void deleteCharacter(bool forward);
    void copy() const;
    void paste();
    void cut();

    std::string m_text;
    std::int32_t m_version = 0;
    std::int32_t m_caret = 0;
    std::int32_t m_anchor = -1;
    std::int32_t m_selectionEnd = -1;
};

}  // namespace qv
