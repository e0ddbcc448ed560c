#include "language/FunctionSignature.h"

namespace qv {

namespace {
StringPointer keyOf(const StringPointer& name, std::int32_t count) {
    std::string key(name.isNull() ? std::string_view() : name->view());
    key += '(';
    for (std::int32_t i = 0; i < count; ++i)
        key += i == 0 ? "?" : ",?";
    key += ')';
    return str(key);
}
}  // namespace

FunctionSignature::FunctionSignature(const StringPointer& name,
                                     const Pointer<ExpressionList>& arguments)
    : m_name(name),
      m_arguments(arguments.isNull() ? make<ExpressionList>() : arguments),
      m_key(keyOf(name, m_arguments->size())) {}

StringPointer FunctionSignature::parameterName(std::int32_t index) const {
    return (*m_arguments)[index]->nameText();
}

StringPointer FunctionSignature::toString() const {
    std::string text(m_name.isNull() ? std::string_view() : m_name->view());
    text += '(';
    for (std::int32_t i = 0; i < m_arguments->size(); ++i) {
        if (i > 0) text += ',';
        const auto& argument = (*m_arguments)[i];
        if (!argument.isNull()) argument->print(text);
    }
    text += ')';
    return str(text);
}

bool FunctionSignature::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    return static_cast<const FunctionSignature&>(other).m_key->view() == m_key->view();
}

Pointer<Object> FunctionSignature::clone() const {
    return make<FunctionSignature>(m_name, cloneExpressions(m_arguments));
}

}  // namespace qv
