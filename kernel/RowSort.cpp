#include "kernel/RowSort.h"

#include <utility>

#include "core/ValueConversions.h"
#include "functions/RandomGenerator.h"

namespace qv {

namespace {

// Three-way partition around a random pivot: equal keys gather in the
// middle, so a column of equal values costs one pass. Recursing into the
// smaller side keeps the stack depth logarithmic.
void quicksort(std::vector<std::int32_t>& rows, const std::vector<Pointer<Object>>& keys,
               std::size_t begin, std::size_t end) {
    auto key = [&](std::size_t position) -> const Object& {
        return *keys[static_cast<std::size_t>(rows[position])].object();
    };
    while (end - begin > 1) {
        std::size_t pivotAt = begin + static_cast<std::size_t>(drawRandom()) % (end - begin);
        std::int32_t pivotRow = rows[pivotAt];
        const Object& pivot = *keys[static_cast<std::size_t>(pivotRow)].object();
        std::size_t less = begin;
        std::size_t greater = end;
        for (std::size_t i = begin; i < greater;) {
            if (isGreater(pivot, key(i))) {
                std::swap(rows[i++], rows[less++]);
            } else if (isGreater(key(i), pivot)) {
                std::swap(rows[i], rows[--greater]);
            } else {
                ++i;
            }
        }
        if (less - begin < end - greater) {
            quicksort(rows, keys, begin, less);
            begin = greater;
        } else {
            quicksort(rows, keys, greater, end);
            end = less;
        }
    }
}

}  // namespace

void sortRowsByValue(std::vector<std::int32_t>& rows, const std::vector<Pointer<Object>>& keys) {
    quicksort(rows, keys, 0, rows.size());
}

}  // namespace qv
