// The escapes of a text area's string in a document. A line feed is written
// as backslash and "n"; a double quote is written doubled, which the reader
// sees as two adjacent string tokens and joins with one quote between them.
// Two adjacent strings were a syntax error before, so no readable document
// changes meaning.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The text as it stands between the quotes of a "text" directive.
std::string escapeTextArea(std::string_view text);
// A text area's text from the (joined) string of its directive.
std::string unescapeTextArea(std::string_view written);

}  // namespace qv
