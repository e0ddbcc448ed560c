#include "cli/TableRenderer.h"

#include <algorithm>
#include <cstring>

#include "app/TerminalText.h"
#include "cli/JsonText.h"

namespace qv::cli {

namespace {

// Texts that are printable ASCII (the usual case) are as wide as they are
// long and shown as they are.
std::size_t widthOf(std::string_view text, bool plain) {
    return plain ? text.size() : terminalWidth(text);
}

// Widens `widths` to the texts of the rendered rows.
void widenColumns(std::vector<std::size_t>& widths, const RenderedTable& table, bool plain) {
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t column = 0; column < table.columnCount(); ++column)
            widths[column] = std::max(widths[column], widthOf(table.text(row, column), plain));
    }
}

std::vector<std::size_t> headerWidths(const RenderedTable& table) {
    std::vector<std::size_t> widths(table.columnCount(), 0);
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        widths[i + 1] = terminalWidth(table.fields[i]);
    return widths;
}

// One grid line: columns padded to their widths, two blanks apart, no
// trailing blanks.
template <typename TextOf>
void writeGridLine(BufferedOutput& out, const std::vector<std::size_t>& widths, bool plain,
                   TextOf textOf) {
    std::size_t growth = plain ? 1 : kMaxEscapeGrowth;
    std::size_t bound = 1;
    for (std::size_t column = 0; column < widths.size(); ++column)
        bound += 2 + widths[column] + growth * textOf(column).size();
    char* start = out.room(bound);
    char* end = start;
    char* lastText = start;  // past the last character that is not padding
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (column > 0) {
            *end++ = ' ';
            *end++ = ' ';
        }
        std::string_view text = textOf(column);
        if (!text.empty()) {
            if (plain) {
                std::memcpy(end, text.data(), text.size());
                end += text.size();
            } else {
                end = writeForTerminal(end, text);
            }
            lastText = end;
        }
        std::size_t padding = widths[column] - std::min(widths[column], widthOf(text, plain));
        std::memset(end, ' ', padding);
        end += padding;
    }
    while (lastText > start && lastText[-1] == ' ')
        --lastText;
    *lastText++ = '\n';
    out.taken(lastText);
    out.endRow();
}

void writeTextHead(BufferedOutput& out, const RenderedTable& table, bool first,
                   const std::vector<std::size_t>& widths) {
    if (!first) out << '\n';
    out << "table " << forTerminal(table.name) << '\n';
    if (table.hasWarning) out << "warning: " << forTerminal(table.warning) << '\n';
    writeGridLine(out, widths, false, [&](std::size_t column) {
        return column == 0 ? std::string_view() : std::string_view(table.fields[column - 1]);
    });
}

void writeTextRows(BufferedOutput& out, const RenderedTable& rows,
                   const std::vector<std::size_t>& widths, bool plain) {
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        writeGridLine(out, widths, plain,
                      [&](std::size_t column) { return rows.text(row, column); });
    }
}

void writeTextTail(BufferedOutput& out, const RenderedTable& table) {
    for (const std::string& error : table.formulaRowErrors)
        out << "error in formula row: " << forTerminal(error) << '\n';
}

void writeText(BufferedOutput& out, const RenderedTable& table, bool first) {
    bool plain = isPlainText(table.texts);
    std::vector<std::size_t> widths = headerWidths(table);
    widenColumns(widths, table, plain);
    writeTextHead(out, table, first, widths);
    writeTextRows(out, table, widths, plain);
    writeTextTail(out, table);
}

// Rows rendered at a time: a large table's texts are never held whole. The
// grid's widths need every row first, so a table larger than one slice is
// rendered twice, once to measure and once to write.
constexpr std::size_t kSliceRows = 32768;

