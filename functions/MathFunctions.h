// The numeric functions: each converts its arguments with toNumber and
// returns a new Double. Domains are not checked; out-of-domain arguments give
// the floating-point result of the operation (not-a-number, infinities).
#pragma once

#include <cstdint>

#include "functions/Function.h"

namespace qv {

// One number in, one number out.
class UnaryNumberFunction : public Function {
    QV_ABSTRACT_OBJECT(UnaryNumberFunction, Function)
  public:
    std::int32_t arity() const override { return 1; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const final;
    virtual double compute(double x) const = 0;
};

// Two numbers in, one number out.
class BinaryNumberFunction : public Function {
    QV_ABSTRACT_OBJECT(BinaryNumberFunction, Function)
  public:
    std::int32_t arity() const override { return 2; }
    Pointer<Object> evaluate(std::int32_t column, std::int32_t row,
                             Arguments arguments) const final;
    virtual double compute(double x, double y) const = 0;
};

class Func_sin final : public UnaryNumberFunction {
    QV_OBJECT(Func_sin, UnaryNumberFunction, "Func_sin")
  public:
    const char* name() const override { return "sin"; }
    double compute(double x) const override;
};

class Func_abs final : public UnaryNumberFunction {
    QV_OBJECT(Func_abs, UnaryNumberFunction, "Func_abs")
  public:
    const char* name() const override { return "abs"; }
    double compute(double x) const override;
};

class Func_acos final : public UnaryNumberFunction {
    QV_OBJECT(Func_acos, UnaryNumberFunction, "Func_acos")
  public:
    const char* name() const override { return "acos"; }
    double compute(double x) const override;
};

class Func_asin final : public UnaryNumberFunction {
    QV_OBJECT(Func_asin, UnaryNumberFunction, "Func_asin")
  public:
    const char* name() const override { return "asin"; }
    double compute(double x) const override;
};

class Func_atan final : public UnaryNumberFunction {
    QV_OBJECT(Func_atan, UnaryNumberFunction, "Func_atan")
  public:
    const char* name() const override { return "atan"; }
    double compute(double x) const override;
};

class Func_atan2 final : public BinaryNumberFunction {
    QV_OBJECT(Func_atan2, BinaryNumberFunction, "Func_atan2")
  public:
    const char* name() const override { return "atan2"; }
    double compute(double x, double y) const override;
};

class Func_cos final : public UnaryNumberFunction {
    QV_OBJECT(Func_cos, UnaryNumberFunction, "Func_cos")
  public:
    const char* name() const override { return "cos"; }
    double compute(double x) const override;
};

class Func_exp final : public UnaryNumberFunction {
    QV_OBJECT(Func_exp, UnaryNumberFunction, "Func_exp")
  public:
    const char* name() const override { return "exp"; }
    double compute(double x) const override;
};

class Func_ln final : public UnaryNumberFunction {
    QV_OBJECT(Func_ln, UnaryNumberFunction, "Func_ln")
  public:
    const char* name() const override { return "ln"; }
    double compute(double x) const override;
};

class Func_log final : public BinaryNumberFunction {
    QV_OBJECT(Func_log, BinaryNumberFunction, "Func_log")
  public:
    const char* name() const override { return "log"; }
    double compute(double x, double y) const override;
};

class Func_log10 final : public UnaryNumberFunction {
    QV_OBJECT(Func_log10, UnaryNumberFunction, "Func_log10")
  public:
    const char* name() const override { return "log10"; }
    double compute(double x) const override;
};

class Func_power final : public BinaryNumberFunction {
    QV_OBJECT(Func_power, BinaryNumberFunction, "Func_power")
  public:
    const char* name() const override { return "power"; }
    double compute(double x, double y) const override;
};

class Func_sign final : public UnaryNumberFunction {
    QV_OBJECT(Func_sign, UnaryNumberFunction, "Func_sign")
  public:
    const char* name() const override { return "sign"; }
    double compute(double x) const override;
};

class Func_sqrt final : public UnaryNumberFunction {
    QV_OBJECT(Func_sqrt, UnaryNumberFunction, "Func_sqrt")
  public:
    const char* name() const override { return "sqrt"; }
    double compute(double x) const override;
};

class Func_tan final : public UnaryNumberFunction {
    QV_OBJECT(Func_tan, UnaryNumberFunction, "Func_tan")
  public:
    const char* name() const override { return "tan"; }
    double compute(double x) const override;
};

}  // namespace qv
