// A linear congruential generator; the constants and the 15-bit result are
// what stored documents' "srand" values depend on, so they must not change.
#include "functions/RandomGenerator.h"

namespace qv {
namespace {

std::uint32_t g_state = 1;

}  // namespace

void seedRandom(std::uint32_t seed) noexcept {
    g_state = seed;
}

std::int32_t drawRandom() noexcept {
    // Unsigned arithmetic wraps modulo 2^32.
    g_state = g_state * 214013u + 2531011u;
    return static_cast<std::int32_t>((g_state >> 16) & 32767u);
}

}  // namespace qv
