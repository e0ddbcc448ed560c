// The two-argument "min" and "max". They return one of their argument
// objects, never a copy, so of two values that are equal for the ordering
// (texts differing in case) the choice is visible.
#pragma once

#include <cstdint>

#include "functions/Function.h"

namespace qv {

class Func_min final : public Function {
    QV_OBJECT(Func_min, Function, "Func_min")
  public:
    const char* name() const override { return "min"; }
    std::int32_t arity() const override { return 2; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_max final : public Function {
    QV_OBJECT(Func_max, Function, "Func_max")
  public:
    const char* name() const override { return "max"; }
    std::int32_t arity() const override { return 2; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

}  // namespace qv
