// Warning: an error value carrying a message. Formulas that fail leave a
// Warning in their cell instead of aborting the computation. A warning that
// only passes on another cell's error points at where that error began (an
// object the computing layer defines); the origin itself points nowhere.
#pragma once

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class Warning final : public Object {
    QV_OBJECT(Warning, Object, "Warning")
  public:
    explicit Warning(const StringPointer& message, const Pointer<Object>& origin = {})
        : m_message(message), m_origin(origin) {}

    const StringPointer& message() const noexcept { return m_message; }
    // Where the error this warning passes on began; the null object when
    // the warning is the error itself.
    const Pointer<Object>& origin() const noexcept { return m_origin; }
    StringPointer toString() const override { return m_message; }
    Pointer<Object> clone() const override { return make<Warning>(m_message, m_origin); }

  private:
    StringPointer m_message;
    Pointer<Object> m_origin;
};

}  // namespace qv
