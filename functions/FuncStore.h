// FuncStore: the registry of built-in functions by name and arity, one
// table for scalar functions and one for aggregates.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Hashtable.h"
#include "functions/Function.h"
#include "functions/SumFunction.h"

namespace qv {

// The lookup key: a name (case-sensitive) and an arity (-1 for a bare name).
class FunctionName final : public Object {
    QV_OBJECT(FunctionName, Object, "FunctionName")
  public:
    FunctionName(const StringPointer& name, std::int32_t arity) : m_name(name), m_arity(arity) {}
    const StringPointer& name() const noexcept { return m_name; }
    std::int32_t arity() const noexcept { return m_arity; }
    bool equals(const Object& other) const noexcept override;
    std::int32_t hashCode() const noexcept override;

  private:
    StringPointer m_name;
    std::int32_t m_arity;
};

class FuncStore final : public Object {
    QV_OBJECT(FuncStore, Object, "FuncStore")
  public:
    FuncStore();

    // The function registered under (name, arity), or the null object.
    Pointer<Function> findFunction(std::string_view name, std::int32_t arity) const;
    Pointer<SumFunction> findAggregate(std::string_view name, std::int32_t arity) const;

    // Registers under the function's own name and arity; a later function with
    // an equal key replaces the earlier one.
    void addFunction(const Pointer<Function>& function);
    void addAggregate(const Pointer<SumFunction>& aggregate);

  private:
    Pointer<Hashtable> m_scalarFunctions;
    Pointer<Hashtable> m_aggregateFunctions;
};

}  // namespace qv
