// Values are immutable and the language cannot tell two equal numbers apart,
// so each constant is one shared object instead of a new one per use.
#include "functions/ConstantFunctions.h"

#include "core/Number.h"

namespace qv {

Pointer<Object> Func_pi::evaluate(std::int32_t, std::int32_t, Arguments) const {
    static const Pointer<Double> shared = make<Double>(3.141592653589793);
    return shared;
}

// Twelve decimals only: existing results depend on this value, which is not
// the double nearest e.
Pointer<Object> Func_e::evaluate(std::int32_t, std::int32_t, Arguments) const {
    static const Pointer<Double> shared = make<Double>(kValue);
    return shared;
}

Pointer<Object> Func_false::evaluate(std::int32_t, std::int32_t, Arguments) const {
    return Boolean::of(false);
}

Pointer<Object> Func_true::evaluate(std::int32_t, std::int32_t, Arguments) const {
    return Boolean::of(true);
}

}  // namespace qv
