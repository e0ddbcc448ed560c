// Case folding for find without regard to case: the ASCII letters and the
// letters of Latin-1 and Latin Extended-A ("Ä" and "ä", "Ő" and "ő") fold to
// their lower case. Every fold keeps the length of the text, byte for byte,
// so a match found in the folded text lies at the same place in the text.
// Letters whose cases differ in length (the dotted capital I) stay as they
// are, and malformed bytes pass through.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The text folded into `out`; false (and `out` untouched) when folding
// changes nothing, so a caller can go on with the text itself.
bool foldCase(std::string_view text, std::string& out);
// Whether the byte at `at` belongs to a word for the whole-word option: an
// ASCII letter, digit or underscore, or a byte of a Latin letter beyond
// ASCII (U+00C0 ... U+024F but the signs × and ÷), so that a whole word
// neither begins nor ends inside "łódźka".
bool isWordByteAt(std::string_view text, std::size_t at);

// The text folded, always as a copy.
std::string foldedCase(std::string_view text);
// Only the letters beyond ASCII folded (a pattern whose ASCII letters
// mean more than their case: "\\D" is not "\\d").
std::string foldedBeyondAscii(std::string_view text);

}  // namespace qv
