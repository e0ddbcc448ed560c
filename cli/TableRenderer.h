// Writes computed tables for the shell (rendered as app/TableExport.h
// renders them) as an aligned text grid, TSV, CSV or JSON.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/BufferedOutput.h"
#include "app/TableExport.h"
#include "kernel/TableResult.h"

namespace qv::cli {

enum class Format { Text, Tsv, Csv, Json };

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
    // Renders and writes a computed table a slice of rows at a time (the
    // text grid of a large table measures its slices first).
    void write(TableResult& table, bool all, NumberStyle numbers);
    // Ends the output (JSON's closing brackets) and hands it to the file.
    void finish();

  private:
    Format m_format;
    BufferedOutput m_out;
    std::size_t m_written = 0;
};

}  // namespace qv::cli
