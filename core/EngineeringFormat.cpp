#include "core/EngineeringFormat.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qv {

namespace {

constexpr int kSignificantDigits = 10;

// Room past the digits, so that they are copied in pieces of fixed size.
constexpr int kDigitRoom = 32;

struct Digits {
    char text[kDigitRoom] = {};
    int count = 0;  // trailing zeros dropped, at least one digit
    int dec = 0;    // digits before the decimal point, as ecvt reports it
};

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// `tenDigits` is 1e9 ... 1e10 - 1: ten digits, two at a time.
void setDigits(Digits& digits, std::uint64_t tenDigits, int dec) {
    for (int at = kSignificantDigits - 2; at >= 0; at -= 2) {
        std::memcpy(digits.text + at, kDigitPairs + 2 * (tenDigits % 100), 2);
        tenDigits /= 100;
    }
    digits.count = kSignificantDigits;
    digits.dec = dec;
    while (digits.count > 1 && digits.text[digits.count - 1] == '0')
        --digits.count;
}

// Scales the magnitude to ten digits before the point with one exactly
// rounded operation (the powers of ten up to 1e22 are exact doubles), so the
// scaled value is off by at most about 1e-6. Unless its fraction lies that
// close to one half, rounding it gives the digits that exact rounding gives.
// Returns false where it cannot tell; the exact path then decides.
//
// The decimal exponent comes from the binary one: floor(e2 * log10(2)) is
// the exponent or one less, and a scaled value of eleven digits tells which.
// An estimate that is still off leaves the scaled value out of range, and
// the exact path decides.
bool scaledDigits(double magnitude, Digits& digits) {
    if (!std::isnormal(magnitude)) return false;
    int binaryExponent =
        static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
    int exponent = (binaryExponent * 78913) >> 18;  // 78913 / 2^18 is just below log10(2)
    int scale = kSignificantDigits - 1 - exponent;
    auto scaledBy = [magnitude](int by) {
        return by >= 0 ? magnitude * kPowersOfTen[by] : magnitude / kPowersOfTen[-by];
    };
    if (scale < -21 || scale > 22) return false;
    double scaled = scaledBy(scale);
    if (scaled >= 1e10) {
        ++exponent;
        scaled = scaledBy(--scale);
    }
    if (scaled < 1e9 || scaled >= 1e10) return false;
    // Below 1e10 and positive: the conversion is the floor.
    auto whole = static_cast<std::uint64_t>(scaled);
    double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < 1e-5) return false;
    std::uint64_t tenDigits = whole + (fraction > 0.5 ? 1 : 0);
    if (tenDigits == 10000000000u) {
        tenDigits = 1000000000u;
        ++exponent;
    }
    setDigits(digits, tenDigits, exponent + 1);
    return true;
}

// `count` (1 to 10) correctly rounded significant digits. to_chars rounds
// exactly as printf does without going through the locale-aware formatter.
Digits fewerDigits(double magnitude, int count) {
    Digits digits;
    char buffer[48];
    auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                 std::chars_format::scientific, count - 1);
    const char* p = buffer;
    for (; p < written.ptr && *p != 'e'; ++p) {
        if (*p != '.') digits.text[digits.count++] = *p;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), written.ptr, exponent);
    digits.dec = exponent + 1;
    while (digits.count > 1 && digits.text[digits.count - 1] == '0')
        --digits.count;
    return digits;
}

