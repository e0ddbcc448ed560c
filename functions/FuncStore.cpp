// The registry is filled once from the main package; lookups happen while a
// program is compiled, never per evaluation, so building a key per lookup is
// acceptable.
#include "functions/FuncStore.h"

#include "functions/MainPackage.h"

namespace qv {

bool FunctionName::equals(const Object& other) const noexcept {
    if (other.isNull() || !other.isInstanceOf(typeId())) return false;
    const auto& that = static_cast<const FunctionName&>(other);
    if (m_arity != that.m_arity) return false;
    if (m_name.isNull() || that.m_name.isNull()) return m_name.isNull() && that.m_name.isNull();
    return m_name->view() == that.m_name->view();
}

std::int32_t FunctionName::hashCode() const noexcept {
    // Unsigned arithmetic: the product wraps instead of overflowing.
    auto nameHash = static_cast<std::uint32_t>(m_name.isNull() ? 0 : m_name->hashCode());
    auto factor = static_cast<std::uint32_t>(m_arity) + 2u;
    return static_cast<std::int32_t>(nameHash * factor);
}

FuncStore::FuncStore()
    : m_scalarFunctions(make<Hashtable>()), m_aggregateFunctions(make<Hashtable>()) {
    auto package = make<MainPackage>();
    for (const auto& function : *package->scalars())
        addFunction(function);
    for (const auto& aggregate : *package->aggregates())
        addAggregate(aggregate);
}

void FuncStore::addFunction(const Pointer<Function>& function) {
    m_scalarFunctions->put(make<FunctionName>(str(function->name()), function->arity()), function);
}

void FuncStore::addAggregate(const Pointer<SumFunction>& aggregate) {
    m_aggregateFunctions->put(make<FunctionName>(str(aggregate->name()), aggregate->arity()),
                              aggregate);
}

Pointer<Function> FuncStore::findFunction(std::string_view name, std::int32_t arity) const {
    return cast<Function>(m_scalarFunctions->get(make<FunctionName>(str(name), arity)));
}

Pointer<SumFunction> FuncStore::findAggregate(std::string_view name, std::int32_t arity) const {
    return cast<SumFunction>(m_aggregateFunctions->get(make<FunctionName>(str(name), arity)));
}

}  // namespace qv
