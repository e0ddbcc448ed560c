#include "core/Utf8.h"

namespace qv::utf8 {

namespace {

bool isContinuation(char ch) noexcept {
    return (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
}

std::int32_t size(std::string_view text) noexcept {
    return static_cast<std::int32_t>(text.size());
}

// The length of a well-formed sequence starting at `at`, or 0 when the bytes
// there do not form one (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t sequenceLength(std::string_view text, std::size_t at) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (!isContinuation(text[at + i])) return 0;
    return length;
}

enum class CharClass { Word, Blank, LineFeed, Other };

CharClass classAt(std::string_view text, std::int32_t index) noexcept {
    auto ch = static_cast<unsigned char>(text[static_cast<std::size_t>(index)]);
    if (ch == '\n') return CharClass::LineFeed;
    if (ch == ' ' || ch == '\t' || ch == '\r') return CharClass::Blank;
    if (ch >= 0x80 || ch == '_' || (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') ||
        (ch >= 'A' && ch <= 'Z')) {
        return CharClass::Word;
    }
    return CharClass::Other;
}

}  // namespace

Decoded decode(std::string_view text) noexcept {
    std::size_t length = sequenceLength(text, 0);
    if (length == 0) return {};
    // The lead byte keeps 7, 5, 4 or 3 bits of the code point.
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t codePoint = static_cast<unsigned char>(text[0]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    return {codePoint, length};
}

bool isBoundary(std::string_view text, std::int32_t index) noexcept {
    if (index <= 0 || index >= size(text)) return index == 0 || index == size(text);
    return !isContinuation(text[static_cast<std::size_t>(index)]);
}

std::int32_t next(std::string_view text, std::int32_t index) noexcept {
    if (index >= size(text)) return size(text);
    if (index < 0) return 0;
    ++index;
    while (index < size(text) && isContinuation(text[static_cast<std::size_t>(index)]))
        ++index;
    return index;
}

std::int32_t previous(std::string_view text, std::int32_t index) noexcept {
    if (index > size(text)) index = size(text);
    if (index <= 0) return 0;
    --index;
    while (index > 0 && isContinuation(text[static_cast<std::size_t>(index)]))
        --index;
    return index;
}

std::int32_t snap(std::string_view text, std::int32_t index) noexcept {
    if (index <= 0) return 0;
    if (index >= size(text)) return size(text);
    while (index > 0 && isContinuation(text[static_cast<std::size_t>(index)]))
        --index;
    return index;
}

std::string sanitized(std::string_view text) {
    std::string clean;
    clean.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            clean += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        if (text[at] != '\0') clean.append(text.substr(at, length));
        at += length;
    }
    return clean;
}

std::pair<std::int32_t, std::int32_t> wordAt(std::string_view text, std::int32_t index) noexcept {
    index = snap(text, index);
    if (index >= size(text)) return {index, index};
    CharClass kind = classAt(text, index);
    if (kind == CharClass::LineFeed) return {index, index};
    if (kind == CharClass::Other) return {index, next(text, index)};
    std::int32_t begin = index;
    while (begin > 0) {
        std::int32_t before = previous(text, begin);
        if (classAt(text, before) != kind) break;
        begin = before;
    }
    std::int32_t end = index;
    while (end < size(text) && classAt(text, end) == kind)
        end = next(text, end);
    return {begin, end};
}

}  // namespace qv::utf8
