// Renders computed tables for the shell: a grid of display texts (a header
// of field names, then one line per row with its label) written as an
// aligned text grid, TSV, CSV or JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/TableResult.h"

namespace qv::cli {

enum class Format { Text, Tsv, Csv, Json };

struct RenderedRow {
    std::string label;
    std::int32_t key;
    std::vector<std::string> cells;
};

struct RenderedTable {
    std::string name;
    std::string warning;  // empty when the table has none
    bool hasWarning = false;
    std::vector<std::string> fields;
    std::vector<RenderedRow> rows;
};

// The visible fields (every field with `all`); the data rows in display
// order, then the summary row; with `all` the formula row comes first.
RenderedTable renderTable(TableResult& table, bool all);

std::string formatText(const std::vector<RenderedTable>& tables);
std::string formatDelimited(const RenderedTable& table, char delimiter);
std::string formatJson(const std::vector<RenderedTable>& tables);

}  // namespace qv::cli
