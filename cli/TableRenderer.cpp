#include "cli/TableRenderer.h"

#include <algorithm>
#include <cstdio>

#include "core/ValueConversions.h"

namespace qv::cli {

namespace {

RenderedRow renderRow(TableResult& table, const std::vector<std::int32_t>& fields,
                      std::int32_t row) {
    RenderedRow rendered{table.rowLabel(row)->toStdString(), row, {}};
    rendered.cells.reserve(fields.size());
    for (std::int32_t field : fields) {
        rendered.cells.push_back(toText(table.value(field, row))->toStdString());
    }
    return rendered;
}

// Display width in characters: UTF-8 continuation bytes take no column.
std::size_t widthOf(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

void pad(std::string& out, const std::string& text, std::size_t width) {
    out += text;
    out.append(width - std::min(width, widthOf(text)), ' ');
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

// TSV has no quoting: tabs and line ends inside a cell become blanks.
std::string tsvField(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; },
        ' ');
    return text;
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out += escaped;
                } else {
                    out += ch;
                }
        }
    }
    return out + "\"";
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
    if (all) rendered.rows.push_back(renderRow(table, fields, 0));
    for (std::int32_t position = 1; position < table.rowCount(); ++position) {
        rendered.rows.push_back(renderRow(table, fields, table.displayRow(position)));
    }
    rendered.rows.push_back(renderRow(table, fields, -1));
    return rendered;
}

std::string formatText(const std::vector<RenderedTable>& tables) {
    std::string out;
    for (const RenderedTable& table : tables) {
        if (!out.empty()) out += '\n';
        out += "table " + table.name + '\n';
        if (table.hasWarning) out += "warning: " + table.warning + '\n';
        std::vector<std::size_t> widths(table.fields.size() + 1, 0);
        widths[0] = 0;
        for (std::size_t i = 0; i < table.fields.size(); ++i)
            widths[i + 1] = widthOf(table.fields[i]);
        for (const RenderedRow& row : table.rows) {
            widths[0] = std::max(widths[0], widthOf(row.label));
            for (std::size_t i = 0; i < row.cells.size(); ++i) {
                widths[i + 1] = std::max(widths[i + 1], widthOf(row.cells[i]));
            }
        }
        auto line = [&](const std::string& label, const std::vector<std::string>& cells) {
            std::string text;
            pad(text, label, widths[0]);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                text += "  ";
                pad(text, cells[i], widths[i + 1]);
            }
            while (!text.empty() && text.back() == ' ')
                text.pop_back();
            out += text + '\n';
        };
        line("", table.fields);
        for (const RenderedRow& row : table.rows)
            line(row.label, row.cells);
    }
    return out;
}

std::string formatDelimited(const RenderedTable& table, char delimiter) {
    auto field = [&](const std::string& text) {
        return delimiter == ',' ? csvField(text) : tsvField(text);
    };
    std::string out;
    out += field("");
    for (const std::string& name : table.fields)
        out += delimiter + field(name);
    out += '\n';
    for (const RenderedRow& row : table.rows) {
        out += field(row.label);
        for (const std::string& cell : row.cells)
            out += delimiter + field(cell);
        out += '\n';
    }
    return out;
}

std::string formatJson(const std::vector<RenderedTable>& tables) {
    std::string out = "{\"tables\":[";
    for (std::size_t t = 0; t < tables.size(); ++t) {
        const RenderedTable& table = tables[t];
        if (t > 0) out += ',';
        out += "{\"name\":" + jsonString(table.name) + ",\"warning\":";
        out += table.hasWarning ? jsonString(table.warning) : "null";
        out += ",\"fields\":[";
        for (std::size_t i = 0; i < table.fields.size(); ++i) {
            if (i > 0) out += ',';
            out += jsonString(table.fields[i]);
        }
        out += "],\"rows\":[";
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const RenderedRow& row = table.rows[r];
            if (r > 0) out += ',';
            out += "{\"label\":" + jsonString(row.label) + ",\"key\":" + std::to_string(row.key) +
                   ",\"cells\":[";
            for (std::size_t i = 0; i < row.cells.size(); ++i) {
                if (i > 0) out += ',';
                out += jsonString(row.cells[i]);
            }
            out += "]}";
        }
        out += "]}";
    }
    return out + "]}\n";
}

}  // namespace qv::cli
