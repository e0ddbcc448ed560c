// The conversions and the ordering that every operator and function applies
// to run-time values: anything converts, nothing is rejected.
#pragma once

#include <cstddef>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

// Double, Integer: the value; Boolean: 1 or 0; anything else 0.
double toNumber(const Object& value) noexcept;
// Null object, NullResult: false; Boolean: its value; Double: not 0; anything else true.
bool toBoolean(const Object& value) noexcept;
// Null object: empty; otherwise the value's own text.
StringPointer toText(const Object& value);
// The shared value ordering: null is smallest; values of different classes
// order by class name, texts case-insensitively, everything else by number.
bool isGreater(const Object& a, const Object& b) noexcept;
// Both null, or the equality of a's class applied to b.
bool valuesEqual(const Object& a, const Object& b) noexcept;

// The longest text one value may hold. Texts grow only by joining (the
// operator "&", the aggregate "concat"); without a bound a column of joins
// would take all memory, row by row.
inline constexpr std::size_t kMaxTextBytes = std::size_t{16} << 20;
// Raises "text too long: ..." naming the limit when a text of `bytes` would pass it.
void checkTextLength(std::size_t bytes);
// `left` followed by `right`, within the limit and the text budget of the
// computation (see TextBudget.h).
StringPointer joinTexts(const StringPointer& left, const StringPointer& right);

inline double toNumber(const Pointer<Object>& value) noexcept {
    return toNumber(*value.object());
}
inline bool toBoolean(const Pointer<Object>& value) noexcept {
    return toBoolean(*value.object());
}
inline StringPointer toText(const Pointer<Object>& value) {
    return toText(*value.object());
}

}  // namespace qv
