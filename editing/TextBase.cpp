#include "editing/TextBase.h"

#include <algorithm>

#include "core/Utf8.h"
#include "core/ValueConversions.h"
#include "editing/EditableSupport.h"

namespace qv {

namespace {

std::int32_t length(std::string_view text) noexcept {
    return static_cast<std::int32_t>(text.size());
}

// Line breaks as the text keeps them: CR LF and lone CR become LF (the
// clipboard of some systems), or blanks in a one-line field.
std::string normalisedBreaks(std::string_view text, bool singleLine) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') continue;
            ch = '\n';
        }
        out += (ch == '\n' && singleLine) ? ' ' : ch;
    }
    return out;
}

}  // namespace

// Kept byte for byte: a document's text must write back as it was read,
// raw carriage returns and bytes of older single-byte documents included.
// The caret steps treat such bytes as characters of their own.
void TextBase::setText(std::string_view text) {
    if (text.size() > kMaxTextBytes) {
        // Cut at the start of the character the limit falls in.
        text = text.substr(0, static_cast<std::size_t>(
                                  utf8::snap(text, static_cast<std::int32_t>(kMaxTextBytes))));
    }
    m_text = text;
    m_caret = 0;
    clearSelection();
    raiseVersion();
    invalidateLayout();
    repaint();
}

void TextBase::setCaret(std::int32_t index) noexcept {
    m_caret = utf8::snap(m_text, index);
}

void TextBase::setSelection(std::int32_t anchor, std::int32_t end) noexcept {
    m_anchor = anchor < 0 ? -1 : utf8::snap(m_text, anchor);
    m_selectionEnd = end < 0 ? -1 : utf8::snap(m_text, end);
}

void TextBase::selectAndShow(std::int32_t begin, std::int32_t end) {
    setCaret(begin);
    showCaret();
    setCaret(end);
    showCaret();
    setSelection(begin, end);
    repaint();
}

std::pair<std::int32_t, std::int32_t> TextBase::selectionRange() const noexcept {
    if (!hasSelection()) return {m_caret, m_caret};
    return {std::min(m_anchor, m_selectionEnd), std::max(m_anchor, m_selectionEnd)};
}

