#include "app/TableExport.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>

#include "app/TerminalText.h"
#include "core/Allocator.h"
#include "core/EngineeringFormat.h"
#include "core/FileWriter.h"
#include "core/Number.h"
#include "core/ValueConversions.h"
#include "core/Warning.h"

namespace qv {

namespace {

// The display text of one column's values. Columns often repeat a value
// row after row (a total shown in every row, one error or "(circular)" down
// a column), so the text of the last number and of the last other value
// are kept and reused; the last value is held, so no other value can take
// its place in memory while its text is kept.
class ColumnTexts {
  public:
    explicit ColumnTexts(NumberStyle style) : m_style(style) {}

    // The view lasts until the next call, and as long as `value`.
    std::string_view text(const Pointer<Object>& value) {
        const Object& object = *value.object();
        if (object.isNull()) return {};
        if (object.classTypeId() == Double::typeId())
            return numberText(static_cast<const Double&>(object).value());
        if (object.classTypeId() == String::typeId()) {
            const auto& text = static_cast<const String&>(object);
            return {text.text(), static_cast<std::size_t>(text.length())};
        }
        if (!(value == m_lastObject)) {
            m_lastObject = value;
            StringPointer text = toText(object);
            m_lastObjectText.assign(text->text(), static_cast<std::size_t>(text->length()));
            m_lastObjectPlain = isPlainText(m_lastObjectText);
            m_lastObjectWidth =
                m_lastObjectPlain ? m_lastObjectText.size() : terminalWidth(m_lastObjectText);
        }
        return m_lastObjectText;
    }

    // The terminal width of a value's text; clears `plain` when the text is
    // not printable ASCII (then as wide as it shows escaped).
    std::size_t width(const Pointer<Object>& value, bool& plain) {
        std::string_view shown = text(value);
        // Only values that are neither numbers nor texts are kept as the last.
        if (value == m_lastObject) {
            plain = plain && m_lastObjectPlain;
            return m_lastObjectWidth;
        }
        if (isPlainText(shown)) return shown.size();
        plain = false;
        return terminalWidth(shown);
    }

    void append(std::string& out, const Pointer<Object>& value) {
        std::string_view shown = text(value);
        out.append(shown.data(), shown.size());
    }
    void appendNumber(std::string& out, double number) {
        std::string_view text = numberText(number);
        out.append(text.data(), text.size());
    }
    std::string_view numberText(double number) {
        if (!m_hasLast || std::memcmp(&number, &m_lastNumber, sizeof number) != 0) {
            m_lastLength = formatNumber(m_lastText, number, m_style);
            m_lastNumber = number;
            m_hasLast = true;
        }
        return {m_lastText, static_cast<std::size_t>(m_lastLength)};
    }

  private:
    NumberStyle m_style;
    bool m_hasLast = false;
    double m_lastNumber = 0;
    char m_lastText[kMaxNumberLength];
    int m_lastLength = 0;
    Pointer<Object> m_lastObject;
    std::string m_lastObjectText;
    bool m_lastObjectPlain = true;
    std::size_t m_lastObjectWidth = 0;
};

// What TableResult::value gives: the stored object as it is, or computed.
Pointer<Object> storedOrComputed(TableResult& table, Object* stored, std::int32_t field,
                                 std::int32_t row) {
    if (!stored->isNull()) return Pointer<Object>(stored);
    return table.value(field, row);
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
               std::vector<ColumnTexts>& columns, std::int32_t row) {
    rendered.keys.push_back(row);
    appendLabel(rendered.texts, table, row);
    rendered.ends.push_back(rendered.texts.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        double number = 0;
        Object* stored = table.peekCell(fields[i], row, number);
        if (stored == nullptr) {
            columns[i].appendNumber(rendered.texts, number);
        } else {
            columns[i].append(rendered.texts, storedOrComputed(table, stored, fields[i], row));
        }
        rendered.ends.push_back(rendered.texts.size());
    }
}

// A table without data rows shows an empty grid: an error in its formula
// row, which data rows would repeat, is otherwise seen nowhere.
void noteFormulaRowErrors(RenderedTable& rendered, TableResult& table,
                          const std::vector<std::int32_t>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        Pointer<Object> value = table.value(fields[i], 0);
        if (!is<Warning>(value)) continue;
        rendered.formulaRowErrors.push_back(rendered.fields[i] + ": " +
                                            toText(value)->toStdString());
    }
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

}  // namespace

namespace {

void writeDelimitedText(BufferedOutput& out, std::string_view text, DelimitedFormat format) {
    if (format == DelimitedFormat::Csv) {
        writeCsvField(out, text);
    } else {
        writeTsvField(out, text);
    }
}

char delimiterOf(DelimitedFormat format) {
    return format == DelimitedFormat::Csv ? ',' : '\t';
}

}  // namespace

void writeDelimitedHead(BufferedOutput& out, const RenderedTable& table, DelimitedFormat format) {
    // A comment line first, which a reader of the rows may skip; escaped,
    // so the message stays on its line.
    if (table.hasWarning) out << "# warning: " << forTerminal(table.warning) << '\n';
    for (const std::string& name : table.fields) {
        out << delimiterOf(format);
        writeDelimitedText(out, name, format);
    }
    out << '\n';
}

void writeDelimitedRows(BufferedOutput& out, const RenderedTable& rows, DelimitedFormat format) {
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        for (std::size_t column = 0; column < rows.columnCount(); ++column) {
            if (column > 0) out << delimiterOf(format);
            writeDelimitedText(out, rows.text(row, column), format);
        }
        out << '\n';
        out.endRow();
    }
}

