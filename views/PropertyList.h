// The protocol of an object whose Boolean properties the properties view
// shows and edits: a title, a count, and by index a name, a value and a way
// to set it. The count is what the view shows; a list may hold further
// properties reachable by index only.
#pragma once

#include <cstdint>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class PropertyList : public Object {
    QV_ABSTRACT_OBJECT(PropertyList, Object)
  public:
    // The empty String for an index out of range.
    virtual StringPointer propertyName(std::int32_t index) const = 0;
    virtual StringPointer title() const = 0;
    virtual std::int32_t propertyCount() const = 0;
    // A boxed Boolean, or the null object for an index out of range.
    virtual Pointer<Object> propertyValue(std::int32_t index) const = 0;
    // Takes a boxed Boolean; anything else, or an index out of range, is ignored.
    virtual void setProperty(std::int32_t index, const Pointer<Object>& value) = 0;
};

}  // namespace qv
