#include "functions/ValueFunctions.h"

#include "core/Number.h"
#include "core/ValueConversions.h"
#include "core/Warning.h"
#include "functions/FunctionSupport.h"
#include "functions/RandomGenerator.h"

namespace qv {

Pointer<Object> Func_repeat::evaluate(std::int32_t, std::int32_t, Arguments arguments) const {
    return argumentPointer(arguments, 0);
}

// Seeding and then drawing twice maps every seed to one fixed number, so a
// formula gets a different number per row by seeding with the row.
Pointer<Object> Func_srand::evaluate(std::int32_t, std::int32_t, Arguments arguments) const {
    std::int32_t seed = truncateToInt32(toNumber(argumentAt(arguments, 0)));
    seedRandom(static_cast<std::uint32_t>(seed));
    drawRandom();
    return make<Double>(drawRandom());
}

Pointer<Object> Func_warning::evaluate(std::int32_t, std::int32_t, Arguments arguments) const {
    return make<Warning>(toText(argumentAt(arguments, 0)));
}

}  // namespace qv
