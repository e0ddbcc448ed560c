// The engineering number format of result cells: at most ten significant
// digits, plain decimal from 0.001 up to one million, otherwise an exponent
// that is a multiple of three other than plus or minus three.
#pragma once

#include <string>

namespace qv {

struct FormatPositions {
    // Characters up to and including the decimal point, or -1.
    int point = -1;
    // Index of the 'e', or -1.
    int exponent = -1;
};

// Room for the longest text: "0." with up to two zeros, ten digits, an
// exponent of up to four characters and a sign, with margin.
constexpr int kMaxEngineeringLength = 64;

std::string formatEngineering(double value, FormatPositions* positions = nullptr);
// Writes the text into `out` (kMaxEngineeringLength bytes) and returns its length.
int formatEngineering(char* out, double value, FormatPositions* positions = nullptr);
void appendEngineering(std::string& out, double value);
// The same format with at most `digits` significant digits (1 to 10),
// correctly rounded from the value itself, for a text that must be shorter.
std::string formatEngineeringDigits(double value, int digits, FormatPositions* positions = nullptr);

}  // namespace qv
