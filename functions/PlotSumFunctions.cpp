#include "functions/PlotSumFunctions.h"

#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

Pointer<SumFunction> PlotSumFunction::newAccumulator() const {
    return make<PlotSumFunction>();
}

void PlotSumFunction::start(std::int32_t count) {
    m_trajectory = make<Trajectory2D>(count);
}

void PlotSumFunction::add(std::int32_t index, Arguments arguments) {
    if (m_trajectory.isNull()) return;
    m_trajectory->setPoint(static_cast<std::int64_t>(index) - 1, toNumber(argumentAt(arguments, 0)),
                           toNumber(argumentAt(arguments, 1)));
}

Pointer<Object> PlotSumFunction::result(std::int32_t) const {
    return m_trajectory;
}

Pointer<SumFunction> CollectSumFunction::newAccumulator() const {
    return make<CollectSumFunction>();
}

void CollectSumFunction::start(std::int32_t) {
    m_trajectories = make<Vector>();
}

void CollectSumFunction::add(std::int32_t, Arguments arguments) {
    if (m_trajectories.isNull()) return;
    Pointer<Object> value = argumentPointer(arguments, 0);
    if (is<Trajectory2D>(value)) m_trajectories->addElement(value);
}

Pointer<Object> CollectSumFunction::result(std::int32_t) const {
    return m_trajectories;
}

}  // namespace qv
