#include "language/CommentCollector.h"

#include <algorithm>
#include <string>

#include "core/Assert.h"

namespace qv {

namespace {

bool isLineEnd(char ch) noexcept {
    return ch == '\n' || ch == '\r';
}

bool isBlank(char ch) noexcept {
    return ch == ' ' || ch == '\t' || isLineEnd(ch);
}

}  // namespace

CommentCollector::CommentCollector(const Pointer<StringStream>& stream, std::int32_t from)
    : m_stream(stream) {
    const auto& spans = stream->comments();
    auto first =
        std::lower_bound(spans.begin(), spans.end(), from,
                         [](const CommentSpan& span, std::int32_t at) { return span.begin < at; });
    m_next = static_cast<std::size_t>(first - spans.begin());
}

bool CommentCollector::hasCommentBefore(std::int32_t limit) const noexcept {
    const auto& spans = m_stream->comments();
    return m_next < spans.size() && spans[m_next].begin < limit &&
           spans[m_next].begin < m_ignoredFrom;
}

// CR LF counts as one line end. `blankOnly` tells whether nothing but
// blanks lies between.
std::int32_t CommentCollector::lineEndsBetween(std::int32_t from, std::int32_t to,
                                               bool& blankOnly) const {
    std::string_view text = m_stream->source()->view();
    std::int32_t count = 0;
    blankOnly = true;
    for (std::int32_t at = std::max(from, 0);
         at < to && at < static_cast<std::int32_t>(text.size()); ++at) {
        char ch = text[static_cast<std::size_t>(at)];
        if (!isBlank(ch)) blankOnly = false;
        if (ch == '\n' ||
            (ch == '\r' && (at + 1 >= to || text[static_cast<std::size_t>(at) + 1] != '\n'))) {
            ++count;
        }
    }
    return count;
}

// The comment as kept: line ends as line feeds, the inner lines of a block
// comment relative to its starting column. Every block comment the stream
// skipped is closed: one without its end is a reading error.
std::string CommentCollector::normalized(const CommentSpan& span) const {
    std::string_view text = m_stream->source()->view();
    std::string_view comment = text.substr(static_cast<std::size_t>(span.begin),
                                           static_cast<std::size_t>(span.end - span.begin));
    if (comment.substr(0, 2) == "//") return std::string(comment);
    std::size_t lineStart = static_cast<std::size_t>(span.begin);
    auto textStart = static_cast<std::size_t>(m_stream->textStart());
    while (lineStart > textStart && !isLineEnd(text[lineStart - 1]))
        --lineStart;
    std::size_t column = static_cast<std::size_t>(span.begin) - lineStart;
    std::string kept;
    kept.reserve(comment.size() + 2);
    for (std::size_t at = 0; at < comment.size(); ++at) {
        char ch = comment[at];
        if (!isLineEnd(ch)) {
            kept += ch;
            continue;
        }
        if (ch == '\r' && at + 1 < comment.size() && comment[at + 1] == '\n') ++at;
        kept += '\n';
        for (std::size_t strip = 0; strip < column && at + 1 < comment.size() &&
                                    (comment[at + 1] == ' ' || comment[at + 1] == '\t');
             ++strip) {
            ++at;
        }
    }
    QV_ASSERT(comment.size() >= 4 && comment.ends_with("*/"));
    return kept;
}

std::string CommentCollector::separator(const CommentSpan& previous,
                                        const CommentSpan& next) const {
    bool blankOnly = true;
    std::int32_t lineEnds = lineEndsBetween(previous.end, next.begin, blankOnly);
    if (lineEnds == 0) return " ";
    return lineEnds >= 2 && blankOnly ? "\n\n" : "\n";
}

StringPointer CommentCollector::takeLeading(std::int32_t limit) {
    if (!hasCommentBefore(limit)) return StringPointer();
    const auto& spans = m_stream->comments();
    std::string kept = normalized(spans[m_next]);
    for (++m_next; hasCommentBefore(limit); ++m_next) {
        kept += separator(spans[m_next - 1], spans[m_next]);
        kept += normalized(spans[m_next]);
    }
    bool blankOnly = true;
    if (lineEndsBetween(spans[m_next - 1].end, limit, blankOnly) >= 2 && blankOnly) kept += '\n';
    return str(kept);
}

StringPointer CommentCollector::takeTrailing(std::int32_t itemEnd, std::int32_t limit) {
    const auto& spans = m_stream->comments();
    std::string kept;
    std::int32_t lineEnd = itemEnd;
    for (; hasCommentBefore(limit); ++m_next) {
        bool blankOnly = true;
        if (lineEndsBetween(lineEnd, spans[m_next].begin, blankOnly) > 0) break;
        if (!kept.empty()) kept += ' ';
        kept += normalized(spans[m_next]);
        lineEnd = spans[m_next].end;
    }
    if (kept.empty()) return StringPointer();
    return str(kept);
}

ItemComments CommentCollector::takeItem(const StringPointer& leading) {
    std::int32_t end = m_stream->position();
    StringPointer inside = joinComments(leading, takeLeading(end));
    return {inside, takeTrailing(end, m_stream->peek()->begin())};
}

std::int32_t CommentCollector::untakenFrom(std::int32_t limit) const noexcept {
    return hasCommentBefore(limit) ? m_stream->comments()[m_next].begin : limit;
}

void CommentCollector::skip(std::int32_t limit) {
    while (hasCommentBefore(limit))
        ++m_next;
}

}  // namespace qv
