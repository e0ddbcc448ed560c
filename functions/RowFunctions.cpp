#include "functions/RowFunctions.h"

#include <limits>

#include "core/Number.h"
#include "core/Values.h"

namespace qv {
namespace {

constexpr std::int32_t kFormulaRow = 0;

// The formula row has no current row to navigate from; the calling
// calculator passes the special value on as the cell's failure.
bool isFormulaRow(std::int32_t row) {
    return row == kFormulaRow;
}

Pointer<Object> noCurrentRow() {
    return make<SpecialRequest>(make<StringSpecialValue>(str("(range)")));
}

}  // namespace

Pointer<Object> Func_prev::evaluate(std::int32_t column, std::int32_t row, Arguments) const {
    if (isFormulaRow(row)) return noCurrentRow();
    if (row <= 1) return Pointer<Object>();  // the first data row and the summary row
    return make<FetchRequest>(column, row - 1);
}

// The last data row is not special: its fetch reads past the table and sees
// an empty value there.
Pointer<Object> Func_next::evaluate(std::int32_t column, std::int32_t row, Arguments) const {
    if (isFormulaRow(row)) return noCurrentRow();
    if (row < 0) return Pointer<Object>();  // the summary row
    // No row follows the largest key; asking for it would overflow.
    if (row == std::numeric_limits<std::int32_t>::max()) return Pointer<Object>();
    return make<FetchRequest>(column, row + 1);
}

Pointer<Object> Func_row::evaluate(std::int32_t, std::int32_t row, Arguments) const {
    if (isFormulaRow(row)) return noCurrentRow();
    return make<Double>(row);
}

Pointer<Object> Func_col::evaluate(std::int32_t column, std::int32_t, Arguments) const {
    return make<Double>(static_cast<double>(column) + 1);
}

}  // namespace qv
