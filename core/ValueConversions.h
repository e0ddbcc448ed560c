// The conversions and the ordering that every operator and function applies
// to run-time values: anything converts, nothing is rejected.
#pragma once

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
