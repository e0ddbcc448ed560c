// Renders computed tables for the shell: a grid of display texts (a header
// of field names, then one line per row with its label) written as an
// aligned text grid, TSV, CSV or JSON.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/TableResult.h"

namespace qv::cli {

enum class Format { Text, Tsv, Csv, Json };

// The texts of a table's rows, each row its label then its cells. Every
// text lives in one buffer, so a table of millions of cells costs its
// characters and one offset per cell rather than a string object per cell.
struct RenderedTable {
    std::string name;
    std::string warning;  // empty when the table has none
    bool hasWarning = false;
    std::vector<std::string> fields;
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
RenderedTable renderTable(TableResult& table, bool all);

void writeText(const std::vector<RenderedTable>& tables, std::FILE* out);
void writeDelimited(const RenderedTable& table, char delimiter, std::FILE* out);
void writeJson(const std::vector<RenderedTable>& tables, std::FILE* out);

}  // namespace qv::cli
