// String: an immutable, reference-counted byte text (NUL-terminated). Text is
// bytes; documents are UTF-8, so bytes from 0x80 up are ordinary letters.
// Also the concatenation operators that build messages and source texts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class String final : public Object {
    QV_OBJECT(String, Object, "String")
  public:
    explicit String(std::string_view text);
    // A zero-filled text of `size` bytes, terminator included.
    static StringPointer zeroFilled(std::int32_t size);
    ~String() override;

    std::int32_t length() const noexcept { return m_size - 1; }
    char charAt(std::int32_t index) const noexcept { return m_text[index]; }
    const char* text() const noexcept { return m_text; }
    char* mutableText() noexcept { return m_text; }
    std::string_view view() const noexcept {
        return {m_text, static_cast<std::size_t>(m_size - 1)};
    }
    std::string toStdString() const { return std::string(view()); }

    std::int32_t indexOf(char ch) const noexcept { return indexOf(ch, 0); }
    std::int32_t indexOf(char ch, std::int32_t from) const noexcept;
    std::int32_t indexOf(std::string_view needle, std::int32_t from) const noexcept;

    StringPointer substring(std::int32_t begin, std::int32_t end) const;
    StringPointer substring(std::int32_t begin) const { return substring(begin, length()); }
    StringPointer trim() const;
    StringPointer reverse() const;
    StringPointer toLowerCase();
    StringPointer replace(char ch, std::string_view replacement) const;
    StringPointer replace(std::string_view from, std::string_view to) const;

    bool equals(std::string_view other) const noexcept { return view() == other; }
    bool equals(const Object& other) const noexcept override;
    std::int32_t hashCode() const noexcept override;
    StringPointer toString() const override;
    Pointer<Object> clone() const override;

  private:
    String(std::int32_t size, bool zeroFill);

    char* m_text;
    std::int32_t m_size;
};

// Makes a String from plain text.
StringPointer str(std::string_view text);

// A blank for trimming: space and the control characters. Bytes 0x80 to 0xFF
// are letters of UTF-8 names, never blanks.
inline bool isBlankByte(char ch) noexcept {
    return static_cast<unsigned char>(ch) <= 32;
}

// The text without the blanks at either end.
std::string_view trimmedBlanks(std::string_view text) noexcept;

// The global holder of the null object that concatenation prints as "null".
extern const StringPointer nullString;

// Concatenation. A right operand that is a String holding the null object
// prints "null"; a right operand that is any other null object prints nothing.
StringPointer operator+(const StringPointer& left, const StringPointer& right);
StringPointer operator+(const StringPointer& left, const char* right);
StringPointer operator+(const StringPointer& left, std::string_view right);
StringPointer operator+(const StringPointer& left, std::int32_t right);
StringPointer operator+(const StringPointer& left, double right);
StringPointer operator+(const StringPointer& left, bool right);
StringPointer operator+(const StringPointer& left, char right);
StringPointer operator+(const StringPointer& left, const Pointer<Object>& right);
StringPointer operator+(const Pointer<Object>& left, const StringPointer& right);

// The parts one after the other, built in one piece: source texts of whole
// documents run to tens of megabytes. Throws "text too long" past the
// 32-bit length of a String.
StringPointer concatenation(std::span<const std::string_view> parts);

// The text appended for a double: 13 significant digits, general notation.
std::string generalFormat(double value);

}  // namespace qv
