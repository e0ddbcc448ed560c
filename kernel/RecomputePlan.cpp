#include "kernel/RecomputePlan.h"

#include <algorithm>

namespace qv {

namespace {

bool sameFields(const TableReads& before, const TableReads& after) {
    if (before.fields.size() != after.fields.size()) return false;
    for (std::size_t i = 0; i < before.fields.size(); ++i) {
        const FieldReads& a = before.fields[i];
        const FieldReads& b = after.fields[i];
        if (a.definition.object() != b.definition.object() || a.name != b.name ||
            a.hasWarning != b.hasWarning || a.definesFunction != b.definesFunction) {
            return false;
        }
    }
    return true;
}

// Row counts are the results' to compare: rows a range generated may stand
// for rows the definition counts.
bool sameShape(const TableReads& before, const TableReads& after) {
    if (before.present != after.present) return false;
    if (!before.present) return true;
    return before.definition.object() == after.definition.object() && before.name == after.name &&
           before.base == after.base && before.nameField == after.nameField &&
           before.baseField == after.baseField && before.headerCount == after.headerCount &&
           before.hasWarning == after.hasWarning && sameFields(before, after);
}

// True when the cells grew. A stale row also makes the field's summary
// stale, which a default summary computes from the whole column; a stale
// formula row makes every row stale, as rows that do not vary repeat it.
bool markRow(StaleCells& cells, std::int32_t row) {
    if (cells.whole) return false;
    if (row == 0) {
        cells.whole = true;
        cells.rows.clear();
        return true;
    }
    bool grew = false;
    for (std::int32_t key : {std::int32_t{-1}, row}) {
        auto at = std::lower_bound(cells.rows.begin(), cells.rows.end(), key);
        if (at != cells.rows.end() && *at == key) continue;
        cells.rows.insert(at, key);
        grew = true;
    }
    if (cells.rows.size() > RecomputePlan::kMaxStaleRows) {
        cells.whole = true;
        cells.rows.clear();
    }
    return grew;
}

bool markWhole(StaleCells& cells) {
    if (cells.whole) return false;
    cells.whole = true;
    cells.rows.clear();
    return true;
}

void compareFormulas(const FieldReads& before, const FieldReads& after, StaleCells& cells) {
    auto a = before.formulas.begin();
    auto b = after.formulas.begin();
    while (a != before.formulas.end() || b != after.formulas.end()) {
        if (b == after.formulas.end() || (a != before.formulas.end() && a->first < b->first)) {
            markRow(cells, (a++)->first);
        } else if (a == before.formulas.end() || b->first < a->first) {
            markRow(cells, (b++)->first);
        } else {
            if (a->second.object() != b->second.object()) markRow(cells, a->first);
            ++a;
            ++b;
        }
    }
}

bool validField(std::int32_t field, std::size_t count) {
    return field >= 0 && static_cast<std::size_t>(field) < count;
}

// One pass over the readers of a table; true when anything more went stale.
bool spread(const std::vector<FieldReads>& fields, std::vector<StaleCells>& stale) {
    bool changed = false;
    for (std::size_t reader = 0; reader < fields.size(); ++reader) {
        StaleCells& cells = stale[reader];
        if (cells.whole) continue;
        for (std::int32_t read : fields[reader].anyRow) {
            if (validField(read, fields.size()) && stale[static_cast<std::size_t>(read)].any()) {
                changed |= markWhole(cells);
            }
        }
        for (std::int32_t read : fields[reader].sameRow) {
            if (cells.whole || !validField(read, fields.size())) continue;
            const StaleCells& source = stale[static_cast<std::size_t>(read)];
            if (source.whole) {
                changed |= markWhole(cells);
                continue;
            }
            // A copy: the source may be this field itself.
            std::vector<std::int32_t> rows = source.rows;
            for (std::int32_t row : rows)
                changed |= markRow(cells, row);
        }
    }
    return changed;
}

}  // namespace

std::optional<RecomputePlan> RecomputePlan::between(const ProgramReads& before,
                                                    const ProgramReads& after) {
    const auto& old = before.tables();
    const auto& now = after.tables();
    if (old.size() != now.size()) return std::nullopt;
    RecomputePlan plan;
    plan.m_stale.resize(now.size());
    for (std::size_t t = 0; t < now.size(); ++t) {
        if (!sameShape(old[t], now[t])) return std::nullopt;
        const auto& fields = now[t].fields;
        std::vector<StaleCells>& stale = plan.m_stale[t];
        stale.resize(fields.size());
        for (std::size_t f = 0; f < fields.size(); ++f) {
            // Unbounded fields may read anything, and so anything edited.
            if (fields[f].unbounded) markWhole(stale[f]);
            // Whether rows differ is decided per field, for every row.
            if (fields[f].overridden != old[t].fields[f].overridden) markWhole(stale[f]);
            compareFormulas(old[t].fields[f], fields[f], stale[f]);
        }
        while (spread(fields, stale)) {
        }
        bool anyStale = false;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (!stale[f].any()) continue;
            anyStale = true;
            // Rows come from range fields: new ones need the whole passes.
            if (fields[f].range || old[t].fields[f].range) return std::nullopt;
        }
        // Row names and base markers decide which cell reads which.
        if (anyStale && (now[t].nameField >= 0 || now[t].baseField >= 0)) return std::nullopt;
    }
    return plan;
}

std::int64_t RecomputePlan::staleFieldCount() const {
    std::int64_t count = 0;
    for (const auto& table : m_stale) {
        for (const StaleCells& cells : table)
            count += cells.any() ? 1 : 0;
    }
    return count;
}

}  // namespace qv
