#include "functions/MovingAvgSumFunction.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "core/Number.h"
#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

Pointer<SumFunction> MovingAvgSumFunction::newAccumulator() const {
    return make<MovingAvgSumFunction>();
}

void MovingAvgSumFunction::start(std::int32_t count) {
    m_values = DoubleArray(count);
    m_window = 1;
    m_finished = false;
}

void MovingAvgSumFunction::add(std::int32_t index, Arguments arguments) {
    m_window = truncateToInt32(toNumber(argumentAt(arguments, 0)));
    std::int64_t slot = static_cast<std::int64_t>(index) - 1;
    if (!m_values.contains(slot)) return;
    m_values[static_cast<std::int32_t>(slot)] = toNumber(argumentAt(arguments, 1));
}

// A running sum: add the newest value, drop the one that left the window.
// The first rows average over the rows available so far. A window of 0
// divides 0 by 0 in every row.
void MovingAvgSumFunction::finish() {
    if (m_finished) return;  // a second call would average the averages
    m_finished = true;
    // In 64 bits, so that the window of the smallest integer has a magnitude.
    std::int64_t window = std::llabs(static_cast<std::int64_t>(m_window));
    DoubleArray averages(m_values.size());
    double sum = 0;
    for (std::int32_t i = 0; i < m_values.size(); ++i) {
        sum += m_values[i];
        if (i - window >= 0) sum -= m_values[static_cast<std::int32_t>(i - window)];
        averages[i] = sum / static_cast<double>(std::min<std::int64_t>(window, i + 1));
    }
    m_values = std::move(averages);
}

Pointer<Object> MovingAvgSumFunction::result(std::int32_t row) const {
    std::int64_t slot = static_cast<std::int64_t>(row) - 1;
    if (!m_values.contains(slot)) return Pointer<Object>();
    return make<Double>(m_values[static_cast<std::int32_t>(slot)]);
}

}  // namespace qv
