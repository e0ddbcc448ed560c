// Enumerations walk containers. Both kinds prefetch: hasMoreElements() is
// true exactly when the prefetched element is not the null object, so an
// enumeration stops at the first empty slot.
#pragma once

#include <string_view>

#include "core/Object.h"
#include "core/Pointer.h"

namespace qv {

class Enumeration : public Object {
    QV_ABSTRACT_OBJECT(Enumeration, Object)
  public:
    virtual bool hasMoreElements() const = 0;
    virtual Pointer<Object> nextElement() = 0;
};

// The toString() of every element with the separator between them.
StringPointer join(const Pointer<Enumeration>& elements, std::string_view separator);

}  // namespace qv