// Writes the text of the digits of a finite, non-zero magnitude into `out`
// (kMaxEngineeringLength bytes); returns its length. The digits and zeros
// are copied in pieces of fixed size, which the compiler turns into a few
// moves instead of calls; what lands past the length is never read.
int writeDigits(char* out, const Digits& digits, FormatPositions& pos) {
    constexpr std::size_t kPiece = 16;  // more than ten digits
    static_assert(kMaxEngineeringLength >= 4 + 2 * kPiece && kDigitRoom >= 10 + kPiece);
    int dec = digits.dec;
    int e = dec < 0 ? 3 * ((dec - 3) / 3) : 3 * ((dec - 1) / 3);
    if (e == 3 || e == -3) e = 0;
    dec -= e;
    int count = digits.count;
    int length;
    if (dec < 1) {
        // "0." and at most two zeros (the exponent keeps dec above -3).
        std::memcpy(out, "0.00", 4);
        pos.point = 2;
        std::memcpy(out + 2 - dec, digits.text, kPiece);
        length = 2 - dec + count;
    } else if (dec < count) {
        std::memcpy(out, digits.text, kPiece);
        out[dec] = '.';
        pos.point = dec + 1;
        std::memcpy(out + dec + 1, digits.text + dec, kPiece);
        length = count + 1;
    } else {
        // At most five zeros: below a million there is no exponent, above
        // it dec is at most three.
        std::memcpy(out, digits.text, kPiece);
        std::memcpy(out + count, "00000000", 8);
        length = dec;
    }
    if (e != 0) {
        pos.exponent = length;
        out[length++] = 'e';
        out[length++] = e < 0 ? '-' : '+';
        int magnitude = e < 0 ? -e : e;  // at most 324
        if (magnitude >= 100) out[length++] = static_cast<char>('0' + magnitude / 100);
        if (magnitude >= 10) out[length++] = static_cast<char>('0' + magnitude / 10 % 10);
        out[length++] = static_cast<char>('0' + magnitude % 10);
    }
    return length;
}

// Ten correctly rounded significant digits, the quick way where it can
// tell. The digits are written where they are made: a copy of them, read
// whole right after their bytes were stored, stalls the processor.
int writeMagnitude(char* out, double magnitude, FormatPositions& pos) {
    Digits digits;
    if (scaledDigits(magnitude, digits)) return writeDigits(out, digits, pos);
    return writeDigits(out, fewerDigits(magnitude, kSignificantDigits), pos);
}

}  // namespace

int formatEngineering(char* out, double value, FormatPositions* positions) {
    FormatPositions local;
    FormatPositions& pos = positions ? *positions : local;
    pos = FormatPositions{};
    auto literal = [out](const char* text) {
        std::size_t length = std::strlen(text);
        std::memcpy(out, text, length);
        return static_cast<int>(length);
    };
    if (std::isnan(value)) return literal("nan");
    if (std::isinf(value)) return literal(value < 0 ? "-inf" : "inf");
    if (value == 0) return literal("0");
    // Whole numbers below a million print as their digits, the most common
    // cell value; this skips the rounding path.
    if (std::fabs(value) < 1e6) {
        auto whole = static_cast<std::int32_t>(value);
        if (static_cast<double>(whole) == value)
            return static_cast<int>(std::to_chars(out, out + kMaxEngineeringLength, whole).ptr -
                                    out);
    }
    int sign = value < 0 ? 1 : 0;
    if (sign) out[0] = '-';
    int length = sign + writeMagnitude(out + sign, std::fabs(value), pos);
    if (sign && pos.point >= 0) ++pos.point;
    if (sign && pos.exponent >= 0) ++pos.exponent;
    return length;
}

std::string formatEngineeringDigits(double value, int digits, FormatPositions* positions) {
    if (digits >= kSignificantDigits || !std::isfinite(value) || value == 0)
        return formatEngineering(value, positions);
    FormatPositions local;
    FormatPositions& pos = positions ? *positions : local;
    pos = FormatPositions{};
    char buffer[kMaxEngineeringLength];
    int sign = value < 0 ? 1 : 0;
    if (sign) buffer[0] = '-';
    int length =
        sign + writeDigits(buffer + sign, fewerDigits(std::fabs(value), std::max(digits, 1)), pos);
    if (sign && pos.point >= 0) ++pos.point;
    if (sign && pos.exponent >= 0) ++pos.exponent;
    return std::string(buffer, static_cast<std::size_t>(length));
}

std::string formatEngineering(double value, FormatPositions* positions) {
    char buffer[kMaxEngineeringLength];
    return std::string(buffer,
                       static_cast<std::size_t>(formatEngineering(buffer, value, positions)));
}

void appendEngineering(std::string& out, double value) {
    char buffer[kMaxEngineeringLength];
    out.append(buffer, static_cast<std::size_t>(formatEngineering(buffer, value)));
}

}  // namespace qv
