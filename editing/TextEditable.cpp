#include "editing/TextEditable.h"

#include <algorithm>
#include <cstring>

#include "editing/EditableSupport.h"

namespace qv {

TextEditable::TextEditable(std::string_view text) {
    setText(text);
}

const std::vector<std::int32_t>& TextEditable::lineStarts() const {
    if (m_linesVersion == version()) return m_lineStarts;
    m_lineStarts.assign(1, 0);
    std::string_view all = text();
    const char* begin = all.data();
    const char* end = begin + all.size();
    // memchr: a megabyte of text is scanned in a fraction of a millisecond.
    for (const char* at = begin; at < end;) {
        const void* found = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (found == nullptr) break;
        at = static_cast<const char*>(found) + 1;
        m_lineStarts.push_back(static_cast<std::int32_t>(at - begin));
    }
    m_linesVersion = version();
    return m_lineStarts;
}

std::int32_t TextEditable::lineCount() const {
    return static_cast<std::int32_t>(lineStarts().size());
}

std::int32_t TextEditable::lineStart(std::int32_t index) const {
    return lineStarts()[static_cast<std::size_t>(std::clamp(index, 0, lineCount() - 1))];
}

std::string_view TextEditable::line(std::int32_t index) const {
    index = std::clamp(index, 0, lineCount() - 1);
    std::int32_t begin = lineStart(index);
    std::int32_t end = index + 1 < lineCount() ? lineStart(index + 1) - 1
                                               : static_cast<std::int32_t>(text().size());
    return text().substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

std::int32_t TextEditable::lineOf(std::int32_t index) const {
    const auto& starts = lineStarts();
    auto after = std::upper_bound(starts.begin(), starts.end(), index);
    return static_cast<std::int32_t>(after - starts.begin()) - 1;
}

// A text of a few pages has every line and word measured: a line longer
// in bytes is not always wider (letters of several bytes, narrow letters
// in a proportional font). In a longer text only the longest line and
// word by byte count are: measuring every line of a megabyte with every
// key typed would cost more than the typing.
void TextEditable::measure() const {
    if (m_widthVersion == version()) return;
    std::string_view all = text();
    const bool everyOne = all.size() <= kMeasureEveryLineBytes;
    std::int32_t widestLine = 0;
    std::string_view longestLine = line(0);
    for (std::int32_t i = 0; i < lineCount(); ++i) {
        std::string_view candidate = line(i);
        if (everyOne) widestLine = std::max(widestLine, widthOf(candidate));
        if (candidate.size() > longestLine.size()) longestLine = candidate;
    }
    if (!everyOne) widestLine = widthOf(longestLine);
    std::size_t wordStart = 0;
    std::int32_t widestWord = 0;
    std::string_view longestWord;
    for (std::size_t i = 0; i <= all.size(); ++i) {
        if (i < all.size() && static_cast<unsigned char>(all[i]) > ' ') continue;
        std::string_view word = all.substr(wordStart, i - wordStart);
        if (everyOne && !word.empty()) widestWord = std::max(widestWord, widthOf(word));
        if (word.size() > longestWord.size()) longestWord = word;
        wordStart = i + 1;
    }
    if (!everyOne) widestWord = widthOf(longestWord);
    const std::int32_t edges = 2 * kPadding + 1;
    m_minimumWidth =
        std::clamp(toolkit::saturatingAdd(widestWord, edges), kNarrowest, kWidestMinimum);
    m_maximumWidth =
        std::max(toolkit::limitExtent(std::int64_t{widestLine} + edges), m_minimumWidth);
    m_widthVersion = version();
}

std::int32_t TextEditable::minimumWidth() const {
    measure();
    return m_minimumWidth;
}

std::int32_t TextEditable::maximumWidth() const {
    measure();
    return m_maximumWidth;
}

std::int32_t TextEditable::preferredHeight() const {
    return toolkit::limitExtent(std::int64_t{lineCount()} * lineHeight() + 2 * kPadding);
}

void TextEditable::layoutWidth(std::int32_t widthHint) {
    std::int32_t width = std::max(std::min(widthHint, maximumWidth()), minimumWidth());
    setBounds({0, 0, width, preferredHeight()});
}

// As wide as the longest line at least: in a box narrower than that the
// frame's scroll bar reaches the ends of the lines instead of cutting them.
void TextEditable::layoutSize(toolkit::Size size) {
    setBounds(
        {0, 0, std::max(size.width, maximumWidth()), std::max(size.height, preferredHeight())});
}

void TextEditable::paint(toolkit::Graphics& graphics, toolkit::Point origin) {
    toolkit::Rect area = bounds().translated(origin.x, origin.y);
    toolkit::Rect visible = area.intersected(graphics.clip());
    if (visible.isEmpty()) return;
    graphics.setColor(colors().view);
    graphics.fillRect(visible);
    if (support() != nullptr) graphics.setFont(support()->plainFont());
    // Only the lines in sight are drawn, so a long text paints as fast as a
    // short one.
    const std::int32_t height = lineHeight();
    const std::int32_t top = area.y + kPadding;
    std::int32_t first = std::max(0, (visible.y - top) / height);
    std::int32_t last = std::min(lineCount() - 1, (visible.bottom() - top) / height);
    for (std::int32_t i = first; i <= last; ++i)
        paintLine(graphics, line(i), lineStart(i), {area.x + kPadding, top + i * height});
    if (isFocused()) {
        toolkit::Rect caret = caretRect().translated(origin.x, origin.y);
        graphics.setColor(colors().text);
        graphics.drawLine({caret.x, caret.y}, {caret.x, caret.bottom() - 1});
    }
}

void TextEditable::writeSource(std::string& out, std::int32_t) const {
    out += "text(\"";
    for (char ch : text()) {
        if (ch == '\n') {
            out += "\\n";
        } else if (ch == '"') {
            out += "\"\"";
        } else {
            out += ch;
        }
    }
    out += "\");\n";
}

std::int32_t TextEditable::indexAt(toolkit::Point point) const {
    std::int32_t row = (point.y - bounds().y - kPadding) / lineHeight();
    if (point.y < bounds().y + kPadding) row = 0;
    row = std::clamp(row, 0, lineCount() - 1);
    return lineStart(row) + indexInLine(line(row), point.x - bounds().x - kPadding);
}

toolkit::Rect TextEditable::caretRect() const {
    std::int32_t row = lineOf(caret());
    std::string_view before = text().substr(static_cast<std::size_t>(lineStart(row)),
                                            static_cast<std::size_t>(caret() - lineStart(row)));
    return {bounds().x + kPadding + widthOf(before), bounds().y + kPadding + row * lineHeight(), 1,
            lineHeight()};
}

void TextEditable::moveLine(std::int32_t step, std::uint32_t modifiers) {
    std::int32_t row = lineOf(caret());
    std::int32_t target = row + step;
    if (target < 0) return moveCaret(0, modifiers);
    if (target >= lineCount())
        return moveCaret(static_cast<std::int32_t>(text().size()), modifiers);
    std::string_view before = text().substr(static_cast<std::size_t>(lineStart(row)),
                                            static_cast<std::size_t>(caret() - lineStart(row)));
    moveCaret(lineStart(target) + indexInLine(line(target), widthOf(before)), modifiers);
}

bool TextEditable::handleOwnKey(std::int32_t code, std::string_view, std::uint32_t modifiers) {
    namespace key = toolkit::key;
    switch (code) {
        case key::kUp:
            moveLine(-1, modifiers);
            return true;
        case key::kDown:
            moveLine(1, modifiers);
            return true;
        case key::kEnter:
            insertFromUser("\n");
            return true;
        default:
            return false;
    }
}

void TextEditable::notify(const Pointer<Object>& message) {
    if (auto list = cast<TextAreaList>(message); !list.isNull())
        list->areas.push_back(Pointer<TextEditable>(this));
}

}  // namespace qv
