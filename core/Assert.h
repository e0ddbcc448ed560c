// Cheap invariant checks. QV_ASSERT stays active in checked builds (tests,
// sanitizers, fuzzers) and in debug builds; release builds drop it.
// QV_NEVER marks a defensive branch for a condition that cannot happen.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace qv {
[[noreturn]] inline void assertionFailed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant violated: %s\n", file, line, what);
    std::abort();
}
}  // namespace qv

#if defined(QV_CHECKED) || !defined(NDEBUG)
#define QV_ASSERT(cond) \
    ((cond) ? static_cast<void>(0) : ::qv::assertionFailed(#cond, __FILE__, __LINE__))
#define QV_NEVER(cond) ((cond) ? (::qv::assertionFailed(#cond, __FILE__, __LINE__), true) : false)
#else
#define QV_ASSERT(cond) static_cast<void>(0)
#define QV_NEVER(cond) (cond)
#endif