void writeTextInSlices(BufferedOutput& out, TableResult& result, bool all, NumberStyle numbers,
                       bool first) {
    RenderedTable table = renderTableHead(result, all);
    std::size_t total = renderedRowCount(result, all);
    if (total <= kSliceRows) {
        renderRows(result, all, numbers, 0, total, table);
        writeText(out, table, first);
        return;
    }
    RenderedTable rows = renderTableHead(result, all);
    std::vector<std::size_t> widths = headerWidths(table);
    bool plain = true;
    measureRows(result, all, numbers, 0, total, widths, plain);
    writeTextHead(out, table, first, widths);
    for (std::size_t begin = 0; begin < total; begin += kSliceRows) {
        renderRows(result, all, numbers, begin, kSliceRows, rows);
        writeTextRows(out, rows, widths, plain);
    }
    writeTextTail(out, table);
}

void writeJsonHead(BufferedOutput& out, const RenderedTable& table, bool first) {
    out << (first ? "{\"tables\":[" : ",");
    out << "{\"name\":";
    writeJsonString(out, table.name);
    out << ",\"warning\":";
    if (table.hasWarning) {
        writeJsonString(out, table.warning);
    } else {
        out << "null";
    }
    out << ",\"fields\":[";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        if (i > 0) out << ',';
        writeJsonString(out, table.fields[i]);
    }
    out << "],\"rows\":[";
}

// `firstRow` tells whether these rows begin the table's list.
void writeJsonRows(BufferedOutput& out, const RenderedTable& rows, bool firstRow) {
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        if (row > 0 || !firstRow) out << ',';
        out << "{\"label\":";
        writeJsonString(out, rows.text(row, 0));
        out << ",\"key\":" << std::to_string(rows.keys[row]) << ",\"cells\":[";
        for (std::size_t column = 1; column < rows.columnCount(); ++column) {
            if (column > 1) out << ',';
            writeJsonString(out, rows.text(row, column));
        }
        out << "]}";
        out.endRow();
    }
}

void writeJson(BufferedOutput& out, const RenderedTable& table, bool first) {
    writeJsonHead(out, table, first);
    writeJsonRows(out, table, true);
    out << "]}";
}

// JSON, CSV and TSV need no widths: each slice is written once rendered.
void writeInSlices(BufferedOutput& out, Format format, TableResult& result, bool all,
                   NumberStyle numbers, bool first) {
    RenderedTable table = renderTableHead(result, all);
    DelimitedFormat delimited = format == Format::Tsv ? DelimitedFormat::Tsv : DelimitedFormat::Csv;
    if (format == Format::Json) {
        writeJsonHead(out, table, first);
    } else {
        writeDelimitedHead(out, table, delimited);
    }
    RenderedTable rows = renderTableHead(result, all);
    std::size_t total = renderedRowCount(result, all);
    for (std::size_t begin = 0; begin < total; begin += kSliceRows) {
        renderRows(result, all, numbers, begin, kSliceRows, rows);
        if (format == Format::Json) {
            writeJsonRows(out, rows, begin == 0);
        } else {
            writeDelimitedRows(out, rows, delimited);
        }
    }
    if (format == Format::Json) {
        out << "]}";
    } else {
        writeDelimitedTail(out, table);
    }
}

}  // namespace

void TableWriter::write(const RenderedTable& table) {
    bool first = m_written == 0;
    switch (m_format) {
        case Format::Text:
            writeText(m_out, table, first);
            break;
        case Format::Tsv:
            writeDelimited(m_out, table, DelimitedFormat::Tsv);
            break;
        case Format::Csv:
            writeDelimited(m_out, table, DelimitedFormat::Csv);
            break;
        case Format::Json:
            writeJson(m_out, table, first);
            break;
    }
    ++m_written;
    m_out.endRow();
}

void TableWriter::write(TableResult& table, bool all, NumberStyle numbers) {
    if (m_format == Format::Text) {
        writeTextInSlices(m_out, table, all, numbers, m_written == 0);
    } else {
        writeInSlices(m_out, m_format, table, all, numbers, m_written == 0);
    }
    ++m_written;
    m_out.endRow();
}

void TableWriter::finish() {
    if (m_format == Format::Json) m_out << (m_written == 0 ? "{\"tables\":[]}\n" : "]}\n");
    m_out.flush();
}

}  // namespace qv::cli
