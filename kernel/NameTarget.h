// NameTarget: what a user names to rename or to look up — a table
// (`Prices`), a field (`Prices.qty`) or a row (`Prices[alpha]`, by name or
// number) — read from text and found in a linked program. Names that are
// not plain identifiers are written in brackets: `[My Table].[unit price]`.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "kernel/NameUses.h"

namespace qv {

class ResolvedProgram;

struct NameTarget {
    enum class Kind : std::int8_t { kTable, kField, kRow };
    Kind kind = Kind::kTable;
    std::string table;  // the table's name
    std::string name;   // the field's or row's name; a row's number as digits
    bool rowByNumber = false;

    // What it is once found (see findTarget).
    NameMeaning meaning;
    std::int32_t tableIndex = -1;  // the table named
    std::int32_t field = -1;       // the field's index in that table
    std::int32_t rowKey = 0;       // the row's key
    std::string current;           // the name as it is now (a row found by number)

    // "Prices", "Prices.qty" or "Prices[alpha]", names bracketed as needed.
    std::string label() const;
};

// Reads `Table`, `Table.field` or `Table[row]`; throws a StringPointer
// "bad name TEXT: write Table, Table.field or Table[row]" otherwise.
NameTarget parseNameTarget(std::string_view text);

// Finds the target in the program and fills its meaning; throws a
// StringPointer "LABEL: no such table" (field, row) when it is not there.
void findTarget(NameTarget& target, const ResolvedProgram& program);

// The name in the form formulas write it: plain, or in brackets.
std::string formulaName(std::string_view name);

}  // namespace qv
