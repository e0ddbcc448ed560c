// A computed table as texts, and its CSV and TSV forms: the one writer of
// delimited tables, behind `qvl show --format csv|tsv` and the desktop's
// Export table, so both write the same bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/BufferedOutput.h"
#include "kernel/TableResult.h"

namespace qv {

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

// The same in pieces, for writers that never hold every row's texts: the
// table without rows (name, warning, fields, formula row errors), the number
// of rows renderTable renders, and rows first ... first + count - 1 of them,
// which replace the rows `rendered` held.
RenderedTable renderTableHead(TableResult& table, bool all);
std::size_t renderedRowCount(TableResult& table, bool all);
void renderRows(TableResult& table, bool all, NumberStyle numbers, std::size_t first,
                std::size_t count, RenderedTable& rendered);

// The widths the texts of rows first ... first + count - 1 take on a
// terminal, column 0 the row label, as renderRows would render them: widens
// `widths` (columnCount() entries) and clears `plain` when a text is not
// printable ASCII. Nothing is kept: for a grid that measures before it writes.
void measureRows(TableResult& table, bool all, NumberStyle numbers, std::size_t first,
                 std::size_t count, std::vector<std::size_t>& widths, bool& plain);

enum class DelimitedFormat { Csv, Tsv };

// One table: a warning comes first as "# warning: MESSAGE", then the header
// line (an empty label, then the field names), the rows, and formula row
// errors last as "# error in formula row: FIELD: MESSAGE". CSV quotes a cell
// holding a comma, a quote or a line end; TSV has no quoting, so tabs and
// line ends inside a cell become blanks.
void writeDelimited(BufferedOutput& out, const RenderedTable& table, DelimitedFormat format);
// The same in pieces: the warning and header line, rows (all of them, or
// a slice from renderRows), and the formula row errors.
void writeDelimitedHead(BufferedOutput& out, const RenderedTable& table, DelimitedFormat format);
void writeDelimitedRows(BufferedOutput& out, const RenderedTable& rows, DelimitedFormat format);
void writeDelimitedTail(BufferedOutput& out, const RenderedTable& table);

// TSV for a path ending in ".tsv" or ".tab" (any case), else CSV.
DelimitedFormat delimitedFormatFor(std::string_view path);

// Writes the visible fields of `table` to `path` atomically, as
// writeDelimited does; the reason it could not ("can not write to PATH:
// REASON"), or nothing when it was written. On a failure the file is left
// as it was.
std::optional<std::string> exportTable(TableResult& table, const std::string& path,
                                       DelimitedFormat format);

}  // namespace qv
