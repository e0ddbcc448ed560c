#include "kernel/ValueKinds.h"

#include "core/Values.h"
#include "core/Warning.h"

namespace qv {

ValueKind valueKind(const Object& value) {
    if (value.isInstanceOf(Warning::typeId())) return ValueKind::Error;
    if (!value.isInstanceOf(SpecialValue::typeId())) return ValueKind::Plain;
    // Readers of a cycle or a stopped cell get a copy of its text, so the
    // text tells them apart, wherever the value was passed on.
    if (value.isInstanceOf(StringSpecialValue::typeId())) {
        std::string_view text = static_cast<const StringSpecialValue&>(value).text()->view();
        if (text == kCircularText || text == kStoppedText) return ValueKind::Error;
    }
    return ValueKind::Special;
}

}  // namespace qv
