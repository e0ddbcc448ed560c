// A randomised quicksort with a three-way partition (less than, equal to and
// greater than the pivot). The plain two-way split into "not greater" and
// "greater" puts a column of equal values into one part at every step and
// takes quadratic time; the three-way split finishes such a column in one
// pass and yields the same ascending order. Only the smaller part is sorted
// recursively and the larger one in the loop, which bounds the depth by the
// logarithm of the size.
#include "functions/SortSumFunction.h"

#include <algorithm>
#include <cmath>

#include "core/Number.h"
#include "core/StdAllocator.h"
#include "core/ValueConversions.h"
#include "core/Values.h"
#include "functions/FunctionSupport.h"
#include "functions/RandomGenerator.h"

namespace qv {
namespace {

constexpr std::int32_t kDrawRange = 32768;

bool isNotANumber(const Object& value) {
    return value.classTypeId() == Double::typeId() &&
           std::isnan(static_cast<const Double&>(value).value());
}

// -1, 0 or 1 for an element less than, equal to or greater than the pivot.
// Two Doubles of which one is not-a-number are unordered, and the ordering is
// then not transitive; such an element counts as not greater (as in the plain
// two-way split), and not-a-number pivots gather the other not-a-numbers, so
// that a column of them also finishes in one pass. Other values keep the
// shared ordering.
int classify(const Object& element, const Object& pivot) {
    if (isNotANumber(pivot) && element.classTypeId() == Double::typeId())
        return isNotANumber(element) ? 0 : -1;
    if (isNotANumber(element) && pivot.classTypeId() == Double::typeId()) return -1;
    if (isGreater(element, pivot)) return 1;
    if (isGreater(pivot, element)) return -1;
    return 0;
}

// Ranges longer than one draw covers take two draws, so that the pivot can
// come from anywhere in a long range rather than from its first 32768 values.
std::int32_t pivotIndex(std::int32_t count) {
    std::int64_t draw = drawRandom();
    if (count > kDrawRange) draw = draw * kDrawRange + drawRandom();
    return static_cast<std::int32_t>(draw % count);
}

// The values as objects, ordered by the shared value ordering.
class ObjectElements {
  public:
    explicit ObjectElements(Vector& values) : m_values(values) {}
    Pointer<Object> pivotAt(std::int32_t index) const { return m_values.elementAt(index); }
    int classify(std::int32_t index, const Pointer<Object>& pivot) const {
        return qv::classify(*m_values.elementAt(index).object(), *pivot.object());
    }
    void swap(std::int32_t a, std::int32_t b) {
        Pointer<Object> held = m_values.elementAt(a);
        m_values.setElementAt(m_values.elementAt(b), a);
        m_values.setElementAt(held, b);
    }

  private:
    Vector& m_values;
};

// A column of plain numbers (no not-a-number among them), the common case:
// the ordering of two such Doubles is the order of their values, so the sort
// runs over keys and positions and moves the objects once at the end.
class NumberElements {
  public:
    struct Keyed {
        double key;
        std::int32_t position;
    };

    static bool applies(const Vector& values) {
        for (std::int32_t i = 0; i < values.size(); ++i) {
            const Object& value = *values.elementAt(i).object();
            if (value.classTypeId() != Double::typeId() || isNotANumber(value)) return false;
        }
        return true;
    }

    explicit NumberElements(const Vector& values) {
        m_keyed.reserve(static_cast<std::size_t>(values.size()));
        for (std::int32_t i = 0; i < values.size(); ++i) {
            double key = static_cast<const Double&>(*values.elementAt(i).object()).value();
            m_keyed.push_back({key, i});
        }
    }

    double pivotAt(std::int32_t index) const {
        return m_keyed[static_cast<std::size_t>(index)].key;
    }
    int classify(std::int32_t index, double pivot) const {
        double key = m_keyed[static_cast<std::size_t>(index)].key;
        return key > pivot ? 1 : pivot > key ? -1 : 0;
    }
    void swap(std::int32_t a, std::int32_t b) {
        std::swap(m_keyed[static_cast<std::size_t>(a)], m_keyed[static_cast<std::size_t>(b)]);
    }
    // Puts the objects of `values` into the sorted order.
    void reorder(Vector& values) const {
        Pointer<Vector> sorted = make<Vector>(values.size());
        for (std::int32_t i = 0; i < values.size(); ++i)
            sorted->setElementAt(values.elementAt(m_keyed[static_cast<std::size_t>(i)].position),
                                 i);
        for (std::int32_t i = 0; i < values.size(); ++i)
            values.setElementAt(sorted->elementAt(i), i);
    }

