#include "kernel/RangeValues.h"

#include "core/Number.h"

namespace qv {

Pointer<Object> StartEndRange::valueAt(std::int32_t cycle, std::int32_t, std::int32_t) const {
    if (m_count == 1) return make<Double>(m_first);
    return make<Double>(m_first + (m_second - m_first) * cycle / (m_count - 1));
}

Pointer<Object> StartStepSizeRange::valueAt(std::int32_t, std::int32_t rowPosition,
                                            std::int32_t) const {
    return make<Double>(m_first + rowPosition * m_second);
}

Pointer<Object> EndStepSizeRange::valueAt(std::int32_t, std::int32_t rowPosition,
                                          std::int32_t rowTotal) const {
    return make<Double>(m_first - (rowTotal - rowPosition - 2) * m_second);
}

Pointer<Object> DataRange::valueAt(std::int32_t cycle, std::int32_t, std::int32_t) const {
    if (cycle < 0 || cycle >= m_values->size()) return Pointer<Object>();
    return m_values->elementAt(cycle);
}

}  // namespace qv
