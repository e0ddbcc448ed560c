#include "core/String.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "core/Allocator.h"
#include "core/Errors.h"
#include "core/StringBuffer.h"

namespace qv {

const StringPointer nullString;

String::String(std::string_view text) : m_size(static_cast<std::int32_t>(text.size()) + 1) {
    m_text = static_cast<char*>(allocate(static_cast<std::size_t>(m_size)));
    if (!text.empty()) std::memcpy(m_text, text.data(), text.size());
}

String::String(std::int32_t size, bool) : m_size(size < 1 ? 1 : size) {
    m_text = static_cast<char*>(allocate(static_cast<std::size_t>(m_size)));
}

StringPointer String::zeroFilled(std::int32_t size) {
    return StringPointer(new String(size, true));
}

String::~String() {
    deallocate(m_text, static_cast<std::size_t>(m_size));
}

StringPointer str(std::string_view text) {
    return make<String>(text);
}

StringPointer concatenation(std::span<const std::string_view> parts) {
    std::size_t total = 0;
    for (std::string_view part : parts)
        total += part.size();
    if (total >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throwMessage("text too long");
    }
    StringPointer text = String::zeroFilled(static_cast<std::int32_t>(total) + 1);
    char* at = text->mutableText();
    for (std::string_view part : parts) {
        if (part.empty()) continue;
        std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
    return text;
}

std::int32_t String::indexOf(char ch, std::int32_t from) const noexcept {
    if (from < 0) from = 0;
    for (std::int32_t i = from; i < length(); ++i) {
        if (m_text[i] == ch) return i;
    }
    return -1;
}

std::int32_t String::indexOf(std::string_view needle, std::int32_t from) const noexcept {
    if (from < 0) from = 0;
    if (from >= length()) return -1;
    std::size_t found = view().find(needle, static_cast<std::size_t>(from));
    return found == std::string_view::npos ? -1 : static_cast<std::int32_t>(found);
}

StringPointer String::substring(std::int32_t begin, std::int32_t end) const {
    if (end < begin) return str("");
    QV_ASSERT(begin >= 0 && end <= length());
    // Texts never change, so the whole text is this string itself.
    if (begin == 0 && end == length()) return StringPointer(const_cast<String*>(this));
    return str(
        view().substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
}

StringPointer String::trim() const {
    std::int32_t begin = 0;
    std::int32_t end = length();
    while (begin < end && isBlankByte(m_text[begin]))
        ++begin;
    while (end > begin && isBlankByte(m_text[end - 1]))
        --end;
    return substring(begin, end);
}

std::string_view trimmedBlanks(std::string_view text) noexcept {
    while (!text.empty() && isBlankByte(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlankByte(text.back()))
        text.remove_suffix(1);
    return text;
}

StringPointer String::reverse() const {
    std::string reversed(view().rbegin(), view().rend());
    return str(reversed);
}

StringPointer String::toLowerCase() {
    for (std::int32_t i = 0; i < length(); ++i) {
        if (m_text[i] >= 'A' && m_text[i] <= 'Z') m_text[i] = static_cast<char>(m_text[i] + 32);
    }
    return StringPointer(this);
}

StringPointer String::replace(char ch, std::string_view replacement) const {
    std::string result;
    for (char c : view()) {
        if (c == ch) {
            result += replacement;
        } else {
            result += c;
        }
    }
    return str(result);
}

StringPointer String::replace(std::string_view from, std::string_view to) const {
    if (from.empty()) return str(view());
    std::string result;
    std::string_view rest = view();
    for (std::size_t found; (found = rest.find(from)) != std::string_view::npos;) {
        result += rest.substr(0, found);
        result += to;
        rest.remove_prefix(found + from.size());
    }
    result += rest;
    return str(result);
}

bool String::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    return static_cast<const String&>(other).view() == view();
}

std::int32_t String::hashCode() const noexcept {
    std::uint32_t sum = 0;
    std::int32_t n = length();
    for (std::int32_t i = 0; i < n; i += 4) {
        std::uint32_t group = 0;
        for (std::int32_t k = 0; k < 4 && i + k < n; ++k) {
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_text[i + k]))
                     << (8 * k);
        }
        sum += group;
    }
    return static_cast<std::int32_t>(sum);
}

StringPointer String::toString() const {
    return StringPointer(const_cast<String*>(this));
}

Pointer<Object> String::clone() const {
    return str(view());
}

std::string generalFormat(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.13g", value);
    return buffer;
}

namespace {
StringPointer concat(const StringPointer& left, std::string_view right) {
    StringBuffer buffer(left);
    buffer.append(right);
    return buffer.toString();
}
}  // namespace

StringPointer operator+(const StringPointer& left, const StringPointer& right) {
    return concat(left, right.isNull() ? std::string_view("null") : right->view());
}
StringPointer operator+(const StringPointer& left, const char* right) {
    return concat(left, right);
}
StringPointer operator+(const StringPointer& left, std::string_view right) {
    return concat(left, right);
}
StringPointer operator+(const StringPointer& left, std::int32_t right) {
    return concat(left, std::to_string(right));
}
StringPointer operator+(const StringPointer& left, double right) {
    return concat(left, generalFormat(right));
}
StringPointer operator+(const StringPointer& left, bool right) {
    return concat(left, right ? "true" : "false");
}
StringPointer operator+(const StringPointer& left, char right) {
    return concat(left, std::string_view(&right, 1));
}
StringPointer operator+(const StringPointer& left, const Pointer<Object>& right) {
    StringBuffer buffer(left);
    buffer.append(right);
    return buffer.toString();
}
StringPointer operator+(const Pointer<Object>& left, const StringPointer& right) {
    StringBuffer buffer;
    buffer.append(left);
    buffer.append(right.isNull() ? std::string_view("null") : right->view());
    return buffer.toString();
}

}  // namespace qv
