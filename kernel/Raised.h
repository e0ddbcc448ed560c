// The result channel of a computation. A cell that reads a cell holding an
// error or a special value, or that closes a cycle, fails in turn; instead
// of unwinding the C++ stack, the failure travels up the calculator tree as
// one shared marker value, returned by every calculator that meets it, until
// the Evaluator that computes the reading cell turns it into the cell's
// value. The failure itself (its kind and the value that caused it) waits in
// the Evaluator meanwhile; only one is ever on its way at a time, because
// every calculator returns as soon as it meets the marker.
#pragma once

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class RaisedMarker final : public Object {
    QV_OBJECT(RaisedMarker, Object, "RaisedMarker")
  public:
    // Never freed: like the null object, it starts with a count no balanced
    // sequence of retains and releases brings to zero.
    static constexpr std::int32_t kInitialCount = 100000;
    constexpr RaisedMarker() noexcept : Object(kInitialCount) {}
};

extern constinit RaisedMarker g_raisedMarker;

inline Object* raisedMarker() noexcept {
    return &g_raisedMarker;
}
inline bool isRaised(const Object* value) noexcept {
    return value == &g_raisedMarker;
}
inline bool isRaised(const Pointer<Object>& value) noexcept {
    return isRaised(value.object());
}

}  // namespace qv
