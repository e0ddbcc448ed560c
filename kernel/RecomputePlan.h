// RecomputePlan: the cells an edit made stale, found by comparing what two
// links of the program recorded (FieldReads): the formulas that changed,
// then, table by table, every field that reads a stale field, until nothing
// more goes stale. Unbounded fields are always stale. No plan (a full
// computation) when the tables, their fields or their names differ, or
// when a stale field generates rows or marks row names or bases.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "kernel/FieldReads.h"

namespace qv {

struct StaleCells {
    bool whole = false;
    // Ascending row keys, the summary row (-1) among them, when not whole.
    std::vector<std::int32_t> rows;
    bool any() const noexcept { return whole || !rows.empty(); }
};

class RecomputePlan {
  public:
    // Past this many stale rows a field is computed whole.
    static constexpr std::size_t kMaxStaleRows = 4096;

    static std::optional<RecomputePlan> between(const ProgramReads& before,
                                                const ProgramReads& after);

    // By table, then by field.
    const std::vector<std::vector<StaleCells>>& stale() const noexcept { return m_stale; }
    const StaleCells& at(std::int32_t table, std::int32_t field) const {
        return m_stale[static_cast<std::size_t>(table)][static_cast<std::size_t>(field)];
    }
    std::int64_t staleFieldCount() const;

  private:
    std::vector<std::vector<StaleCells>> m_stale;
};

}  // namespace qv
