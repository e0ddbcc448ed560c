#include "desktop/FindField.h"

#include <algorithm>

#include "core/Utf8.h"
#include "toolkit/Events.h"

namespace qv {

namespace {

std::int32_t length(const std::string& text) {
    return static_cast<std::int32_t>(text.size());
}

// Bytes of letters outside ASCII count as word characters.
bool isWordByte(char byte) {
    auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 || value == '_' || (value >= '0' && value <= '9') ||
           ((value | 0x20) >= 'a' && (value | 0x20) <= 'z');
}

}  // namespace

void FindField::setText(std::string text) {
    m_text = std::move(text);
    m_caret = length(m_text);
    m_anchor = -1;
}

std::pair<std::int32_t, std::int32_t> FindField::selection() const noexcept {
    if (!hasSelection()) return {m_caret, m_caret};
    return {std::min(m_anchor, m_caret), std::max(m_anchor, m_caret)};
}

std::string FindField::selectedText() const {
    auto [begin, end] = selection();
    return m_text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

void FindField::moveTo(std::int32_t index, bool extend) {
    if (extend && m_anchor < 0) m_anchor = m_caret;
    if (!extend) m_anchor = -1;
    m_caret = utf8::snap(m_text, std::clamp(index, 0, length(m_text)));
}

void FindField::selectAll() {
    m_anchor = 0;
    m_caret = length(m_text);
}

void FindField::selectWordAt(std::int32_t index) {
    index = utf8::snap(m_text, std::clamp(index, 0, length(m_text)));
    std::int32_t begin = index;
    std::int32_t end = index;
    while (begin > 0 && isWordByte(m_text[static_cast<std::size_t>(begin - 1)]))
        --begin;
    while (end < length(m_text) && isWordByte(m_text[static_cast<std::size_t>(end)]))
        ++end;
    if (begin == end && end < length(m_text)) end = utf8::next(m_text, end);
    m_anchor = begin;
    m_caret = end;
}

void FindField::insert(std::string_view typed) {
    std::string clean = utf8::sanitized(typed.substr(0, typed.find_first_of("\r\n")));
    auto [begin, end] = selection();
    // A pasted text longer than any query is cut at a character boundary.
    auto room = static_cast<std::int32_t>(kMaxLength) - (length(m_text) - (end - begin));
    if (length(clean) > room)
        clean.resize(static_cast<std::size_t>(utf8::snap(clean, std::max(room, 0))));
    m_text.replace(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin), clean);
    m_caret = begin + length(clean);
    m_anchor = -1;
}

void FindField::erase(bool forward) {
    if (!hasSelection()) {
        m_anchor = -1;
        if (forward && m_caret >= length(m_text)) return;
        if (!forward && m_caret == 0) return;
        m_anchor = forward ? utf8::next(m_text, m_caret) : utf8::previous(m_text, m_caret);
    }
    insert({});
}

std::string FindField::cut() {
    std::string removed = selectedText();
    if (!removed.empty()) insert({});
    return removed;
}

bool FindField::key(std::int32_t code, std::string_view text, std::uint32_t modifiers,
                    std::string_view pasted, std::string* copied) {
    namespace key = toolkit::key;
    const bool shift = (modifiers & toolkit::modifier::kShift) != 0;
    switch (code) {
        case key::kCharacter:
            insert(text);
            return true;
        case key::kPaste:
            insert(pasted);
            return true;
        case key::kBackspace:
        case key::kDelete:
            erase(code == key::kDelete);
            return true;
        case key::kLeft:
        case key::kRight: {
            auto [begin, end] = selection();
            // Without Shift an arrow ends a selection at its side.
            if (hasSelection() && !shift) {
                moveTo(code == key::kLeft ? begin : end, false);
            } else {
                moveTo(code == key::kLeft ? utf8::previous(m_text, m_caret)
                                          : utf8::next(m_text, m_caret),
                       shift);
            }
            return true;
        }
        case key::kHome:
        case key::kEnd:
            moveTo(code == key::kHome ? 0 : length(m_text), shift);
            return true;
        case key::kSelectAll:
            selectAll();
            return true;
        case key::kCopy:
        case key::kCut:
            if (copied != nullptr && hasSelection())
                *copied = code == key::kCut ? cut() : selectedText();
            return true;
        default:
            return false;
    }
}

// Measured from the end backwards, so a long text costs what fits.
std::int32_t FindField::firstShown(std::int32_t room, const toolkit::FontMetrics& metrics) const {
    std::string_view text = m_text;
    std::int32_t first = length(m_text);
    while (first > 0) {
        std::int32_t before = utf8::previous(m_text, first);
        if (metrics.textWidth(text.substr(static_cast<std::size_t>(before))) > room) break;
        first = before;
    }
    return std::min(first, m_caret);
}

std::int32_t FindField::indexAt(std::int32_t x, std::int32_t room,
                                const toolkit::FontMetrics& metrics) const {
    std::string_view text = m_text;
    const std::int32_t first = firstShown(room, metrics);
    std::int32_t at = first;
    while (at < length(m_text)) {
        std::int32_t next = utf8::next(m_text, at);
        auto from = static_cast<std::size_t>(first);
        std::int32_t left =
            metrics.textWidth(text.substr(from, static_cast<std::size_t>(at - first)));
        std::int32_t right =
            metrics.textWidth(text.substr(from, static_cast<std::size_t>(next - first)));
        if (x < (left + right) / 2) break;
        at = next;
    }
    return at;
}

}  // namespace qv
