#include "functions/NumericSumFunctions.h"

#include "core/Number.h"
#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

Pointer<SumFunction> SumFunc_sum::newAccumulator() const {
    return make<SumFunc_sum>();
}

void SumFunc_sum::start(std::int32_t) {
    m_total = 0;
}

void SumFunc_sum::add(std::int32_t, Arguments arguments) {
    m_total += toNumber(argumentAt(arguments, 0));
}

Pointer<Object> SumFunc_sum::result(std::int32_t) const {
    return make<Double>(m_total);
}

Pointer<SumFunction> AvgSumFunction::newAccumulator() const {
    return make<AvgSumFunction>();
}

void AvgSumFunction::start(std::int32_t count) {
    m_count = count;
    m_total = 0;
}

void AvgSumFunction::add(std::int32_t, Arguments arguments) {
    m_total += toNumber(argumentAt(arguments, 0));
}

Pointer<Object> AvgSumFunction::result(std::int32_t) const {
    return make<Double>(m_total / m_count);
}

Pointer<SumFunction> WavgSumFunction::newAccumulator() const {
    return make<WavgSumFunction>();
}

void WavgSumFunction::start(std::int32_t) {
    m_weights = 0;
    m_weighted = 0;
}

void WavgSumFunction::add(std::int32_t, Arguments arguments) {
    double weight = toNumber(argumentAt(arguments, 1));
    m_weights += weight;
    m_weighted += toNumber(argumentAt(arguments, 0)) * weight;
}

Pointer<Object> WavgSumFunction::result(std::int32_t) const {
    return make<Double>(m_weighted / m_weights);
}

}  // namespace qv
