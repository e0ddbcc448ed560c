#include "core/Number.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/EngineeringFormat.h"
#include "core/Errors.h"
#include "core/String.h"

namespace qv {

bool Integer::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    return static_cast<const Integer&>(other).m_value == m_value;
}

Pointer<Object> Integer::plus(const Pointer<Object>& other) const {
    if (is<Double>(other)) return other->plus(Pointer<Object>(const_cast<Integer*>(this)));
    if (is<Integer>(other)) {
        auto sum = static_cast<std::uint32_t>(m_value) +
                   static_cast<std::uint32_t>(cast<Integer>(other)->m_value);
        return make<Integer>(static_cast<std::int32_t>(sum));
    }
    return Pointer<Object>();
}

StringPointer Integer::describe() const {
    return str("Integetr:") + m_value;
}

Pointer<Object> Integer::clone() const {
    return make<Integer>(m_value);
}

std::int32_t Double::intValue() const noexcept {
    // Out-of-range values saturate instead of invoking undefined behaviour.
    if (std::isnan(m_value)) return 0;
    if (m_value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (m_value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(m_value);
}

bool Double::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(Number::typeId())) return false;
    return static_cast<const Number&>(other).doubleValue() == m_value;
}

Pointer<Object> Double::plus(const Pointer<Object>& other) const {
    if (!is<Number>(other)) return Pointer<Object>();
    return make<Double>(cast<Number>(other)->doubleValue() + m_value);
}

StringPointer Double::toString() const {
    return str(formatEngineering(m_value));
}

Pointer<Object> Double::clone() const {
    return make<Double>(m_value);
}

namespace {

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

// The longest prefix that the standard decimal conversion accepts: blanks,
// a sign, digits with at most one point, and an exponent with digits. Only
// decimal forms count; hexadecimal and the words inf and nan do not.
std::size_t decimalPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

}  // namespace

double Double::parseValue(std::string_view text) {
    std::size_t used = decimalPrefix(text);
    if (used != text.size()) throwMessage("invalid number");
    if (used == 0) return 0;
    // The usual literal starts with a digit, a point or a minus sign and
    // reads exactly with from_chars; blanks, a plus sign and values out of
    // range are left to strtod.
    char first = text.front();
    if ((first >= '0' && first <= '9') || first == '.' || first == '-') {
        double value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size()) return value;
    }
    std::string copy(text);
    // strtod under the "C" locale: the program never changes LC_NUMERIC.
    return std::strtod(copy.c_str(), nullptr);
}

Pointer<Double> Double::parse(const StringPointer& text) {
    return make<Double>(parseValue(text.isNull() ? std::string_view() : text->view()));
}

const Pointer<Boolean>& Boolean::of(bool value) {
    static const Pointer<Boolean> yes = make<Boolean>(true);
    static const Pointer<Boolean> no = make<Boolean>(false);
    return value ? yes : no;
}

bool Boolean::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    return static_cast<const Boolean&>(other).m_value == m_value;
}

StringPointer Boolean::toString() const {
    return str(m_value ? "true" : "false");
}

Pointer<Object> Boolean::clone() const {
    return make<Boolean>(m_value);
}

}  // namespace qv
