// The reader of comma- and tab-separated data from other programs (a bank
// export, a measurement log): quoted cells with doubled quotes and line ends
// inside, CR, LF or CRLF line ends, a UTF-8 byte-order mark, a delimiter
// given or guessed, an optional header row, a decimal comma, and UTF-8 or
// Latin-1 text (Latin-1 is converted to UTF-8).
//
// The data is untrusted: every fault (a ragged row, an unterminated quote,
// invalid UTF-8, a NUL byte, a cell or a file past the bounds below) stops
// the reading with a message and its line and column, and nothing is
// returned. The bytes are read in chunks, and the cells are kept in one text
// buffer with an end offset each, so a million lines cost little more than
// their own bytes.
//
// What the cells mean (the type found per column, the field names made from
// the header) is decided here once, so the import, the shell and the
// desktop's preview all show the same reading.

#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/CsvCells.h"

namespace qv {

enum class CsvEncoding : std::uint8_t { Utf8, Latin1 };

struct CsvOptions {
    // ',', ';' or '\t'; 0 guesses one of them from the first lines.
    char delimiter = 0;
    // The first row names the columns.
    bool header = true;
    // Numbers are written "1,5" (and "1.5" is text); a comma can then not
    // be the delimiter.
    bool decimalComma = false;
    CsvEncoding encoding = CsvEncoding::Utf8;
    // Read only the first rows (a preview); the table says it was cut.
    // -1 reads all.
    std::int64_t previewRows = -1;
    // Bounds on what the data may hold; past one of them the reading stops
    // with a message. The defaults are the engine's own bounds.
    std::int64_t maxBytes = std::int64_t{1} << 29;
    std::int64_t maxRows = 10'000'000;
    std::int64_t maxCells = 20'000'000;
    std::int64_t maxCellBytes = std::int64_t{16} << 20;
    std::int32_t maxColumns = 10'000;
    // Called now and then with the bytes read so far; returning false stops
    // the reading with the message "import stopped".
    std::function<bool(std::int64_t bytesRead)> progress;
};

// Where and why the reading stopped. Line and column count from 1; the
// column counts characters of the line as it stands in the file. Line 0
// means a fault of the whole data (or of the options).
struct CsvError {
    std::int64_t line = 0;
    std::int64_t column = 0;
    std::string message;
};

// What was read: the column names and types and the cells of every row.
class CsvTable {
  public:
    // The delimiter used (given or guessed).
    char delimiter() const noexcept { return m_delimiter; }
    bool decimalComma() const noexcept { return m_decimalComma; }
    std::int32_t columnCount() const noexcept { return m_columns; }
    // Data rows, the header row not counted.
    std::int64_t rowCount() const noexcept;
    // The header's texts as written; without a header row, empty texts.
    const std::vector<std::string>& headerNames() const noexcept { return m_header; }
    // Valid field names made from the header: blanks trimmed, the
    // characters a name may not hold (], #, ", parentheses, control
    // characters) dropped, an empty name called "column N", a repeated one
    // numbered ("amount 2"). Without a header row "column 1", "column 2"...
    const std::vector<std::string>& fieldNames() const noexcept { return m_fieldNames; }
    CsvType columnType(std::int32_t column) const { return m_types[column]; }
    // The cell's text, UTF-8, without quotes; empty for an empty cell.
    std::string_view cell(std::int64_t row, std::int32_t column) const;
    // The cell as a formula text of its column's type: a number written
    // with a decimal point ("1,5" -> "1.5", "+2" -> "2"), true or false, a
    // quoted string for a text column, and "" for an empty cell.
    std::string formulaText(std::int64_t row, std::int32_t column) const;
    // The line and column in the data where a cell starts, for messages.
    std::int64_t lineOf(std::int64_t row) const { return m_rowLines[row]; }
    std::int64_t columnOf(std::int64_t row, std::int32_t column) const;
    // True when a preview stopped before the end of the data.
    bool cut() const noexcept { return m_cut; }

  private:
    friend class CsvParser;

    char m_delimiter = ',';
    bool m_decimalComma = false;
    bool m_cut = false;
    std::int32_t m_columns = 0;
    std::vector<std::string> m_header;
    std::vector<std::string> m_fieldNames;
    std::vector<CsvType> m_types;
    // All cells' texts one after the other, row by row; m_ends[i] is where
    // cell i ends (it starts where cell i - 1 ends).
    std::string m_text;
    std::vector<std::uint32_t> m_ends;
    std::vector<std::uint32_t> m_cellColumns;
    std::vector<std::int64_t> m_rowLines;
};

struct CsvResult {
    std::optional<CsvTable> table;
    CsvError error;
    bool ok() const noexcept { return table.has_value(); }
};

// Reads data from a stream (a file, standard input) in chunks.
CsvResult readCsv(std::istream& input, const CsvOptions& options);
// Reads data held in memory.
CsvResult readCsv(std::string_view bytes, const CsvOptions& options);

// The delimiter the first lines of the data suggest: the one of ',', ';'
// and '\t' that splits the lines (outside quotes) into the same number of
// cells, more than one, most often; ',' when none does. With a decimal
// comma, ',' is never guessed.
char guessCsvDelimiter(std::string_view firstBytes, bool decimalComma);

// The "line L, column C: message" text of an error, or the message alone
// for line 0.
std::string describeCsvError(const CsvError& error);

}  // namespace qv