  private:
    CountedVector<Keyed> m_keyed;
};

// Numbers without their boxes, sorted in place: the same comparisons and
// moves as NumberElements, with no positions to carry.
class PlainNumbers {
  public:
    explicit PlainNumbers(CountedVector<double>& numbers) : m_numbers(numbers) {}
    double pivotAt(std::int32_t index) const { return m_numbers[static_cast<std::size_t>(index)]; }
    int classify(std::int32_t index, double pivot) const {
        double key = m_numbers[static_cast<std::size_t>(index)];
        return key > pivot ? 1 : pivot > key ? -1 : 0;
    }
    void swap(std::int32_t a, std::int32_t b) {
        std::swap(m_numbers[static_cast<std::size_t>(a)], m_numbers[static_cast<std::size_t>(b)]);
    }

  private:
    CountedVector<double>& m_numbers;
};

// Sorts [begin, end). The element stores draw the same pivots and make the
// same moves, so the order and the draws from the shared generator do not
// depend on which store is used.
template <typename Elements>
void sortRange(Elements& elements, std::int32_t begin, std::int32_t end) {
    while (end - begin >= 2) {
        auto pivot = elements.pivotAt(begin + pivotIndex(end - begin));
        // [begin, less) less, [less, next) equal, [greater, end) greater.
        std::int32_t less = begin;
        std::int32_t next = begin;
        std::int32_t greater = end;
        while (next < greater) {
            int order = elements.classify(next, pivot);
            if (order < 0) {
                elements.swap(less++, next++);
            } else if (order > 0) {
                elements.swap(next, --greater);
            } else {
                ++next;
            }
        }
        if (less - begin < end - greater) {
            sortRange(elements, begin, less);
            begin = greater;
        } else {
            sortRange(elements, greater, end);
            end = less;
        }
    }
}

}  // namespace

void SortSumFunction::sortValues(Vector& values) {
    if (NumberElements::applies(values)) {
        NumberElements elements(values);
        sortRange(elements, 0, values.size());
        elements.reorder(values);
        return;
    }
    sortValuesAsObjects(values);
}

void SortSumFunction::sortValuesAsObjects(Vector& values) {
    ObjectElements elements(values);
    sortRange(elements, 0, values.size());
}

Pointer<SumFunction> SortSumFunction::newAccumulator() const {
    return make<SortSumFunction>();
}

void SortSumFunction::start(std::int32_t count) {
    m_started = true;
    m_numbers.clear();
    m_numbers.reserve(static_cast<std::size_t>(std::max(count, 0)));
    m_values = Pointer<Vector>();
}

void SortSumFunction::keepObjects() {
    if (!m_values.isNull()) return;
    m_values = make<Vector>();
    for (double number : m_numbers)
        m_values->addElement(make<Double>(number));
    m_numbers = CountedVector<double>();
}

void SortSumFunction::add(std::int32_t, Arguments arguments) {
    if (!m_started) return;
    keepObjects();
    m_values->addElement(argumentPointer(arguments, 0));
}

void SortSumFunction::addNumber(std::int32_t index, double number) {
    if (!m_started) return;
    if (m_values.isNull() && !std::isnan(number)) {
        m_numbers.push_back(number);
        return;
    }
    Pointer<Object> boxed = make<Double>(number);
    add(index, Arguments(&boxed, 1));
}

// The numbers are sorted as sortValues sorts their boxes: the same draws,
// the same order.
void SortSumFunction::finish() {
    if (!m_started) return;
    if (m_values.isNull()) {
        PlainNumbers elements(m_numbers);
        sortRange(elements, 0, static_cast<std::int32_t>(m_numbers.size()));
        return;
    }
    sortValues(*m_values);
}

bool SortSumFunction::resultNumber(std::int32_t row, double& number) const {
    std::int64_t slot = static_cast<std::int64_t>(row) - 1;
    if (!m_started || !m_values.isNull() || slot < 0 ||
        slot >= static_cast<std::int64_t>(m_numbers.size())) {
        return SumFunction::resultNumber(row, number);
    }
    number = m_numbers[static_cast<std::size_t>(slot)];
    return true;
}

Pointer<Object> SortSumFunction::result(std::int32_t row) const {
    std::int64_t slot = static_cast<std::int64_t>(row) - 1;
    std::int64_t count =
        m_values.isNull() ? static_cast<std::int64_t>(m_numbers.size()) : m_values->size();
    if (!m_started || slot < 0 || slot >= count) return make<StringSpecialValue>(str("(sort)"));
    if (m_values.isNull()) return make<Double>(m_numbers[static_cast<std::size_t>(slot)]);
    return m_values->elementAt(static_cast<std::int32_t>(slot));
}

}  // namespace qv
