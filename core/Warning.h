// Warning: an error value carrying a message. Formulas that fail leave a
// Warning in their cell instead of aborting the computation.
#pragma once

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

class Warning final : public Object {
    QV_OBJECT(Warning, Object, "Warning")
  public:
    explicit Warning(const StringPointer& message) : m_message(message) {}

    const StringPointer& message() const noexcept { return m_message; }
    StringPointer toString() const override { return m_message; }
    Pointer<Object> clone() const override { return make<Warning>(m_message); }

  private:
    StringPointer m_message;
};

}  // namespace qv
