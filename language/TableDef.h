// TableDef: the definition of one table — name, base table, fields and row
// count — and its text form in the table grammar, which the table parser
// reads back to an equal definition.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/String.h"
#include "core/TVector.h"
#include "language/FieldDef.h"

namespace qv {

class ProgramDef;
using FieldList = TVector<FieldDef>;

class TableDef final : public Object {
    QV_OBJECT(TableDef, Object, "TableDef")
  public:
    explicit TableDef(ProgramDef* owner);
    TableDef(const TableDef& other, ProgramDef* owner,
             FieldDef::Formulas formulas = FieldDef::Formulas::Cloned);

    const Pointer<FieldList>& fields() const noexcept { return m_fields; }
    std::int32_t fieldCount() const noexcept { return m_fields->size(); }
    const Pointer<FieldDef>& field(std::int32_t index) const { return (*m_fields)[index]; }
    // Appends a new field and returns it.
    Pointer<FieldDef> addField();

    const StringPointer& baseName() const noexcept { return m_baseName; }
    void setBaseName(const StringPointer& name) { m_baseName = name; }
    const StringPointer& tableName() const noexcept { return m_tableName; }
    void setTableName(const StringPointer& name) { m_tableName = name; }
    const Pointer<Object>& baseNameError() const noexcept { return m_baseNameError; }
    void setBaseNameError(const Pointer<Object>& error) { m_baseNameError = error; }
    const Pointer<Object>& tableNameError() const noexcept { return m_tableNameError; }
    void setTableNameError(const Pointer<Object>& error) { m_tableNameError = error; }

    ProgramDef* owner() const noexcept { return m_owner; }
    void setOwner(ProgramDef* owner) noexcept { m_owner = owner; }
    std::int32_t numRows() const noexcept { return m_numRows; }
    void setNumRows(std::int32_t rows) noexcept { m_numRows = rows; }
    std::int32_t sortField() const noexcept { return m_sortField; }
    bool sortDescending() const noexcept { return m_sortDescending; }
    void setSort(std::int32_t field, bool descending) noexcept {
        m_sortField = field;
        m_sortDescending = descending;
    }

    // Written before the table and after its closing brace.
    const ItemComments& comments() const noexcept { return m_comments; }
    void setComments(const ItemComments& comments) { m_comments = comments; }
    // Written before the closing brace, after the last field or row block.
    const StringPointer& closingComments() const noexcept { return m_closingComments; }
    void setClosingComments(const StringPointer& text) { m_closingComments = text; }
    // The comments of the row block of a row key; empty when it has none.
    const ItemComments& rowComments(std::int32_t rowKey) const;
    // Adds the comments of a row block. A second block of the same key is
    // written as one with the first, so its comments all go before it.
    void addRowComments(std::int32_t rowKey, const ItemComments& comments);
    // The comments kept in the table, its fields and its row blocks.
    std::int32_t commentCount() const noexcept;

    // "Name" or "Name extends Base"; a name that is not one identifier goes in brackets.
    StringPointer writeHeader() const;
    // The row block of row key k: "<k>:={...}".
    StringPointer writeRow(std::int32_t rowKey) const;
    StringPointer toSource() const override;
    StringPointer describe() const override;

  private:
    // True when no earlier field of this table has the same name.
    bool firstWithName(std::int32_t index) const;
    // How a row block addresses a field's cell: by the field's name when
    // that reads back as this field (`header` then holds it), else by
    // position or column number.
    struct CellAddress {
        std::string header;
        bool named = false;
    };
    std::vector<CellAddress> cellAddresses() const;
    friend class TableSourceWriter;

    Pointer<FieldList> m_fields;
    ItemComments m_comments;
    StringPointer m_closingComments;
    std::map<std::int32_t, ItemComments> m_rowComments;
    StringPointer m_baseName;
    StringPointer m_tableName;
    Pointer<Object> m_baseNameError;
    Pointer<Object> m_tableNameError;
    ProgramDef* m_owner;  // not owning
    std::int32_t m_numRows = 1;
    std::int32_t m_sortField = -1;
    bool m_sortDescending = false;
};

// A table's text written a part at a time, for a caller that must not stop
// for the whole of a large table (the recovery copy): the parts joined are
// toSource(). The table must neither change nor go while the writer lives.
class TableSourceWriter {
  public:
    explicit TableSourceWriter(const TableDef& table);

    // Appends the next part, with at most `rows` row blocks; true once the
    // table's text is complete.
    bool write(std::string& out, std::int32_t rows);

  private:
    using Cells = std::vector<std::pair<std::int32_t, Pointer<Object>>>;

    void writeHead(std::string& out) const;
    // The next row block, or false when none is left.
    bool writeNextRow(std::string& out);
    void writeTail(std::string& out) const;

    const TableDef& m_table;
    std::vector<Cells> m_cells;  // each field's cells in key order
    std::vector<std::size_t> m_next;
    std::vector<TableDef::CellAddress> m_addresses;
    std::map<std::int32_t, ItemComments>::const_iterator m_comment;
    std::int32_t m_last = 0;
    bool m_started = false;
};

}  // namespace qv
