// UTF-8 for every part of the system that must tell text from stray bytes:
// one test of a well-formed sequence, which decoding, stepping by whole
// characters (so that a caret, a selection or a cut never lands inside a
// character) and cleaning outside text (typing, the clipboard, pictures)
// all share. A document's strings are bytes, and not every byte string is
// UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace qv::utf8 {

struct Decoded {
    char32_t codePoint = 0;
    std::size_t length = 0;  // 0 when the first byte starts no character
};

// The character at the start of a text that is not empty. A stray
// continuation byte, an overlong form, a surrogate, a value past U+10FFFF
// and a sequence cut short are no character: length 0.
Decoded decode(std::string_view text) noexcept;

// True when `index` starts a character (or is the end of the text).
bool isBoundary(std::string_view text, std::int32_t index) noexcept;
// The start of the character after the one at `index`; the length at the end.
std::int32_t next(std::string_view text, std::int32_t index) noexcept;
// The start of the character before `index`; 0 at the start.
std::int32_t previous(std::string_view text, std::int32_t index) noexcept;
// The index clamped to the text and moved back to the start of its character.
std::int32_t snap(std::string_view text, std::int32_t index) noexcept;

// The text with every malformed sequence replaced by U+FFFD and every NUL
// removed; a NUL would end the text in the places that read it as a C string.
std::string sanitized(std::string_view text);

// The characters of a double click at `index`: a run of word characters
// (letters, digits, "_" and every character outside ASCII), a run of blanks,
// or a single other character. A line feed is never part of the run; at a
// line feed or the end of the text the range is empty.
std::pair<std::int32_t, std::int32_t> wordAt(std::string_view text, std::int32_t index) noexcept;

}  // namespace qv::utf8
