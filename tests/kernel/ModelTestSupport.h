// Whole-model test helpers: a program text in, computed tables out as rows
// of display texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/ValueConversions.h"
#include "kernel/Kernel.h"
#include "language/StringStream.h"
#include "language/TableParser.h"

namespace qv::test {

// A kernel holding every table of the text.
// The tables go into the model without a computation each; the first read
// links and computes once.
inline Pointer<Kernel> loadModel(std::string_view text) {
    auto kernel = make<Kernel>();
    auto stream = make<StringStream>(str(text));
    while (stream->peek()->isWord("table")) {
        kernel->program()->addTable(make<TableParser>()->parseTable(stream));
    }
    return kernel;
}

// The display text of a value: numbers in the engineering format, errors
// and special values by their text.
inline std::string display(const Pointer<Object>& value) {
    return toText(value)->toStdString();
}

// One line per row key from -1 ("sum") through the last data row: the row
// label, then every field's value, separated by " | ".
inline std::vector<std::string> renderTable(Kernel& kernel, std::string_view name) {
    Pointer<TableResult> table = kernel.getTableByName(name);
    std::vector<std::string> lines;
    for (std::int32_t row = -1; row < table->rowCount(); ++row) {
        std::string line = table->rowLabel(row)->toStdString();
        for (std::int32_t field = 0; field < table->fieldCount(); ++field) {
            line += " | " + display(table->value(field, row));
        }
        lines.push_back(line);
    }
    return lines;
}

// Every cell of every table, by position, as displayed: a line per row key
// "TABLE:ROW | value | value ...".
inline std::vector<std::string> allValues(Kernel& kernel) {
    std::vector<std::string> values;
    for (std::int32_t t = 0; t < kernel.getTableCount(); ++t) {
        Pointer<TableResult> table = kernel.getTable(t);
        if (table.isNull()) continue;
        for (std::int32_t row = -1; row < table->rowCount(); ++row) {
            std::string line = std::to_string(t) + ":" + std::to_string(row);
            for (std::int32_t field = 0; field < table->fieldCount(); ++field)
                line += " | " + display(table->value(field, row));
            values.push_back(line);
        }
    }
    return values;
}

// The values of one field in data rows 1 ... n - 1.
inline std::vector<std::string> column(Kernel& kernel, std::string_view table,
                                       std::string_view field) {
    Pointer<TableResult> result = kernel.getTableByName(table);
    std::int32_t index = result->resolved()->fieldIndexOf(field);
    std::vector<std::string> values;
    for (std::int32_t row = 1; row < result->rowCount(); ++row) {
        values.push_back(display(result->value(index, row)));
    }
    return values;
}

inline std::string cell(Kernel& kernel, std::string_view table, std::string_view field,
                        std::int32_t row) {
    Pointer<TableResult> result = kernel.getTableByName(table);
    return display(result->value(result->resolved()->fieldIndexOf(field), row));
}

// "null" for the null object, otherwise "Class:text", so a test tells an
// empty result from an empty text and a number from a text.
inline std::string typed(const Pointer<Object>& value) {
    if (value.isNull()) return "null";
    return std::string(value->getClassName()) + ":" + toText(value)->toStdString();
}

// Adds every table of the text to an existing kernel (one made with a
// feedback object or extra library functions).
inline void addTables(Kernel& kernel, std::string_view text) {
    auto stream = make<StringStream>(str(text));
    while (stream->peek()->isWord("table"))
        kernel.addTableFromText(stream);
}

// The message a piece of work throws as a StringPointer, or "(no error)".
template <class Work>
std::string thrownMessage(Work&& work) {
    try {
        work();
        return "(no error)";
    } catch (const StringPointer& message) {
        return message->toStdString();
    }
}

// Counts the kernel's calls around each computation.
class CountingFeedback final : public AbstractKernelFeedback {
    QV_OBJECT(CountingFeedback, AbstractKernelFeedback, "CountingFeedback")
  public:
    void computeStarted() override { ++started; }
    void computeFinished() override { ++finished; }
    int started = 0;
    int finished = 0;
};

// The source text of a cell's formula as the table sees it through its
// chain of fields, "(none)" without one.
inline std::string formulaAt(Kernel& kernel, std::string_view table, std::string_view field,
                             std::int32_t row) {
    Pointer<TableResult> result = kernel.getTableByName(table);
    ExpressionPointer formula =
        result->resolved()->formulaOf(result->resolved()->fieldIndexOf(field), row);
    return formula.isNull() ? "(none)" : formula->toSource()->toStdString();
}

// The data-row keys of a table result in display order.
inline std::vector<std::int32_t> displayOrder(TableResult& table) {
    std::vector<std::int32_t> rows;
    for (std::int32_t position = 1; position < table.rowCount(); ++position)
        rows.push_back(table.displayRow(position));
    return rows;
}

// The texts separated by single blanks.
inline std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts)
        out += (out.empty() ? "" : " ") + text;
    return out;
}

}  // namespace qv::test
