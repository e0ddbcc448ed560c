#include "core/Values.h"

namespace qv {

StringPointer NullResult::toString() const {
    return str("");
}

const Pointer<NullResult>& NullResult::instance() {
    static const Pointer<NullResult> shared = make<NullResult>();
    return shared;
}

const Pointer<OnStack>& OnStack::instance() {
    static const Pointer<OnStack> shared = make<OnStack>();
    return shared;
}

bool StringSpecialValue::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    return static_cast<const StringSpecialValue&>(other).m_text->view() == m_text->view();
}

}  // namespace qv
