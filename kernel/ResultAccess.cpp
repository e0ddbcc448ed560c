#include "kernel/ResultAccess.h"

namespace qv {

AbstractResultAdapter* adapterOf(const Pointer<Object>& value) {
    if (!is<AbstractResultGetter>(value)) return nullptr;
    return &cast<AbstractResultGetter>(value)->adapter();
}

}  // namespace qv
