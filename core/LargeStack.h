// Runs a piece of work on a thread with a large stack and waits for it.
// Long chains of cells computing each other recurse deeply; the default
// stack of the calling thread would overflow long before the engine's own
// nesting bound is reached.
#pragma once

#include <cstddef>
#include <functional>

namespace qv {

// Bytes of stack the work gets (address space; pages are committed only
// when touched).
constexpr std::size_t kLargeStackBytes = std::size_t{4} << 30;

// Runs `work` on the large stack and rethrows whatever it throws. Nested
// calls from the large-stack thread run directly.
void runOnLargeStack(const std::function<void()>& work);

// The same; while the work runs, the calling thread calls `whileWaiting`
// about every `intervalMilliseconds` (a window repaints its progress and
// takes a request to stop). `whileWaiting` runs on the calling thread and
// must not touch what the work is changing.
void runOnLargeStack(const std::function<void()>& work, const std::function<void()>& whileWaiting,
                     int intervalMilliseconds = 50);

}  // namespace qv
