// NameUses: every place where a formula names a table, a field or a row,
// with what the linker resolves the name to. The list is made by linking a
// program with an observer (see ReferenceObserver.h), so it follows the
// rules of resolution exactly: shadowing by parameters and fields, the two
// sides of a select condition, inherited formulas compiled again in every
// derived table. Where-used lists and renames are built on it.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "functions/FuncStore.h"
#include "language/AbstractExpression.h"
#include "language/ProgramDef.h"

namespace qv {

class ResolvedProgram;
class ResolvedTable;

// Where a formula is kept: field `field` (its position in the table's
// definition) of table `table`, at `rowKey`. A table of -1 stands for an
// expression outside the tables (a view of the layout), `field` numbering
// those expressions.
struct FormulaPlace {
    std::int32_t table = -1;
    std::int32_t field = -1;
    std::int32_t rowKey = 0;
    auto operator<=>(const FormulaPlace&) const = default;
};

// What a name means, in terms that survive a rename: a table by its index,
// a field by the first definition of its family (the base-most table
// defining it and the field's position there: an override or inherited
// copy in a derived table is the same field), a row by the table whose name
// field defines it and its row key.
struct NameMeaning {
    enum class Kind : std::int8_t {
        kTable,
        kField,
        kRow,
        // The right of a dot whose left side is not known before computing,
        // where fields of that name lie in several families: `text` holds
        // the name.
        kUndecided,
        // Anything else: a parameter, "col", a library name, nothing.
        kOther,
    };
    Kind kind = Kind::kOther;
    std::int32_t table = -1;
    std::int32_t item = -1;
    std::string text;
    bool operator==(const NameMeaning&) const = default;

    static NameMeaning ofTable(std::int32_t table) { return {Kind::kTable, table, -1, {}}; }
    static NameMeaning other(std::string what) { return {Kind::kOther, -1, -1, std::move(what)}; }
};

enum class UseKind : std::int8_t {
    kName,         // a name in a formula
    kMember,       // the name right of a dot
    kCall,         // the name of a local table call T(...) or a user function call
    kArgument,     // a of T(a := ...): a field of T
    kCellRow,      // row of row@field
    kCellField,    // field of row@field
    kSelectTable,  // T of select * from T
};

struct NameUse {
    FormulaPlace place;
    std::int32_t offset = 0;    // where the name starts in the formula's text
    std::int32_t context = -1;  // the table whose link resolved it; -1 outside tables
    UseKind kind = UseKind::kName;
    // True for the right of a dot whose table was not known before
    // computing, decided because one family alone has a field of the name.
    bool guessed = false;
    NameMeaning meaning;
};

// The meaning of field `field` of a linked table.
NameMeaning fieldMeaning(const ResolvedTable& table, std::int32_t field);
// The meaning of the row at `rowKey` of a linked table (its name field's
// formula there), or kOther when no name field names it.
NameMeaning rowMeaning(const ResolvedTable& table, std::int32_t rowKey);
// The index of a table definition in its program, or -1.
std::int32_t tableIndexOf(const ProgramDef& program, const TableDef* table);

// Links `program` with an observer and returns the uses of names in every
// formula, in the order the link meets them; `expressions` are parsed and
// linked outside any table (places with table -1, field = their index).
std::vector<NameUse> collectNameUses(const Pointer<ProgramDef>& program,
                                     const Pointer<FuncStore>& functions,
                                     const std::vector<StringPointer>& expressions = {});

// Where the name field formula that names a row (a kRow meaning) is kept;
// field -1 when it is not found.
FormulaPlace rowNamePlace(const ResolvedProgram& program, const NameMeaning& row);

// The formula kept at a place, or the null object.
ExpressionPointer formulaAt(const ProgramDef& program, const FormulaPlace& place);

}  // namespace qv
