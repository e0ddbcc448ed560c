#include "core/CsvCells.h"

#include <cmath>
#include <cstdlib>
#include <set>

namespace qv {

namespace {

bool isBlank(char ch) {
    return ch == ' ' || ch == '\t';
}
bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char ch = text[i];
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        if (ch != word[i]) return false;
    }
    return true;
}

// sign? (digits (mark digits*)? | mark digits) (e sign? digits)?
bool isNumberSyntax(std::string_view text, char mark) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    std::size_t intDigits = i - intStart;
    if (intDigits > 1 && text[intStart] == '0') return false;
    std::size_t fractionDigits = 0;
    if (i < text.size() && text[i] == mark) {
        ++i;
        std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        fractionDigits = i - start;
    }
    if (intDigits + fractionDigits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t start = i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        if (i == start) return false;
    }
    return i == text.size();
}

// The characters a field name may not hold: they end a bracketed name,
// start hash text or a string, or make the field a function.
bool droppedFromName(unsigned char byte) {
    return byte < 0x20 || byte == 0x7f || byte == ']' || byte == '#' || byte == '"' ||
           byte == '(' || byte == ')';
}

std::string cleanName(std::string_view text) {
    std::string name;
    bool blank = false;
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        if (droppedFromName(byte) || ch == ' ') {
            blank = true;
            continue;
        }
        if (blank && !name.empty()) name += ' ';
        blank = false;
        name += ch;
    }
    // A name ending in ~name or ~base names the rows of another table.
    for (std::string_view marker : {"~name", "~base"}) {
        if (name.size() >= marker.size() &&
            name.compare(name.size() - marker.size(), marker.size(), marker) == 0) {
            name[name.size() - marker.size()] = '_';
        }
    }
    return name;
}

}  // namespace

CsvCellKind csvCellKind(std::string_view text, bool decimalComma) {
    std::string_view value = trimmedBlanks(text);
    if (value.empty()) return text.empty() ? CsvCellKind::Empty : CsvCellKind::Text;
    if (equalsIgnoringCase(value, "true") || equalsIgnoringCase(value, "false"))
        return CsvCellKind::Boolean;
    if (!isNumberSyntax(value, decimalComma ? ',' : '.')) return CsvCellKind::Text;
    return std::isfinite(std::strtod(csvNumberText(value, decimalComma).c_str(), nullptr))
               ? CsvCellKind::Number
               : CsvCellKind::Text;
}

std::string csvNumberText(std::string_view text, bool decimalComma) {
    std::string_view value = trimmedBlanks(text);
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    std::string number(value);
    if (decimalComma) {
        for (char& ch : number)
            if (ch == ',') ch = '.';
    }
    return number;
}

std::string csvFormulaText(std::string_view text, CsvType type, bool decimalComma) {
    if (text.empty()) return {};
    switch (type) {
        case CsvType::Number:
            return csvNumberText(text, decimalComma);
        case CsvType::Boolean:
            return equalsIgnoringCase(trimmedBlanks(text), "true") ? "true" : "false";
        case CsvType::Empty:
        case CsvType::Text:
            break;
    }
    return "\"" + std::string(text) + "\"";
}

std::vector<std::string> csvFieldNames(const std::vector<std::string>& header) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name = cleanName(header[i]);
        if (name.empty()) name = "column " + std::to_string(i + 1);
        std::string unique = name;
        for (int n = 2; taken.count(unique) != 0; ++n)
            unique = name + " " + std::to_string(n);
        taken.insert(unique);
        names.push_back(unique);
    }
    return names;
}

}  // namespace qv
