#include "language/Comments.h"

namespace qv {

namespace {

// Counted as the reader counts a block comment's column: a carriage return
// (kept inside a formula's comment) starts a line too.
std::int32_t columnAtEnd(const std::string& out) noexcept {
    std::size_t lineEnd = out.find_last_of("\n\r");
    std::size_t lineStart = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    return static_cast<std::int32_t>(out.size() - lineStart);
}

// Copies a kept text: lines outside comments start with `indent` blanks, the
// inner lines of a block comment with as many blanks as the column where
// the comment starts. Empty lines stay empty.
void appendCommentText(std::string& out, std::string_view text, std::int32_t indent) {
    enum class State { kOutside, kLine, kBlock } state = State::kOutside;
    bool lineStart = false;
    std::int32_t blockColumn = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char ch = text[at];
        std::string_view pair = text.substr(at, 2);
        if (ch == '\n') {
            out += ch;
            lineStart = true;
            if (state == State::kLine) state = State::kOutside;
            continue;
        }
        if (lineStart) {
            std::int32_t blanks = state == State::kBlock ? blockColumn : indent;
            if (blanks > 0) out.append(static_cast<std::size_t>(blanks), ' ');
            lineStart = false;
        }
        if (state == State::kOutside && (pair == "//" || pair == "/*")) {
            state = pair == "//" ? State::kLine : State::kBlock;
            blockColumn = columnAtEnd(out);
            out += pair;
            ++at;
            continue;
        }
        if (state == State::kBlock && pair == "*/") {
            state = State::kOutside;
            out += pair;
            ++at;
            continue;
        }
        out += ch;
    }
}

}  // namespace

std::int32_t ItemComments::count() const noexcept {
    std::int32_t total = 0;
    if (!leading.isNull()) total += countComments(leading->view());
    if (!trailing.isNull()) total += countComments(trailing->view());
    return total;
}

void appendLeadingComments(std::string& out, std::string_view text, std::int32_t indent) {
    std::int32_t column = columnAtEnd(out);
    if (column < indent) out.append(static_cast<std::size_t>(indent - column), ' ');
    appendCommentText(out, text, indent);
    out += '\n';
}

void appendTrailingComments(std::string& out, std::string_view text) {
    out += ' ';
    appendCommentText(out, text, 0);
}

std::int32_t countComments(std::string_view text) noexcept {
    std::int32_t count = 0;
    for (std::size_t at = 0; at + 1 < text.size(); ++at) {
        std::string_view pair = text.substr(at, 2);
        if (pair == "//") {
            ++count;
            std::size_t end = text.find('\n', at);
            if (end == std::string_view::npos) break;
            at = end;
        } else if (pair == "/*") {
            ++count;
            std::size_t end = text.find("*/", at + 2);
            if (end == std::string_view::npos) break;
            at = end + 1;
        }
    }
    return count;
}

StringPointer joinComments(const StringPointer& first, const StringPointer& second) {
    if (first.isNull()) return second;
    if (second.isNull()) return first;
    return first + "\n" + second;
}

}  // namespace qv
