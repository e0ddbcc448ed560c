// TableParser: reads one table definition in two passes over the same
// tokens — the first creates the fields, the second attaches the row
// overrides, so a row block may name fields defined after it. The second
// pass meets the formulas of the first in the same order and takes them
// as parsed instead of parsing them again.
//
// The first pass also keeps the comments of the table (see
// CommentCollector.h for the rules): each field and row block takes the
// comments before it, those inside it outside its formulas, and those on
// the line where it ends; comments before "table" and between "table" and
// "{" go before the table, and those after the last member before the
// closing brace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/Hashtable.h"
#include "language/CommentCollector.h"
#include "language/ExpressionParser.h"
#include "language/TableDef.h"

namespace qv {

class TableParser final : public ExpressionParser {
    QV_OBJECT(TableParser, ExpressionParser, "TableParser")
  public:
    // The largest row key a row block may carry; beyond it the row count
    // would not fit the model's integers.
    static constexpr std::int32_t kMaxRowKey = 0x7ffffffe;

    // Reads "table" name [ "extends" name ] "{" members "}" and leaves the
    // stream after the closing brace. Errors abort the table. The comments
    // before "table" are the table's from `commentsFrom` on, by default all
    // of them.
    Pointer<TableDef> parseTable(const Pointer<StringStream>& stream);
    Pointer<TableDef> parseTable(const Pointer<StringStream>& stream, std::int32_t commentsFrom);

    // Says whether the stream stands at an item that may follow a table in
    // the text being read, leaving the stream where it was. A member that
    // starts so, like the end of the text or another table's header, is
    // taken for the table's missing closing brace.
    using ItemStart = std::function<bool(StringStream&)>;
    void setItemStart(ItemStart itemStart) { m_itemStart = std::move(itemStart); }

  private:
    void parseBody();
    void parseField();
    void parseRowBlock();
    void parseElement();
    // A formula with its exact source text, or the null object when absent.
    ExpressionPointer parseSourceFormula();
    ExpressionPointer readSourceFormula();
    void storeAt(std::int32_t fieldIndex, const ExpressionPointer& formula);
    Pointer<FieldDef> lookupField(const ExpressionPointer& nameFormula, std::int32_t at);
    void buildFieldIndex();
    [[noreturn]] void failAt(std::int32_t offset, std::string_view message);
    bool startsNextItem();
    // Comments of the first pass: before an item, inside it, after it.
    bool keepsComments() const noexcept { return m_pass == 1 && m_comments.has_value(); }
    void beginItem();
    void addInnerComments(std::int32_t limit);
    ItemComments endItem();

    Pointer<TableDef> m_table;
    Pointer<Hashtable> m_fieldIndex;
    std::int32_t m_pass = 0;
    std::int32_t m_rowKey = 0;
    std::int32_t m_column = 0;
    ItemStart m_itemStart;

    struct ParsedFormula {
        ExpressionPointer formula;
        Pointer<StreamPosition> after;  // where the stream stood after it
    };
    std::vector<ParsedFormula> m_parsed;  // the first pass's, in order
    std::size_t m_replayed = 0;

    std::optional<CommentCollector> m_comments;
    StringPointer m_itemComments;  // of the field or row block being read
};

}  // namespace qv
