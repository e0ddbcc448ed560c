// Renders computed tables for the shell: a grid of display texts (a header
// of field names, then one line per row with its label) written as an
// aligned text grid, TSV, CSV or JSON.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/BufferedOutput.h"
#include "kernel/TableResult.h"

namespace qv::cli {

enum class Format { Text, Tsv, Csv, Json };

// How numbers are written: as the cells show them (the engineering format,
// ten significant digits), or as the shortest text that reads back as the
// same double, for pipelines that need every bit.
enum class NumberStyle { Display, Exact };

// Room for the text of one number in either style.
inline constexpr int kMaxNumberLength = 64;
// Writes the number's text into `out` and returns its length.
int formatNumber(char* out, double number, NumberStyle style);

// The texts of a table's rows, each row its label then its cells. Every
// text lives in one buffer, so a table of millions of cells costs its
// characters and one offset per cell rather than a string object per cell.
struct RenderedTable {
    std::string name;
    std::string warning;  // empty when the table has none
    bool hasWarning = false;
    std::vector<std::string> fields;
    // "FIELD: MESSAGE" for each shown field whose formula row holds an
    // error, when the formula row is not shown and no data row repeats it.
    std::vector<std::string> formulaRowErrors;
    std::vector<std::int32_t> keys;  // row key of each rendered row
    std::string texts;
    std::vector<std::size_t> ends;  // end of each text in `texts`, row by row

    std::size_t rowCount() const noexcept { return keys.size(); }
    std::size_t columnCount() const noexcept { return fields.size() + 1; }
    // Column 0 is the row label, column i the cell of field i - 1.
    std::string_view text(std::size_t row, std::size_t column) const noexcept {
        std::size_t index = row * columnCount() + column;
        std::size_t begin = index == 0 ? 0 : ends[index - 1];
        return std::string_view(texts.data() + begin, ends[index] - begin);
    }
};

// The visible fields (every field with `all`); the data rows in display
// order, then the summary row; with `all` the formula row comes first.
RenderedTable renderTable(TableResult& table, bool all, NumberStyle numbers = NumberStyle::Display);

// Writes rendered tables one after another in one format, so that a
// document's tables are rendered, written and let go one at a time.
//  - text: "table NAME", "warning: MESSAGE" when it has one, then the grid,
//    then "error in formula row: FIELD: MESSAGE" for each formula row error;
//    tables are a blank line apart; control characters are escaped (see
//    TerminalText.h);
//  - tsv and csv: one table; a warning comes first as "# warning: MESSAGE",
//    formula row errors last as "# error in formula row: FIELD: MESSAGE";
//  - json: {"tables":[...]}, texts with invalid UTF-8 replaced by U+FFFD.
class TableWriter {
  public:
    TableWriter(Format format, std::FILE* file) : m_format(format), m_out(file) {}
    TableWriter(const TableWriter&) = delete;
    TableWriter& operator=(const TableWriter&) = delete;

    void write(const RenderedTable& table);
    // Ends the output (JSON's closing brackets) and hands it to the file.
    void finish();

  private:
    Format m_format;
    BufferedOutput m_out;
    std::size_t m_written = 0;
};

}  // namespace qv::cli
