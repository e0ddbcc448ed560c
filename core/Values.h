// The run-time values a calculation produces besides numbers, texts and
// truth values: the empty result, the marker of a cell being computed, and
// the special values (a message such as "(circular)", ranges, data ranges).
#pragma once

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv {

// The empty result: the value of "if" without "else" when the condition is
// false, and of cells without a formula. It prints as the empty text.
class NullResult final : public Object {
    QV_OBJECT(NullResult, Object, "NullResult")
  public:
    StringPointer toString() const override;
    // One shared instance; identity is not observable through the language.
    static const Pointer<NullResult>& instance();
};

// Stored in a cell's cache while the cell is being computed.
class OnStack final : public Object {
    QV_OBJECT(OnStack, Object, "OnStack")
  public:
    static const Pointer<OnStack>& instance();
};

// Base of the non-numeric special results; readers of a cell holding one
// receive its text as a StringSpecialValue.
class SpecialValue : public Object {
    QV_ABSTRACT_OBJECT(SpecialValue, Object)
};

class StringSpecialValue final : public SpecialValue {
    QV_OBJECT(StringSpecialValue, SpecialValue, "StringSpecialValue")
  public:
    explicit StringSpecialValue(const StringPointer& text, const Pointer<Object>& cause = {})
        : m_text(text), m_cause(cause) {}
    const StringPointer& text() const noexcept { return m_text; }
    // What made the value (a cycle, the place a computation stopped), as
    // the computing layer records it; the null object when nothing did.
    // Equality ignores it.
    const Pointer<Object>& cause() const noexcept { return m_cause; }
    StringPointer toString() const override { return m_text; }
    // Equal to another special value of the same text.
    bool equals(const Object& other) const noexcept override;
    std::int32_t hashCode() const noexcept override { return m_text->hashCode(); }

  private:
    StringPointer m_text;
    Pointer<Object> m_cause;
};

}  // namespace qv
