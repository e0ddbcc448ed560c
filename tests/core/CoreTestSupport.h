// Helpers shared by the core tests: reading a String as std::string, catching
// the message thrown under the error convention, and an object that counts
// its own destructions.
#pragma once

#include <string>

#include "core/Object.h"
#include "core/Pointer.h"
#include "core/String.h"

namespace qv::test {

inline std::string text(const StringPointer& string) {
    return string.isNull() ? std::string("<null object>") : string->toStdString();
}

// The message thrown as a StringPointer, or a marker when nothing is thrown.
// Other exception types escape, so the test reports them.
template <class Action>
std::string thrownMessage(Action&& action) {
    try {
        action();
    } catch (const StringPointer& message) {
        return text(message);
    }
    return "<nothing thrown>";
}

class Tracked final : public Object {
    QV_OBJECT(Tracked, Object, "Tracked")
  public:
    explicit Tracked(int& destructions) noexcept : m_destructions(destructions) {}
    ~Tracked() override { ++m_destructions; }

  private:
    int& m_destructions;
};

}  // namespace qv::test
