#include "app/TerminalText.h"

#include <cstring>

#include "core/Utf8.h"

namespace qv {

namespace {

bool isControl(char32_t codePoint) noexcept {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0);
}

// The escape of a control character or a stray byte; returns its length.
std::size_t escape(char* out, char32_t value, bool strayByte) noexcept {
    static constexpr char kDigits[] = "0123456789abcdef";
    if (!strayByte && value == '\n') return std::memcpy(out, "\\n", 2), 2;
    if (!strayByte && value == '\r') return std::memcpy(out, "\\r", 2), 2;
    if (!strayByte && value == '\t') return std::memcpy(out, "\\t", 2), 2;
    if (strayByte || value < 0x80) {
        out[0] = '\\', out[1] = 'x';
        out[2] = kDigits[(value >> 4) & 0xF], out[3] = kDigits[value & 0xF];
        return 4;
    }
    std::memcpy(out, "\\u00", 4);
    out[4] = kDigits[(value >> 4) & 0xF], out[5] = kDigits[value & 0xF];
    return 6;
}

// Walks the text one character or stray byte at a time.
template <typename Visit>
void forEachCharacter(std::string_view text, Visit visit) {
    while (!text.empty()) {
        utf8::Decoded character = utf8::decode(text);
        if (character.length == 0) {
            visit(static_cast<unsigned char>(text[0]), std::string_view(text.data(), 1), true);
            text.remove_prefix(1);
        } else {
            visit(character.codePoint, text.substr(0, character.length), false);
            text.remove_prefix(character.length);
        }
    }
}

}  // namespace

bool isPlainText(std::string_view text) noexcept {
    // One pass of comparisons without branches: this runs over every cell
    // text of a grid before it is written.
    unsigned char outside = 0;
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        outside |= static_cast<unsigned char>((byte < 0x20) | (byte >= 0x7F));
    }
    return outside == 0;
}

std::size_t terminalWidth(std::string_view text) noexcept {
    std::size_t width = 0;
    forEachCharacter(text, [&](char32_t value, std::string_view, bool strayByte) {
        if (strayByte) {
            width += 4;
        } else if (isControl(value)) {
            char escaped[8];
            width += escape(escaped, value, false);
        } else {
            ++width;
        }
    });
    return width;
}

char* writeForTerminal(char* out, std::string_view text) noexcept {
    forEachCharacter(text, [&](char32_t value, std::string_view bytes, bool strayByte) {
        if (strayByte || isControl(value)) {
            out += escape(out, value, strayByte);
        } else {
            std::memcpy(out, bytes.data(), bytes.size());
            out += bytes.size();
        }
    });
    return out;
}

std::string forTerminal(std::string_view text) {
    std::string shown(text.size() * kMaxEscapeGrowth, '\0');
    shown.resize(static_cast<std::size_t>(writeForTerminal(shown.data(), text) - shown.data()));
    return shown;
}

}  // namespace qv
