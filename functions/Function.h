// Function: the base of every built-in scalar function. One shared,
// stateless object per function, called with the evaluated arguments.
#pragma once

#include <cstdint>
#include <span>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

using Arguments = std::span<const Pointer<Object>>;

class Function : public Object {
    QV_ABSTRACT_OBJECT(Function, Object)
  public:
    // True when the value depends on the current row even for equal arguments.
    virtual bool isRowDependent() const { return false; }
    // True when the value depends on the cell's place alone (row, col,
    // prev, next): the call changes nothing and may be repeated.
    virtual bool isPlaceOnly() const { return false; }
    virtual const char* name() const = 0;
    // -1: used as a bare name; 0 or more: the number of arguments.
    virtual std::int32_t arity() const = 0;
    // `column` is the 0-based field index, `row` the current row key. The
    // result may be a FetchRequest asking for another cell.
    virtual Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                                     Arguments arguments) const = 0;
};

// Returned instead of a value when the calling calculator has to finish the
// call: functions see no cells and no evaluator.
class FunctionRequest : public Object {
    QV_ABSTRACT_OBJECT(FunctionRequest, Object)
};

// Returned by "prev" and "next" instead of a value: the cell to fetch.
class FetchRequest final : public FunctionRequest {
    QV_OBJECT(FetchRequest, FunctionRequest, "FetchRequest")
  public:
    FetchRequest(std::int32_t column, std::int32_t row) : m_column(column), m_row(row) {}
    std::int32_t column() const noexcept { return m_column; }
    std::int32_t row() const noexcept { return m_row; }

  private:
    std::int32_t m_column;
    std::int32_t m_row;
};

// The call fails the way reading a cell holding this special value fails:
// the reading cell gets the value's text (the formula row of a row function
// has no current row, "(range)").
class SpecialRequest final : public FunctionRequest {
    QV_OBJECT(SpecialRequest, FunctionRequest, "SpecialRequest")
  public:
    explicit SpecialRequest(const Pointer<Object>& special) : m_special(special) {}
    const Pointer<Object>& special() const noexcept { return m_special; }

  private:
    Pointer<Object> m_special;
};

}  // namespace qv
