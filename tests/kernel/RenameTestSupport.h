// Helpers of the rename tests, in the kernel and over whole documents.
#pragma once

#include <string>

#include "kernel/NameTarget.h"

namespace qv::test {

// The label of a rename's target once renamed to `newName`, to rename it
// back; a row found by its number is then named.
inline std::string renamedLabel(const NameTarget& target, const std::string& newName) {
    NameTarget renamed = target;
    if (target.kind == NameTarget::Kind::kTable) {
        renamed.table = newName;
    } else {
        renamed.name = newName;
        renamed.rowByNumber = false;
    }
    return renamed.label();
}

}  // namespace qv::test
