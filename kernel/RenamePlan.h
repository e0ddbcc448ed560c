// RenamePlan: an exact rename of a table, a field or a row. It rewrites the
// names the linker resolves to the target — in formulas and row overrides,
// inherited formulas, select and find conditions, row@field, local table
// calls and their arguments, expressions outside the tables (the views of
// a layout) — and the target's own names (the table header and base-table
// clauses, every definition of the field in its family, the row's name in
// its name field), and nothing else. Formulas keep their text: only the
// characters of the renamed names change, so comments and formatting stay.
//
// The plan is made without touching the model: it is tried on a copy, and
// refused when any name would mean something else afterwards (a new name
// that a nearer definition hides, or one that would hide another). Apply
// and revert exchange the very objects, so a revert gives back the
// document byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/Kernel.h"
#include "kernel/NameTarget.h"

namespace qv {

// One formula before and after.
struct FormulaRewrite {
    FormulaPlace place;
    ExpressionPointer before;
    ExpressionPointer after;
    std::int32_t names = 0;  // how many names it renames
    // The renamed row's own name in its name field: the name itself, not
    // a use of it.
    bool ownName = false;
};

// A name of the model itself: a table's name, a base-table clause, a field's name.
struct NameRewrite {
    enum class What : std::int8_t { kTableName, kBaseName, kFieldName };
    What what = What::kTableName;
    std::int32_t table = -1;
    std::int32_t field = -1;  // for kFieldName: the position in the table's definition
    Pointer<Object> before;
    Pointer<Object> after;
};

// An expression outside the tables (by its index in the list the plan was
// made with) before and after.
struct OutsideRewrite {
    std::int32_t index = -1;
    StringPointer before;
    StringPointer after;
};

struct RenamePlan {
    NameTarget target;
    std::string newName;
    // Why nothing may change, or the null object.
    StringPointer refusal;
    std::vector<FormulaRewrite> formulas;
    std::vector<NameRewrite> names;
    std::vector<OutsideRewrite> outside;
    // Names right of a dot whose table is not known before computing, which
    // could be the target's field but are left as they are (other families
    // have fields of that name).
    std::int32_t undecided = 0;
    // Names right of a dot renamed because only the target's family has a
    // field of that name.
    std::int32_t guessed = 0;
    // How many tables define the field (its family) or hold a renamed formula.
    std::int32_t tables = 0;

    bool refused() const noexcept { return !refusal.isNull(); }
    bool changesNothing() const noexcept {
        return formulas.empty() && names.empty() && outside.empty();
    }
    // The formulas that use the target (a row's own name cell left out).
    std::int64_t formulaUses() const noexcept;
};

// The plan for renaming `target` (see parseNameTarget) to `newName`;
// `outside` are expressions kept outside the tables that may name it.
// Throws the StringPointer of findTarget when the target is not there; a
// new name that is taken, not valid or would change another name's meaning
// gives a plan with its refusal.
RenamePlan planRename(Kernel& kernel, NameTarget target, std::string_view newName,
                      const std::vector<StringPointer>& outside = {});

// Puts the plan's texts and names into the model (or the old ones back)
// and marks it changed. The outside expressions are the caller's.
void applyRename(ProgramDef& program, const RenamePlan& plan);
void revertRename(ProgramDef& program, const RenamePlan& plan);

// "12 formulas in 4 tables, 2 views" (a part counted 0 left out; "Only the
// name changes" when nothing uses the target) and, when there are any, the
// undecided names: what a preview says before the rename is applied.
std::string renameSummary(const RenamePlan& plan, std::int32_t views);

}  // namespace qv
