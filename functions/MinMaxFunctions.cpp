#include "functions/MinMaxFunctions.h"

#include "core/ValueConversions.h"
#include "functions/FunctionSupport.h"

namespace qv {

// Of two equal values the first.
Pointer<Object> Func_min::evaluate(std::int32_t, std::int32_t, Arguments arguments) const {
    Pointer<Object> first = argumentPointer(arguments, 0);
    Pointer<Object> second = argumentPointer(arguments, 1);
    return isGreater(*first.object(), *second.object()) ? second : first;
}

// Of two equal values the second.
Pointer<Object> Func_max::evaluate(std::int32_t, std::int32_t, Arguments arguments) const {
    Pointer<Object> first = argumentPointer(arguments, 0);
    Pointer<Object> second = argumentPointer(arguments, 1);
    return isGreater(*first.object(), *second.object()) ? first : second;
}

}  // namespace qv
