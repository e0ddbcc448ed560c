// The bounds on the rows and cells one table result may hold, so that no
// document, range or local table can make a computation allocate without
// limit.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/String.h"

namespace qv {

// Data rows of one table; row keys run up to this number.
constexpr std::int64_t kMaxRows = 10'000'000;
// Cells (fields times row keys) of one table result: a wide table gets
// fewer rows, so a document with a huge row key and many fields cannot
// take gigabytes either.
constexpr std::int64_t kMaxCells = 20'000'000;

// Fields a linked program may hold, inherited copies included: a chain of
// tables each extending the last copies every field down the chain.
constexpr std::int64_t kMaxLinkedFields = 2'000'000;
// The fields a linked program has taken so far, against kMaxLinkedFields:
// the program owns it and its tables draw on it as they resolve.
class FieldBudget {
  public:
    // Takes `count` fields; false, taking none, when that passes the limit.
    bool reserve(std::int64_t count) noexcept {
        if (m_used + count > kMaxLinkedFields) return false;
        m_used += count;
        return true;
    }

  private:
    std::int64_t m_used = 0;
};

// Cells all the table results of one computation may hold together.
constexpr std::int64_t kMaxProgramCells = 60'000'000;

// The data rows a table with `fields` fields may hold.
inline std::int64_t rowLimit(std::int32_t fields) {
    return std::min<std::int64_t>(kMaxRows, kMaxCells / std::max<std::int32_t>(fields, 1));
}

// The row keys 0 ... rows - 1 a table result with `fields` fields really holds.
inline std::int32_t clampRows(std::int64_t rows, std::int32_t fields) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(rows, 1, rowLimit(fields) + 1));
}

// "too many rows: N rows pass the limit of 10000000".
inline StringPointer tooManyRowsMessage(double rows, std::int64_t limit = kMaxRows) {
    char count[32];
    std::snprintf(count, sizeof count, "%.0f", rows);
    return str("too many rows: " + std::string(count) + " rows pass the limit of " +
               std::to_string(limit));
}

}  // namespace qv
