#include "cli/TableRenderer.h"

#include <algorithm>

#include "core/EngineeringFormat.h"
#include "core/Number.h"
#include "core/ValueConversions.h"

namespace qv::cli {

namespace {

// Collects output and hands it to the file in large pieces, so a grid of
// millions of cells is never held twice in memory.
class BufferedOutput {
  public:
    explicit BufferedOutput(std::FILE* file) : m_file(file) { m_buffer.reserve(kFlushBytes); }
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;
    ~BufferedOutput() { flush(); }

    BufferedOutput& operator<<(std::string_view text) {
        m_buffer.append(text);
        return *this;
    }
    BufferedOutput& operator<<(char ch) {
        m_buffer.push_back(ch);
        return *this;
    }
    void spaces(std::size_t count) { m_buffer.append(count, ' '); }
    // Output is handed on only between rows, so a line can still be trimmed.
    void endRow() {
        if (m_buffer.size() >= kFlushBytes) flush();
    }
    void trimTrailingBlanks() {
        while (!m_buffer.empty() && m_buffer.back() == ' ')
            m_buffer.pop_back();
    }

  private:
    static constexpr std::size_t kFlushBytes = 1 << 20;

    void flush() {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_buffer.clear();
    }

    std::FILE* m_file;
    std::string m_buffer;
};

// The display text of a value; numbers and texts skip the string object
// that the general conversion builds.
void appendDisplayText(std::string& out, const Object& value) {
    if (value.isNull()) return;
    if (value.classTypeId() == Double::typeId()) {
        appendEngineering(out, static_cast<const Double&>(value).value());
    } else if (value.classTypeId() == String::typeId()) {
        const auto& text = static_cast<const String&>(value);
        out.append(text.text(), static_cast<std::size_t>(text.length()));
    } else {
        StringPointer text = toText(value);
        out.append(text->text(), static_cast<std::size_t>(text->length()));
    }
}

void appendLabel(std::string& out, TableResult& table, std::int32_t row) {
    if (row > 0 && row < table.rowCount() && table.resolved()->nameField() < 0) {
        out += std::to_string(row);
        return;
    }
    StringPointer label = table.rowLabel(row);
    out.append(label->text(), static_cast<std::size_t>(label->length()));
}

void renderRow(RenderedTable& rendered, TableResult& table, const std::vector<std::int32_t>& fields,
               std::int32_t row) {
    rendered.keys.push_back(row);
    appendLabel(rendered.texts, table, row);
    rendered.ends.push_back(rendered.texts.size());
    for (std::int32_t field : fields) {
        appendDisplayText(rendered.texts, *table.value(field, row).object());
        rendered.ends.push_back(rendered.texts.size());
    }
}

// Display width in characters: UTF-8 continuation bytes take no column.
std::size_t widthOf(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

void writeCsvField(BufferedOutput& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (char ch : text) {
        if (ch == '"') out << '"';
        out << ch;
    }
    out << '"';
}

// TSV has no quoting: tabs and line ends inside a cell become blanks.
void writeTsvField(BufferedOutput& out, std::string_view text) {
    for (char ch : text)
        out << (ch == '\t' || ch == '\n' || ch == '\r' ? ' ' : ch);
}

void writeJsonString(BufferedOutput& out, std::string_view text) {
    out << '"';
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out << escaped;
                } else {
                    out << ch;
                }
        }
    }
    out << '"';
}

std::vector<std::size_t> columnWidths(const RenderedTable& table) {
    std::vector<std::size_t> widths(table.columnCount(), 0);
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        widths[i + 1] = widthOf(table.fields[i]);
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t column = 0; column < table.columnCount(); ++column)
            widths[column] = std::max(widths[column], widthOf(table.text(row, column)));
    }
    return widths;
}