std::string TextBase::selectedText() const {
    auto [begin, end] = selectionRange();
    return m_text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

std::string TextBase::removeText(std::int32_t position, std::int32_t count) {
    position = std::clamp(position, 0, length(m_text));
    count = std::clamp(count, 0, length(m_text) - position);
    std::string removed =
        m_text.substr(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    m_text.erase(static_cast<std::size_t>(position), static_cast<std::size_t>(count));
    clearSelection();
    m_caret = std::min(m_caret, length(m_text));
    return removed;
}

void TextBase::insertText(std::int32_t position, std::string_view text) {
    position = std::clamp(position, 0, length(m_text));
    m_text.insert(static_cast<std::size_t>(position), text);
    clearSelection();
}

void TextBase::textChanged() {
    invalidateLayout();
    showCaret();
    repaint();
}

// The caret with the padding above and below it, so that the first and the
// last line show whole when the caret reaches them.
void TextBase::showCaret() {
    toolkit::Rect caret = caretRect();
    ensureVisible({caret.x, caret.y - kPadding, caret.width, caret.height + 2 * kPadding});
}

// The text may have been replaced outside the history since (a field given
// a cell's formula): the range is kept within the text and on character
// boundaries, so the swap never reaches past the end or splits a character.
void TextBase::swapRange(std::int32_t& position, std::int32_t& length, std::string& stored) {
    raiseVersion();
    std::string_view current = m_text;
    position = utf8::snap(current, position);
    std::string removed;
    if (length > 0) {
        std::int32_t end =
            utf8::snap(current, std::min<std::int64_t>(std::int64_t{position} + length,
                                                       static_cast<std::int64_t>(current.size())));
        removed = removeText(position, end - position);
        setCaret(position);
        length = -1;
    }
    if (!stored.empty()) {
        insertText(position, stored);
        setCaret(position + static_cast<std::int32_t>(stored.size()));
        length = static_cast<std::int32_t>(stored.size());
    }
    stored = std::move(removed);
    textChanged();
}

Pointer<TextChangedCommand> TextBase::makeCommand() {
    auto self = Pointer<TextBase>::fromObject(this);
    if (!hasSelection()) return make<TextChangedCommand>(self, m_caret, -1);
    auto [begin, end] = selectionRange();
    clearSelection();
    return make<TextChangedCommand>(self, begin, end - begin);
}

void TextBase::executeCommand(const Pointer<TextChangedCommand>& command) {
    command->setChangesDocument(isWithinKeptView());
    if (support() == nullptr) {
        command->redo();
        return;
    }
    support()->commands().execute(command, true);
}

void TextBase::insertFromUser(std::string_view typed) {
    std::string clean = normalisedBreaks(utf8::sanitized(typed), isSingleLine());
    if (clean.empty() && !hasSelection()) return;
    auto [begin, end] = selectionRange();
    try {
        checkTextLength(m_text.size() - static_cast<std::size_t>(end - begin) + clean.size());
    } catch (const StringPointer& message) {
        if (support() != nullptr) support()->setPendingError(message->view());
        return;
    }
    Pointer<TextChangedCommand> command = makeCommand();
    command->setStoredText(std::move(clean));
    executeCommand(command);
}

void TextBase::deleteCharacter(bool forward) {
    if (!hasSelection()) {
        // Nothing to delete at the end (forward) or the start (backward):
        // no command, so the history holds no step that changes nothing.
        if (forward ? m_caret >= length(m_text) : m_caret <= 0) return;
    }
    Pointer<TextChangedCommand> command = makeCommand();
    if (command->length() < 0) {
        std::int32_t other =
            forward ? utf8::next(m_text, m_caret) : utf8::previous(m_text, m_caret);
        std::int32_t begin = std::min(m_caret, other);
        command = make<TextChangedCommand>(Pointer<TextBase>::fromObject(this), begin,
                                           std::abs(other - m_caret));
    }
    executeCommand(command);
}

void TextBase::copy() const {
    if (hasSelection() && support() != nullptr)
        support()->window().setClipboardText(selectedText());
}

void TextBase::paste() {
    if (support() == nullptr) return;
    insertFromUser(support()->window().clipboardText());
}

void TextBase::cut() {
    if (!hasSelection()) return;
    copy();
    executeCommand(makeCommand());
}

void TextBase::moveCaret(std::int32_t index, std::uint32_t modifiers) {
    if ((modifiers & toolkit::modifier::kShift) != 0) {
        if (!hasSelection()) m_anchor = m_caret;
        setCaret(index);
        m_selectionEnd = m_caret;
    } else {
        setCaret(index);
        clearSelection();
    }
    showCaret();
    repaint();
}

void TextBase::handleKey(std::int32_t code, std::string_view text, std::uint32_t modifiers) {
    namespace key = toolkit::key;
    switch (code) {
        case key::kSelectAll:
            setSelection(0, length(m_text));
            setCaret(length(m_text));
            repaint();
            return;
        case key::kLeft:
            return moveCaret(utf8::previous(m_text, m_caret), modifiers);
        case key::kRight:
            return moveCaret(utf8::next(m_text, m_caret), modifiers);
        case key::kDelete:
            return deleteCharacter(true);
        case key::kBackspace:
            return deleteCharacter(false);
        case key::kCharacter:
            return insertFromUser(text);
        case key::kCopy:
            return copy();
        case key::kPaste:
            return paste();
        case key::kCut:
            return cut();
        case key::kEnd:
            return moveCaret(length(m_text), modifiers);
        case key::kHome:
            return moveCaret(0, modifiers);
        default:
            if (!handleOwnKey(code, text, modifiers)) childKey(code, text, modifiers);
    }
}

bool TextBase::handleMouse(toolkit::MouseKind kind, const MouseInfo& info) {
    using toolkit::MouseKind;
    std::int32_t index = indexAt(info.point());
    switch (kind) {
        case MouseKind::Press:
        case MouseKind::RightPress:
            if (support() != nullptr) {
                support()->select(self());
                if (kind == MouseKind::Press) support()->grabMouse(self());
            }
            if (kind == MouseKind::RightPress && hasSelection()) return true;
            if ((info.modifiers & toolkit::modifier::kShift) != 0 && kind == MouseKind::Press) {
                moveCaret(index, toolkit::modifier::kShift);
                return true;
            }
            setCaret(index);
            m_anchor = m_caret;
            m_selectionEnd = -1;
            break;
        case MouseKind::Drag:
            if (m_anchor == -1) m_anchor = m_caret;
            setCaret(index);
            m_selectionEnd = m_caret;
            showCaret();
            break;
        case MouseKind::DoubleClick: {
            if (support() != nullptr) support()->select(self());
            auto [begin, end] = utf8::wordAt(m_text, index);
            setSelection(begin, end);
            setCaret(end);
            break;
        }
        case MouseKind::Move:
            if (support() != nullptr) support()->window().setCursor(toolkit::CursorKind::TextBeam);
            return true;
        case MouseKind::Release:
            return true;
    }
    repaint();
    return true;
}

bool TextBase::acceptsEditCommand(std::int32_t code) const {
    namespace key = toolkit::key;
    return code == key::kSelectAll || code == key::kDelete || code == key::kCopy ||
           code == key::kPaste || code == key::kCut;
}

const toolkit::FontMetrics* TextBase::metrics() const {
    return support() == nullptr ? nullptr : &support()->plainMetrics();
}

std::int32_t TextBase::lineHeight() const {
    const toolkit::FontMetrics* plain = metrics();
    return plain == nullptr ? 16 : plain->height();
}

std::int32_t TextBase::widthOf(std::string_view text) const {
    const toolkit::FontMetrics* plain = metrics();
    return plain == nullptr ? 0 : plain->textWidth(text);
}

std::int32_t TextBase::indexInLine(std::string_view line, std::int32_t x) const {
    if (x <= 0 || line.empty()) return 0;
    if (widthOf(line) <= x) return length(line);
    // Invariant: width(low) <= x < width(high); both on character boundaries.
    std::int32_t low = 0;
    std::int32_t high = length(line);
    while (utf8::next(line, low) < high) {
        std::int32_t middle = utf8::snap(line, low + (high - low) / 2);
        if (middle <= low) middle = utf8::next(line, low);
        if (widthOf(line.substr(0, static_cast<std::size_t>(middle))) <= x) {
            low = middle;
        } else {
            high = middle;
        }
    }
    std::int32_t lowWidth = widthOf(line.substr(0, static_cast<std::size_t>(low)));
    std::int32_t highWidth = widthOf(line.substr(0, static_cast<std::size_t>(high)));
    return x - lowWidth <= highWidth - x ? low : high;
}

void TextBase::paintLine(toolkit::Graphics& graphics, std::string_view line, std::int32_t lineStart,
                         toolkit::Point topLeft) const {
    paintLineSelection(graphics, line, lineStart, topLeft);
    if (line.empty()) return;
    graphics.setColor(colors().text);
    const toolkit::FontMetrics* plain = metrics();
    graphics.drawText({topLeft.x, topLeft.y + (plain == nullptr ? 12 : plain->ascent())}, line);
}

void TextBase::paintLineSelection(toolkit::Graphics& graphics, std::string_view line,
                                  std::int32_t lineStart, toolkit::Point topLeft) const {
    auto [begin, end] = selectionRange();
    std::int32_t lineEnd = lineStart + length(line);
    if (hasSelection() && begin <= lineEnd && end > lineStart) {
        std::int32_t from = std::max(begin - lineStart, 0);
        std::int32_t x1 = widthOf(line.substr(0, static_cast<std::size_t>(from)));
        // A selection that runs on past the line takes its line feed: a
        // little more than the text.
        std::int32_t x2 = end > lineEnd
                              ? widthOf(line) + 4
                              : widthOf(line.substr(0, static_cast<std::size_t>(end - lineStart)));
        graphics.setColor(colors().selection);
        graphics.fillRect({topLeft.x + x1, topLeft.y, x2 - x1, lineHeight()});
    }
}

}  // namespace qv
