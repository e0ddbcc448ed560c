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

// One numeric function: its class, its base (one or two numbers) and the
// name the user writes. compute() is defined in MathFunctions.cpp.
#define QV_UNARY_NUMBER_FUNCTION(Class, Name)              \
    class Class final : public UnaryNumberFunction {       \
        QV_OBJECT(Class, UnaryNumberFunction, #Class)      \
      public:                                              \
        const char* name() const override { return Name; } \
        double compute(double x) const override;           \
    };
#define QV_BINARY_NUMBER_FUNCTION(Class, Name)             \
    class Class final : public BinaryNumberFunction {      \
        QV_OBJECT(Class, BinaryNumberFunction, #Class)     \
      public:                                              \
        const char* name() const override { return Name; } \
        double compute(double x, double y) const override; \
    };

QV_UNARY_NUMBER_FUNCTION(Func_sin, "sin")
QV_UNARY_NUMBER_FUNCTION(Func_abs, "abs")
QV_UNARY_NUMBER_FUNCTION(Func_acos, "acos")
QV_UNARY_NUMBER_FUNCTION(Func_asin, "asin")
QV_UNARY_NUMBER_FUNCTION(Func_atan, "atan")
QV_BINARY_NUMBER_FUNCTION(Func_atan2, "atan2")
QV_UNARY_NUMBER_FUNCTION(Func_cos, "cos")
QV_UNARY_NUMBER_FUNCTION(Func_exp, "exp")
QV_UNARY_NUMBER_FUNCTION(Func_ln, "ln")
QV_BINARY_NUMBER_FUNCTION(Func_log, "log")
QV_UNARY_NUMBER_FUNCTION(Func_log10, "log10")
QV_BINARY_NUMBER_FUNCTION(Func_power, "power")
QV_UNARY_NUMBER_FUNCTION(Func_sign, "sign")
QV_UNARY_NUMBER_FUNCTION(Func_sqrt, "sqrt")
QV_UNARY_NUMBER_FUNCTION(Func_tan, "tan")

#undef QV_UNARY_NUMBER_FUNCTION
#undef QV_BINARY_NUMBER_FUNCTION

}  // namespace qv