void writeDelimitedTail(BufferedOutput& out, const RenderedTable& table) {
    for (const std::string& error : table.formulaRowErrors)
        out << "# error in formula row: " << forTerminal(error) << '\n';
}

void writeDelimited(BufferedOutput& out, const RenderedTable& table, DelimitedFormat format) {
    writeDelimitedHead(out, table, format);
    writeDelimitedRows(out, table, format);
    writeDelimitedTail(out, table);
}

DelimitedFormat delimitedFormatFor(std::string_view path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return DelimitedFormat::Csv;
    std::string extension;
    for (char ch : path.substr(dot + 1))
        extension += static_cast<char>(ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch);
    return extension == "tsv" || extension == "tab" ? DelimitedFormat::Tsv : DelimitedFormat::Csv;
}

std::optional<std::string> exportTable(TableResult& table, const std::string& path,
                                       DelimitedFormat format) {
    try {
        RenderedTable rendered = renderTable(table, false);
        writeFileInPieces(path, [&](const FilePieceSink& put) {
            BufferedOutput out(put);
            writeDelimited(out, rendered, format);
            out.flush();
        });
        return std::nullopt;
    } catch (const StringPointer& message) {
        return message->toStdString();
    } catch (const std::bad_alloc&) {
        return "can not write to " + path + ": out of memory";
    }
}

static_assert(kMaxNumberLength >= kMaxEngineeringLength);

int formatNumber(char* out, double number, NumberStyle style) {
    if (style == NumberStyle::Display) return formatEngineering(out, number);
    // Without a precision, to_chars writes the shortest text that reads
    // back as the same double.
    auto [end, error] = std::to_chars(out, out + kMaxNumberLength, number);
    return error == std::errc() ? static_cast<int>(end - out) : 0;
}

namespace {

std::vector<std::int32_t> shownFields(TableResult& table, bool all) {
    std::vector<std::int32_t> fields;
    if (all) {
        for (std::int32_t field = 0; field < table.fieldCount(); ++field)
            fields.push_back(field);
    } else {
        for (std::int32_t position = 0; position < table.visibleCount(); ++position) {
            fields.push_back(table.visibleField(position));
        }
    }
    return fields;
}

// The key of rendered row `index`: with `all` the formula row first, then
// the data rows in display order, then the summary row.
std::int32_t renderedRowKey(TableResult& table, bool all, std::size_t index, std::size_t count) {
    if (index + 1 == count) return -1;
    if (all && index == 0) return 0;
    return table.displayRow(static_cast<std::int32_t>(index) + (all ? 0 : 1));
}

}  // namespace

