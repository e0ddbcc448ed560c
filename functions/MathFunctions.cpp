#include "functions/MathFunctions.h"

#include <cmath>

#include "core/Number.h"
#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

Pointer<Object> UnaryNumberFunction::evaluate(std::int32_t, std::int32_t,
                                              Arguments arguments) const {
    return make<Double>(compute(toNumber(argumentAt(arguments, 0))));
}

Pointer<Object> BinaryNumberFunction::evaluate(std::int32_t, std::int32_t,
                                               Arguments arguments) const {
    return make<Double>(
        compute(toNumber(argumentAt(arguments, 0)), toNumber(argumentAt(arguments, 1))));
}

double Func_sin::compute(double x) const {
    return std::sin(x);
}

double Func_abs::compute(double x) const {
    return std::fabs(x);
}

double Func_acos::compute(double x) const {
    return std::acos(x);
}

double Func_asin::compute(double x) const {
    return std::asin(x);
}

double Func_atan::compute(double x) const {
    return std::atan(x);
}

// The first argument is the ordinate, the second the abscissa.
double Func_atan2::compute(double x, double y) const {
    return std::atan2(x, y);
}

double Func_cos::compute(double x) const {
    return std::cos(x);
}

double Func_exp::compute(double x) const {
    return std::exp(x);
}

double Func_ln::compute(double x) const {
    return std::log(x);
}

double Func_log::compute(double x, double y) const {
    return std::log(x) / std::log(y);
}

// Through the natural logarithm rather than std::log10: existing results were
// computed this way, and the two differ in the last bit for some arguments.
double Func_log10::compute(double x) const {
    return std::log(x) / std::log(10.0);
}

double Func_power::compute(double x, double y) const {
    return std::pow(x, y);
}

// Not-a-number has no sign and gives 0.
double Func_sign::compute(double x) const {
    return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0;
}

double Func_sqrt::compute(double x) const {
    return std::sqrt(x);
}

double Func_tan::compute(double x) const {
    return std::tan(x);
}

}  // namespace qv