// One grid line: columns padded to their widths, two blanks apart, no
// trailing blanks.
template <typename TextOf>
void writeGridLine(BufferedOutput& out, const std::vector<std::size_t>& widths, TextOf textOf) {
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (column > 0) out.spaces(2);
        std::string_view text = textOf(column);
        out << text;
        out.spaces(widths[column] - std::min(widths[column], widthOf(text)));
    }
    out.trimTrailingBlanks();
    out << '\n';
    out.endRow();
}

}  // namespace

std::string_view RenderedTable::text(std::size_t row, std::size_t column) const noexcept {
    std::size_t index = row * columnCount() + column;
    std::size_t begin = index == 0 ? 0 : ends[index - 1];
    return std::string_view(texts).substr(begin, ends[index] - begin);
}

RenderedTable renderTable(TableResult& table, bool all) {
    RenderedTable rendered;
    rendered.name = table.name()->toStdString();
    Pointer<Object> warning = table.warning();
    rendered.hasWarning = !warning.isNull();
    if (rendered.hasWarning) rendered.warning = toText(warning)->toStdString();
    std::vector<std::int32_t> fields;
    if (all) {
        for (std::int32_t field = 0; field < table.fieldCount(); ++field)
            fields.push_back(field);
    } else {
        for (std::int32_t position = 0; position < table.visibleCount(); ++position) {
            fields.push_back(table.visibleField(position));
        }
    }
    for (std::int32_t field : fields)
        rendered.fields.push_back(table.fieldName(field)->toStdString());
    auto rows = static_cast<std::size_t>(std::max(table.rowCount(), 1)) + 1;
    rendered.keys.reserve(rows);
    rendered.ends.reserve(rows * rendered.columnCount());
    if (all) renderRow(rendered, table, fields, 0);
    for (std::int32_t position = 1; position < table.rowCount(); ++position) {
        renderRow(rendered, table, fields, table.displayRow(position));
    }
    renderRow(rendered, table, fields, -1);
    return rendered;
}

void writeText(const std::vector<RenderedTable>& tables, std::FILE* file) {
    BufferedOutput out(file);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const RenderedTable& table = tables[t];
        if (t > 0) out << '\n';
        out << "table " << table.name << '\n';
        if (table.hasWarning) out << "warning: " << table.warning << '\n';
        std::vector<std::size_t> widths = columnWidths(table);
        writeGridLine(out, widths, [&](std::size_t column) {
            return column == 0 ? std::string_view() : std::string_view(table.fields[column - 1]);
        });
        for (std::size_t row = 0; row < table.rowCount(); ++row) {
            writeGridLine(out, widths, [&](std::size_t column) { return table.text(row, column); });
        }
    }
}

void writeDelimited(const RenderedTable& table, char delimiter, std::FILE* file) {
    BufferedOutput out(file);
    auto field = [&](std::string_view text) {
        if (delimiter == ',') {
            writeCsvField(out, text);
        } else {
            writeTsvField(out, text);
        }
    };
    for (const std::string& name : table.fields) {
        out << delimiter;
        field(name);
    }
    out << '\n';
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t column = 0; column < table.columnCount(); ++column) {
            if (column > 0) out << delimiter;
            field(table.text(row, column));
        }
        out << '\n';
        out.endRow();
    }
}

void writeJson(const std::vector<RenderedTable>& tables, std::FILE* file) {
    BufferedOutput out(file);
    out << "{\"tables\":[";
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const RenderedTable& table = tables[t];
        if (t > 0) out << ',';
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
        for (std::size_t row = 0; row < table.rowCount(); ++row) {
            if (row > 0) out << ',';
            out << "{\"label\":";
            writeJsonString(out, table.text(row, 0));
            out << ",\"key\":" << std::to_string(table.keys[row]) << ",\"cells\":[";
            for (std::size_t column = 1; column < table.columnCount(); ++column) {
                if (column > 1) out << ',';
                writeJsonString(out, table.text(row, column));
            }
            out << "]}";
            out.endRow();
        }
        out << "]}";
    }
    out << "]}\n";
}

}  // namespace qv::cli
