// Functions that pass a value on or make one from their argument: "repeat"
// (the argument itself, re-evaluated in every row), "srand" (a seeded
// pseudo-random number) and "warning" (an error value with a message).
#pragma once

#include <cstdint>

#include "functions/Function.h"

namespace qv {

class Func_repeat final : public Function {
    QV_OBJECT(Func_repeat, Function, "Func_repeat")
  public:
    bool isRowDependent() const override { return true; }
    const char* name() const override { return "repeat"; }
    std::int32_t arity() const override { return 1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_srand final : public Function {
    QV_OBJECT(Func_srand, Function, "Func_srand")
  public:
    const char* name() const override { return "srand"; }
    std::int32_t arity() const override { return 1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_warning final : public Function {
    QV_OBJECT(Func_warning, Function, "Func_warning")
  public:
    const char* name() const override { return "warning"; }
    std::int32_t arity() const override { return 1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

}  // namespace qv
