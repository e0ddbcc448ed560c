#include "core/ValueConversions.h"

#include <strings.h>

#include <string>

#include "core/Errors.h"
#include "core/Number.h"
#include "core/TextBudget.h"
#include "core/Values.h"

namespace qv {

void checkTextLength(std::size_t bytes) {
    if (bytes <= kMaxTextBytes) return;
    throwMessage("text too long: a text may hold at most " + std::to_string(kMaxTextBytes) +
                 " bytes");
}

StringPointer joinTexts(const StringPointer& left, const StringPointer& right) {
    std::size_t bytes =
        static_cast<std::size_t>(left->length()) + static_cast<std::size_t>(right->length());
    checkTextLength(bytes);
    takeTextBudget(bytes);
    return left + right;
}

double toNumber(const Object& value) noexcept {
    if (value.isNull()) return 0;
    if (value.isInstanceOf(Double::typeId())) return static_cast<const Double&>(value).value();
    if (value.isInstanceOf(Boolean::typeId()))
        return static_cast<const Boolean&>(value).value() ? 1 : 0;
    if (value.isInstanceOf(Integer::typeId())) return static_cast<const Integer&>(value).value();
    return 0;
}

bool toBoolean(const Object& value) noexcept {
    if (value.isNull()) return false;
    if (value.isInstanceOf(Boolean::typeId())) return static_cast<const Boolean&>(value).value();
    if (value.isInstanceOf(Double::typeId()))
        return static_cast<const Double&>(value).value() != 0.0;
    if (value.isInstanceOf(NullResult::typeId())) return false;
    return true;
}

StringPointer toText(const Object& value) {
    if (value.isNull()) return str("");
    return value.toString();
}

bool isGreater(const Object& a, const Object& b) noexcept {
    if (a.isNull()) return false;
    if (b.isNull()) return true;
    if (a.classTypeId() != b.classTypeId()) {
        return strcasecmp(a.getClassName(), b.getClassName()) > 0;
    }
    if (a.isInstanceOf(String::typeId())) {
        const auto& left = static_cast<const String&>(a);
        const auto& right = static_cast<const String&>(b);
        return strcasecmp(left.text(), right.text()) > 0;
    }
    return toNumber(a) > toNumber(b);
}

bool valuesEqual(const Object& a, const Object& b) noexcept {
    if (a.isNull() && b.isNull()) return true;
    return a.equals(b);
}

}  // namespace qv
