// Texts as the text format shows them on a terminal. A document must not be
// able to send control sequences to whoever looks at its tables, so every
// control character and every byte that is not UTF-8 is shown as an escape:
// "\n", "\r" and "\t" for those three, "\x1b" for the other C0 controls and
// DEL, "\u0085" for the C1 controls, "\xff" for a stray byte. Backslashes
// are shown as they are: the text is for reading, not for reading back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// An escaped text is at most this many times as long as the text.
inline constexpr std::size_t kMaxEscapeGrowth = 4;

// Printable ASCII only: shown as it is, one column a byte.
bool isPlainText(std::string_view text) noexcept;
// The columns the shown text takes: one per character, escapes included.
std::size_t terminalWidth(std::string_view text) noexcept;
// Writes the shown text at `out`, which has room for kMaxEscapeGrowth
// times the text's length, and returns the end of what was written.
char* writeForTerminal(char* out, std::string_view text) noexcept;
std::string forTerminal(std::string_view text);

}  // namespace qv
