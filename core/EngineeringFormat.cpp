#include "core/EngineeringFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qv {

namespace {

constexpr int kSignificantDigits = 10;

// Ten correctly rounded significant digits and the count of digits before the
// decimal point, as ecvt reports them.
void significantDigits(double magnitude, std::string& digits, int& dec) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, magnitude);
    // buffer: d.ddddddddde[+-]xx
    digits.clear();
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') digits += *p;
    }
    dec = std::atoi(p + 1) + 1;
}

}  // namespace

std::string formatEngineering(double value, FormatPositions* positions) {
    FormatPositions local;
    FormatPositions& pos = positions ? *positions : local;
    pos = FormatPositions{};
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    if (value == 0) return "0";

    std::string digits;
    int dec = 0;
    significantDigits(std::fabs(value), digits, dec);
    int e = dec < 0 ? 3 * ((dec - 3) / 3) : 3 * ((dec - 1) / 3);
    if (e == 3 || e == -3) e = 0;
    dec -= e;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string text;
    if (dec < 1) {
        text = "0.";
        pos.point = 2;
        text.append(static_cast<std::size_t>(-dec), '0');
    }
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (dec > 0 && static_cast<int>(i) == dec) {
            text += '.';
            pos.point = static_cast<int>(text.size());
        }
        text += digits[i];
    }
    if (dec > static_cast<int>(digits.size())) {
        text.append(static_cast<std::size_t>(dec) - digits.size(), '0');
    }
    if (e != 0) {
        pos.exponent = static_cast<int>(text.size());
        text += 'e';
        text += e < 0 ? '-' : '+';
        text += std::to_string(e < 0 ? -e : e);
    }
    if (value < 0) {
        text.insert(text.begin(), '-');
        if (pos.point >= 0) ++pos.point;
        if (pos.exponent >= 0) ++pos.exponent;
    }
    return text;
}

}  // namespace qv
