// The bound on the rows one table may hold, so that no document or range
// can make a computation allocate without limit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/String.h"

namespace qv {

// Data rows of one table; row keys run up to this number.
constexpr std::int64_t kMaxRows = 10'000'000;

// The row keys 0 ... rows - 1 a table result really holds.
inline std::int32_t clampRows(std::int64_t rows) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(rows, 1, kMaxRows + 1));
}

// "too many rows: N rows pass the limit of 10000000".
inline StringPointer tooManyRowsMessage(double rows) {
    char count[32];
    std::snprintf(count, sizeof count, "%.0f", rows);
    return str("too many rows: " + std::string(count) + " rows pass the limit of " +
               std::to_string(kMaxRows));
}

}  // namespace qv
