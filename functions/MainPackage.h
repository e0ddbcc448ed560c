// MainPackage: creates one shared object of every built-in function, in the
// order in which the registry receives them.
#pragma once

#include "core/TVector.h"
#include "functions/Function.h"
#include "functions/SumFunction.h"

namespace qv {

class MainPackage final : public Object {
    QV_OBJECT(MainPackage, Object, "MainPackage")
  public:
    MainPackage();

    const char* packageName() const noexcept { return "main"; }
    const Pointer<TVector<SumFunction>>& aggregates() const noexcept { return m_aggregates; }
    const Pointer<TVector<Function>>& scalars() const noexcept { return m_scalars; }

  private:
    Pointer<TVector<SumFunction>> m_aggregates;
    Pointer<TVector<Function>> m_scalars;
};

}  // namespace qv
