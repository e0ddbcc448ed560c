// Orders row keys by the shared value ordering with a randomised quicksort
// whose pivots come from the shared random generator.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Pointer.h"

namespace qv {

// Sorts `rows` ascending by keys[row]; equal keys keep no particular order.
void sortRowsByValue(std::vector<std::int32_t>& rows, const std::vector<Pointer<Object>>& keys);

}  // namespace qv
