// ParseResult: the outcome of parsing a name the user typed — the value
// (a String, a FunctionSignature, or the null object for empty text) and the
// error message (or the null object).
#pragma once

#include "core/String.h"

namespace qv {

class ParseResult final : public Object {
    QV_OBJECT(ParseResult, Object, "ParseResult")
  public:
    ParseResult(const Pointer<Object>& value, const StringPointer& error)
        : m_value(value), m_error(error) {}

    const Pointer<Object>& value() const noexcept { return m_value; }
    const StringPointer& error() const noexcept { return m_error; }
    bool failed() const noexcept { return !m_error.isNull(); }

  private:
    Pointer<Object> m_value;
    StringPointer m_error;
};

}  // namespace qv
