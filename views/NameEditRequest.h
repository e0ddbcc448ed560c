// What a grid hands the application when the user types a new name into a
// cell that holds one, or clears it: the application previews a rename of
// every use before it is applied, or warns that the name's uses will break
// before it goes. `asTyped` makes the edit as the grid would have made it.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "core/Object.h"

namespace qv {

class NameEditRequest final : public Object {
    QV_OBJECT(NameEditRequest, Object, "NameEditRequest")
  public:
    NameEditRequest(std::string target, std::string typed, std::function<void()> asTyped)
        : m_target(std::move(target)), m_typed(std::move(typed)), m_asTyped(std::move(asTyped)) {}

    // "Prices" or "Prices.qty".
    const std::string& target() const noexcept { return m_target; }
    // The new name, trimmed; empty when the name is cleared.
    const std::string& typed() const noexcept { return m_typed; }
    bool clears() const noexcept { return m_typed.empty(); }
    void applyAsTyped() const {
        if (m_asTyped) m_asTyped();
    }

  private:
    std::string m_target;
    std::string m_typed;
    std::function<void()> m_asTyped;
};

}  // namespace qv
