// What one cell of CSV data means: a number, a Boolean or a text, and the
// formula text it becomes in a table; and the field names made from a
// header row. Shared by the reader (the type of each column) and the import.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class CsvCellKind : std::uint8_t { Empty, Number, Boolean, Text };

// The type found for a column: Empty when it holds no value at all, Number
// or Boolean when every non-empty cell is one, Text otherwise.
enum class CsvType : std::uint8_t { Empty, Number, Boolean, Text };

// A number is an optional sign, digits with one optional decimal mark ("."
// or, with a decimal comma, ",") and an optional exponent, finite, with
// blanks around it allowed. A leading zero before another digit ("007", a
// postal code) makes a text, so no digit is lost. true and false in any
// case are Booleans.
CsvCellKind csvCellKind(std::string_view text, bool decimalComma);

// The number's text as the formula language writes it: blanks and a "+"
// dropped, the decimal mark a point. Only for a Number cell.
std::string csvNumberText(std::string_view text, bool decimalComma);

// The formula text of a cell in a column of `type`: "" for an empty cell,
// the number, true or false, or the text in double quotes.
std::string csvFormulaText(std::string_view text, CsvType type, bool decimalComma);

// Valid, distinct field names for the header's texts (see CsvTable in
// CsvReader.h).
std::vector<std::string> csvFieldNames(const std::vector<std::string>& header);

}  // namespace qv
