// Helpers shared by the table grammar and program model tests: reading a
// table from text, catching the message it throws, and a compact rendering
// of a table model that two models can be compared by.
#pragma once

#include <string>
#include <string_view>

#include "core/String.h"
#include "language/StringStream.h"
#include "language/TableDef.h"
#include "language/TableParser.h"

namespace qv::test {

inline Pointer<TableDef> readTable(std::string_view text) {
    return make<TableParser>()->parseTable(make<StringStream>(str(text)));
}

// The message a text throws, or "(no error)".
inline std::string readError(std::string_view text) {
    try {
        readTable(text);
        return "(no error)";
    } catch (const StringPointer& message) {
        return message->toStdString();
    }
}

// "LINE:COL message" of the error a text throws, or "(no error)".
inline std::string readErrorAt(std::string_view text) {
    auto stream = make<StringStream>(str(text));
    try {
        make<TableParser>()->parseTable(stream);
        return "(no error)";
    } catch (const StringPointer& message) {
        SourcePosition at = stream->positionOf(stream->errorOffset());
        return std::to_string(at.line) + ":" + std::to_string(at.column) + " " +
               message->toStdString();
    }
}

inline std::string textOf(const Pointer<Object>& value) {
    return value.isNull() ? std::string("null") : value->toString()->toStdString();
}

// "T extends B rows=n", then per field " | " + name + "!" or ";" and
// " key=formula" for every formula in key order; "*" marks an error formula.
inline std::string renderTable(const Pointer<TableDef>& table) {
    std::string out = textOf(table->tableName());
    if (!table->baseName().isNull()) out += " extends " + textOf(table->baseName());
    out += " rows=" + std::to_string(table->numRows());
    for (const auto& field : *table->fields()) {
        out += " | " + field->nameText()->toStdString();
        out += field->isVisible() != 0 ? "!" : ";";
        for (std::int32_t key : field->expr()->sortedIndexes()) {
            ExpressionPointer formula = field->formula(key);
            out += " " + std::to_string(key) + "=" + formula->toSource()->toStdString();
            if (!formula->errorOf().isNull()) out += "*";
        }
    }
    return out;
}

}  // namespace qv::test
