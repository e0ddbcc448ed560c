#include "kernel/NameSplice.h"

#include "language/ExpressionParser.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

bool isWordByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_' || ch == '~';
}

}  // namespace

std::int32_t nameLengthAt(std::string_view text, std::int32_t offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) >= text.size()) return -1;
    auto at = static_cast<std::size_t>(offset);
    if (text[at] == '[') {
        std::size_t close = text.find(']', at + 1);
        // A bracket left open has nothing to end a replacement.
        if (close == std::string_view::npos) return -1;
        return static_cast<std::int32_t>(close + 1 - at);
    }
    std::size_t end = at;
    while (end < text.size() && isWordByte(text[end]))
        ++end;
    return end == at ? -1 : static_cast<std::int32_t>(end - at);
}

bool nameReadsAt(std::string_view text, std::int32_t offset, std::string_view name) {
    std::int32_t length = nameLengthAt(text, offset);
    if (length < 0) return false;
    std::string_view written =
        text.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length));
    if (written.front() == '[') return trimmedBlanks(written.substr(1, written.size() - 2)) == name;
    return written == name;
}

std::string spliceText(std::string_view text, const std::vector<NameSplice>& splices) {
    std::string out;
    std::size_t copied = 0;
    for (const NameSplice& splice : splices) {
        auto at = static_cast<std::size_t>(splice.offset);
        out.append(text.substr(copied, at - copied));
        out += splice.replacement;
        copied = at + static_cast<std::size_t>(splice.length);
    }
    out.append(text.substr(copied));
    return out;
}

std::int32_t offsetAfter(const std::vector<NameSplice>& splices, std::int32_t offset) {
    std::int32_t shift = 0;
    for (const NameSplice& splice : splices) {
        if (splice.offset >= offset) break;
        shift += static_cast<std::int32_t>(splice.replacement.size()) - splice.length;
    }
    return offset + shift;
}

StringPointer formulaText(const ExpressionPointer& formula) {
    if (!is<ExpressionSource>(formula)) return {};
    return cast<ExpressionSource>(formula)->text();
}

ExpressionPointer reformulated(const ExpressionPointer& formula, const StringPointer& text) {
    ExpressionPointer parsed = make<ExpressionParser>()->parseFormula(text);
    if (!is<ExpressionSource>(parsed)) return {};
    auto source = cast<ExpressionSource>(formula);
    if (!source.isNull() && source->origin() == ExpressionSource::Origin::HashText)
        return make<ExpressionSource>(text, parsed, ExpressionSource::Origin::HashText);
    return parsed;
}

}  // namespace qv
