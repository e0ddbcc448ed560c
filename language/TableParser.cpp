// Grammar (words compared as identifiers):
//   table     -> "table" name [ "extends" name ] "{" { member } "}"
//                a member that starts like the next item (the end of the
//                text, another table) is a missing "}"
//   member    -> row-block (starts with "<") | field
//   field     -> [ name ":=" ] formula ( ";" | "!" )
//   row-block -> "<" row-key ">" ":=" "{" element { "," element } "}"
//   row-key   -> number | any other single token (the summary row)
//   element   -> "<" number ">" ":=" formula | formula ":=" formula | formula | nothing
//   formula   -> hash-text | expression
//   name      -> identifier | "[" raw characters "]"
#include "language/TableParser.h"

#include <string>

#include "core/Errors.h"
#include "core/Number.h"
#include "core/StringBuffer.h"
#include "language/FunctionSignature.h"
#include "language/SourceExpressions.h"

namespace qv {

namespace {

std::int32_t clampPosition(std::int32_t position, std::int32_t length) {
    return position < 0 ? 0 : (position > length ? length : position);
}

}  // namespace

Pointer<TableDef> TableParser::parseTable(const Pointer<StringStream>& stream) {
    return parseTable(stream, stream->peek()->position());
}

Pointer<TableDef> TableParser::parseTable(const Pointer<StringStream>& stream,
                                          std::int32_t commentsFrom) {
    useStream(stream);
    m_table = make<TableDef>(nullptr);
    m_fieldIndex = make<Hashtable>();
    m_parsed.clear();
    m_replayed = 0;
    Pointer<StreamPosition> start = stream->mark();
    m_comments.emplace(stream, commentsFrom);
    m_pass = 1;
    parseBody();
    buildFieldIndex();
    stream->reset(start);
    m_pass = 2;
    parseBody();
    m_parsed.clear();
    m_comments.reset();
    Pointer<TableDef> table = m_table;
    m_table = Pointer<TableDef>();
    return table;
}

// table -> "table" name [ "extends" name ] "{" { member } "}"
void TableParser::parseBody() {
    // The comments before the keyword are taken up to it, so that a blank
    // line between them and the table is seen and kept.
    StringPointer before;
    std::int32_t tableAt = stream()->peek()->begin();
    if (keepsComments()) before = m_comments->takeLeading(tableAt);
    stream()->expectWord("table");
    StringPointer name = stream()->readIdentifier();
    if (m_pass == 1) m_table->setTableName(name);
    if (stream()->peek()->isWord("extends")) {
        stream()->next();
        StringPointer base = stream()->readIdentifier();
        if (m_pass == 1) m_table->setBaseName(base);
    }
    stream()->expect(kOpenBrace, "{");
    if (keepsComments()) {
        m_table->setComments(
            {joinComments(before, m_comments->takeLeading(stream()->position())), StringPointer()});
    }
    // Every member consumes at least its terminator or throws, so this ends.
    for (std::int32_t code; (code = stream()->peek()->code()) != kCloseBrace;) {
        if (startsNextItem()) {
            SourcePosition begun = stream()->positionOf(tableAt);
            failAt(stream()->peek()->begin(), "missing } of table " + name->toStdString() +
                                                  " begun at " + std::to_string(begun.line) + ":" +
                                                  std::to_string(begun.column));
        }
        if (code == kLess) {
            parseRowBlock();
        } else {
            parseField();
        }
    }
    if (keepsComments()) {
        m_table->setClosingComments(m_comments->takeLeading(stream()->peek()->begin()));
    }
    stream()->expect(kCloseBrace, "}");
}

// The end of the text, or "table" name followed by "{" or "extends": no
// member starts so (a field named "table" is followed by ":=" or an
// operator), so the brace that ends this table is missing.
bool TableParser::startsNextItem() {
    const Pointer<Token>& next = stream()->peek();
    if (next->code() == kEnd) return true;
    if (next->isWord("table")) {
        Pointer<StreamPosition> before = stream()->mark();
        stream()->next();
        bool header = false;
        std::int32_t code = stream()->peek()->code();
        if (code == kIdentifier || code == kOpenBracket) {
            try {
                stream()->readIdentifier();
                header =
                    stream()->peek()->code() == kOpenBrace || stream()->peek()->isWord("extends");
            } catch (const StringPointer&) {
                // Not a header after all: the member reports its own error.
            }
        }
        stream()->reset(before);
        if (header) return true;
    }
    if (!m_itemStart) return false;
    return m_itemStart(*stream());
}

void TableParser::beginItem() {
    if (keepsComments()) m_itemComments = m_comments->takeLeading(stream()->peek()->begin());
}

void TableParser::addInnerComments(std::int32_t limit) {
    if (keepsComments()) {
        m_itemComments = joinComments(m_itemComments, m_comments->takeLeading(limit));
    }
}

ItemComments TableParser::endItem() {
    if (!keepsComments()) return {};
    std::int32_t end = stream()->position();
    addInnerComments(end);
    ItemComments comments{m_itemComments, m_comments->takeTrailing(end, stream()->peek()->begin())};
    m_itemComments = StringPointer();
    return comments;
}

void TableParser::failAt(std::int32_t offset, std::string_view message) {
    stream()->setErrorOffset(offset);
    syntaxError(message);
}

// field -> [ name ":=" ] formula ( ";" | "!" )
void TableParser::parseField() {
    beginItem();
    StringPointer name = str("");
    std::int32_t code = stream()->peek()->code();
    if (code == kIdentifier || code == kOpenBracket) {
        Pointer<StreamPosition> beforeName = stream()->mark();
        StringPointer candidate = stream()->readIdentifier();
        if (stream()->peek()->code() == kDefine) {
            stream()->next();
            name = candidate;
        } else {
            stream()->reset(beforeName);
        }
    }
    ExpressionPointer formula = parseSourceFormula();
    std::int32_t end = stream()->next()->code();
    if (end != kSemicolon && end != kExclamation) syntaxError("syntax error: expecting ; ! or =");
    ItemComments comments = endItem();
    if (m_pass != 1) return;
    Pointer<FieldDef> field = m_table->addField();
    field->setComments(comments);
    field->setName(name);
    field->setVisible(end == kExclamation ? 1 : 0);
    if (!formula.isNull()) field->setFormula(FieldDef::kFormulaRow, formula);
}

// row-block -> "<" row-key ">" ":=" "{" element { "," element } "}"
void TableParser::parseRowBlock() {
    beginItem();
    stream()->expect(kLess, "<");
    Pointer<Token> keyToken = stream()->next();
    std::int32_t key = -1;
    if (keyToken->isNumber()) {
        double value = cast<Number>(keyToken->value())->doubleValue();
        if (!(value < static_cast<double>(kMaxRowKey) + 1)) syntaxError("row number too large");
        key = cast<Number>(keyToken->value())->intValue();
    }
    stream()->expect(kGreater, ">");
    m_rowKey = key;
    if (key + 1 > m_table->numRows()) m_table->setNumRows(key + 1);
    stream()->expect(kDefine, ":=");
    stream()->expect(kOpenBrace, "{");
    m_column = 0;
    for (;;) {
        parseElement();
        ++m_column;
        std::int32_t code = stream()->next()->code();
        if (code == kComma) continue;
        if (code == kCloseBrace) break;
        syntaxError("expecting }  or ,");
    }
    ItemComments comments = endItem();
    if (m_pass == 1) m_table->addRowComments(key, comments);
}

// element -> "<" number ">" ":=" formula | formula ":=" formula | formula | nothing
// Errors that name a field point at the element.
void TableParser::parseElement() {
    std::int32_t element = stream()->peek()->begin();
    if (stream()->peek()->code() == kLess) {
        std::int32_t number = stream()->readAngleNumber();
        stream()->expect(kDefine, ":=");
        ExpressionPointer formula = parseSourceFormula();
        if (m_pass == 2) {
            if (number < 1 || number - 1 >= m_table->fieldCount())
                failAt(element, "field not found");
            storeAt(number - 1, formula);
        }
        return;
    }
    ExpressionPointer formula = parseSourceFormula();
    std::int32_t code = stream()->peek()->code();
    if (code == kComma || code == kCloseBrace) {
        // An empty element addresses no field: the writer ends every element
        // with a comma, so the last one of a block is empty and may lie past
        // the last field, and an empty block of a table without fields is
        // one empty element.
        if (m_pass == 2 && !formula.isNull()) {
            if (m_column >= m_table->fieldCount()) failAt(element, "field not found");
            storeAt(m_column, formula);
        }
        return;
    }
    if (code != kDefine) syntaxError("expecting , or }");
    stream()->next();
    Pointer<FieldDef> field;
    if (m_pass == 2) field = lookupField(formula, element);
    ExpressionPointer value = parseSourceFormula();
    if (value.isNull()) syntaxError("expecting expression after :=");
    if (m_pass == 2) field->setFormula(m_rowKey, value);
}

ExpressionPointer TableParser::parseSourceFormula() {
    if (m_pass == 2 && m_replayed < m_parsed.size()) {
        const ParsedFormula& parsed = m_parsed[m_replayed++];
        stream()->reset(parsed.after);
        return parsed.formula;
    }
    ExpressionPointer formula = readSourceFormula();
    if (m_pass == 1) m_parsed.push_back({formula, stream()->mark()});
    return formula;
}

// formula -> hash-text | expression
ExpressionPointer TableParser::readSourceFormula() {
    addInnerComments(stream()->peek()->begin());
    if (stream()->peek()->code() == kHashText) {
        StringPointer text = stream()->next()->text();
        ExpressionPointer parsed = make<TableParser>()->parseFormula(text);
        if (parsed.isNull()) return parsed;
        return make<ExpressionSource>(text, parsed, ExpressionSource::Origin::HashText);
    }
    // The text runs from the first token to the blanks and comments before
    // the token that ended it; comments inside it stay in it.
    std::int32_t start = stream()->peek()->begin();
    ExpressionPointer expression = parse(stream());
    if (expression.isNull()) return expression;
    const StringPointer& source = stream()->source();
    std::int32_t end = clampPosition(stream()->peek()->position(), source->length());
    if (keepsComments()) m_comments->skip(end);
    std::int32_t first = clampPosition(start, end);
    return make<ExpressionSource>(source->substring(first, end)->trim(), expression);
}

void TableParser::storeAt(std::int32_t fieldIndex, const ExpressionPointer& formula) {
    if (!formula.isNull()) m_table->field(fieldIndex)->setFormula(m_rowKey, formula);
}

void TableParser::buildFieldIndex() {
    m_fieldIndex = make<Hashtable>();
    for (const auto& field : *m_table->fields()) {
        // The first field of a name keeps it, as it does when the table is linked.
        if (field->name().isNull()) continue;
        StringPointer name = field->nameText();
        if (!m_fieldIndex->containsKey(name)) m_fieldIndex->put(name, field);
    }
}

Pointer<FieldDef> TableParser::lookupField(const ExpressionPointer& nameFormula, std::int32_t at) {
    StringPointer text = str("");
    if (is<ExpressionSource>(nameFormula)) text = cast<ExpressionSource>(nameFormula)->text();
    Pointer<ParseResult> parsed = make<TableParser>()->parseFieldName(text);
    stream()->setErrorOffset(at);
    if (parsed->failed()) throwString(parsed->error());
    StringPointer name = parsed->value().isNull() ? str("") : parsed->value()->toString();
    auto field = cast<FieldDef>(m_fieldIndex->get(name));
    if (field.isNull()) {
        throwString(str("field ") + name +
                    " not found in fields:" + join(m_fieldIndex->keys(), ","));
    }
    return field;
}

}  // namespace qv
