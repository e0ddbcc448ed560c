// FunctionSignature: a function's name with its argument expressions. It is
// the key of a call site ("f(?,?)": calls with the same name and argument
// count share it) and the name of a field that defines a user function,
// whose arguments are then its parameters.
#pragma once

#include "core/String.h"
#include "language/PrimaryExpressions.h"

namespace qv {

class FunctionSignature final : public Object {
    QV_OBJECT(FunctionSignature, Object, "FunctionSignature")
  public:
    FunctionSignature(const StringPointer& name, const Pointer<ExpressionList>& arguments);

    const StringPointer& name() const noexcept { return m_name; }
    const Pointer<ExpressionList>& arguments() const noexcept { return m_arguments; }
    std::int32_t argumentCount() const noexcept { return m_arguments->size(); }
    const StringPointer& key() const noexcept { return m_key; }
    // The parameter names, for a signature whose arguments are identifiers.
    StringPointer parameterName(std::int32_t index) const;

    // The signature as a field name: name(a,b).
    StringPointer toString() const override;
    std::int32_t hashCode() const noexcept override { return m_key->hashCode(); }
    bool equals(const Object& other) const noexcept override;
    Pointer<Object> clone() const override;

  private:
    StringPointer m_name;
    Pointer<ExpressionList> m_arguments;
    StringPointer m_key;
};

}  // namespace qv
