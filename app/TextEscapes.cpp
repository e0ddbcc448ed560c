#include "app/TextEscapes.h"

namespace qv {

std::string escapeTextArea(std::string_view text) {
    std::string written;
    written.reserve(text.size());
    for (char ch : text) {
        if (ch == '\n') {
            written += "\\n";
        } else if (ch == '"') {
            written += "\"\"";
        } else {
            written += ch;
        }
    }
    return written;
}

// Every backslash-n pair becomes a line feed, scanning left to right; a
// backslash the user typed before an "n" cannot be told apart, which stored
// documents rely on.
std::string unescapeTextArea(std::string_view written) {
    std::string text;
    text.reserve(written.size());
    for (std::size_t at = 0; at < written.size(); ++at) {
        if (written[at] == '\\' && at + 1 < written.size() && written[at + 1] == 'n') {
            text += '\n';
            ++at;
        } else {
            text += written[at];
        }
    }
    return text;
}

}  // namespace qv
