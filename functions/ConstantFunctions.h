// The constants "pi" and "e" and the truth values "true" and "false". They
// exist only as bare names (arity -1) and ignore their arguments.
#pragma once

#include <cstdint>

#include "functions/Function.h"

namespace qv {

class Func_pi final : public Function {
    QV_OBJECT(Func_pi, Function, "Func_pi")
  public:
    const char* name() const override { return "pi"; }
    std::int32_t arity() const override { return -1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_e final : public Function {
    QV_OBJECT(Func_e, Function, "Func_e")
  public:
    static constexpr double kValue = 2.718281828459;
    const char* name() const override { return "e"; }
    std::int32_t arity() const override { return -1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_false final : public Function {
    QV_OBJECT(Func_false, Function, "Func_false")
  public:
    const char* name() const override { return "false"; }
    std::int32_t arity() const override { return -1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

class Func_true final : public Function {
    QV_OBJECT(Func_true, Function, "Func_true")
  public:
    const char* name() const override { return "true"; }
    std::int32_t arity() const override { return -1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const override;
};

}  // namespace qv
