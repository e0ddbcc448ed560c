#include "core/TextBudget.h"

#include <algorithm>
#include <string>

#include "core/Errors.h"

namespace qv {

namespace {

thread_local TextBudget* t_budget = nullptr;

}  // namespace

void TextBudget::take(std::size_t bytes) {
    // A size beyond any budget is refused before it is added, so the sum
    // cannot overflow.
    auto wanted = static_cast<std::int64_t>(
        std::min<std::size_t>(bytes, static_cast<std::size_t>(m_limit) + 1));
    if (wanted > m_limit - m_used) {
        throwMessage("too much text: the texts joined in one computation pass the limit of " +
                     std::to_string(m_limit) + " bytes");
    }
    m_used += wanted;
}

TextBudgetScope::TextBudgetScope(TextBudget* budget) noexcept : m_outer(t_budget) {
    if (budget != nullptr) t_budget = budget;
}

TextBudgetScope::~TextBudgetScope() {
    t_budget = m_outer;
}

void takeTextBudget(std::size_t bytes) {
    if (t_budget != nullptr) t_budget->take(bytes);
}

}  // namespace qv
