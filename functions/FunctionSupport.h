// Small helpers shared by the library functions: reading an argument that a
// caller may not have supplied, and turning a number into a 32-bit integer
// without undefined behaviour.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "functions/Function.h"

namespace qv {

// The argument at `index`, or the null object when the caller passed fewer.
// The registry matches arities, so the fallback only guards misuse.
inline const Object& argumentAt(Arguments arguments, std::size_t index) noexcept {
    return index < arguments.size() ? *arguments[index].object() : *nullObject();
}
inline Pointer<Object> argumentPointer(Arguments arguments, std::size_t index) noexcept {
    return index < arguments.size() ? arguments[index] : Pointer<Object>();
}

// Truncation toward zero that saturates at the ends of the 32-bit range and
// maps not-a-number to 0, as the boxed Double does.
inline std::int32_t truncateToInt32(double value) noexcept {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

}  // namespace qv
