#include "cli/TableRenderer.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/Allocator.h"
#include "core/EngineeringFormat.h"
#include "core/Number.h"
#include "core/ValueConversions.h"

namespace qv::cli {

namespace {

// Collects output and hands it to the file in large pieces, so a grid of
// millions of cells is never held twice in memory. Output is handed on only
// between rows, so a line can still be trimmed.
class BufferedOutput {
  public:
    explicit BufferedOutput(std::FILE* file)
        : m_file(file), m_data(new char[kFlushBytes]), m_capacity(kFlushBytes) {}
    BufferedOutput(const BufferedOutput&) = delete;
    BufferedOutput& operator=(const BufferedOutput&) = delete;
    ~BufferedOutput() { flush(); }

    BufferedOutput& operator<<(std::string_view text) {
        if (text.empty()) return *this;
        std::memcpy(room(text.size()), text.data(), text.size());
        m_size += text.size();
        return *this;
    }
    BufferedOutput& operator<<(char ch) {
        *room(1) = ch;
        ++m_size;
        return *this;
    }
    // Space for `bytes` more characters at the end, to be taken with `taken`.
    char* room(std::size_t bytes) {
        if (m_size + bytes > m_capacity) grow(m_size + bytes);
        return m_data.get() + m_size;
    }
    void taken(char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }
    void endRow() {
        if (m_size >= kFlushBytes) flush();
    }

  private:
    static constexpr std::size_t kFlushBytes = 1 << 20;

    void grow(std::size_t needed) {
        std::size_t capacity = std::max(needed, m_capacity * 2);
        std::unique_ptr<char[]> data(new char[capacity]);
        std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }
    void flush() {
        std::fwrite(m_data.get(), 1, m_size, m_file);
        m_size = 0;
    }

    std::FILE* m_file;
    std::unique_ptr<char[]> m_data;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

// The display text of one column's values. Columns often repeat a number
// row after row (a total shown in every row), so the text of the last number
// is kept and reused.
class ColumnTexts {
  public:
    void append(std::string& out, const Object& value) {
        if (value.isNull()) return;
        if (value.classTypeId() == Double::typeId()) {
            appendNumber(out, static_cast<const Double&>(value).value());
        } else if (value.classTypeId() == String::typeId()) {
            const auto& text = static_cast<const String&>(value);
            out.append(text.text(), static_cast<std::size_t>(text.length()));
        } else {
            StringPointer text = toText(value);
            out.append(text->text(), static_cast<std::size_t>(text->length()));
        }
    }

  private:
    void appendNumber(std::string& out, double number) {
        if (!m_hasLast || std::memcmp(&number, &m_lastNumber, sizeof number) != 0) {
            m_lastLength = formatEngineering(m_lastText, number);
            m_lastNumber = number;
            m_hasLast = true;
        }
        out.append(m_lastText, static_cast<std::size_t>(m_lastLength));
    }

    bool m_hasLast = false;
    double m_lastNumber = 0;
    char m_lastText[kMaxEngineeringLength];
    int m_lastLength = 0;
};

void appendLabel(std::string& out, TableResult& table, std::int32_t row) {
    if (row > 0 && row < table.rowCount() && table.resolved()->nameField() < 0) {
        out += std::to_string(row);
        return;
    }
    StringPointer label = table.rowLabel(row);
    out.append(label->text(), static_cast<std::size_t>(label->length()));
}

void renderRow(RenderedTable& rendered, TableResult& table, const std::vector<std::int32_t>& fields,
               std::vector<ColumnTexts>& columns, std::int32_t row) {
    rendered.keys.push_back(row);
    appendLabel(rendered.texts, table, row);
    rendered.ends.push_back(rendered.texts.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        columns[i].append(rendered.texts, *table.value(fields[i], row).object());
        rendered.ends.push_back(rendered.texts.size());
    }
}

// Display width in characters: UTF-8 continuation bytes take no column.
std::size_t widthOf(std::string_view text) {
    std::size_t continuations = 0;
    for (char ch : text)
        continuations += (static_cast<unsigned char>(ch) & 0xC0) == 0x80;
    return text.size() - continuations;
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

bool isAscii(std::string_view text) {
    unsigned char bits = 0;
    for (char ch : text)
        bits |= static_cast<unsigned char>(ch);
    return bits < 0x80;
}

// Texts that are all ASCII (the usual case) are as wide as they are long.
std::size_t widthOf(std::string_view text, bool ascii) {
    return ascii ? text.size() : widthOf(text);
}

std::vector<std::size_t> columnWidths(const RenderedTable& table, bool ascii) {
    std::vector<std::size_t> widths(table.columnCount(), 0);
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        widths[i + 1] = widthOf(table.fields[i]);
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t column = 0; column < table.columnCount(); ++column)
            widths[column] = std::max(widths[column], widthOf(table.text(row, column), ascii));
    }
    return widths;
}

// One grid line: columns padded to their widths, two blanks apart, no
// trailing blanks.
template <typename TextOf>
void writeGridLine(BufferedOutput& out, const std::vector<std::size_t>& widths, bool ascii,
                   TextOf textOf) {
    std::size_t bound = 1;
    for (std::size_t column = 0; column < widths.size(); ++column)
        bound += 2 + widths[column] + textOf(column).size();
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
            std::memcpy(end, text.data(), text.size());
            end += text.size();
            lastText = end;
        }
        std::size_t padding = widths[column] - std::min(widths[column], widthOf(text, ascii));
        std::memset(end, ' ', padding);
        end += padding;
    }
    while (lastText > start && lastText[-1] == ' ')
        --lastText;
    *lastText++ = '\n';
    out.taken(lastText);
    out.endRow();
}

}  // namespace

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
    // Room for a typical number in every cell up front: pages not written
    // cost nothing, while growing a buffer of many megabytes copies it.
    rendered.texts.reserve(rows * rendered.columnCount() * 16);
    preferHugePages(rendered.texts.data(), rendered.texts.capacity());
    preferHugePages(rendered.ends.data(), rendered.ends.capacity() * sizeof(std::size_t));
    std::vector<ColumnTexts> columns(fields.size());
    if (all) renderRow(rendered, table, fields, columns, 0);
    for (std::int32_t position = 1; position < table.rowCount(); ++position) {
        renderRow(rendered, table, fields, columns, table.displayRow(position));
    }
    renderRow(rendered, table, fields, columns, -1);
    return rendered;
}

void writeText(const std::vector<RenderedTable>& tables, std::FILE* file) {
    BufferedOutput out(file);
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const RenderedTable& table = tables[t];
        if (t > 0) out << '\n';
        out << "table " << table.name << '\n';
        if (table.hasWarning) out << "warning: " << table.warning << '\n';
        bool ascii = isAscii(table.texts);
        std::vector<std::size_t> widths = columnWidths(table, ascii);
        writeGridLine(out, widths, false, [&](std::size_t column) {
            return column == 0 ? std::string_view() : std::string_view(table.fields[column - 1]);
        });
        for (std::size_t row = 0; row < table.rowCount(); ++row) {
            writeGridLine(out, widths, ascii,
                          [&](std::size_t column) { return table.text(row, column); });
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
