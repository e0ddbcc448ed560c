// The one process-wide pseudo-random generator. "srand" seeds and draws from
// it, and the randomised sorts draw their pivots from it, so a seed makes
// every later draw reproducible.
#pragma once

#include <cstdint>

namespace qv {

// Sets the generator state; the state is 1 when the process starts.
void seedRandom(std::uint32_t seed) noexcept;
// Advances the state and returns a number 0 ... 32767.
std::int32_t drawRandom() noexcept;

}  // namespace qv
