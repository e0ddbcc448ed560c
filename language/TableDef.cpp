#include "language/TableDef.h"

#include <set>

#include "language/StringStream.h"

namespace qv {

namespace {

// A table or base name as the header holds it: a lone identifier as it is,
// any other text in brackets, which the reader takes as raw text. Without
// them a name read from brackets would be written so that it cannot be read.
StringPointer headerName(const StringPointer& name) {
    if (name.isNull()) return name;
    try {
        auto stream = make<StringStream>(name);
        Pointer<Token> token = stream->next();
        if (token->code() == kIdentifier && token->text()->equals(name->view()) &&
            stream->next()->code() == kEnd) {
            return name;
        }
    } catch (const StringPointer&) {
        // Not a token at all: bracketed below.
    }
    return str("[") + name + "]";
}

}  // namespace

TableDef::TableDef(ProgramDef* owner) : m_fields(make<FieldList>()), m_owner(owner) {}

TableDef::TableDef(const TableDef& other, ProgramDef* owner)
    : Object(),
      m_fields(make<FieldList>(other.fieldCount())),
      m_baseName(other.m_baseName),
      m_tableName(other.m_tableName),
      m_baseNameError(other.m_baseNameError),
      m_tableNameError(other.m_tableNameError),
      m_owner(owner),
      m_numRows(other.m_numRows) {
    for (const auto& field : *other.m_fields)
        m_fields->add(make<FieldDef>(*field, this));
}

Pointer<FieldDef> TableDef::addField() {
    auto field = make<FieldDef>(this);
    m_fields->add(field);
    return field;
}

StringPointer TableDef::writeHeader() const {
    if (m_baseName.isNull()) return headerName(m_tableName);
    return headerName(m_tableName) + " extends " + headerName(m_baseName);
}

bool TableDef::firstWithName(std::int32_t index) const {
    StringPointer name = field(index)->nameText();
    for (std::int32_t i = 0; i < index; ++i) {
        if (field(i)->nameText()->equals(name->view())) return false;
    }
    return true;
}

StringPointer TableDef::writeRow(std::int32_t rowKey) const {
    std::string elements;
    bool gap = false;
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        const auto& fieldDef = field(i);
        ExpressionPointer formula = fieldDef->formula(rowKey);
        if (formula.isNull()) {
            gap = true;
            continue;
        }
        // A name read back addresses the first field of that name, so a later
        // field with the same name is addressed by its column number instead.
        if (fieldDef->isNamed() && firstWithName(i)) {
            elements += fieldDef->writeHeader()->view();
        } else if (gap || fieldDef->isNamed()) {
            elements += '<';
            elements += std::to_string(i + 1);
            elements += ">:=";
        }
        elements += formula->toSource()->view();
        elements += ',';
    }
    std::string label = rowKey == FieldDef::kSummaryRow   ? "sum"
                        : rowKey == FieldDef::kFormulaRow ? "base"
                                                          : std::to_string(rowKey);
    // The pad goes before the first element only: formula texts that span
    // lines (comments, string literals) must come back unchanged.
    std::string pad = elements.empty() ? "" : "    ";
    std::string block = "<";
    block += label;
    block += ">:={";
    block += pad;
    block += elements;
    block += "}\n";
    return str(block);
}

StringPointer TableDef::toSource() const {
    // Every line of the body is indented by four blanks, but only where a
    // field or block starts, so multi-line formula texts read back unchanged.
    static constexpr std::string_view kPad = "    ";
    std::string body;
    std::set<std::int32_t> keys;
    for (const auto& fieldDef : *m_fields) {
        body += kPad;
        body += fieldDef->writeHeader()->view();
        ExpressionPointer formula = fieldDef->formula(FieldDef::kFormulaRow);
        if (!formula.isNull()) body += formula->toSource()->view();
        body += fieldDef->isVisible() != 0 ? "!\n" : ";\n";
        for (std::int32_t key : fieldDef->expr()->sortedIndexes())
            keys.insert(key);
    }
    std::int32_t last = 0;
    for (std::int32_t key : keys) {
        if (key != FieldDef::kFormulaRow) {
            body += kPad;
            body += writeRow(key)->view();
        }
        last = key;
    }
    if (last != m_numRows - 1 && m_numRows != 0) {
        body += kPad;
        body += '<';
        body += std::to_string(m_numRows - 1);
        body += ">:={}\n";
    }
    return str("table ") + writeHeader() + "{\n" + body + "}\n";
}

StringPointer TableDef::describe() const {
    auto text = [](const Pointer<Object>& value) {
        return value.isNull() ? std::string("NullObject") : value->toString()->toStdString();
    };
    std::string block;
    block += "base_name=" + text(m_baseName) + ";\n";
    block += "table_name=" + text(m_tableName) + ";\n";
    block += "base_name_error=" + text(m_baseNameError) + ";\n";
    block += "table_name_error=" + text(m_tableNameError) + ";\n";
    block += "field=" + m_fields->describe()->toStdString() + "\n";
    block += "num_rows=" + std::to_string(m_numRows) + "\n";
    return str("\nTableDef{\n" + indentLines(block, 4) + "}\n");
}

}  // namespace qv
