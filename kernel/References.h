// References: where a table, a field or a row is used — the formulas whose
// names the linker resolves to it, and the places of the model that name it
// (the table's header and base-table clauses, the field's definitions, the
// row's name). What a where-used list shows and `qvl refs` prints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/Kernel.h"
#include "kernel/NameTarget.h"

namespace qv {

struct Reference {
    enum class Kind : std::int8_t {
        kFormula,     // a name in a formula (`place`, `offset`, `length`)
        kTableName,   // the table's own header (`place.table`)
        kBaseClause,  // "extends" in the header of `place.table`
        kFieldName,   // the field defined in `place.table` at `place.field`
        kRowName,     // the row's name in its name field (`place`)
        kView,        // an expression outside the tables: `place.field` numbers it
    };
    Kind kind = Kind::kFormula;
    FormulaPlace place;
    std::int32_t offset = -1;
    std::int32_t length = 0;
    UseKind use = UseKind::kName;
    // A name after a dot taken as the target's because no other family has
    // a field of that name (its table is known only when computing).
    bool guessed = false;
};

// Finds the target (see parseNameTarget) and its references, definitions
// first, then formulas in the order of the tables, fields and rows;
// `outside` as for collectNameUses (their references are kView). Throws
// the StringPointer of findTarget when the target is not there.
std::vector<Reference> findReferences(Kernel& kernel, NameTarget& target,
                                      const std::vector<StringPointer>& outside = {});

// The text of the formula a reference lies in, or the null object.
StringPointer referenceText(const ProgramDef& program, const Reference& reference,
                            const std::vector<StringPointer>& outside = {});
// The tables whose base-table clause names table `table`, in order.
std::vector<std::int32_t> tablesExtending(const ResolvedProgram& linked, std::int32_t table);

// A definition of a field: `place` holds the table that defines it and the
// field's position there.
struct FieldDefinition {
    FormulaPlace place;
    Pointer<FieldDef> definition;
};
// The definitions of a field family (a kField meaning): the first and each
// override, not the copies derived tables inherit; once each, in the order
// of the tables.
std::vector<FieldDefinition> fieldDefinitions(const ResolvedProgram& linked,
                                              const NameMeaning& field);

// "Table", "Table.field", with "[3]" ("[sum]") for a row's own formula.
std::string placeLabel(const ProgramDef& program, const FormulaPlace& place);

}  // namespace qv
