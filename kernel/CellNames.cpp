// The names of cells as a user writes them outside any table: the table's
// name, the row ("[3]", "[sum]", nothing for the formula row) and the field.
#include <string>

#include "core/Errors.h"
#include "kernel/CellPlace.h"
#include "kernel/ProgramResult.h"
#include "language/AbstractExpression.h"

namespace qv {

namespace {

const TableResult& tableAt(ProgramResult& results, const CellPlace& place) {
    if (place.table < 0 || place.table >= results.tableCount()) throwString(str("no such cell"));
    const Pointer<TableResult>& table = results.getTable(place.table);
    if (table.isNull() || place.field < 0 || place.field >= table->fieldCount() || place.row < -1 ||
        place.row >= table->rowCount()) {
        throwString(str("no such cell"));
    }
    return *table;
}

// The formula row is the table's own dot ("T.f"); the others need an index.
// A row name does not serve: outside its table "T[name]" reads the name as
// anything but that table's row.
void appendRow(std::string& out, std::int32_t row) {
    if (row == 0) return;
    out += row < 0 ? "[sum]" : "[" + std::to_string(row) + "]";
}

// By name when the name leads back to this very field; otherwise by its
// position after the marker fields ("T[3][2]", "T[base][2]" for the formula
// row). A marker field without a name that finds it has no readable form:
// its plain name is the nearest.
void appendField(std::string& out, const TableResult& table, const CellPlace& place) {
    StringPointer name = table.fieldName(place.field);
    bool named = name->length() > 0 && table.resolved()->fieldIndexOf(name->view()) == place.field;
    std::int32_t position = place.field - table.resolved()->headerCount() + 1;
    if (named || position < 1) {
        out += '.';
        printName(out, name);
        return;
    }
    if (place.row == 0) out += "[base]";
    out += "[" + std::to_string(position) + "]";
}

}  // namespace

StringPointer cellName(ProgramResult& results, const CellPlace& place) {
    if (!place.isCell()) return str("");
    const TableResult& table = tableAt(results, place);
    std::string out;
    printName(out, table.name());
    appendRow(out, place.row);
    appendField(out, table, place);
    return str(out);
}

}  // namespace qv
