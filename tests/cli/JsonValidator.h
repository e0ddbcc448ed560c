// A strict JSON validator for the tests of qvl's JSON output: the grammar
// of RFC 8259, strings of valid UTF-8 without raw control characters, and
// nothing after the value but a line end. Written apart from the tool's
// own UTF-8 code so that the two do not share a mistake.
#pragma once

#include <cctype>
#include <cstring>
#include <string_view>

namespace qv::cli::test {

class JsonValidator {
  public:
    // True when the whole text is one JSON value (and an optional line end).
    static bool isValid(std::string_view text) {
        JsonValidator validator(text);
        if (!validator.value()) return false;
        if (validator.m_text.substr(validator.m_at) == "\n") return true;
        return validator.m_at == validator.m_text.size();
    }

  private:
    explicit JsonValidator(std::string_view text) : m_text(text) {}

    bool value() {
        if (++m_depth > 64) return false;
        skipBlanks();
        bool valid = false;
        char next = peek();
        if (next == '{') {
            valid = container('}', true);
        } else if (next == '[') {
            valid = container(']', false);
        } else if (next == '"') {
            valid = string();
        } else if (next == '-' || std::isdigit(static_cast<unsigned char>(next))) {
            valid = number();
        } else {
            valid = literal("true") || literal("false") || literal("null");
        }
        skipBlanks();
        --m_depth;
        return valid;
    }
    bool container(char close, bool object) {
        ++m_at;
        skipBlanks();
        if (peek() == close) return ++m_at, true;
        for (;;) {
            if (object) {
                skipBlanks();
                if (!string()) return false;
                skipBlanks();
                if (peek() != ':') return false;
                ++m_at;
            }
            if (!value()) return false;
            if (peek() == close) return ++m_at, true;
            if (peek() != ',') return false;
            ++m_at;
        }
    }
    bool string() {
        if (peek() != '"') return false;
        ++m_at;
        while (m_at < m_text.size()) {
            auto byte = static_cast<unsigned char>(m_text[m_at]);
            if (byte == '"') return ++m_at, true;
            if (byte < 0x20) return false;
            if (byte == '\\') {
                if (!escape()) return false;
            } else if (!utf8Character()) {
                return false;
            }
        }
        return false;
    }
    bool escape() {
        ++m_at;
        char kind = peek();
        ++m_at;
        if (kind != '\0' && std::strchr("\"\\/bfnrt", kind) != nullptr) return true;
        if (kind != 'u' || m_at + 4 > m_text.size()) return false;
        for (int i = 0; i < 4; ++i) {
            if (!std::isxdigit(static_cast<unsigned char>(m_text[m_at++]))) return false;
        }
        return true;
    }
    bool utf8Character() {
        auto byte = [&](std::size_t i) { return static_cast<unsigned char>(m_text[m_at + i]); };
        unsigned char first = byte(0);
        std::size_t length = first < 0x80                     ? 1
                             : first >= 0xC2 && first <= 0xDF ? 2
                             : first >= 0xE0 && first <= 0xEF ? 3
                             : first >= 0xF0 && first <= 0xF4 ? 4
                                                              : 0;
        if (length == 0 || m_at + length > m_text.size()) return false;
        for (std::size_t i = 1; i < length; ++i) {
            if ((byte(i) & 0xC0) != 0x80) return false;
        }
        // The forms that pass the pattern above and are still not UTF-8.
        if (first == 0xE0 && byte(1) < 0xA0) return false;   // overlong
        if (first == 0xED && byte(1) >= 0xA0) return false;  // surrogate
        if (first == 0xF0 && byte(1) < 0x90) return false;   // overlong
        if (first == 0xF4 && byte(1) >= 0x90) return false;  // past U+10FFFF
        m_at += length;
        return true;
    }
    bool number() {
        if (peek() == '-') ++m_at;
        if (peek() == '0') {
            ++m_at;
            if (std::isdigit(static_cast<unsigned char>(peek()))) return false;
        } else if (!digits()) {
            return false;
        }
        if (peek() == '.' && (++m_at, !digits())) return false;
        if (peek() == 'e' || peek() == 'E') {
            ++m_at;
            if (peek() == '+' || peek() == '-') ++m_at;
            if (!digits()) return false;
        }
        return true;
    }
    bool digits() {
        std::size_t start = m_at;
        while (std::isdigit(static_cast<unsigned char>(peek())))
            ++m_at;
        return m_at > start;
    }
    bool literal(std::string_view word) {
        if (m_text.substr(m_at, word.size()) != word) return false;
        m_at += word.size();
        return true;
    }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\r' || peek() == '\n')
            ++m_at;
    }
    char peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }

    std::string_view m_text;
    std::size_t m_at = 0;
    int m_depth = 0;
};

}  // namespace qv::cli::test
