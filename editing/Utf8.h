// Steps through UTF-8 text by whole characters, so that the caret, the
// selection and deletions never land inside a character, and cleans text
// that arrives from outside (typing, the clipboard) before it is stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace qv::utf8 {

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
