#include "cli/JsonText.h"

#include <cstdio>

#include "core/Utf8.h"

namespace qv::cli {

namespace {

void writeJsonEscape(BufferedOutput& out, char32_t value) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(value));
    out << escaped;
}

bool isPlainJson(char ch) {
    auto byte = static_cast<unsigned char>(ch);
    return byte >= 0x20 && byte < 0x7F && ch != '"' && ch != '\\';
}

}  // namespace

void writeJsonString(BufferedOutput& out, std::string_view text) {
    out << '"';
    while (!text.empty()) {
        // Runs of printable ASCII, the usual text, are copied whole.
        std::size_t run = 0;
        while (run < text.size() && isPlainJson(text[run]))
            ++run;
        out << text.substr(0, run);
        text.remove_prefix(run);
        if (text.empty()) break;
        utf8::Decoded character = utf8::decode(text);
        if (character.length == 0) {
            out << "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        char32_t value = character.codePoint;
        if (value == '"') {
            out << "\\\"";
        } else if (value == '\\') {
            out << "\\\\";
        } else if (value == '\n') {
            out << "\\n";
        } else if (value == '\r') {
            out << "\\r";
        } else if (value == '\t') {
            out << "\\t";
        } else if (value < 0x20 || (value >= 0x7F && value < 0xA0)) {
            writeJsonEscape(out, value);
        } else {
            out << text.substr(0, character.length);
        }
        text.remove_prefix(character.length);
    }
    out << '"';
}

}  // namespace qv::cli
