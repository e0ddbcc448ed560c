// The row-navigation functions: "row" and "col" read the current position,
// "prev" and "next" ask the calling calculator to fetch the same field in the
// neighbouring row (they return a FetchRequest, not a value).
#pragma once

#include <cstdint>

#include "functions/Function.h"

namespace qv {

class Func_prev final : public Function {
    QV_OBJECT(Func_prev, Function, "Func_prev")
  public:
    bool isPlaceOnly() const override { return true; }
    bool isRowDependent() const override { return true; }
    const char* name() const override { return "prev"; }
    std::int32_t arity() const override { return 0; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_next final : public Function {
    QV_OBJECT(Func_next, Function, "Func_next")
  public:
    bool isPlaceOnly() const override { return true; }
    bool isRowDependent() const override { return true; }
    const char* name() const override { return "next"; }
    std::int32_t arity() const override { return 0; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_row final : public Function {
    QV_OBJECT(Func_row, Function, "Func_row")
  public:
    bool isPlaceOnly() const override { return true; }
    bool isRowDependent() const override { return true; }
    const char* name() const override { return "row"; }
    std::int32_t arity() const override { return 0; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

// Not row dependent: the column is fixed for a formula.
class Func_col final : public Function {
    QV_OBJECT(Func_col, Function, "Func_col")
  public:
    bool isPlaceOnly() const override { return true; }
    const char* name() const override { return "col"; }
    std::int32_t arity() const override { return 0; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

}  // namespace qv
