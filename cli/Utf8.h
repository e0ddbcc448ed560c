// Decoding one UTF-8 character, for the writers that must tell text from
// stray bytes: a document's strings are bytes, and not every byte string is
// UTF-8.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv::cli {

struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 0;  // 0 when the first byte starts no character
};

// The character at the start of a text that is not empty. A stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF
// and a sequence cut short are no character: length 0.
inline Utf8Char decodeUtf8(std::string_view text) noexcept {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char first = byte(0);
    if (first < 0x80) return {first, 1};
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if ((first & 0xE0) == 0xC0) {
        length = 2, codePoint = first & 0x1F, smallest = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, codePoint = first & 0x0F, smallest = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, codePoint = first & 0x07, smallest = 0x10000;
    } else {
        return {};
    }
    if (text.size() < length) return {};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {};
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || codePoint > 0x10FFFF || surrogate) return {};
    return {codePoint, length};
}

}  // namespace qv::cli
