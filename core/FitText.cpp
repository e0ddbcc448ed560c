#include "core/FitText.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "core/EngineeringFormat.h"

namespace qv {

namespace {

bool isContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The number with `digits` significant digits, or the empty text where
// fewer digits than its whole part has would have to stand in for zeros
// (725.01 with two digits would read 730).
std::string numberText(double value, std::int32_t digits, NumberForm form) {
    if (form == NumberForm::General) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*g", static_cast<int>(digits), value);
        return text;
    }
    FormatPositions positions;
    std::string text = formatEngineeringDigits(value, digits, &positions);
    auto mantissaEnd = static_cast<std::int32_t>(positions.point >= 0      ? positions.point - 1
                                                 : positions.exponent >= 0 ? positions.exponent
                                                                           : text.size());
    std::int32_t wholeDigits = mantissaEnd - (value < 0 ? 1 : 0);
    return wholeDigits > digits ? std::string() : text;
}

std::string hashes(std::int32_t budget, const TextWidth& width) {
    std::string marks = "###";
    while (!marks.empty() && width(marks) > budget)
        marks.pop_back();
    return marks;
}

}  // namespace

std::string fitText(std::string_view text, std::int32_t budget, const TextWidth& width) {
    if (width(text) <= budget) return std::string(text);
    if (width(kCutMark) > budget) return std::string();
    // The longest head of whole characters that fits, found by halving: a
    // long text costs a few measurements, not one per character.
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (!isContinuation(text[i])) ends.push_back(i);
    }
    auto withMark = [&](std::size_t length) {
        std::string head(text.substr(0, length));
        head += kCutMark;
        return head;
    };
    std::size_t fitting = 0;  // characters kept
    std::size_t low = 1;
    std::size_t high = ends.size();
    while (low <= high) {
        std::size_t middle = (low + high) / 2;
        if (width(withMark(ends[middle - 1])) <= budget) {
            fitting = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return withMark(fitting == 0 ? 0 : ends[fitting - 1]);
}

std::string fitNumber(double value, std::int32_t budget, const TextWidth& width, NumberForm form,
                      std::int32_t digits) {
    if (form == NumberForm::Engineering && digits > 10) digits = 10;
    if (!std::isfinite(value)) return fitText(numberText(value, digits, form), budget, width);
    for (std::int32_t count = digits; count >= 1; --count) {
        std::string text = numberText(value, count, form);
        if (text.empty()) break;
        if (width(text) <= budget) return text;
    }
    return hashes(budget, width);
}

}  // namespace qv
