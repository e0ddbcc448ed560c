// TextBudget: the bytes of text that joins may make in one computation.
// A single text is bounded (kMaxTextBytes), but a column of joins, each row
// a little longer than the one before, keeps every row's text and climbs to
// gigabytes well inside that bound; the budget makes such a computation end
// with an error in its cells instead of running out of memory.
//
// What is counted is the bytes joins make, not the bytes alive: counting
// live texts would cost a count on every text made and freed, on the path
// of every cell, while joins are the one way texts grow. Texts a
// computation makes and drops again count too, which the budget's size
// allows for.
//
// The computation running on a thread names its budget with a
// TextBudgetScope; joins made outside any computation are not counted.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The bytes the joins of one computation may make.
inline constexpr std::int64_t kMaxJoinedTextBytes = std::int64_t{1} << 30;

class TextBudget {
  public:
    explicit TextBudget(std::int64_t limit = kMaxJoinedTextBytes) noexcept : m_limit(limit) {}
    TextBudget(const TextBudget&) = delete;
    TextBudget& operator=(const TextBudget&) = delete;

    // Takes `bytes` for a text about to be made; raises "too much text: ..."
    // naming the limit, taking nothing, when that would pass it.
    void take(std::size_t bytes);
    std::int64_t used() const noexcept { return m_used; }
    std::int64_t limit() const noexcept { return m_limit; }

  private:
    std::int64_t m_limit;
    std::int64_t m_used = 0;
};

// Names the budget of the computation on the calling thread while it
// lives; the one named before is named again when it ends. A null budget
// leaves the one named before in place.
class TextBudgetScope {
  public:
    explicit TextBudgetScope(TextBudget* budget) noexcept;
    ~TextBudgetScope();
    TextBudgetScope(const TextBudgetScope&) = delete;
    TextBudgetScope& operator=(const TextBudgetScope&) = delete;

  private:
    TextBudget* m_outer;
};

// Takes `bytes` from the budget of the computation on the calling thread,
// when there is one.
void takeTextBudget(std::size_t bytes);

}  // namespace qv
