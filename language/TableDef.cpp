#include "language/TableDef.h"

#include <limits>
#include <set>
#include <utility>
#include <vector>

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

TableDef::TableDef(const TableDef& other, ProgramDef* owner, FieldDef::Formulas formulas)
    : Object(),
      m_fields(make<FieldList>(other.fieldCount())),
      m_comments(other.m_comments),
      m_closingComments(other.m_closingComments),
      m_rowComments(other.m_rowComments),
      m_baseName(other.m_baseName),
      m_tableName(other.m_tableName),
      m_baseNameError(other.m_baseNameError),
      m_tableNameError(other.m_tableNameError),
      m_owner(owner),
      m_numRows(other.m_numRows) {
    for (const auto& field : *other.m_fields)
        m_fields->add(make<FieldDef>(*field, this, formulas));
}

Pointer<FieldDef> TableDef::addField() {
    auto field = make<FieldDef>(this);
    m_fields->add(field);
    return field;
}

const ItemComments& TableDef::rowComments(std::int32_t rowKey) const {
    static const ItemComments none;
    auto found = m_rowComments.find(rowKey);
    return found == m_rowComments.end() ? none : found->second;
}

void TableDef::addRowComments(std::int32_t rowKey, const ItemComments& comments) {
    if (comments.isEmpty()) return;
    auto [kept, added] = m_rowComments.try_emplace(rowKey, comments);
    if (added) return;
    kept->second.leading =
        joinComments(joinComments(kept->second.leading, comments.leading), comments.trailing);
}