RenderedTable renderTableHead(TableResult& table, bool all) {
    RenderedTable rendered;
    rendered.name = table.name()->toStdString();
    Pointer<Object> warning = table.warning();
    rendered.hasWarning = !warning.isNull();
    if (rendered.hasWarning) rendered.warning = toText(warning)->toStdString();
    std::vector<std::int32_t> fields = shownFields(table, all);
    for (std::int32_t field : fields)
        rendered.fields.push_back(table.fieldName(field)->toStdString());
    if (!all && table.rowCount() <= 1) noteFormulaRowErrors(rendered, table, fields);
    return rendered;
}

std::size_t renderedRowCount(TableResult& table, bool all) {
    return static_cast<std::size_t>(std::max(table.rowCount() - 1, 0)) + (all ? 2 : 1);
}

void renderRows(TableResult& table, bool all, NumberStyle numbers, std::size_t first,
                std::size_t count, RenderedTable& rendered) {
    rendered.keys.clear();
    rendered.ends.clear();
    rendered.texts.clear();
    std::size_t total = renderedRowCount(table, all);
    std::size_t last = std::min(total, first + count);
    if (first >= last) return;
    std::vector<std::int32_t> fields = shownFields(table, all);
    std::size_t rows = last - first;
    rendered.keys.reserve(rows);
    rendered.ends.reserve(rows * (fields.size() + 1));
    // Room for a typical number in every cell up front: pages not written
    // cost nothing, while growing a buffer of many megabytes copies it.
    rendered.texts.reserve(rows * (fields.size() + 1) * 16);
    preferHugePages(rendered.texts.data(), rendered.texts.capacity());
    preferHugePages(rendered.ends.data(), rendered.ends.capacity() * sizeof(std::size_t));
    std::vector<ColumnTexts> columns(fields.size(), ColumnTexts(numbers));
    // The values of a row lie scattered over the heap when a column holds
    // values made elsewhere (a sort's result holds its input's values in
    // sorted order): the values some rows ahead are fetched early.
    constexpr std::size_t kAhead = 8;
    for (std::size_t index = first; index < last; ++index) {
        if (index + kAhead < last) {
            std::int32_t ahead = renderedRowKey(table, all, index + kAhead, total);
            for (std::int32_t field : fields)
                table.prefetchCell(field, ahead);
        }
        renderRow(rendered, table, fields, columns, renderedRowKey(table, all, index, total));
    }
}

namespace {
// A text's terminal width; printable ASCII is as wide as it is long.
void widen(std::size_t& width, std::string_view text, bool& plain) {
    bool plainText = isPlainText(text);
    plain = plain && plainText;
    width = std::max(width, plainText ? text.size() : terminalWidth(text));
}
}  // namespace

void measureRows(TableResult& table, bool all, NumberStyle numbers, std::size_t first,
                 std::size_t count, std::vector<std::size_t>& widths, bool& plain) {
    std::size_t total = renderedRowCount(table, all);
    std::size_t last = std::min(total, first + count);
    std::vector<std::int32_t> fields = shownFields(table, all);
    if (widths.size() < fields.size() + 1) return;
    std::vector<ColumnTexts> columns(fields.size(), ColumnTexts(numbers));
    std::string text;
    for (std::size_t index = first; index < last; ++index) {
        std::int32_t row = renderedRowKey(table, all, index, total);
        if (row > 0 && row < table.rowCount() && table.resolved()->nameField() < 0) {
            // The row number, as appendLabel writes it.
            std::size_t digits = 1;
            for (std::int32_t rest = row; rest >= 10; rest /= 10)
                ++digits;
            widths[0] = std::max(widths[0], digits);
        } else {
            text.clear();
            appendLabel(text, table, row);
            widen(widths[0], text, plain);
        }
        for (std::size_t i = 0; i < fields.size(); ++i) {
            double number = 0;
            Object* stored = table.peekCell(fields[i], row, number);
            if (stored == nullptr) {
                // Number texts are printable ASCII.
                widths[i + 1] = std::max(widths[i + 1], columns[i].numberText(number).size());
                continue;
            }
            Pointer<Object> value = storedOrComputed(table, stored, fields[i], row);
            widths[i + 1] = std::max(widths[i + 1], columns[i].width(value, plain));
        }
    }
}

RenderedTable renderTable(TableResult& table, bool all, NumberStyle numbers) {
    RenderedTable rendered = renderTableHead(table, all);
    renderRows(table, all, numbers, 0, renderedRowCount(table, all), rendered);
    return rendered;
}

}  // namespace qv