std::int32_t TableDef::commentCount() const noexcept {
    std::int32_t total = m_comments.count();
    if (!m_closingComments.isNull()) total += countComments(m_closingComments->view());
    for (const auto& field : *m_fields)
        total += field->comments().count();
    for (const auto& [key, comments] : m_rowComments)
        total += comments.count();
    return total;
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

namespace {

// A row block; `formulaOf(i)` is field i's formula in the row, or null.
template <class Address, class FormulaOf>
std::string rowBlock(std::int32_t rowKey, const std::vector<Address>& addresses,
                     FormulaOf&& formulaOf) {
    std::string elements;
    bool gap = false;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const Object* formula = formulaOf(i);
        if (formula == nullptr) {
            gap = true;
            continue;
        }
        const Address& address = addresses[i];
        if (!address.header.empty()) {
            elements += address.header;
        } else if (gap || address.named) {
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
    std::string block = "<";
    block += label;
    block += ">:={";
    if (!elements.empty()) block += "    ";
    block += elements;
    block += "}\n";
    return block;
}

}  // namespace

// A name read back addresses the first field of that name, so a later field
// with the same name is addressed by its column number instead.
std::vector<TableDef::CellAddress> TableDef::cellAddresses() const {
    std::vector<CellAddress> addresses(static_cast<std::size_t>(fieldCount()));
    for (std::int32_t i = 0; i < fieldCount(); ++i) {
        CellAddress& address = addresses[static_cast<std::size_t>(i)];
        address.named = field(i)->isNamed();
        if (address.named && firstWithName(i)) address.header = field(i)->writeHeader()->view();
    }
    return addresses;
}

StringPointer TableDef::writeRow(std::int32_t rowKey) const {
    std::vector<Pointer<AbstractExpression>> formulas;
    for (std::int32_t i = 0; i < fieldCount(); ++i)
        formulas.push_back(field(i)->formula(rowKey));
    return str(
        rowBlock(rowKey, cellAddresses(), [&](std::size_t i) { return formulas[i].object(); }));
}

namespace {

// Every line of a table's body is indented by four blanks, but only where a
// field, block or comment starts, so multi-line formula texts read back
// unchanged.
constexpr std::int32_t kBodyIndent = 4;

// One item of a table's text with its comments: `line` holds the item
// without its line end.
void appendItem(std::string& out, const ItemComments& comments, std::string_view line,
                std::int32_t indent) {
    if (!comments.leading.isNull()) appendLeadingComments(out, comments.leading->view(), indent);
    out.append(static_cast<std::size_t>(indent), ' ');
    out += line;
    if (!comments.trailing.isNull()) appendTrailingComments(out, comments.trailing->view());
    out += '\n';
}

}  // namespace

StringPointer TableDef::toSource() const {
    std::string out;
    TableSourceWriter writer(*this);
    while (!writer.write(out, std::numeric_limits<std::int32_t>::max())) {
    }
    return str(out);
}

// Each field's cells in key order, walked in step: one pass over every
// field's formulas rather than a lookup per field and row, which dominated
// writing a table of a million rows.
TableSourceWriter::TableSourceWriter(const TableDef& table)
    : m_table(table), m_comment(table.m_rowComments.begin()) {}

bool TableSourceWriter::write(std::string& out, std::int32_t rows) {
    if (!m_started) {
        writeHead(out);
        for (const auto& fieldDef : *m_table.m_fields)
            m_cells.push_back(fieldDef->expr()->sortedEntries());
        m_next.assign(m_cells.size(), 0);
        m_addresses = m_table.cellAddresses();
        m_started = true;
    }
    for (std::int32_t written = 0; written < rows; ++written) {
        if (!writeNextRow(out)) {
            writeTail(out);
            return true;
        }
    }
    return false;
}

void TableSourceWriter::writeHead(std::string& out) const {
    const ItemComments& comments = m_table.m_comments;
    if (!comments.leading.isNull()) appendLeadingComments(out, comments.leading->view(), 0);
    out += "table ";
    out += m_table.writeHeader()->view();
    out += "{\n";
    for (const auto& fieldDef : *m_table.m_fields) {
        std::string line(fieldDef->writeHeader()->view());
        ExpressionPointer formula = fieldDef->formula(FieldDef::kFormulaRow);
        if (!formula.isNull()) line += formula->toSource()->view();
        line += fieldDef->isVisible() != 0 ? "!" : ";";
        appendItem(out, fieldDef->comments(), line, kBodyIndent);
    }
}

// Row blocks in ascending key order (so the summary row comes first), one
// for every key that holds a formula or comments. Key 0 is the formula row:
// its formulas are on the field lines, and only its comments need a block.
bool TableSourceWriter::writeNextRow(std::string& out) {
    const auto& rowComments = m_table.m_rowComments;
    bool any = m_comment != rowComments.end();
    std::int32_t key = any ? m_comment->first : 0;
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (m_next[i] >= m_cells[i].size()) continue;
        std::int32_t candidate = m_cells[i][m_next[i]].first;
        if (!any || candidate < key) key = candidate;
        any = true;
    }
    if (!any) return false;
    const ItemComments& comments = m_table.rowComments(key);
    if (m_comment != rowComments.end() && m_comment->first == key) ++m_comment;
    if (key != FieldDef::kFormulaRow) {
        std::string block = rowBlock(key, m_addresses, [&](std::size_t i) -> const Object* {
            const Cells& own = m_cells[i];
            if (m_next[i] >= own.size() || own[m_next[i]].first != key) return nullptr;
            return own[m_next[i]].second.object();
        });
        appendItem(out, comments, std::string_view(block).substr(0, block.size() - 1), kBodyIndent);
    } else if (!comments.isEmpty()) {
        appendItem(out, comments, "<0>:={}", kBodyIndent);
    }
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        if (m_next[i] < m_cells[i].size() && m_cells[i][m_next[i]].first == key) ++m_next[i];
    }
    m_last = key;
    return true;
}

// An empty block for the last row when none stands there, so that reading
// the text back restores the row count; then the closing comments.
void TableSourceWriter::writeTail(std::string& out) const {
    std::int32_t numRows = m_table.m_numRows;
    if (m_last != numRows - 1 && numRows != 0) {
        appendItem(out, {}, "<" + std::to_string(numRows - 1) + ">:={}", kBodyIndent);
    }
    if (!m_table.m_closingComments.isNull()) {
        appendLeadingComments(out, m_table.m_closingComments->view(), kBodyIndent);
    }
    appendItem(out, {StringPointer(), m_table.m_comments.trailing}, "}", 0);
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
